#include "storage/exchange.h"

namespace enlazor {


Exchange::Exchange(Settings settings, OpenMode mode)
    : settings_(std::move(settings)),
      nom_asg_(settings_.exchange_dir, "ASIGNOMT.DBF", mode, settings_.decimal_separator, "wwTableNomAsg"),
      profesor_(settings_.exchange_dir, "PROFT.DBF", mode, settings_.decimal_separator, "wwTableProfesor"),
      aulas_(settings_.exchange_dir, "AULAT.DBF", mode, settings_.decimal_separator, "wwTableAulas"),
      grupos_(settings_.exchange_dir, "GRUPOST.DBF", mode, settings_.decimal_separator, "wwTableGrupos"),
      dias_horas_(settings_.exchange_dir, "DIASHORAST.DBF", mode, settings_.decimal_separator, "wwTableDiasHoras"),
      soluc_(settings_.exchange_dir, "SOLUC.DBF", mode, settings_.decimal_separator, "wwTableSoluc") {}

void Exchange::close_all() {
    for (DbfTable* t : {&nom_asg_, &profesor_, &aulas_, &grupos_, &dias_horas_, &soluc_})
        t->close();
}

} // namespace enlazor
