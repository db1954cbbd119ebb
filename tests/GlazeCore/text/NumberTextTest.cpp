#include "GlazeCore/text/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <unicode/locid.h>

using namespace GlazeCore;

namespace {

const std::string us = "en_US";
const std::string german = "de_DE";

std::optional<double> parseUS(std::string_view text, bool allowsNegative = false) {
    return NumberText::parse(text, allowsNegative, us);
}

} // namespace

TEST(NumberTextFormat, fractionDigitsWithinRangeAndNoGrouping) {
    EXPECT_EQ(NumberText::format(1'500'000.5, {0, 2}, us), "1500000.5");
    EXPECT_EQ(NumberText::format(1'500'000.5, {0, 2}, german), "1500000,5");
    EXPECT_EQ(NumberText::format(2, {1, 3}, us), "2.0");
    EXPECT_EQ(NumberText::format(2, {0, 2}, us), "2");
    EXPECT_EQ(NumberText::format(0.1234, {0, 3}, us), "0.123");
    EXPECT_EQ(NumberText::format(1.25, {3, 3}, us), "1.250");
    EXPECT_EQ(NumberText::format(-3, {0, 2}, us), "-3");
    EXPECT_EQ(NumberText::format(2.5, {0, 3}, german), "2,5");
}

TEST(NumberTextFormat, zeroAfterRoundingHasNoSign) {
    EXPECT_EQ(NumberText::format(-0.0, {0, 2}, german), "0");
    EXPECT_EQ(NumberText::format(-0.001, {0, 2}, german), "0");
    EXPECT_EQ(NumberText::format(-0.004, {1, 2}, us), "0.0");
    EXPECT_EQ(NumberText::format(-0.006, {0, 2}, german), "-0,01");
}

TEST(NumberTextFormat, roundsHalfToEvenAtTheLastShownDigit) {
    // 0.125 and 0.375 are exact in binary, so only the rounding rule decides.
    EXPECT_EQ(NumberText::format(0.125, {0, 2}, us), "0.12");
    EXPECT_EQ(NumberText::format(0.375, {0, 2}, us), "0.38");
    EXPECT_EQ(NumberText::format(2.5, {0, 0}, us), "2");
}

TEST(NumberTextFormat, malformedDigitRangesAreClamped) {
    EXPECT_EQ(NumberText::format(2.25, {3, 1}, us), "2.250");
    EXPECT_EQ(NumberText::format(2.25, {-2, 1}, us), "2.2");
    EXPECT_FALSE(NumberText::format(1.0 / 3, {0, 5000}, us).empty());
}

TEST(NumberTextFormat, aValueOtherThanZeroNeverReadsAsZero) {
    EXPECT_EQ(NumberText::formatNonZero(0.0001, {0, 1}, us), "0.0001");
    EXPECT_EQ(NumberText::formatNonZero(0.000012, {0, 1}, german), "0,00001");
    EXPECT_EQ(NumberText::formatNonZero(-0.04, {0, 1}, us), "-0.04");
    EXPECT_EQ(NumberText::formatNonZero(0.000001, {0, 2}, us), "0.000001");
    // Below a millionth, two significant digits in scientific notation, which parse reads back.
    EXPECT_EQ(NumberText::formatNonZero(9.5e-7, {0, 1}, us), "9.5E-7");
    EXPECT_EQ(NumberText::formatNonZero(1e-300, {0, 1}, german), "1E-300");
    for (const std::string locale : {"en_US", "de_DE", "fr_FR", "de_CH"})
        for (const double value : {0.0001, -2e-5, 1.5e-7, 3e-306})
            EXPECT_EQ(NumberText::parse(NumberText::formatNonZero(value, {0, 1}, locale), true, locale), value)
                << locale << ": " << value;
    // Anything else as format writes it.
    EXPECT_EQ(NumberText::formatNonZero(0.0, {0, 1}, us), "0");
    EXPECT_EQ(NumberText::formatNonZero(-0.0, {0, 1}, us), "0");
    EXPECT_EQ(NumberText::formatNonZero(150.25, {0, 1}, us), "150.2");
    EXPECT_EQ(NumberText::formatNonZero(0.05, {1, 1}, us), "0.05");
}

