#pragma once

/// The texts of the user's language: Qt's own (standard buttons and dialogs) for the system locale, and
/// the application's plural forms.
namespace Orza::Translations {

/// Installs the translators once per process; later calls do nothing.
void install();

} // namespace Orza::Translations
