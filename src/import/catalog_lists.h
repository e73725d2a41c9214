// The groups, members and activities that the solution uses, listed in
// catalog order by their SAGA identifiers.
#pragma once

#include "storage/dbf_table.h"
#include "storage/text.h"

#include <pugixml.hpp>

#include <cstddef>

namespace enlazor {

// The two parallel lists the activities stage fills: position k of both
// belongs to the (k+1)-th activity written.
struct ActivityLists {
    LookupList activity_ids;  // a1, a2, ...
    LookupList subject_ids;   // each activity's IDSAGA
};

// Each stage appends its list element to `time_table` and one item per
// catalog record (open table, physical order) whose code occurs in the open
// SOLUC; they return the number of items written.

// `groups`: GRUPOST records by ABREV against SOLUC.CODGRUPO.
std::size_t write_groups(pugi::xml_node time_table, DbfTable& grupos, DbfTable& soluc);

// `members`: PROFT records by ABREV against SOLUC.PROF.
std::size_t write_members(pugi::xml_node time_table, DbfTable& profesor, DbfTable& soluc);

// `activities`: ASIGNOMT records by COD against SOLUC.ASIG, numbered a1, a2, ...
// without gaps; fills `lists`.
std::size_t write_activities(pugi::xml_node time_table, DbfTable& nom_asg, DbfTable& soluc,
                             ActivityLists& lists);

} // namespace enlazor
