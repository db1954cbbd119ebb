#pragma once

#include "GlazeCore/chemistry/Chemistry.h"
#include "GlazeCore/chemistry/LimitSet.h"
#include "Orza/chemistry/LimitComparison.h"

#include <QLocale>
#include <QString>

#include <vector>

/// The words and numbers of the chemistry panel and its UMF grid, shown and spoken. Numbers are in the
/// given locale (the user's by default).
namespace Orza::ChemistryTexts {

/// "In range", "Below range", "Above range"; empty for no comparison.
QString statusWords(RangeStatus status);
/// "KNaO 0.10–0.30" for a combined range, "0.20–0.60" for one oxide.
QString rangeText(const GlazeCore::LimitRange& range, const QLocale& locale = {});
/// The help of a "↑ shared" cell.
QString sharedRangeHelp(const GlazeCore::LimitRange& range);
/// The UMF cell: 3 decimals, or an em dash without a UMF.
QString umfCell(const GlazeCore::Chemistry& chemistry, GlazeCore::Oxide oxide, const QLocale& locale = {});
/// What the screen reader says for a whole grid row.
QString oxideRowLabel(GlazeCore::Oxide oxide, const GlazeCore::Chemistry& chemistry, RangeStatus status,
                      const GlazeCore::LimitRange* range, const QLocale& locale = {});

QString nudgeHelp(GlazeCore::Oxide oxide, const QLocale& locale = {});
QString nudgeAccessibleName(GlazeCore::Oxide oxide);
QString nudgeAccessibleHint();

/// "68.3 × 10⁻⁷/K", with ", partial" when some oxides were not counted; "Not available" without one.
QString expansionValue(const GlazeCore::Chemistry& chemistry, const QLocale& locale = {});
/// The expansion row's spoken label.
QString expansionSpoken(const GlazeCore::Chemistry& chemistry, const QLocale& locale = {});
/// "Partial: does not count Fe₂O₃. See Warnings."
QString expansionPartialNote(const GlazeCore::Chemistry& chemistry);

QString siAlValue(const GlazeCore::Chemistry& chemistry, const QLocale& locale = {});
QString siAlSpoken(const GlazeCore::Chemistry& chemistry, const QLocale& locale = {});
/// "0.25 : 0.75", or an em dash without a UMF.
QString r2oValue(const GlazeCore::Chemistry& chemistry, const QLocale& locale = {});
QString r2oSpoken(const GlazeCore::Chemistry& chemistry, const QLocale& locale = {});
QString r2oHelp(const GlazeCore::Chemistry& chemistry);

/// "Not listed (0, within range): MgO, ZnO."
QString notListedLine(const std::vector<GlazeCore::Oxide>& oxides);
/// "1 oxide outside the reference range", "3 oxides outside the reference range".
QString outsideRangeText(int count);
/// The picker's help: the set's name, ". Source: " and its source; empty without a set.
QString limitSetHelp(const GlazeCore::LimitSet* set);

/// The oxide's formula with subscript digits.
QString formula(GlazeCore::Oxide oxide);

} // namespace Orza::ChemistryTexts
