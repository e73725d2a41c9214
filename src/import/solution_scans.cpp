#include "import/solution_scans.h"

#include "import/field_reader.h"

namespace enlazor {

namespace {

bool same_name_ignoring_case(const std::string& a, const std::string& b) {
    return ascii_lower(a) == ascii_lower(b);
}

bool has_field(const DbfTable& table, const std::string& name) {
    for (const FieldInfo& field : table.fields())
        if (same_name_ignoring_case(field.name, name))
            return true;
    return false;
}

} // namespace

SolutionCodes::SolutionCodes(DbfTable& soluc, std::string field)
    : soluc_(soluc), field_(std::move(field)) {}

bool SolutionCodes::occurs(const Text8& code) {
    if (!codes_) {
        codes_.emplace();
        FieldReader reader(soluc_, field_);
        for (soluc_.first(); !soluc_.eof(); soluc_.next())
            codes_->insert(reader.text());
    }
    return codes_->contains(code);
}

CatalogLookup::CatalogLookup(DbfTable& catalog, std::string code_field)
    : catalog_(catalog), code_field_(std::move(code_field)) {}

void CatalogLookup::index_catalog() {
    first_idsaga_.emplace();
    // A catalog without IDSAGA fails only when a code is found in it, which
    // is when a scan would first read that field.
    has_idsaga_ = has_field(catalog_, "IDSAGA");
    FieldReader code(catalog_, code_field_);
    std::optional<FieldReader> idsaga;
    if (has_idsaga_)
        idsaga.emplace(catalog_, "IDSAGA");
    for (catalog_.first(); !catalog_.eof(); catalog_.next()) {
        // The first record of a code wins: a scan would never reach the later ones.
        Text8 key = code.text();
        if (!first_idsaga_->contains(key))
            first_idsaga_->emplace(std::move(key), idsaga ? idsaga->text() : Text8{});
    }
}

const Text8* CatalogLookup::record_idsaga(const Text8& code) {
    if (!first_idsaga_)
        index_catalog();
    auto found = first_idsaga_->find(code);
    if (found == first_idsaga_->end())
        return nullptr;
    if (!has_idsaga_)
        catalog_.field_index("IDSAGA");  // throws the table's field-not-found error
    return &found->second;
}

} // namespace enlazor
