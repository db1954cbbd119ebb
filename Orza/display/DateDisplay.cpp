#include "Orza/display/DateDisplay.h"

namespace Orza {

QString fourDigitYearDateFormat(const QLocale& locale) {
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QString fourDigits;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) quoted = !quoted; // '' inside or outside quotes toggles twice
        if (quoted || c != QLatin1Char('y')) {
            fourDigits += c;
            continue;
        }
        // A run of y outside quoted text is the year, however many digits it asks for.
        while (i + 1 < format.size() && format[i + 1] == QLatin1Char('y'))
            ++i;
        fourDigits += QStringLiteral("yyyy");
    }
    return fourDigits;
}

} // namespace Orza
