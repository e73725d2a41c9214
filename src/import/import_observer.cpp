#include "import/import_observer.h"

namespace enlazor {

ImportObserver& ignore_import_findings() {
    static ImportObserver ignoring;
    return ignoring;
}

} // namespace enlazor
