// Saving a SAGA document: the tree written back as markup, in the file's
// own encoding and line ends, atomically over the file.
//
// Written here rather than by pugixml's printer because a save must give
// back what a conforming parser reads: a carriage return that the document
// held as "&#13;" must stay a reference, and the file's declarations and
// line ends must come back as they were.
#include "storage/xml_document.h"

#include "base/error.h"
#include "platform/atomic_file.h"
#include "platform/places.h"
#include "storage/xml_encoding.h"
#include "storage/xml_tree.h"

#include <array>

namespace enlazor {
namespace {

// Where markup must not hold a character as it is.
enum class Context { Text, Attribute };

// What each byte becomes in text and in attribute values: nothing (kept as
// it is) or its reference. Line feeds in text are the line end's business.
struct Escapes {
    std::array<const char*, 256> text{};
    std::array<const char*, 256> attribute{};
};

const Escapes& escapes() {
    static const Escapes table = [] {
        static std::array<std::string, 32> controls;
        Escapes e;
        for (int c = 0; c < 32; ++c) {
            controls[static_cast<std::size_t>(c)] = "&#" + std::to_string(c) + ";";
            e.attribute[static_cast<std::size_t>(c)] = controls[static_cast<std::size_t>(c)].c_str();
            if (c != '\t' && c != '\n')
                e.text[static_cast<std::size_t>(c)] = controls[static_cast<std::size_t>(c)].c_str();
        }
        e.text['&'] = e.attribute['&'] = "&amp;";
        e.text['<'] = e.attribute['<'] = "&lt;";
        e.text['>'] = "&gt;";
        e.attribute['"'] = "&quot;";
        return e;
    }();
    return table;
}

} // namespace

// Writes the tree as UTF-8 in blocks of about a megabyte, each turned into
// the file's encoding: few writes for a large document, and little held.
// A block always ends between two characters, since every piece put into
// it is whole text.
class XmlDocument::Writer {
public:
    Writer(const XmlDocument& document, const ContentWriter& out) : document_(document), out_(out) {
        block_.reserve(kBlockSize + kBlockSize / 8);
    }

    void document() {
        if (!document_.byte_order_mark_.empty())
            out_(document_.byte_order_mark_);
        // Node by node rather than the document at once, to pass over the
        // elements created but never appended.
        for (pugi::xml_node node = document_.doc_.first_child(); node; node = node.next_sibling())
            subtree(node);
        flush();
    }

private:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

    void put(std::string_view text) {
        block_.append(text);
        if (block_.size() >= kBlockSize)
            flush();
    }

    void flush() {
        if (block_.empty())
            return;
        const XmlEncoding encoding = document_.encoding_;
        if (encoding == XmlEncoding::Utf8 || encoding == XmlEncoding::Utf8Bom)
            out_(block_);
        else
            out_(encode_from_utf8(block_, encoding));
        block_.clear();
    }

    // Text with its line feeds written as the file ends its lines.
    void put_lines(std::string_view text) {
        if (document_.line_end_ == "\n") {
            put(text);
            return;
        }
        for (std::size_t start = 0;;) {
            const std::size_t feed = text.find('\n', start);
            put(text.substr(start, feed - start));
            if (feed == std::string_view::npos)
                return;
            put(document_.line_end_);
            start = feed + 1;
        }
    }

    void put_escaped(const char* value, Context context) {
        const auto& table = context == Context::Text ? escapes().text : escapes().attribute;
        const char* run = value;
        for (const char* c = value; *c; ++c) {
            const char* escape = table[static_cast<unsigned char>(*c)];
            if (!escape && !(*c == '\n' && context == Context::Text))
                continue;
            put(std::string_view(run, static_cast<std::size_t>(c - run)));
            if (escape)
                put(escape);
            else
                put(document_.line_end_);
            run = c + 1;
        }
        put(run);
    }

