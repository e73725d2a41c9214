#include "check/element_place.h"

#include "storage/text.h"
#include "storage/xml_document.h"

#include <cstring>

namespace enlazor {

namespace {

bool same_name(pugi::xml_node a, pugi::xml_node b) {
    return a.type() == pugi::node_element && std::strcmp(a.name(), b.name()) == 0;
}

std::size_t position_among_siblings(pugi::xml_node element) {
    std::size_t position = 1;
    for (pugi::xml_node sibling = element.previous_sibling(); sibling;
         sibling = sibling.previous_sibling())
        if (same_name(sibling, element))
            ++position;
    return position;
}

bool has_namesake_after(pugi::xml_node element) {
    for (pugi::xml_node sibling = element.next_sibling(); sibling; sibling = sibling.next_sibling())
        if (same_name(sibling, element))
            return true;
    return false;
}

// "/document/groups/group[2]/assigned-subjects/assigned-subject[1]": a
// position only where the parent has more than one element of that name.
std::string path_of(pugi::xml_node element) {
    std::string path;
    for (pugi::xml_node node = element; node && node.type() == pugi::node_element;
         node = node.parent()) {
        std::string step = "/" + std::string(node.name());
        const std::size_t position = position_among_siblings(node);
        if (position > 1 || has_namesake_after(node))
            step += "[" + std::to_string(position) + "]";
        path = step + path;
    }
    return path;
}

std::string trimmed_utf8(const std::optional<WideText>& text) {
    return text ? utf8_from_wide(trim(*text)) : std::string();
}

// Teachers and locations carry their name as content, the others as `name`.
bool named_by_content(pugi::xml_node element) {
    return std::strcmp(element.name(), "teacher") == 0 ||
           std::strcmp(element.name(), "location") == 0;
}

const char* noun_of(const std::string& element) {
    if (element == "subject") return "Asignatura";
    if (element == "teacher") return "Profesor";
    if (element == "location") return "Aula";
    if (element == "group") return "Grupo";
    if (element == "assigned-subject") return "Asignatura asignada";
    if (element == "assigned-teacher") return "Profesor asignado";
    return "Elemento";
}

// The nearest enclosing element named `name`: the group of an assigned
// subject, the assigned subject of an assigned teacher.
pugi::xml_node enclosing(pugi::xml_node element, const char* name) {
    for (pugi::xml_node node = element.parent(); node; node = node.parent())
        if (node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0)
            return node;
    return {};
}

// «id» of the element, or its position when it has no id.
std::string id_or_position(pugi::xml_node element) {
    const std::string id = trimmed_utf8(attribute_text(element, "id"));
    return id.empty() ? "nº " + std::to_string(position_among_siblings(element)) : quoted(id);
}

} // namespace

std::string quoted(const std::string& utf8) { return "«" + utf8 + "»"; }

FindingPlace element_place(pugi::xml_node element) {
    FindingPlace place;
    place.element = element.name();
    place.path = path_of(element);
    place.position = position_among_siblings(element);
    place.id = trimmed_utf8(attribute_text(element, "id"));
    place.name = named_by_content(element) ? trimmed_utf8(first_child_text(element))
                                           : trimmed_utf8(attribute_text(element, "name"));
    return place;
}

std::string describe_element(const FindingPlace& place, pugi::xml_node element) {
    std::string text = std::string(noun_of(place.element)) + " nº " + std::to_string(place.position);
    std::string details;
    if (!place.id.empty())
        details = "id " + quoted(place.id);
    if (!place.name.empty())
        details += (details.empty() ? "" : ", ") + quoted(place.name);
    if (!details.empty())
        text += " (" + details + ")";
    if (pugi::xml_node group = enclosing(element, "group"))
        text += " del grupo " + id_or_position(group);
    if (pugi::xml_node subject = enclosing(element, "assigned-subject"))
        text += ", asignatura " + id_or_position(subject);
    return text;
}

std::string mention_element(pugi::xml_node element) {
    std::string text = describe_element(element_place(element), element);
    // The nouns start with an ASCII capital.
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

} // namespace enlazor
