#pragma once

#include <QLocale>
#include <QString>

namespace Orza {

/// The locale's short date format with the year in four digits: a two-digit year would store a date typed
/// as 03.12.2026 in 2020, and 1926 could not be told from 2026.
QString fourDigitYearDateFormat(const QLocale& locale = QLocale());

} // namespace Orza
