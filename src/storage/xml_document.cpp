#include "storage/xml_document.h"

#include "platform/atomic_file.h"
#include "platform/file_reading.h"
#include "base/error.h"
#include "storage/xml_encoding.h"

#include <array>
#include <cstring>
#include <new>

namespace enlazor {
namespace {

// Every tree's nodes come from the bulk memory, beside their text. Set
// before main runs, so every block the parser frees came from there.
const bool kTreesInBulkMemory = [] {
    pugi::set_memory_management_functions(platform::allocate_bulk_memory,
                                          platform::free_bulk_memory);
    return true;
}();

// Parsing keeps everything a save must give back: declaration, doctype,
// comments, processing instructions, CDATA and the whitespace between
// elements. Line ends are left as the file has them (no parse_eol) so that a
// save reproduces them; the reading helpers turn them into "\n".
// parse_fragment keeps the whitespace between top-level nodes too (the line
// break after the declaration, the one at the end of the file); what
// fragment parsing would let through besides is refused by
// top_level_fault().
constexpr unsigned kReadOptions = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute |
                                  pugi::parse_declaration | pugi::parse_doctype | pugi::parse_comments |
                                  pugi::parse_pi | pugi::parse_fragment;
// A document to be saved keeps its whitespace-only text, and so its layout.
constexpr unsigned kEditOptions = kReadOptions | pugi::parse_ws_pcdata;

// Where created elements wait until they are appended. "#" cannot start an
// XML name, so no element read from a file has this name.
constexpr const char* kWaitingRoomName = "#created";

bool is_waiting_room(pugi::xml_node node) {
    return node.type() == pugi::node_element && std::strcmp(node.name(), kWaitingRoomName) == 0;
}

bool is_xml_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Text made only of XML whitespace forms no node for the reading helpers.
bool is_blank_text(pugi::xml_node node) {
    if (node.type() != pugi::node_pcdata)
        return false;
    for (const char* c = node.value(); *c; ++c)
        if (!is_xml_space(*c))
            return false;
    return true;
}

// Wide text of UTF-8 from the tree, with CR LF and lone CR read as LF.
WideText wide_text(std::string_view utf8) {
    if (utf8.find('\r') == std::string_view::npos)
        return wide_from_utf8(utf8);
    std::string normalized;
    normalized.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '\r')
            normalized += utf8[i];
        else if (i + 1 >= utf8.size() || utf8[i + 1] != '\n')
            normalized += '\n';
    }
    return wide_from_utf8(normalized);
}

