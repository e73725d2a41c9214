// Reading and setting values in the SAGA document's tree, as the
// conversions see it: whitespace-only text forms no node, and the elements
// waiting to be appended are never seen.
#include "storage/xml_document.h"

#include "storage/xml_names.h"
#include "storage/xml_tree.h"

namespace enlazor {
namespace {

// The text and CDATA below `node` in document order. A walk along parent and
// sibling links, so that any depth of nesting costs no stack.
std::string descendant_text(pugi::xml_node node) {
    std::string text;
    pugi::xml_node current = node.first_child();
    while (current) {
        if (current.type() == pugi::node_cdata || (current.type() == pugi::node_pcdata && !xml_tree::is_blank_text(current)))
            text += current.value();
        if (current.first_child() && !xml_tree::is_waiting_room(current)) {
            current = current.first_child();
            continue;
        }
        while (current != node && !current.next_sibling())
            current = current.parent();
        if (current == node)
            break;
        current = current.next_sibling();
    }
    return text;
}

// Leaves out the characters an XML document cannot hold.
WideText xml_characters(const WideText& value) {
    WideText kept;
    kept.reserve(value.size());
    for (const char16_t c : value) {
        const bool control = c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r';
        if (!control && c != 0xFFFE && c != 0xFFFF)
            kept += c;
    }
    return kept;
}

template <typename Steps>
std::vector<pugi::xml_node> select_steps(pugi::xml_node from, const Steps& steps) {
    std::vector<pugi::xml_node> current;
    if (from)
        current.push_back(from);
    // One level per step: every node is looked at once at most, and parents
    // in document order give their children in document order.
    for (const auto& step : steps) {
        std::vector<pugi::xml_node> next;
        for (const pugi::xml_node parent : current)
            for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
                if (child.type() == pugi::node_element && step == child.name())
                    next.push_back(child);
        current.swap(next);
        if (current.empty())
            break;
    }
    return current;
}

} // namespace

std::vector<pugi::xml_node> select_nodes(pugi::xml_node from,
                                         std::initializer_list<std::string_view> steps) {
    return select_steps(from, steps);
}

std::vector<pugi::xml_node> select_nodes(pugi::xml_node from, const std::vector<std::string>& steps) {
    return select_steps(from, steps);
}

std::optional<WideText> attribute_text(pugi::xml_node element, const char* name) {
    if (!name)
        return std::nullopt;
    const pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute)
        return std::nullopt;
    return wide_from_utf8(attribute.value());
}

pugi::xml_node first_child(pugi::xml_node element) {
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
        if (!xml_tree::is_blank_text(child) && !xml_tree::is_waiting_room(child))
            return child;
    return {};
}

WideText node_text(pugi::xml_node node) {
    switch (node.type()) {
    case pugi::node_null:
        return {};
    case pugi::node_element:
    case pugi::node_document:
        return wide_from_utf8(descendant_text(node));
    default:
        return wide_from_utf8(node.value());
    }
}

std::optional<WideText> first_child_text(pugi::xml_node element) {
    const pugi::xml_node child = first_child(element);
    if (!child)
        return std::nullopt;
    return node_text(child);
}

namespace {

// The attribute a value is set on: the one of that name, or a new one after
// the others.
pugi::xml_attribute attribute_to_set(pugi::xml_node element, const char* name) {
    if (!xml_tree::is_usable_name(name))
        throw xml_tree::unusable_name(name);
    pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute)
        attribute = element.append_attribute(name);
    return attribute;
}

} // namespace

void set_attribute(pugi::xml_node element, const char* name, const WideText& value) {
    pugi::xml_attribute attribute = attribute_to_set(element, name);
    const std::string utf8 = utf8_from_wide(xml_characters(value));
    attribute.set_value(utf8.c_str(), utf8.size());
}

void set_attribute_8bit(pugi::xml_node element, const char* name, const Text8& value) {
    for (const char c : value)
        if (c < 0x20 || c > 0x7E) {
            set_attribute(element, name, to_wide(value));
            return;
        }
    attribute_to_set(element, name).set_value(value.c_str(), value.size());
}

} // namespace enlazor