TEST(NumberTextParse, trimsHorizontalSpaceOnly) {
    EXPECT_EQ(parseUS("  12.5 "), 12.5);
    EXPECT_EQ(parseUS("\t12.5\t"), 12.5);
    EXPECT_EQ(parseUS("\u00a012.5\u2009"), 12.5); // no-break and thin space are space separators
    EXPECT_FALSE(parseUS(""));
    EXPECT_FALSE(parseUS(" \t "));
    EXPECT_FALSE(parseUS("12\n"));
    EXPECT_FALSE(parseUS("\n12"));
    EXPECT_FALSE(parseUS("12\r\n"));
}

TEST(NumberTextParse, wholeTextMustBeANumber) {
    EXPECT_FALSE(parseUS("12abc"));
    EXPECT_FALSE(parseUS("50%"));
    EXPECT_FALSE(parseUS("50 %"));
    EXPECT_FALSE(parseUS("50\u2030")); // per mille
    EXPECT_FALSE(parseUS("5$"));
    EXPECT_FALSE(parseUS("$5"));
    EXPECT_FALSE(parseUS("1.2.3"));
    EXPECT_FALSE(parseUS("abc"));
    EXPECT_FALSE(parseUS("\xff"
                         "12"));
}

TEST(NumberTextParse, decimalSeparatorIsTheLocales) {
    EXPECT_EQ(NumberText::parse("2,5", false, german), 2.5);
    EXPECT_EQ(NumberText::parse("2.5", false, us), 2.5);
    EXPECT_EQ(NumberText::parse("1.000", false, german), 1000);
    EXPECT_EQ(NumberText::parse("1.000", false, us), 1);
    EXPECT_EQ(NumberText::parse("1,000,000", false, us), 1'000'000);
    EXPECT_FALSE(NumberText::parse("2.5", false, german));
    EXPECT_FALSE(NumberText::parse("2,5", false, us));
}

