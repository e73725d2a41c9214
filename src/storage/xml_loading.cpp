// Loading a SAGA document: its bytes turned into UTF-8, read by Expat, and
// every event Expat reports made into the node of the tree it stands for.
#include "storage/xml_document.h"

#include "base/error.h"
#include "platform/file_reading.h"
#include "platform/places.h"
#include "storage/xml_encoding.h"
#include "storage/xml_parse_messages.h"
#include "storage/xml_tree.h"

#include <expat.h>

#include <algorithm>
#include <new>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace enlazor {
namespace {

// Every tree's nodes come from the bulk memory. Set before main runs, so
// every block pugixml frees came from there.
const bool kTreesInBulkMemory = [] {
    pugi::set_memory_management_functions(platform::allocate_bulk_memory, platform::free_bulk_memory);
    return true;
}();

// Between the parts of a namespace-qualified name as Expat hands it over:
// "uri·local·prefix". A byte that UTF-8 text never holds.
constexpr char kNameSeparator = '\xFF';

// How much text Expat is given at a time: its own buffer stays this small
// whatever the size of the document.
constexpr std::size_t kChunkSize = std::size_t{1} << 20;

// The most an entity-laden document may grow by expansion, and the size from
// which that is watched. No school's document comes near either; a "billion
// laughs" is stopped at a few megabytes.
constexpr float kMaximumAmplification = 100.0f;
constexpr unsigned long long kAmplificationThreshold = 4ull << 20;

bool is_name_end(char c) { return xml_tree::is_xml_space(c) || c == '=' || c == '/' || c == '>' || c == ';'; }

// The name that starts at `at` in markup Expat has read.
std::string_view name_at(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && !is_name_end(text[end]) && text[end] != '<' && text[end] != '&')
        ++end;
    return text.substr(std::min(at, text.size()), end - std::min(at, text.size()));
}

// "prefix:local" (or "local") from Expat's "uri·local·prefix" forms; the
// name itself, without a copy, when it has no namespace (a SAGA document's).
const char* qualified_name(const char* expat_name, std::string& buffer) {
    const std::string_view name(expat_name);
    const std::size_t first = name.find(kNameSeparator);
    if (first == std::string_view::npos)
        return expat_name;
    const std::size_t second = name.find(kNameSeparator, first + 1);
    if (second == std::string_view::npos)
        return expat_name + first + 1;
    buffer.assign(name.substr(second + 1));
    buffer += ':';
    buffer += name.substr(first + 1, second - first - 1);
    return buffer.c_str();
}

bool is_namespace_declaration(std::string_view name) {
    return name == "xmlns" || name.substr(0, 6) == "xmlns:";
}

// The attribute names of a start tag Expat has accepted, in the order
// written, or nothing when the tag does not read as expected.
std::vector<std::string_view> written_attribute_names(std::string_view tag) {
    std::vector<std::string_view> names;
    std::size_t i = 1 + name_at(tag, 1).size();
    for (;;) {
        while (i < tag.size() && xml_tree::is_xml_space(tag[i]))
            ++i;
        if (i >= tag.size() || tag[i] == '/' || tag[i] == '>')
            return names;
        const std::string_view name = name_at(tag, i);
        const std::size_t equals = tag.find('=', i + name.size());
        const std::size_t open = tag.find_first_of("\"'", equals);
        const std::size_t close = open == std::string_view::npos ? open : tag.find(tag[open], open + 1);
        if (name.empty() || close == std::string_view::npos)
            return {};
        names.push_back(name);
        i = close + 1;
    }
}

struct Fault {
    std::string description;
    std::size_t offset;
};

