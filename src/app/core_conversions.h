// The real conversions of the core library, working on the window's six
// table objects in the exchange directory.
#pragma once

#include "app/conversions.h"
#include "storage/exchange.h"
#include "storage/settings.h"

namespace enlazor::app {

class CoreConversions final : public Conversions {
public:
    explicit CoreConversions(Settings settings);

    void run_export(const std::filesystem::path& saga_document) override;
    void run_import(const std::filesystem::path& saga_document) override;

private:
    Exchange exchange_;  // the main window's six table objects
};

} // namespace enlazor::app
