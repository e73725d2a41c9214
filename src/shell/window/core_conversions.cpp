#include "shell/window/core_conversions.h"

#include "export/export_tables.h"
#include "import/time_tables.h"

#include <utility>

namespace enlazor::app {

namespace {

// The window's tables are opened exclusively. Whatever a direction left
// open is closed before the window waits again, so Horalis is never locked
// out of its tables while Enlazor merely sits on screen. After a failure the
// first error is the one the user sees; a second one while closing is not.
template <typename Run>
void run_and_release(Exchange& exchange, Run&& direction) {
    try {
        direction();
    } catch (...) {
        try {
            exchange.close_all();
        } catch (...) {
        }
        throw;
    }
    exchange.close_all();
}

} // namespace

CoreConversions::CoreConversions(Settings settings) {
    use_settings(std::move(settings));
}

void CoreConversions::use_settings(Settings settings) {
    exchange_.emplace(std::move(settings));
}

void CoreConversions::run_export(const std::filesystem::path& saga_document) {
    run_and_release(*exchange_, [&] { enlazor::run_export(saga_document, *exchange_); });
}

void CoreConversions::run_import(const std::filesystem::path& saga_document) {
    run_and_release(*exchange_, [&] { enlazor::run_import(saga_document, *exchange_); });
}

} // namespace enlazor::app
