#include "saga_generator.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace enlazor::bench {

namespace {

// A small fixed generator: the document must not depend on the standard
// library's distributions, which differ between implementations.
class Sequence {
public:
    std::uint32_t next(std::uint32_t bound) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state_ >> 33) % bound;
    }

private:
    std::uint64_t state_ = 0x5eed;
};

template <std::size_t N>
const char* pick(Sequence& sequence, const std::array<const char*, N>& pool) {
    return pool[sequence.next(N)];
}

// Few distinct initials: M/J/A first names, G/L/M/S surnames.
const std::array<const char*, 6> kFirstNames = {"María", "José", "Ana", "Manuel", "Juana",
                                                "Alberto"};
const std::array<const char*, 6> kSurnames = {"García", "López", "Martínez", "Sánchez", "Gómez",
                                              "Muñoz"};
const std::array<const char*, 12> kSubjectNames = {
    "Matemáticas", "Lengua Castellana y Literatura", "Inglés", "Geografía e Historia",
    "Biología y Geología", "Física y Química", "Educación Física", "Educación Plástica",
    "Música", "Tecnología", "Filosofía", "Historia del Arte"};
const std::array<const char*, 8> kHours = {"1", "2", "3", "4", "5", "2.5", "3.5", "4"};
const std::array<const char*, 4> kLevels = {"ESO", "BACH", "FPB", "BACH CT"};

std::string number(const char* format, int value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

} // namespace

std::string generate_saga_document(const SagaScale& scale) {
    Sequence sequence;
    std::string xml;
    xml.reserve(static_cast<std::size_t>(scale.groups) *
                static_cast<std::size_t>(scale.subjects_per_group) * 160);
    xml += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<document>\n  <subjects>\n";
    for (int i = 1; i <= scale.subjects; ++i)
        xml += "    <subject id=\"" + number("SB-%05d", i) + "\" name=\"" +
               pick(sequence, kSubjectNames) + " " + number("%d", 1 + i % 4) + "\" hours=\"" +
               pick(sequence, kHours) + "\"/>\n";
    xml += "  </subjects>\n  <teachers>\n";
    for (int i = 1; i <= scale.teachers; ++i)
        xml += "    <teacher id=\"" + number("PR-%05d", i) + "\">" + pick(sequence, kFirstNames) +
               " " + pick(sequence, kSurnames) + " " + pick(sequence, kSurnames) +
               "</teacher>\n";
    xml += "  </teachers>\n  <locations>\n";
    for (int i = 1; i <= scale.rooms; ++i)
        xml += "    <location id=\"" + number("LC-%04d", i) + "\">Aula " +
               number("%d", 10 + i % 90) + "</location>\n";
    xml += "  </locations>\n  <groups>\n";
    for (int i = 1; i <= scale.groups; ++i) {
        const std::string letter(1, static_cast<char>('A' + sequence.next(26)));
        const std::string name = number("%d", 1 + static_cast<int>(sequence.next(4))) + " " +
                                 pick(sequence, kLevels) + " " + letter;
        xml += "    <group id=\"" + number("GR-%05d", i) + "\" name=\"" + name + "\" regim=\"" +
               (i % 3 == 0 ? "ORD-T" : "ORD-M") + "\">\n      Grupo " + name +
               "\n      <assigned-subjects>\n";
        for (int s = 0; s < scale.subjects_per_group; ++s) {
            xml += "        <assigned-subject id=\"" +
                   number("SB-%05d", 1 + static_cast<int>(sequence.next(
                                             static_cast<std::uint32_t>(scale.subjects)))) +
                   "\">\n          <assigned-teachers>\n";
            const int teachers = 1 + static_cast<int>(sequence.next(2));
            for (int t = 0; t < teachers; ++t)
                xml += "            <assigned-teacher id=\"" +
                       number("PR-%05d", 1 + static_cast<int>(sequence.next(
                                                 static_cast<std::uint32_t>(scale.teachers)))) +
                       "\"/>\n";
            xml += "          </assigned-teachers>\n        </assigned-subject>\n";
        }
        xml += "      </assigned-subjects>\n    </group>\n";
    }
    xml += "  </groups>\n</document>\n";
    return xml;
}

} // namespace enlazor::bench
