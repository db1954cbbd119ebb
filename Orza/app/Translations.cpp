#include "Orza/app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Orza::Translations {

namespace {

void load(const QString& name, const QString& folder, const QLocale& locale = QLocale()) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, name, QStringLiteral("_"), folder))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

void install() {
    static bool installed = false;
    if (installed || !QCoreApplication::instance()) return;
    installed = true;
    load(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // The English forms first, then the user's language over them when there is one.
    load(QStringLiteral("orza"), QStringLiteral(":/i18n"), QLocale(QLocale::English));
    if (QLocale().language() != QLocale::English) load(QStringLiteral("orza"), QStringLiteral(":/i18n"));
}

} // namespace Orza::Translations