// Builds the tree from Expat's events. Text arrives in pieces and is joined
// into one node at the next event that is not text.
class TreeBuilder {
public:
    TreeBuilder(pugi::xml_document& tree, std::string_view text, XmlUse use)
        : tree_(tree), text_(text), use_(use), current_(tree) {
        parser_ = XML_ParserCreateNS("UTF-8", kNameSeparator);
        if (!parser_)
            throw std::bad_alloc();
        XML_SetUserData(parser_, this);
        XML_SetReturnNSTriplet(parser_, XML_TRUE);
        XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
        XML_SetBillionLaughsAttackProtectionMaximumAmplification(parser_, kMaximumAmplification);
        XML_SetBillionLaughsAttackProtectionActivationThreshold(parser_, kAmplificationThreshold);
        XML_SetXmlDeclHandler(parser_, on_xml_declaration);
        XML_SetDoctypeDeclHandler(parser_, on_doctype_start, on_doctype_end);
        XML_SetElementHandler(parser_, on_start_element, on_end_element);
        XML_SetCharacterDataHandler(parser_, on_characters);
        XML_SetCdataSectionHandler(parser_, on_cdata_start, on_cdata_end);
        XML_SetCommentHandler(parser_, on_comment);
        XML_SetProcessingInstructionHandler(parser_, on_processing_instruction);
        XML_SetNamespaceDeclHandler(parser_, on_namespace_start, on_namespace_end);
        XML_SetEntityDeclHandler(parser_, on_entity_declaration);
        XML_SetSkippedEntityHandler(parser_, on_skipped_entity);
        XML_SetNotStandaloneHandler(parser_, on_not_standalone);
        XML_SetExternalEntityRefHandler(parser_, on_external_entity);
        XML_SetExternalEntityRefHandlerArg(parser_, this);
        // Whitespace beside the document element reaches only this handler;
        // the "Expand" form keeps the document's entities expanded.
        XML_SetDefaultHandlerExpand(parser_, on_other);
    }
    TreeBuilder(const TreeBuilder&) = delete;
    TreeBuilder& operator=(const TreeBuilder&) = delete;
    ~TreeBuilder() { XML_ParserFree(parser_); }

    std::optional<Fault> parse() {
        std::size_t done = 0;
        do {
            const std::size_t size = std::min(kChunkSize, text_.size() - done);
            const bool last = done + size == text_.size();
            if (XML_Parse(parser_, text_.data() + done, static_cast<int>(size), last) != XML_STATUS_OK)
                return fault();
            done += size;
        } while (done < text_.size());
        return std::nullopt;
    }

    std::string declaration;  // the XML declaration as written

private:
    static TreeBuilder& self(void* data) { return *static_cast<TreeBuilder*>(data); }
    // The external entity handler is handed its argument as a parser.
    static TreeBuilder& self(XML_Parser data) { return *reinterpret_cast<TreeBuilder*>(data); }

    std::size_t event_start() const {
        const XML_Index index = XML_GetCurrentByteIndex(parser_);
        return index < 0 ? text_.size() : std::min(static_cast<std::size_t>(index), text_.size());
    }
    // The event's own bytes, or nothing for one inside an entity's text.
    std::string_view event_text() const {
        const std::size_t start = event_start();
        const auto count = static_cast<std::size_t>(std::max(0, XML_GetCurrentByteCount(parser_)));
        return text_.substr(start, std::min(count, text_.size() - start));
    }

    void flush_text() {
        if (pending_.empty())
            return;
        if (use_ == XmlUse::Edit || !xml_tree::is_blank(pending_.c_str()))
            current_.append_child(pugi::node_pcdata).set_value(pending_.data(), pending_.size());
        pending_.clear();
    }

    void refuse(std::string description) {
        refusal_ = Fault{std::move(description), event_start()};
        XML_StopParser(parser_, XML_FALSE);
    }

    // The first entity reference in `markup` that the document does not
    // declare, up to the next tag.
    std::string_view undeclared_reference(std::string_view markup) const {
        for (std::size_t at = markup.find('&'); at != std::string_view::npos; at = markup.find('&', at + 1)) {
            const std::size_t tag = markup.find('<', 1);
            if (tag != std::string_view::npos && at > tag)
                break;
            const std::string_view name = name_at(markup, at + 1);
            static const std::unordered_set<std::string_view> kPredefined{"amp", "lt", "gt", "quot", "apos"};
            if (!name.empty() && name[0] != '#' && !kPredefined.count(name) &&
                !declared_entities_.count(std::string(name)))
                return name;
        }
        return {};
    }