// A text is a number only when its separators are where the locale puts them; lenient parsing alone read
// "0.25" in German as 25 and "0,25" in English as 25.
TEST(NumberTextParse, separatorsOnlyWhereTheLocalePutsThem) {
    struct Case {
        const char* locale;
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        // English: comma groups by three, full stop is the decimal separator.
        {"en_US", "0,25", std::nullopt},
        {"en_US", "1,50", std::nullopt},
        {"en_US", "1,2345", std::nullopt},
        {"en_US", "10,00", std::nullopt},
        {"en_US", ",5", std::nullopt},
        {"en_US", "1,,000", std::nullopt},
        {"en_US", "1,000,", std::nullopt},
        {"en_US", "1.5,5", std::nullopt},
        {"en_US", "1,000", 1000},
        {"en_US", "12,345.5", 12345.5},
        {"en_US", "1 000", 1000},
        {"en_US", "-1,000", -1000},
        {"en_US", "+5", 5},
        {"en_US", ".5", 0.5},
        // German: full stop groups, comma is the decimal separator.
        {"de_DE", "0.25", std::nullopt},
        {"de_DE", "1.50", std::nullopt},
        {"de_DE", "1.2345", std::nullopt},
        {"de_DE", "19.5", std::nullopt},
        {"de_DE", ".5", std::nullopt},
        {"de_DE", "1.000", 1000},
        {"de_DE", "1.000,5", 1000.5},
        {"de_DE", "1.000.000", 1'000'000},
        {"de_DE", ",5", 0.5},
        {"de_DE", "0,25", 0.25},
        // French: the narrow no-break space groups; a typed space or no-break space does too, a full stop
        // means nothing in French numbers.
        {"fr_FR", "1\u202f000,5", 1000.5},
        {"fr_FR", "1 000,5", 1000.5},
        {"fr_FR", "1\u00a0000", 1000},
        {"fr_FR", "1 00", std::nullopt},
        {"fr_FR", "0.25", std::nullopt},
        {"fr_FR", "1.000", std::nullopt},
        {"fr_FR", "0,25", 0.25},
        // Swiss German: the right single quotation mark groups, and so does a typed apostrophe; the full stop
        // is the decimal separator and a comma means nothing.
        {"de_CH", "1\u2019000.5", 1000.5},
        {"de_CH", "1'000'000", 1'000'000},
        {"de_CH", "19.5", 19.5},
        {"de_CH", "1'00", std::nullopt},
        {"de_CH", "0,25", std::nullopt},
        {"de_CH", "1,000", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumberText::parse(c.text, true, c.locale), c.value) << c.locale << ": " << c.text;
}

// A first group may be as long as any other, but no longer: "1000.000" in German is no million, whatever the
// lenient parser makes of it. And nobody groups a leading zero: "0.125" in German is an eighth written the English
// way, never 125.
TEST(NumberTextParse, firstGroupAtMostFullAndNeverLedByZero) {
    struct Case {
        const char* locale;
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"de_DE", "0.125", std::nullopt},
        {"de_DE", "0.250", std::nullopt},
        {"de_DE", "00.500", std::nullopt},
        {"de_DE", "0.125,5", std::nullopt},
        {"en_US", "0,250", std::nullopt},
        {"en_US", "0,125", std::nullopt},
        {"en_US", "-0,125", std::nullopt},
        {"fr_FR", "0 125", std::nullopt},
        {"de_CH", "0'125", std::nullopt},
        {"en_IN", "0,00,000", std::nullopt},
        {"en_US", "1000,000", std::nullopt},
        {"en_US", "-1000,000", std::nullopt},
        {"en_US", "1000,000.00", std::nullopt},
        {"de_DE", "1000.000", std::nullopt},
        {"de_DE", "1000.000,0", std::nullopt},
        {"fr_FR", "1000 000", std::nullopt},
        {"de_CH", "1000'000", std::nullopt},
        {"en_IN", "100,000", std::nullopt},
        {"en_IN", "1000,000", std::nullopt},
        {"en_US", "100,000", 100'000},
        {"en_US", "-100,000", -100'000},
        {"de_DE", "100.000", 100'000},
        {"de_DE", "100.000,5", 100'000.5},
        {"fr_FR", "100 000", 100'000},
        {"de_CH", "100'000", 100'000},
        {"en_IN", "1,00,000", 100'000},
        {"en_IN", "10,00,000", 1'000'000},
        // Ungrouped, a leading zero is only a zero.
        {"de_DE", "0,125", 0.125},
        {"de_DE", "0125", 125},
        {"en_US", "0.125", 0.125},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumberText::parse(c.text, true, c.locale), c.value) << c.locale << ": " << c.text;
}

TEST(NumberTextParse, localeDataOfTheCoveredLocalesIsPresent) {
    // The cases above rely on these separators; without the locale data ICU would fall back to the root's.
    EXPECT_EQ(NumberText::format(1.5, {1, 1}, "de_DE"), "1,5");
    EXPECT_EQ(NumberText::format(1.5, {1, 1}, "fr_FR"), "1,5");
    EXPECT_EQ(NumberText::format(1.5, {1, 1}, "de_CH"), "1.5");
}

TEST(NumberTextParse, magnitudeLimitIsInclusive) {
    EXPECT_EQ(parseUS("1000000"), 1'000'000);
    EXPECT_EQ(parseUS("1000000.00"), 1'000'000);
    EXPECT_FALSE(parseUS("1000000.01"));
    EXPECT_FALSE(parseUS("1500000"));
    EXPECT_EQ(parseUS("-1000000", true), -1'000'000);
    EXPECT_FALSE(parseUS("-1000000.01", true));
    EXPECT_FALSE(parseUS("1e7"));
}

TEST(NumberTextParse, negativesOnlyWhenAllowed) {
    EXPECT_FALSE(parseUS("-3", false));
    EXPECT_EQ(parseUS("-3", true), -3);
    EXPECT_FALSE(parseUS("-0.001", false));
    EXPECT_EQ(parseUS("\u22123", true), -3); // the minus sign character, read leniently

    const auto negativeZero = parseUS("-0", false);
    ASSERT_TRUE(negativeZero);
    EXPECT_EQ(*negativeZero, 0);
}

TEST(NumberTextParse, nonFiniteValuesAreRefused) {
    EXPECT_FALSE(parseUS("\u221e", true));
    EXPECT_FALSE(parseUS("-\u221e", true));
    EXPECT_FALSE(parseUS("NaN", true));
    EXPECT_FALSE(parseUS("1e400", true));
}

TEST(NumberTextParse, aNumberTooSmallToHoldIsRefused) {
    EXPECT_FALSE(parseUS("1e-400", true));
    EXPECT_FALSE(parseUS("-1e-400", true));
    EXPECT_FALSE(parseUS("1e-310")); // held only with fewer digits
    EXPECT_FALSE(NumberText::parse("1e-400", false, "de_DE"));
    // Zero in any spelling and the smallest full-precision numbers are numbers.
    EXPECT_EQ(parseUS("0e-400"), 0);
    EXPECT_EQ(parseUS("0.000"), 0);
    EXPECT_EQ(parseUS("1e-300"), 1e-300);
    EXPECT_EQ(parseUS("3e-306"), 3e-306);
}

TEST(NumberTextParse, readsWhatFormatWritesInEveryLocale) {
    // Includes a locale with U+2212 as minus sign and one with Arabic-Indic digits.
    for (const std::string locale : {"en_US", "de_DE", "fr_FR", "de_CH", "sv_SE", "ar_EG", "en_US_POSIX", ""}) {
        for (const double value : {0.0, 2.5, -1234.75, 0.001, 999'999.999, -1'000'000.0}) {
            const std::string text = NumberText::format(value, {0, 3}, locale);
            EXPECT_EQ(NumberText::parse(text, true, locale), value) << locale << ": " << text;
        }
    }
}

TEST(NumberTextEditedValue, storesOnlyRealChangesWhileEditing) {
    EXPECT_FALSE(NumberText::editedValue("7", false, {0, 2}, false, us, 1));
    EXPECT_EQ(NumberText::editedValue("7", true, {0, 2}, false, us, 1), 7);
    EXPECT_EQ(NumberText::editedValue("1,5", true, {0, 2}, false, german, 1), 1.5);

    // A typed text that happens to match the stored value's rounded display is still the user's value.
    EXPECT_EQ(NumberText::format(1.234, {0, 2}, us), "1.23");
    EXPECT_EQ(NumberText::editedValue("1.23", true, {0, 2}, false, us, 1.234), 1.23);
    EXPECT_FALSE(NumberText::editedValue("1", true, {0, 2}, false, us, 1));

    // A different text of the same value stores nothing either.
    EXPECT_FALSE(NumberText::editedValue("2.50", true, {0, 2}, false, us, 2.5));
    EXPECT_EQ(NumberText::editedValue(" 2.5 ", true, {0, 2}, false, us, 3), 2.5);
}

TEST(NumberTextEditedValue, unusableTextStoresNothing) {
    EXPECT_FALSE(NumberText::editedValue("", true, {0, 2}, false, us, 1));
    EXPECT_FALSE(NumberText::editedValue("12abc", true, {0, 2}, false, us, 1));
    EXPECT_FALSE(NumberText::editedValue("-2", true, {0, 2}, false, us, 1));
    EXPECT_EQ(NumberText::editedValue("-2", true, {0, 2}, true, us, 1), -2);
    EXPECT_FALSE(NumberText::editedValue("2000000", true, {0, 2}, false, us, 1));
}

TEST(NumberTextLocale, processLocaleDoesNotLeakIn) {
    const char* current = std::setlocale(LC_ALL, nullptr);
    const std::string previous = current ? current : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr && std::setlocale(LC_ALL, "de_DE.utf8") == nullptr)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const icu::Locale previousDefault = icu::Locale::getDefault();
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale::getGerman(), status);

    const std::string formatted = NumberText::format(1234.5, {0, 2}, us);
    const auto parsed = NumberText::parse("1234.5", false, us);
    const auto germanText = NumberText::format(2.5, {0, 2}, german);

    icu::Locale::setDefault(previousDefault, status);
    std::setlocale(LC_ALL, previous.c_str());

    EXPECT_EQ(formatted, "1234.5");
    EXPECT_EQ(parsed, 1234.5);
    EXPECT_EQ(germanText, "2,5");
}
