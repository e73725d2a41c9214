// The exchange directory and the six table objects that the main window owns
// for Horalis's tables, each opened exclusively so that Horalis stays away
// from a table while a direction reads it.
#pragma once

#include "storage/dbf_table.h"
#include "storage/settings.h"

#include <memory>

namespace enlazor {

class Exchange {
public:
    // `mode` Shared is for reading alongside Horalis without keeping it
    // out (a check that only looks); the directions open exclusively.
    explicit Exchange(Settings settings, OpenMode mode = OpenMode::Exclusive);

    const Settings& settings() const { return settings_; }
    const std::filesystem::path& directory() const { return settings_.exchange_dir; }
    char decimal_separator() const { return settings_.decimal_separator; }

    DbfTable& nom_asg() { return nom_asg_; }        // wwTableNomAsg, ASIGNOMT
    DbfTable& profesor() { return profesor_; }      // wwTableProfesor, PROFT
    DbfTable& aulas() { return aulas_; }            // wwTableAulas, AULAT
    DbfTable& grupos() { return grupos_; }          // wwTableGrupos, GRUPOST
    DbfTable& dias_horas() { return dias_horas_; }  // wwTableDiasHoras, DIASHORAST
    DbfTable& soluc() { return soluc_; }            // wwTableSoluc, SOLUC

    // Closes all six (a failed direction may have left some open).
    void close_all();

private:
    Settings settings_;
    DbfTable nom_asg_, profesor_, aulas_, grupos_, dias_horas_, soluc_;
};

} // namespace enlazor