    void add_attribute(pugi::xml_node element, const char* name, const char* value) {
        element.append_attribute(name).set_value(value);
    }

    void add_attributes(pugi::xml_node element, const char** attributes) {
        int next = 0;
        if (!namespaces_.empty()) {
            // The namespace declarations among the others, where the tag
            // has them; Expat hands them over apart.
            const int specified = XML_GetSpecifiedAttributeCount(parser_);
            std::vector<bool> declaration_used(namespaces_.size(), false);
            const std::string_view tag = event_text();
            if (!tag.empty() && tag[0] == '<')
                for (const std::string_view name : written_attribute_names(tag)) {
                    if (!is_namespace_declaration(name)) {
                        if (next < specified && attributes[next]) {
                            add_attribute(element, qualified_name(attributes[next], name_buffer_),
                                          attributes[next + 1]);
                            next += 2;
                        }
                        continue;
                    }
                    for (std::size_t i = 0; i < namespaces_.size(); ++i)
                        if (!declaration_used[i] && namespaces_[i].first == name) {
                            add_attribute(element, namespaces_[i].first.c_str(), namespaces_[i].second.c_str());
                            declaration_used[i] = true;
                            break;
                        }
                }
            for (std::size_t i = 0; i < namespaces_.size(); ++i)
                if (!declaration_used[i])
                    add_attribute(element, namespaces_[i].first.c_str(), namespaces_[i].second.c_str());
            namespaces_.clear();
        }
        for (; attributes[next]; next += 2)
            add_attribute(element, qualified_name(attributes[next], name_buffer_), attributes[next + 1]);
    }

    // Whitespace beside the document element, kept for a save's layout.
    void add_top_level_text(std::string_view text) {
        if (use_ != XmlUse::Edit || text.empty())
            return;
        pugi::xml_node last = tree_.last_child();
        if (last.type() != pugi::node_pcdata) {
            last = tree_.append_child(pugi::node_pcdata);
            raw_top_level_text_.clear();
        }
        // Expat hands it over as written, line ends unread: joined to what
        // came before (a CR LF may come in two pieces), then read as text is.
        raw_top_level_text_ += text;
        std::string joined;
        for (std::size_t i = 0; i < raw_top_level_text_.size(); ++i) {
            const char c = raw_top_level_text_[i];
            if (c != '\r')
                joined += c;
            else if (i + 1 >= raw_top_level_text_.size() || raw_top_level_text_[i + 1] != '\n')
                joined += '\n';
        }
        last.set_value(joined.data(), joined.size());
    }

    void mark_top_level_end() {
        if (depth_ == 0) {
            const std::string_view event = event_text();
            top_level_end_ = event_start() + event.size();
        }
    }

