#include "Orza/app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace Orza::Translations {

namespace {

const QString folder = QStringLiteral(":/i18n");

void load(const QString& name, const QString& from, const QLocale& locale) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, name, QStringLiteral("_"), from))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

QLocale textLocale(const QLocale& user) {
    if (user.language() == QLocale::English) return user;
    QTranslator own;
    // The English forms are the program's own too; only another language's file says it is translated.
    if (own.load(user, QStringLiteral("orza"), QStringLiteral("_"), folder) && own.language() != QStringLiteral("en"))
        return user;
    return QLocale(QLocale::English);
}

void install() {
    static bool installed = false;
    if (installed || !QCoreApplication::instance()) return;
    installed = true;
    const QLocale texts = textLocale();
    // Qt's own texts only in the program's language: a German Qt beside English texts would mix the two.
    if (texts.language() != QLocale::English)
        load(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath), texts);
    // The English forms first, then the user's language over them when there is one.
    load(QStringLiteral("orza"), folder, QLocale(QLocale::English));
    if (texts.language() != QLocale::English) load(QStringLiteral("orza"), folder, texts);
}

} // namespace Orza::Translations
