#include "Orza/display/NumberDisplay.h"

#include <QStringList>

namespace Orza {

namespace {

/// Fixed notation with `places` decimals; a value that rounds to zero is written without a minus sign.
QString fixed(double value, int places, const QLocale& locale) {
    const QString text = locale.toString(value, 'f', places);
    if (!(value < 0)) return text;
    const QString magnitude = locale.toString(-value, 'f', places);
    return magnitude == locale.toString(0.0, 'f', places) ? magnitude : text;
}

} // namespace

QString formatDouble(double value, const QLocale& locale) {
    QString text = fixed(value, 2, locale);
    const QString decimal = locale.decimalPoint();
    const qsizetype point = text.lastIndexOf(decimal);
    if (point < 0) return text;
    // Only digits follow the separator in fixed notation; drop its trailing zeros, then a bare separator.
    qsizetype end = text.size();
    while (end > point + decimal.size() && text.at(end - 1) == locale.zeroDigit().front())
        --end;
    if (end == point + decimal.size()) end = point;
    text.truncate(end);
    return text;
}

QString formatDoublePlaces(int places, double value, const QLocale& locale) {
    return fixed(value, places, locale);
}

QString spokenFormula(GlazeCore::Oxide oxide) {
    const QString formula = QString::fromLatin1(GlazeCore::OxideNames::rawValue(oxide));
    QStringList characters;
    for (const QChar c : formula)
        characters.append(QString(c));
    return characters.join(QLatin1Char(' '));
}

} // namespace Orza
