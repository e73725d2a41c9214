#include "storage/xml_document.h"

#include "base/error.h"
#include "storage/xml_names.h"
#include "storage/xml_tree.h"

namespace enlazor {

XmlDocument::XmlDocument() = default;

pugi::xml_node XmlDocument::document_element() const {
    for (pugi::xml_node node = doc_.first_child(); node; node = node.next_sibling())
        if (node.type() == pugi::node_element && !xml_tree::is_waiting_room(node))
            return node;
    return {};
}

pugi::xml_node XmlDocument::create_element(const std::string& name) {
    if (!xml_tree::is_usable_name(name.c_str()) || name.find('\0') != std::string::npos)
        throw xml_tree::unusable_name(name.c_str());
    pugi::xml_node waiting_room = doc_.last_child();
    if (!xml_tree::is_waiting_room(waiting_room))
        waiting_room = doc_.append_child(xml_tree::kWaitingRoomName);
    return waiting_room.append_child(name.c_str());
}

pugi::xml_node XmlDocument::append_child(pugi::xml_node parent, pugi::xml_node child) {
    const pugi::xml_node previous_parent = child.parent();
    const pugi::xml_node moved = parent.append_move(child);
    if (!moved)
        throw Error(std::string("No se puede añadir el elemento ") + child.name() + " al documento");
    if (xml_tree::is_waiting_room(previous_parent) && !previous_parent.first_child())
        doc_.remove_child(previous_parent);
    return moved;
}

} // namespace enlazor
