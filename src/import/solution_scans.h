// The two ways the import relates SOLUC records and catalog records.
//
// Both give exactly what a scan from the first record to the first equal one
// would give (texts compared byte for byte, case significant), but each table
// is read once and answered from a hash table, so a solution of hundreds of
// thousands of lessons against catalogs of thousands of records stays linear.
#pragma once

#include "storage/dbf_table.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace enlazor {

// Whether any SOLUC record holds a given code in one of its fields (the
// occurrence scan behind the groups, members and activities lists).
class SolutionCodes {
public:
    SolutionCodes(DbfTable& soluc, std::string field);

    // Reads the field of every record on the first question, not before, so
    // that a catalog without records never reads SOLUC.
    bool occurs(const Text8& code);

private:
    DbfTable& soluc_;
    std::string field_;
    std::optional<std::unordered_set<Text8>> codes_;
};

// The code look-up: the IDSAGA of the first catalog record whose code field
// equals a Horalis code, or the code itself when no record has it.
class CatalogLookup {
public:
    CatalogLookup(DbfTable& catalog, std::string code_field);

    // The IDSAGA of the first record with the code, or nullptr when no
    // record has it. Reads the catalog on the first look-up, not before.
    const Text8* record_idsaga(const Text8& code);

private:
    void index_catalog();

    DbfTable& catalog_;
    std::string code_field_;
    std::optional<std::unordered_map<Text8, Text8>> first_idsaga_;
    bool has_idsaga_ = true;
};

} // namespace enlazor