    static void XMLCALL on_xml_declaration(void* data, const XML_Char*, const XML_Char*, int) {
        TreeBuilder& b = self(data);
        b.declaration = std::string(b.event_text());
        b.tree_.append_child(pugi::node_declaration).set_name("xml");
        b.mark_top_level_end();
    }
    static void XMLCALL on_doctype_start(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
        TreeBuilder& b = self(data);
        b.in_doctype_ = true;
        b.doctype_start_ = b.text_.find("<!DOCTYPE", b.top_level_end_);
    }
    static void XMLCALL on_doctype_end(void* data) {
        TreeBuilder& b = self(data);
        b.in_doctype_ = false;
        const std::size_t end = b.event_start() + b.event_text().size();
        constexpr std::size_t kOpening = sizeof "<!DOCTYPE" - 1;
        if (b.doctype_start_ != std::string_view::npos && end > b.doctype_start_ + kOpening) {
            const std::string_view inside = b.text_.substr(b.doctype_start_ + kOpening, end - 1 - b.doctype_start_ - kOpening);
            b.tree_.append_child(pugi::node_doctype).set_value(inside.data(), inside.size());
        }
        b.top_level_end_ = end;
    }
    static void XMLCALL on_start_element(void* data, const XML_Char* name, const XML_Char** attributes) {
        TreeBuilder& b = self(data);
        b.flush_text();
        if (b.entities_may_be_skipped_) {
            // Expat drops, without a word, an attribute's reference to an
            // entity that only an unread DTD could declare.
            const std::string_view tag = b.event_text();
            if (const std::string_view missing = b.undeclared_reference(tag); !missing.empty())
                return b.refuse(skipped_entity_message(missing));
        }
        b.current_ = b.current_.append_child(qualified_name(name, b.name_buffer_));
        b.add_attributes(b.current_, attributes);
        ++b.depth_;
    }
    static void XMLCALL on_end_element(void* data, const XML_Char*) {
        TreeBuilder& b = self(data);
        b.flush_text();
        b.current_ = b.current_.parent();
        --b.depth_;
        b.mark_top_level_end();
    }
    static void XMLCALL on_characters(void* data, const XML_Char* text, int length) {
        self(data).pending_.append(text, static_cast<std::size_t>(length));
    }
    static void XMLCALL on_cdata_start(void* data) { self(data).flush_text(); }
    static void XMLCALL on_cdata_end(void* data) {
        TreeBuilder& b = self(data);
        b.current_.append_child(pugi::node_cdata).set_value(b.pending_.data(), b.pending_.size());
        b.pending_.clear();
    }
    static void XMLCALL on_comment(void* data, const XML_Char* text) {
        TreeBuilder& b = self(data);
        if (b.in_doctype_)
            return;  // kept with the declaration's own text
        b.flush_text();
        b.current_.append_child(pugi::node_comment).set_value(text);
        b.mark_top_level_end();
    }
    static void XMLCALL on_processing_instruction(void* data, const XML_Char* target, const XML_Char* text) {
        TreeBuilder& b = self(data);
        if (b.in_doctype_)
            return;
        b.flush_text();
        pugi::xml_node instruction = b.current_.append_child(pugi::node_pi);
        instruction.set_name(target);
        instruction.set_value(text);
        b.mark_top_level_end();
    }
    static void XMLCALL on_namespace_start(void* data, const XML_Char* prefix, const XML_Char* uri) {
        TreeBuilder& b = self(data);
        b.namespaces_.emplace_back(prefix ? std::string("xmlns:") + prefix : std::string("xmlns"), uri ? uri : "");
        if (prefix)
            ++b.bound_prefixes_[prefix];
    }
    static void XMLCALL on_namespace_end(void* data, const XML_Char* prefix) {
        if (prefix)
            --self(data).bound_prefixes_[prefix];
    }
    static void XMLCALL on_entity_declaration(void* data, const XML_Char* name, int parameter, const XML_Char*,
                                              int, const XML_Char*, const XML_Char* system_id, const XML_Char*,
                                              const XML_Char*) {
        TreeBuilder& b = self(data);
        if (parameter)
            return;
        b.declared_entities_.insert(name);
        if (system_id)
            b.external_entities_.emplace(system_id, name);
    }
    static std::string skipped_entity_message(std::string_view name) {
        return "se usa la entidad «" + std::string(name) +
               "», que el documento no declara (quizá la declare una DTD externa, que el programa no lee)";
    }
    static void XMLCALL on_skipped_entity(void* data, const XML_Char* name, int parameter) {
        // A parameter entity of an unread DTD only declares; a general one
        // would be text lost without a word.
        if (!parameter)
            self(data).refuse(skipped_entity_message(name));
    }
    static int XMLCALL on_not_standalone(void* data) {
        self(data).entities_may_be_skipped_ = true;
        return XML_STATUS_OK;
    }
    static int XMLCALL on_external_entity(XML_Parser data, const XML_Char*, const XML_Char*,
                                          const XML_Char* system_id, const XML_Char*) {
        TreeBuilder& b = self(data);
        std::string name;
        const std::size_t at = b.event_start();
        if (at < b.text_.size() && b.text_[at] == '&')
            name = name_at(b.text_, at + 1);
        else if (const auto found = b.external_entities_.find(system_id ? system_id : ""); found != b.external_entities_.end())
            name = found->second;
        b.refusal_ = Fault{describe_parse_fault(XML_ERROR_EXTERNAL_ENTITY_HANDLING, name, {}), at};
        return XML_STATUS_ERROR;
    }
    static void XMLCALL on_other(void* data, const XML_Char* text, int length) {
        TreeBuilder& b = self(data);
        if (b.in_doctype_ || b.depth_ != 0)
            return;
        b.add_top_level_text(std::string_view(text, static_cast<std::size_t>(length)));
        b.mark_top_level_end();
    }