    void open_pending_tag() {
        if (tag_open_)
            put(">");
        tag_open_ = false;
    }

    // One node without its children; an element's start tag is left open
    // until its first child, or closed empty.
    void start(pugi::xml_node node) {
        open_pending_tag();
        switch (node.type()) {
        case pugi::node_element:
            put("<");
            put(node.name());
            for (const pugi::xml_attribute attribute : node.attributes()) {
                put(" ");
                put(attribute.name());
                put("=\"");
                put_escaped(attribute.value(), Context::Attribute);
                put("\"");
            }
            tag_open_ = true;
            break;
        case pugi::node_pcdata:
            put_escaped(node.value(), Context::Text);
            break;
        case pugi::node_cdata:
            put("<![CDATA[");
            put_lines(node.value());
            put("]]>");
            break;
        case pugi::node_comment:
            put("<!--");
            put_lines(node.value());
            put("-->");
            break;
        case pugi::node_pi:
            put("<?");
            put(node.name());
            if (*node.value()) {
                put(" ");
                put_lines(node.value());
            }
            put("?>");
            break;
        case pugi::node_declaration:
            put(document_.declaration_.empty() ? "<?xml version=\"1.0\"?>" : document_.declaration_);
            break;
        case pugi::node_doctype:
            put("<!DOCTYPE");
            put(node.value());
            put(">");
            break;
        default:
            break;
        }
    }

    void end(pugi::xml_node node) {
        if (node.type() != pugi::node_element)
            return;
        if (node == document_.streamed_element_ && document_.streamed_children_)
            document_.streamed_children_([this](pugi::xml_node child) { subtree(child); });
        if (tag_open_) {
            put("/>");
            tag_open_ = false;
            return;
        }
        put("</");
        put(node.name());
        put(">");
    }

    // A node and everything below it, walked along parent and sibling links
    // so that any depth of nesting costs no stack.
    void subtree(pugi::xml_node top) {
        if (xml_tree::is_waiting_room(top))
            return;
        pugi::xml_node node = top;
        for (;;) {
            start(node);
            pugi::xml_node child = node.first_child();
            while (child && xml_tree::is_waiting_room(child))
                child = child.next_sibling();
            if (child) {
                node = child;
                continue;
            }
            for (;;) {
                end(node);
                if (node == top)
                    return;
                pugi::xml_node next = node.next_sibling();
                while (next && xml_tree::is_waiting_room(next))
                    next = next.next_sibling();
                if (next) {
                    node = next;
                    break;
                }
                node = node.parent();
            }
        }
    }

    const XmlDocument& document_;
    const ContentWriter& out_;
    std::string block_;
    bool tag_open_ = false;
};

void XmlDocument::require_editable() const {
    if (use_ != XmlUse::Edit)
        throw Error("El documento se cargó solo para leerlo y no se puede guardar");
}

void XmlDocument::write_to(const ContentWriter& out) const {
    Writer(*this, out).document();
}

void XmlDocument::save(const std::filesystem::path& path) const {
    require_editable();
    bool produced = false;
    const std::error_code error = replace_file_atomically(path, [&](const ContentWriter& out) {
        produced = true;
        write_to(out);
    });
    if (error && !produced && streamed_children_) {
        // The file could not even be started. Streamed children are made all
        // the same, so that an error in making them is the one reported, as
        // it would be had they been made before the save.
        write_to([](std::string_view) {});
    }
    if (error)
        throw Error("No se puede guardar el documento " + utf8_from_path(path) + ": " + error.message());
}

std::string XmlDocument::serialize() const {
    require_editable();
    std::string bytes;
    write_to([&bytes](std::string_view piece) { bytes.append(piece); });
    return bytes;
}

void XmlDocument::stream_children_on_save(pugi::xml_node element, ChildProducer produce) {
    streamed_element_ = element;
    streamed_children_ = std::move(produce);
}

} // namespace enlazor
