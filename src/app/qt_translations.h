// Qt's own texts in the user's language: the file dialog's labels, buttons
// and context menus, and the standard buttons of the error box. On Windows
// the same pieces are the system's and speak the user's language anyway.
#pragma once

#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace enlazor::app {

// Loads Qt's "qtbase" catalogue for `locale` from Qt's translations folder
// and installs it. Returns the installed translator (owned by the
// application), or none when no catalogue fits: Qt's English then stays.
QTranslator* install_qt_translations(QCoreApplication& application, const QLocale& locale = QLocale());

} // namespace enlazor::app