    // The name a fault concerns, read from the document where it was met.
    std::string fault_name(XML_Error code, std::size_t at) const {
        const std::string_view rest = text_.substr(std::min(at, text_.size()));
        switch (code) {
        case XML_ERROR_TAG_MISMATCH:
            return std::string(name_at(text_, at));
        case XML_ERROR_UNDEFINED_ENTITY:
            return std::string(undeclared_reference(rest));
        case XML_ERROR_RECURSIVE_ENTITY_REF:
        case XML_ERROR_BINARY_ENTITY_REF:
            return !rest.empty() && rest[0] == '&' ? std::string(name_at(rest, 1)) : std::string();
        case XML_ERROR_UNBOUND_PREFIX:
            return unbound_prefix(rest);
        default:
            return {};
        }
    }

    // The prefix of a start tag that no declaration in force binds.
    std::string unbound_prefix(std::string_view tag) const {
        if (tag.empty() || tag[0] != '<')
            return {};
        std::vector<std::string_view> names = written_attribute_names(tag);
        std::unordered_set<std::string_view> declared_here;
        for (const std::string_view name : names)
            if (name.substr(0, 6) == "xmlns:")
                declared_here.insert(name.substr(6));
        names.insert(names.begin(), name_at(tag, 1));
        for (const std::string_view name : names) {
            const std::size_t colon = name.find(':');
            if (colon == std::string_view::npos || is_namespace_declaration(name))
                continue;
            const std::string prefix(name.substr(0, colon));
            const auto bound = bound_prefixes_.find(prefix);
            if (prefix != "xml" && !declared_here.count(prefix) && (bound == bound_prefixes_.end() || bound->second <= 0))
                return prefix;
        }
        return {};
    }

    Fault fault() const {
        if (refusal_)
            return *refusal_;
        const XML_Error code = XML_GetErrorCode(parser_);
        if (code == XML_ERROR_NO_MEMORY)
            throw std::bad_alloc();
        const std::size_t at = event_start();
        const std::string open = current_.type() == pugi::node_element ? current_.name() : "";
        return Fault{describe_parse_fault(code, fault_name(code, at), open), at};
    }

    pugi::xml_document& tree_;
    const std::string_view text_;
    const XmlUse use_;
    XML_Parser parser_ = nullptr;
    pugi::xml_node current_;
    std::size_t depth_ = 0;
    std::string pending_;  // text not yet made a node
    std::string name_buffer_;  // a qualified name put together
    std::vector<std::pair<std::string, std::string>> namespaces_;  // declared by the coming start tag
    std::unordered_map<std::string, int> bound_prefixes_;
    std::unordered_set<std::string> declared_entities_;
    std::unordered_map<std::string, std::string> external_entities_;  // by system identifier
    bool in_doctype_ = false;
    bool entities_may_be_skipped_ = false;
    std::string raw_top_level_text_;  // the latest top-level text, as written
    std::size_t top_level_end_ = 0;  // where the latest markup beside the document element ended
    std::size_t doctype_start_ = std::string_view::npos;
    std::optional<Fault> refusal_;
};

