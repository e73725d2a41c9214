// The SAGA document: load, read, change and save one XML file.
//
// Read by Expat, a conforming XML 1.0 parser with namespaces, into a pugixml
// tree that the rest of the program reads and changes. Whitespace-only text
// between elements is kept in the tree of a document loaded for editing, so
// that a save leaves the school's layout as it was, but the reading helpers
// below never see it: for them it forms no node, so the first child of an
// indented element is its first element or its first real text.
#pragma once

#include "platform/bulk_memory.h"
#include "storage/text.h"

#include <pugixml.hpp>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace enlazor {

// How the file was encoded, so that a save writes it back the same way.
enum class XmlEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Latin1, Windows1252 };

// What a document is loaded for. A document only read (the export) leaves
// out the whitespace-only text between elements: the reading helpers never
// see it, and on a district's document it is half of the tree's nodes. Such
// a document cannot be saved, since its layout is gone.
enum class XmlUse { Edit, ReadOnly };

class XmlDocument {
public:
    XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Loads a file. A file that is not well-formed XML 1.0 with namespaces
    // throws Error saying in Spanish what is wrong, its line and column and
    // the name involved; nothing else is touched. Reads UTF-8 (with or
    // without byte-order mark), UTF-16 with its mark or starting with "<",
    // and files declared ISO-8859-1 or windows-1252; a file declaring any
    // other encoding, or one its mark contradicts, is refused rather than
    // misread. Entities declared in the document are expanded, in text and
    // attribute values, and attribute values are normalised as the document
    // declares them. Nothing outside the file is ever read: an external DTD
    // is left unread, and a reference to an external entity, or to one that
    // only such a DTD could declare, is refused by name. An expansion that
    // grows out of all proportion to the file is refused.
    void load(const std::filesystem::path& path, XmlUse use = XmlUse::Edit);
    // The same from memory (tests, fuzzing); `name` stands for the path in messages.
    void load_from_memory(std::string_view bytes, const std::string& name = "documento",
                          XmlUse use = XmlUse::Edit);

    // Saves atomically over `path`: a temporary file beside it, flushed to
    // disk, renamed over the original with its permissions. A file without
    // any write permission is refused, even to root. On failure throws Error
    // and the original file is untouched.
    void save(const std::filesystem::path& path) const;
    // The bytes a save would write: the nodes as loaded and added, without
    // re-indentation, in the file's encoding, with its byte-order mark, its
    // XML declaration and document type declaration as written, and the line
    // ends its first line used. Entities come out expanded. A single-byte
    // encoding writes a character it lacks as "&#N;".
    std::string serialize() const;

    // The root element, or an empty node when there is none.
    pugi::xml_node document_element() const;
    pugi::xml_node root() const { return doc_.root(); }

    // A new element outside the tree. pugixml needs a parent, so it waits in
    // a hidden place of this same document, which no reading helper, no
    // selection and no save ever shows; an element never appended is not
    // saved. Throws Error for a name that markup cannot hold (empty, with
    // spaces, "<", "&", quotes and the like).
    pugi::xml_node create_element(const std::string& name);
    // Moves `child` (from create_element, or any node of this document) to be
    // the last child of `parent`, with everything set on it so far. The node
    // is moved, not copied: the handle from create_element and the one
    // returned are the same node, and what is added through either later
    // shows in the document. Throws Error when the move is impossible (a node
    // of another document, an empty node, a parent inside the child).
    pugi::xml_node append_child(pugi::xml_node parent, pugi::xml_node child);

    // Hands each child it makes to the function it is given.
    using ChildProducer = std::function<void(const std::function<void(pugi::xml_node child)>& write_child)>;
    // Gives `element` children that exist only in the saved bytes: each save
    // and serialize() runs `produce`, and every node it hands over is written
    // at once, after the element's children in the tree, and may be dropped
    // straight after. A section of hundreds of thousands of elements thus
    // goes to the file without ever being held in memory. The bytes are those
    // the same nodes would give appended to the tree. One element at a time:
    // a later call replaces an earlier one. What `produce` throws ends the
    // save with the file untouched, and comes before any error of the file.
    void stream_children_on_save(pugi::xml_node element, ChildProducer produce);

    XmlEncoding encoding() const { return encoding_; }

private:
    class Writer;
    void load_bytes(platform::BulkBytes bytes, const std::string& name, XmlUse use);
    void require_editable() const;
    void write_to(const std::function<void(std::string_view)>& out) const;

    pugi::xml_document doc_;
    XmlEncoding encoding_ = XmlEncoding::Utf8;
    std::string byte_order_mark_;  // as the file had it, written back by a save
    std::string declaration_;      // the XML declaration as written, or empty
    std::string line_end_ = "\n";  // what the file's first line ended with
    XmlUse use_ = XmlUse::Edit;
    pugi::xml_node streamed_element_;
    ChildProducer streamed_children_;
};

// Elements reached from `from` by child steps with exact names, in document
// order: {"document", "subjects", "subject"} from the document's root node
// gives /document/subjects/subject; {"assigned-subjects", "assigned-subject"}
// from a group element gives that group's assigned subjects.
std::vector<pugi::xml_node> select_nodes(pugi::xml_node from,
                                         std::initializer_list<std::string_view> steps);
std::vector<pugi::xml_node> select_nodes(pugi::xml_node from, const std::vector<std::string>& steps);

// The attribute's value as wide text, or nullopt without an attribute of
// exactly that name (case included).
std::optional<WideText> attribute_text(pugi::xml_node element, const char* name);

// The first child node that is not whitespace-only text, or an empty node.
pugi::xml_node first_child(pugi::xml_node element);

// A node's text: a text or CDATA node's characters, an element's text
// content in document order (its text and CDATA at any depth, leaving out
// whitespace-only text, which forms no node), a comment's or processing
// instruction's value. Line ends read as "\n", whatever the file used.
WideText node_text(pugi::xml_node node);

// node_text of first_child, or nullopt when the element has no child node.
std::optional<WideText> first_child_text(pugi::xml_node element);

// Sets an attribute from wide text: a new attribute comes after those set
// before it; an attribute of that name already there gets the new value in
// its place. Characters XML cannot carry (control characters other than tab,
// line feed and carriage return) are left out. Throws Error for a name that
// markup cannot hold, as create_element does.
void set_attribute(pugi::xml_node element, const char* name, const WideText& value);

// set_attribute with the value converted from 8-bit text, which for plain
// printable ASCII (the same characters in every system code page, and
// nothing to leave out) is set as it is, without the round trip through
// wide text: a large import sets millions of such values.
void set_attribute_8bit(pugi::xml_node element, const char* name, const Text8& value);

} // namespace enlazor
