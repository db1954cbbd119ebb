#include "Orza/display/DateDisplay.h"

#include <utility>

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

std::optional<NumericDateFormat> NumericDateFormat::of(const QString& format) {
    NumericDateFormat read;
    QString literal;
    const auto endLiteral = [&] {
        if (!literal.isEmpty()) read.m_tokens.push_back({std::nullopt, 0, std::exchange(literal, {})});
    };
    int day = 0, month = 0, year = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) {
            if (i + 1 < format.size() && format[i + 1] == QLatin1Char('\''))
                literal += format[++i];
            else
                quoted = !quoted;
            continue;
        }
        if (quoted || !c.isLetter()) {
            literal += c;
            continue;
        }
        int count = 1;
        while (i + 1 < format.size() && format[i + 1] == c) {
            ++i;
            ++count;
        }
        endLiteral();
        if (c == QLatin1Char('d') && count <= 2) {
            read.m_tokens.push_back({TypedDatePart::day, count, {}});
            ++day;
        } else if (c == QLatin1Char('M') && count <= 2) {
            read.m_tokens.push_back({TypedDatePart::month, count, {}});
            ++month;
        } else if (c == QLatin1Char('y') && count == 4) {
            read.m_tokens.push_back({TypedDatePart::year, count, {}});
            ++year;
        } else {
            return std::nullopt;
        }
    }
    endLiteral();
    if (day != 1 || month != 1 || year != 1) return std::nullopt;
    return read;
}

std::optional<std::array<TypedDatePart, 3>> NumericDateFormat::read(const QString& text) const {
    std::array<TypedDatePart, 3> parts;
    std::size_t count = 0;
    qsizetype pos = 0;
    for (const Token& token : m_tokens) {
        if (!token.kind) {
            if (!QStringView(text).sliced(pos).startsWith(token.literal)) return std::nullopt;
            pos += token.literal.size();
            continue;
        }
        TypedDatePart& part = parts[count++];
        part = {*token.kind, token.width, pos, {}};
        const qsizetype most = *token.kind == TypedDatePart::year ? 4 : 2;
        while (pos < text.size() && part.digits.size() < most && text[pos] >= QLatin1Char('0') &&
               text[pos] <= QLatin1Char('9'))
            part.digits += text[pos++];
    }
    if (pos != text.size()) return std::nullopt;
    return parts;
}

bool NumericDateFormat::isSeparator(QChar c) const {
    if (c.isLetterOrNumber()) return false;
    for (const Token& token : m_tokens)
        if (!token.kind && token.literal.contains(c)) return true;
    return false;
}

} // namespace Orza
