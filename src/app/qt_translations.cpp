#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace enlazor::app {

QTranslator* install_qt_translations(QCoreApplication& application, const QLocale& locale) {
    auto* translator = new QTranslator(&application);
    // qtbase_es.qm for es_ES, and so on; "C" and English find nothing.
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}

} // namespace enlazor::app