// The text and CDATA below `node` in document order. A walk along parent and
// sibling links, so that any depth of nesting costs no stack.
std::string descendant_text(pugi::xml_node node) {
    std::string text;
    pugi::xml_node current = node.first_child();
    while (current) {
        if (current.type() == pugi::node_cdata || (current.type() == pugi::node_pcdata && !is_blank_text(current)))
            text += current.value();
        if (current.first_child() && !is_waiting_room(current)) {
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

// How much of `utf8` ends on a whole character: a piece of output may stop
// inside a multi-byte sequence, which can only be transcoded with its rest.
std::size_t whole_characters(std::string_view utf8) {
    const std::size_t size = utf8.size();
    for (std::size_t back = 1; back <= 4 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(utf8[size - back]);
        if ((byte & 0xC0) == 0x80)
            continue;  // a continuation byte: the lead is further back
        const std::size_t length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        return length > back ? size - back : size;
    }
    return size;
}

platform::BulkBytes read_file(const std::filesystem::path& path) {
    platform::BulkBytes bytes;
    if (const std::error_code error = platform::read_regular_file(path, bytes)) {
        const std::string reason =
            error == std::errc::invalid_argument ? "no es un archivo normal" : error.message();
        throw Error("No se puede leer el archivo " + path.string() + ": " + reason);
    }
    return bytes;
}

Error not_well_formed(const std::string& name, const std::string& description, std::string_view utf8,
                      std::size_t offset) {
    const TextPosition at = position_in_utf8(utf8, offset);
    return Error("El archivo " + name + " no es un documento XML válido: " + description + " (línea " +
                 std::to_string(at.line) + ", columna " + std::to_string(at.column) + ")");
}

std::size_t offset_of(pugi::xml_node node) {
    const std::ptrdiff_t offset = node.offset_debug();
    return offset < 0 ? 0 : static_cast<std::size_t>(offset);
}

// Fragment parsing accepts several top-level elements, text beside them and
// a declaration anywhere; a document has one element, whitespace beside it,
// and its declaration first.
struct TopLevelFault {
    const char* description;
    std::size_t offset;
};

std::optional<TopLevelFault> top_level_fault(const pugi::xml_document& parsed, std::size_t text_size) {
    bool seen_element = false;
    bool seen_doctype = false;
    for (pugi::xml_node node = parsed.first_child(); node; node = node.next_sibling()) {
        const char* fault = nullptr;
        switch (node.type()) {
        case pugi::node_declaration:
            // Whitespace before it forms no node when it is not kept: the
            // declaration's name must then be the file's first word.
            if (node != parsed.first_child() || offset_of(node) != std::strlen("<?"))
                fault = "la declaración XML no está al principio del archivo";
            break;
        case pugi::node_doctype:
            if (seen_doctype || seen_element)
                fault = "declaración de tipo de documento fuera de lugar";
            seen_doctype = true;
            break;
        case pugi::node_element:
            if (seen_element)
                fault = "hay más de un elemento raíz";
            seen_element = true;
            break;
        case pugi::node_pcdata:
        case pugi::node_cdata:
            if (!is_blank_text(node))
                fault = "hay texto fuera del elemento raíz";
            break;
        default:
            break;
        }
        if (fault)
            return TopLevelFault{fault, offset_of(node)};
    }
    if (!seen_element)
        return TopLevelFault{"no hay ningún elemento raíz", text_size};
    return std::nullopt;
}

// A name the program gives an element or attribute. Only a rough check:
// enough that a save can never write markup that does not parse again.
bool is_usable_name(const char* name) {
    if (!name || !*name || std::strchr("-.0123456789", *name))
        return false;
    // Checked for every attribute the import sets, a million at a district's scale.
    static constexpr std::array<bool, 256> kRefused = [] {
        std::array<bool, 256> refused{};
        for (int c = 0; c <= ' '; ++c)
            refused[static_cast<std::size_t>(c)] = true;
        for (const char c : std::string_view("<>&\"'=/!?;,()[]{}#%$*+@^`|~\\"))
            refused[static_cast<unsigned char>(c)] = true;
        return refused;
    }();
    for (const char* c = name; *c; ++c)
        if (kRefused[static_cast<unsigned char>(*c)])
            return false;
    return true;
}

Error unusable_name(const char* name) {
    return Error(std::string("El nombre \"") + (name ? name : "") + "\" no sirve para un elemento o atributo XML");
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

} // namespace

XmlDocument::XmlDocument() = default;

void XmlDocument::load(const std::filesystem::path& path, XmlUse use) {
    const std::string name = path.string();
    try {
        load_bytes(read_file(path), name, use, [&] { return read_file(path); });
    } catch (const std::bad_alloc&) {
        throw Error("El archivo " + name + " es demasiado grande para cargarlo en memoria");
    }
}

void XmlDocument::load_from_memory(std::string_view bytes, const std::string& name, XmlUse use) {
    try {
        load_bytes(platform::BulkBytes(bytes), name, use, [&] { return platform::BulkBytes(bytes); });
    } catch (const std::bad_alloc&) {
        throw Error("El archivo " + name + " es demasiado grande para cargarlo en memoria");
    }
}

namespace {

// A file's text as UTF-8: its own bytes after the byte-order mark, or the
// decoding of another encoding (the raw bytes let go at once, so a big file
// is held twice at most while it is decoded).
struct Utf8Text {
    platform::BulkBytes owner;
    std::size_t start = 0;  // where the text begins in `owner`
    std::optional<std::size_t> fault;

    std::string_view view() const { return std::string_view(owner).substr(start); }
};

Utf8Text utf8_text(platform::BulkBytes bytes, const EncodingGuess& guess) {
    Utf8Text text;
    if (guess.encoding == XmlEncoding::Utf8 || guess.encoding == XmlEncoding::Utf8Bom) {
        text.owner = std::move(bytes);
        text.start = guess.bom_size;
        text.fault = find_utf8_fault(text.view());
    } else {
        DecodedText result = decode_to_utf8(std::string_view(bytes).substr(guess.bom_size), guess.encoding);
        platform::BulkBytes().swap(bytes);
        text.owner.assign(result.utf8);
        text.fault = result.fault;
    }
    return text;
}

} // namespace

void XmlDocument::load_bytes(platform::BulkBytes bytes, const std::string& name, XmlUse use,
                             const std::function<platform::BulkBytes()>& read_again) {
    const EncodingGuess guess = guess_xml_encoding(bytes);
    if (!guess.unsupported.empty())
        throw Error("El archivo " + name + " usa la codificación " + guess.unsupported +
                    ", que el programa no sabe leer");
    std::string byte_order_mark(std::string_view(bytes).substr(0, guess.bom_size));

    Utf8Text text = utf8_text(std::move(bytes), guess);
    if (text.fault)
        throw not_well_formed(name, "hay bytes que no forman un carácter válido en la codificación del archivo",
                              text.view(), *text.fault);

    // Parsed where it lies, with no copy of a district's megabytes. The
    // parser writes into the text as it goes, so the line and column of a
    // fault are counted on the text read once more (on the parsed one, a
    // line or so off at worst, if the file can no longer be read).
    std::unique_ptr<platform::BulkBytes> owner;
    pugi::xml_document parsed;
    const auto fault_at = [&](const std::string& description, std::size_t offset) {
        parsed.reset();  // its memory, not held while the file is read again
        try {
            const Utf8Text original = utf8_text(read_again(), guess);
            return not_well_formed(name, description, original.view(), offset);
        } catch (const Error&) {
        } catch (const std::bad_alloc&) {
        }
        return not_well_formed(name, description, std::string_view(*owner).substr(text.start), offset);
    };
    // Held where the tree can point into it for as long as the tree lives.
    // The parser takes the last byte of the text as its end: a NUL added
    // after the text, as the parser's own copy would have, keeps every byte.
    owner = std::make_unique<platform::BulkBytes>(std::move(text.owner));
    const std::size_t size = owner->size() - text.start;
    owner->push_back('\0');
    const pugi::xml_parse_result result =
        parsed.load_buffer_inplace(owner->data() + text.start, size + 1,
                                   use == XmlUse::Edit ? kEditOptions : kReadOptions, pugi::encoding_utf8);
    if (result.status == pugi::status_out_of_memory)
        throw std::bad_alloc();
    if (!result)
        throw fault_at(result.description(), static_cast<std::size_t>(result.offset));
    if (const std::optional<TopLevelFault> fault = top_level_fault(parsed, size))
        throw fault_at(fault->description, fault->offset);

    doc_ = std::move(parsed);
    text_ = std::move(owner);
    encoding_ = guess.encoding;
    byte_order_mark_ = std::move(byte_order_mark);
    use_ = use;
}

void XmlDocument::require_editable() const {
    if (use_ != XmlUse::Edit)
        throw Error("El documento se cargó solo para leerlo y no se puede guardar");
}

// Where the serializer's UTF-8 goes: turned into the file's encoding and
// passed on in blocks of about a megabyte, few enough writes for a large
// document and little held at any time.
class XmlDocument::ByteSink final : public pugi::xml_writer {
public:
    ByteSink(XmlEncoding encoding, const ContentWriter& out)
        : out_(out), transcode_(encoding != XmlEncoding::Utf8 && encoding != XmlEncoding::Utf8Bom),
          encoding_(encoding) {}

    // Bytes already in the file's encoding (the byte-order mark).
    void write_encoded(std::string_view bytes) { block_.append(bytes); }

    void write(const void* data, size_t size) override {
        const std::string_view piece(static_cast<const char*>(data), size);
        if (!transcode_) {
            block_.append(piece);
        } else {
            unfinished_.append(piece);
            const std::size_t whole = whole_characters(unfinished_);
            block_ += encode_from_utf8(std::string_view(unfinished_).substr(0, whole), encoding_);
            unfinished_.erase(0, whole);
        }
        if (block_.size() >= kBlockSize)
            flush();
    }
    void write(std::string_view text) { write(text.data(), text.size()); }

    void finish() {
        if (!unfinished_.empty())
            block_ += encode_from_utf8(unfinished_, encoding_);
        unfinished_.clear();
        flush();
    }

private:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

    void flush() {
        if (!block_.empty())
            out_(block_);
        block_.clear();
    }

    const ContentWriter& out_;
    const bool transcode_;
    const XmlEncoding encoding_;
    std::string block_;
    std::string unfinished_;  // the start of a character whose rest is still to come
};

void XmlDocument::save(const std::filesystem::path& path) const {
    require_editable();
    bool produced = false;
    const std::error_code error = replace_file_atomically(path, [&](const ContentWriter& out) {
        produced = true;
        ByteSink sink(encoding_, out);
        write_to(sink);
    });
    if (error && !produced && streamed_children_) {
        // The file could not even be started. Streamed children are made all
        // the same, so that an error in making them is the one reported, as
        // it would be had they been made before the save.
        const ContentWriter discard = [](std::string_view) {};
        ByteSink sink(encoding_, discard);
        write_to(sink);
    }
    if (error)
        throw Error("No se puede guardar el documento " + path.string() + ": " + error.message());
}

std::string XmlDocument::serialize() const {
    require_editable();
    std::string bytes;
    const ContentWriter append = [&bytes](std::string_view piece) { bytes.append(piece); };
    ByteSink sink(encoding_, append);
    write_to(sink);
    return bytes;
}

void XmlDocument::write_to(ByteSink& sink) const {
    sink.write_encoded(byte_order_mark_);
    // Node by node rather than the document at once, to pass over the
    // elements created but never appended.
    for (pugi::xml_node node = doc_.first_child(); node; node = node.next_sibling())
        if (!is_waiting_room(node))
            write_node(node, sink);
    sink.finish();
}

void XmlDocument::write_node(pugi::xml_node node, ByteSink& sink) const {
    bool holds_streamed = false;
    if (streamed_children_)
        for (pugi::xml_node up = streamed_element_; up && !holds_streamed; up = up.parent())
            holds_streamed = up == node;
    if (!holds_streamed) {
        node.print(sink, "", pugi::format_raw, pugi::encoding_utf8);
        return;
    }

    // The start tag as pugixml writes it, taken from a copy without
    // children, which it prints as "<name attributes/>".
    pugi::xml_document scratch;
    pugi::xml_node bare = scratch.append_child(node.name());
    for (const pugi::xml_attribute attribute : node.attributes())
        bare.append_copy(attribute);
    std::string start_tag;
    const ContentWriter keep = [&start_tag](std::string_view piece) { start_tag.append(piece); };
    ByteSink tag_sink(XmlEncoding::Utf8, keep);
    bare.print(tag_sink, "", pugi::format_raw, pugi::encoding_utf8);
    tag_sink.finish();
    sink.write(std::string_view(start_tag).substr(0, start_tag.size() - 2));

    bool opened = false;
    const auto open = [&] {
        if (!opened)
            sink.write(">");
        opened = true;
    };
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        open();
        write_node(child, sink);
    }
    if (node == streamed_element_)
        streamed_children_([&](pugi::xml_node child) {
            open();
            child.print(sink, "", pugi::format_raw, pugi::encoding_utf8);
        });
    if (!opened) {
        sink.write("/>");
        return;
    }
    sink.write("</");
    sink.write(node.name());
    sink.write(">");
}

void XmlDocument::stream_children_on_save(pugi::xml_node element, ChildProducer produce) {
    streamed_element_ = element;
    streamed_children_ = std::move(produce);
}

pugi::xml_node XmlDocument::document_element() const {
    for (pugi::xml_node node = doc_.first_child(); node; node = node.next_sibling())
        if (node.type() == pugi::node_element && !is_waiting_room(node))
            return node;
    return {};
}

pugi::xml_node XmlDocument::create_element(const std::string& name) {
    if (!is_usable_name(name.c_str()) || name.find('\0') != std::string::npos)
        throw unusable_name(name.c_str());
    pugi::xml_node waiting_room = doc_.last_child();
    if (!is_waiting_room(waiting_room))
        waiting_room = doc_.append_child(kWaitingRoomName);
    return waiting_room.append_child(name.c_str());
}

pugi::xml_node XmlDocument::append_child(pugi::xml_node parent, pugi::xml_node child) {
    const pugi::xml_node previous_parent = child.parent();
    const pugi::xml_node moved = parent.append_move(child);
    if (!moved)
        throw Error(std::string("No se puede añadir el elemento ") + child.name() + " al documento");
    if (is_waiting_room(previous_parent) && !previous_parent.first_child())
        doc_.remove_child(previous_parent);
    return moved;
}

namespace {

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
        if (!is_blank_text(child) && !is_waiting_room(child))
            return child;
    return {};
}

WideText node_text(pugi::xml_node node) {
    switch (node.type()) {
    case pugi::node_null:
        return {};
    case pugi::node_element:
    case pugi::node_document:
        return wide_text(descendant_text(node));
    default:
        return wide_text(node.value());
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
    if (!is_usable_name(name))
        throw unusable_name(name);
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