platform::BulkBytes read_file(const std::filesystem::path& path) {
    platform::BulkBytes bytes;
    if (const std::error_code error = platform::read_regular_file(path, bytes)) {
        const std::string reason =
            error == std::errc::invalid_argument ? "no es un archivo normal" : error.message();
        throw Error("No se puede leer el archivo " + utf8_from_path(path) + ": " + reason);
    }
    return bytes;
}

Error not_well_formed(const std::string& name, const std::string& description, std::string_view utf8,
                      std::size_t offset) {
    const TextPosition at = position_in_utf8(utf8, offset);
    return Error("El archivo " + name + " no es un documento XML válido: " + description + " (línea " +
                 std::to_string(at.line) + ", columna " + std::to_string(at.column) + ")");
}

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

// What XML allows as an encoding's name: a letter, then letters, digits,
// ".", "_" and "-".
bool is_encoding_name(std::string_view name) {
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (name.empty() || !letter(name[0]))
        return false;
    return std::all_of(name.begin(), name.end(), [&](char c) {
        return letter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    });
}

const char* encoding_name(XmlEncoding encoding) {
    return encoding == XmlEncoding::Utf8Bom ? "UTF-8" : "UTF-16";
}

// What the file's first line ends with, for a save to end its lines alike.
std::string first_line_end(std::string_view text) {
    const std::size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos || text[at] == '\n')
        return "\n";
    return at + 1 < text.size() && text[at + 1] == '\n' ? "\r\n" : "\r";
}

} // namespace

void XmlDocument::load(const std::filesystem::path& path, XmlUse use) {
    const std::string name = utf8_from_path(path);
    try {
        load_bytes(read_file(path), name, use);
    } catch (const std::bad_alloc&) {
        throw Error("El archivo " + name + " es demasiado grande para cargarlo en memoria");
    }
}

void XmlDocument::load_from_memory(std::string_view bytes, const std::string& name, XmlUse use) {
    try {
        load_bytes(platform::BulkBytes(bytes), name, use);
    } catch (const std::bad_alloc&) {
        throw Error("El archivo " + name + " es demasiado grande para cargarlo en memoria");
    }
}

void XmlDocument::load_bytes(platform::BulkBytes bytes, const std::string& name, XmlUse use) {
    const EncodingGuess guess = guess_xml_encoding(bytes);
    if (!guess.unsupported.empty()) {
        if (!is_encoding_name(guess.unsupported))
            throw not_well_formed(name, "la declaración XML no nombra bien la codificación", bytes, 0);
        throw Error("El archivo " + name + " usa la codificación " + guess.unsupported +
                    ", que el programa no sabe leer");
    }
    std::string byte_order_mark(std::string_view(bytes).substr(0, guess.bom_size));

    const Utf8Text text = utf8_text(std::move(bytes), guess);
    if (text.fault)
        throw not_well_formed(name, "hay bytes que no forman un carácter válido en la codificación del archivo",
                              text.view(), *text.fault);
    if (const std::string_view declared = declared_encoding(text.view());
        !declared.empty() && !declared_encoding_fits(declared, guess.encoding))
        throw not_well_formed(name,
                              "declara la codificación " + std::string(declared) + ", pero está escrito en " +
                                  encoding_name(guess.encoding),
                              text.view(), 0);

    pugi::xml_document parsed;
    TreeBuilder builder(parsed, text.view(), use);
    if (const std::optional<Fault> fault = builder.parse()) {
        parsed.reset();  // its memory, not held any longer than the message needs
        throw not_well_formed(name, fault->description, text.view(), fault->offset);
    }

    doc_ = std::move(parsed);
    encoding_ = guess.encoding;
    byte_order_mark_ = std::move(byte_order_mark);
    declaration_ = std::move(builder.declaration);
    line_end_ = first_line_end(text.view());
    use_ = use;
    streamed_element_ = {};
    streamed_children_ = nullptr;
}

} // namespace enlazor
