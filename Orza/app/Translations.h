#pragma once

#include <QLocale>

/// The texts of the program's language: its own (for now English, with its plural forms) and Qt's (standard
/// buttons, dialogs, key names) in the same language, so that no window mixes two.
namespace Orza::Translations {

/// Installs the translators once per process; later calls do nothing.
void install();

/// The language the program's texts are in for a user of `user`'s locale: that language when the program has a
/// translation of its own into it, else English. Numbers and dates still follow the user's locale.
QLocale textLocale(const QLocale& user = QLocale());

} // namespace Orza::Translations
