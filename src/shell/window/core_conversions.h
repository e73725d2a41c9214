// The real conversions of the core library, working on the window's six
// table objects in the exchange directory.
#pragma once

#include "shell/window/conversions.h"
#include "storage/exchange.h"
#include "storage/settings.h"

#include <optional>

namespace enlazor::app {

class CoreConversions final : public Conversions {
public:
    explicit CoreConversions(Settings settings);

    void run_export(const std::filesystem::path& saga_document) override;
    void run_import(const std::filesystem::path& saga_document) override;

    // Takes fresh settings for the next direction, as when the user changes
    // the regional settings while the window waits (Windows announces it
    // with WM_SETTINGCHANGE). Call it only between directions: the table
    // objects are made anew, and every table is closed by then.
    void use_settings(Settings settings);

private:
    std::optional<Exchange> exchange_;  // the main window's six table objects
};

} // namespace enlazor::app
