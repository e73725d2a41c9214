// Reading the SAGA document's catalog sections: which elements a builder
// visits and how each value is cleaned before it reaches a table.
#pragma once

#include "export/export_observer.h"
#include "storage/text.h"
#include "storage/xml_document.h"

#include <optional>
#include <string_view>
#include <vector>

namespace enlazor {

// The elements of one catalog section, in document order:
// /document/<section>/<item>, e.g. ("subjects", "subject"). Empty when the
// root is not `document` or the section is missing.
std::vector<pugi::xml_node> catalog_elements(const XmlDocument& document, const char* section,
                                             const char* item);

// Calls `visit` with each grandchild of `element` through a child `list`
// (e.g. "assigned-subjects" / "assigned-subject"), in document order. A
// walk, not a list: it runs for every group and every assigned subject.
template <typename Visit>
void for_each_nested(pugi::xml_node element, const char* list, const char* item, Visit&& visit) {
    // A processing instruction may bear the same name; only elements count.
    const auto is_element = [](pugi::xml_node node) { return node.type() == pugi::node_element; };
    for (pugi::xml_node child = element.child(list); child; child = child.next_sibling(list))
        if (is_element(child))
            for (pugi::xml_node nested = child.child(item); nested; nested = nested.next_sibling(item))
                if (is_element(nested))
                    visit(nested);
}

// An attribute's trimmed value, still wide (the group regime is cut before
// its conversion). A missing attribute reads as empty and is told to the
// observer.
WideText attribute_wide(pugi::xml_node element, const char* name,
                        ExportObserver& observer = ignore_export_findings());

// An attribute's trimmed value converted to the tables' code page.
Text8 attribute_value(pugi::xml_node element, const char* name,
                      ExportObserver& observer = ignore_export_findings());

// The trimmed value of an attribute that is there and plain ASCII, as a
// view into the document: what attribute_value gives for it, with no copy
// and nothing to tell an observer. Nothing for any other attribute.
std::optional<std::string_view> ascii_attribute_value(pugi::xml_node element, const char* name);

// The trimmed text of the element's first child node (its first element or
// first real text; indentation forms no node), still wide. An element with
// no child node reads as empty.
WideText first_child_wide(pugi::xml_node element,
                          ExportObserver& observer = ignore_export_findings());

// The same, converted to the tables' code page.
Text8 first_child_value(pugi::xml_node element,
                        ExportObserver& observer = ignore_export_findings());

// `text`, the value `value` of `element`, converted to the tables' code page;
// the observer hears of every character Windows-1252 cannot hold.
Text8 table_text(const WideText& text, pugi::xml_node element, const char* value,
                 ExportObserver& observer = ignore_export_findings());

} // namespace enlazor
