#pragma once

#include <QLocale>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace Orza {

/// The locale's short date format with the year in four digits: a two-digit year would store a date typed
/// as 03.12.2026 in 2020, and 1926 could not be told from 2026.
QString fourDigitYearDateFormat(const QLocale& locale = QLocale());

/// One number of a date as typed: which it is, the digits the format writes it with, and the digits that stand
/// in the text from `start`.
struct TypedDatePart {
    enum Kind { day, month, year };
    Kind kind = day;
    /// 1 or 2 for a day or month ("d", "dd"), 4 for the year.
    int width = 0;
    qsizetype start = 0;
    QString digits;
};

/// A date format of numbers only — d, dd, M, MM and yyyy between literal text — read digit by digit, so a
/// typed day that its month does not have is seen as typed, never moved to a day that exists.
class NumericDateFormat {
public:
    /// None when the format writes anything else: a month's or a weekday's name, a two-digit year.
    static std::optional<NumericDateFormat> of(const QString& format);

    /// The parts of `text` in the format's order; none when the text does not follow the format. A part may
    /// hold fewer digits than the format writes, or none; a day or month at most two, a year at most four.
    std::optional<std::array<TypedDatePart, 3>> read(const QString& text) const;
    /// Whether `c` is written between the numbers.
    bool isSeparator(QChar c) const;

private:
    struct Token {
        std::optional<TypedDatePart::Kind> kind; // none for literal text
        int width = 0;
        QString literal;
    };
    std::vector<Token> m_tokens;
};

} // namespace Orza
