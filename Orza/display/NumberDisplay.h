#pragma once

#include "GlazeCore/book/Oxide.h"

#include <QLocale>
#include <QString>

// How panes and sheets show numbers and formulas. Display numbers use the user's current locale with its
// grouping; editable fields use GlazeCore's NumberText, which never groups. A value that rounds to zero is
// written as zero, never as "-0".
namespace Orza {

/// 0 to 2 fraction digits: trailing zeros dropped (1, 1.5, 1.26 in English).
QString formatDouble(double value, const QLocale& locale = QLocale());
/// Exactly `places` fraction digits.
QString formatDoublePlaces(int places, double value, const QLocale& locale = QLocale());
/// The formula's characters joined by single blanks, so a screen reader spells it ("A l 2 O 3").
QString spokenFormula(GlazeCore::Oxide oxide);

} // namespace Orza
