// The program's icon, the picture of data/enlazor.svg drawn here: Qt reads
// SVG only through a plugin the package does not depend on, and the window
// and the task switcher need the icon whether the desktop finds the
// installed file or not.
#pragma once

#include <QIcon>

namespace enlazor::app {

// The icon at the sizes a title bar, a task switcher and a dock ask for.
QIcon program_icon();

} // namespace enlazor::app
