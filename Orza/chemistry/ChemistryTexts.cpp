#include "Orza/chemistry/ChemistryTexts.h"

#include "GlazeCore/text/OxideText.h"
#include "Orza/display/NumberDisplay.h"

#include <QCoreApplication>
#include <QStringList>

namespace Orza::ChemistryTexts {

namespace {

using GlazeCore::Oxide;

QString tr(const char* text, int count = -1) {
    return QCoreApplication::translate("ChemistryPanel", text, nullptr, count);
}

QString plainFormula(Oxide oxide) {
    return QString::fromLatin1(GlazeCore::OxideNames::rawValue(oxide));
}

QString rangeLabel(const GlazeCore::LimitRange& range) {
    return QString::fromStdString(range.label());
}

const QString enDash = QStringLiteral("–");
const QString emDash = QStringLiteral("—");

} // namespace

QString formula(Oxide oxide) {
    return QString::fromStdString(GlazeCore::OxideText::formula(oxide));
}

QString statusWords(RangeStatus status) {
    switch (status) {
    case RangeStatus::inRange:
        return tr("In range");
    case RangeStatus::below:
        return tr("Below range");
    case RangeStatus::above:
        return tr("Above range");
    case RangeStatus::none:
        break;
    }
    return {};
}

QString rangeText(const GlazeCore::LimitRange& range, const QLocale& locale) {
    const QString numbers =
        formatDoublePlaces(2, range.min, locale) + enDash + formatDoublePlaces(2, range.max, locale);
    return range.combinedWith ? rangeLabel(range) + QLatin1Char(' ') + numbers : numbers;
}

QString sharedRangeHelp(const GlazeCore::LimitRange& range) {
    return tr("One range for %1 covers this oxide and the one above it").arg(rangeLabel(range));
}

QString umfCell(const GlazeCore::Chemistry& chemistry, Oxide oxide, const QLocale& locale) {
    if (chemistry.umf.empty()) return emDash;
    return formatDoublePlaces(3, GlazeCore::oxideValue(chemistry.umf, oxide), locale);
}

QString oxideRowLabel(Oxide oxide, const GlazeCore::Chemistry& chemistry, RangeStatus status,
                      const GlazeCore::LimitRange* range, const QLocale& locale) {
    QString label = spokenFormula(oxide) + QStringLiteral(", ");
    label += chemistry.umf.empty()
                 ? tr("UMF not available")
                 : tr("UMF %1").arg(formatDoublePlaces(3, GlazeCore::oxideValue(chemistry.umf, oxide), locale));
    label += QStringLiteral(", ");
    label += tr("%1 weight percent")
                 .arg(formatDoublePlaces(1, GlazeCore::oxideValue(chemistry.weightPercent, oxide), locale));
    if (range) {
        label += tr(", reference range");
        if (range->combinedWith) label += tr(" for %1").arg(rangeLabel(*range));
        label +=
            QLatin1Char(' ') +
            tr("%1 to %2").arg(formatDoublePlaces(2, range->min, locale), formatDoublePlaces(2, range->max, locale));
        label += QStringLiteral(", ") + statusWords(status);
    }
    return label;
}

QString nudgeHelp(Oxide oxide, const QLocale& locale) {
    return tr("Oxide Nudge: change the amounts so that %1 goes up or down by %2 in the UMF")
        .arg(formula(oxide), formatDoublePlaces(2, 0.05, locale));
}

QString nudgeAccessibleName(Oxide oxide) {
    return tr("Oxide Nudge for %1").arg(spokenFormula(oxide));
}

QString nudgeAccessibleHint() {
    // The step is part of the sentence, written the same in every locale.
    return tr("Opens a sheet that changes the amounts so this oxide goes up or down by 0.05");
}

QString expansionValue(const GlazeCore::Chemistry& chemistry, const QLocale& locale) {
    if (!chemistry.expansion) return tr("Not available");
    QString value = tr("%1 × 10⁻⁷/K").arg(formatDoublePlaces(1, *chemistry.expansion, locale));
    if (chemistry.expansionIsPartial()) value += tr(", partial");
    return value;
}

QString expansionSpoken(const GlazeCore::Chemistry& chemistry, const QLocale& locale) {
    QString spoken;
    if (!chemistry.expansion) {
        spoken = tr("not available");
    } else {
        spoken = tr("%1 times 10 to the minus 7 per kelvin").arg(formatDoublePlaces(1, *chemistry.expansion, locale));
        if (chemistry.expansionIsPartial()) {
            QStringList left;
            for (const Oxide oxide : chemistry.expansionNotCounted)
                left << plainFormula(oxide);
            spoken += tr(", partial, does not count %1").arg(left.join(QStringLiteral(", ")));
        }
    }
    return tr("Expansion, Appen estimate, %1").arg(spoken);
}

QString expansionPartialNote(const GlazeCore::Chemistry& chemistry) {
    QStringList left;
    for (const Oxide oxide : chemistry.expansionNotCounted)
        left << QString::fromStdString(GlazeCore::OxideText::subscriptedText(GlazeCore::OxideNames::rawValue(oxide)));
    return tr("Partial: does not count %1. See Warnings.").arg(left.join(QStringLiteral(", ")));
}

QString siAlValue(const GlazeCore::Chemistry& chemistry, const QLocale& locale) {
    return formatDoublePlaces(2, chemistry.siAlRatio, locale);
}

QString siAlSpoken(const GlazeCore::Chemistry& chemistry, const QLocale& locale) {
    return tr("Silica to alumina ratio %1").arg(siAlValue(chemistry, locale));
}

QString r2oValue(const GlazeCore::Chemistry& chemistry, const QLocale& locale) {
    if (chemistry.umf.empty()) return emDash;
    return formatDoublePlaces(2, chemistry.r2oRatio, locale) + QStringLiteral(" : ") +
           formatDoublePlaces(2, 1 - chemistry.r2oRatio, locale);
}

QString r2oSpoken(const GlazeCore::Chemistry& chemistry, const QLocale& locale) {
    if (chemistry.umf.empty()) return tr("R 2 O to R O ratio not available, no flux oxides");
    return tr("R 2 O to R O ratio %1 to %2")
        .arg(formatDoublePlaces(2, chemistry.r2oRatio, locale), formatDoublePlaces(2, 1 - chemistry.r2oRatio, locale));
}

QString r2oHelp(const GlazeCore::Chemistry& chemistry) {
    return chemistry.umf.empty() ? tr("Not available. The recipe has no flux oxides.") : QString();
}

QString notListedLine(const std::vector<Oxide>& oxides) {
    QStringList formulas;
    for (const Oxide oxide : oxides)
        formulas << formula(oxide);
    return tr("Not listed (0, within range): %1.").arg(formulas.join(QStringLiteral(", ")));
}

QString outsideRangeText(int count) {
    return tr("%n oxide(s) outside the reference range", count);
}

QString limitSetHelp(const GlazeCore::LimitSet* set) {
    if (!set) return {};
    return tr("%1. Source: %2").arg(QString::fromStdString(set->name), QString::fromStdString(set->source));
}

} // namespace Orza::ChemistryTexts
