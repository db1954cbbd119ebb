#include "GlazeCore/text/PlainNumberText.h"
#include "GlazeCore/text/UnicodeText.h"
#include "GlazeCore/text/Uuid.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>

using namespace GlazeCore;

TEST(PlainNumberText, upToThreeFractionDigitsWithoutGrouping) {
    EXPECT_EQ(plainNumberText(100), "100");
    EXPECT_EQ(plainNumberText(2.5), "2.5");
    EXPECT_EQ(plainNumberText(0.1234), "0.123");
    EXPECT_EQ(plainNumberText(-3), "-3");
    EXPECT_EQ(plainNumberText(1'500'000), "1500000");
    EXPECT_EQ(plainNumberText(120.5), "120.5");
    EXPECT_EQ(plainNumberText(0.0625), "0.062"); // half to even on the last digit
    EXPECT_EQ(plainNumberText(0.0001), "0");
}

TEST(PlainNumberText, bookNumberTextWordsAndExponents) {
    EXPECT_EQ(bookNumberText(std::nan("")), "not a number");
    EXPECT_EQ(bookNumberText(INFINITY), "infinite");
    EXPECT_EQ(bookNumberText(-INFINITY), "minus infinite");
    EXPECT_EQ(bookNumberText(100), "100");
    EXPECT_EQ(bookNumberText(1e6), "1000000");
    EXPECT_EQ(bookNumberText(9'999'999), "9999999");
    EXPECT_EQ(bookNumberText(1e7), "1e+07");
    EXPECT_EQ(bookNumberText(1e9), "1e+09");
    EXPECT_EQ(bookNumberText(2.5e9), "2.5e+09");
    EXPECT_EQ(bookNumberText(-1.23456e10), "-1.23e+10");
    EXPECT_EQ(bookNumberText(1e300), "1e+300");
}

TEST(PlainNumberText, processLocaleChangesNothing) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE"))
        GTEST_SKIP() << "no German locale installed";
    EXPECT_EQ(bookNumberText(2.5e9), "2.5e+09");
    EXPECT_EQ(plainNumberText(1234.5), "1234.5");
    EXPECT_EQ(integerText(-1234567), "-1234567");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(UnicodeText, foldIgnoresCaseDiacriticsAndWidth) {
    EXPECT_EQ(UnicodeText::fold("Caf\u00c9"), "cafe");
    EXPECT_EQ(UnicodeText::fold("Cafe\u0301"), "cafe");
    EXPECT_EQ(UnicodeText::fold("\uFF34\uFF0D\uFF10\uFF17"), "t-07");
    EXPECT_EQ(UnicodeText::fold("\uFF76"), "\u30AB"); // half-width katakana KA
    EXPECT_EQ(UnicodeText::fold("STRASSE"), UnicodeText::fold("stra\u00dfe"));
    EXPECT_EQ(UnicodeText::fold("\u0301"), "");
    EXPECT_EQ(UnicodeText::fold("\u0130"), "i");
}

TEST(UnicodeText, trimsCountsAndCompares) {
    EXPECT_EQ(UnicodeText::trimWhitespaceAndNewlines(" \t\n\u00a0\u2003x y\r\n\u0085"), "x y");
    EXPECT_EQ(UnicodeText::trimWhitespaceAndNewlines(" \n "), "");
    EXPECT_EQ(UnicodeText::trimSpacesAndTabs("\t 12,5 \n"), "12,5 \n");
    EXPECT_EQ(UnicodeText::graphemeCount("e\u0301"), 1u);
    EXPECT_EQ(UnicodeText::graphemeCount("\U0001F1EF\U0001F1F5"), 1u); // one flag
    EXPECT_EQ(UnicodeText::graphemeCount(""), 0u);
    EXPECT_TRUE(UnicodeText::canonicallyEqual("\u00e9", "e\u0301"));
    EXPECT_FALSE(UnicodeText::canonicallyEqual("\u00e9", "e"));
    EXPECT_FALSE(UnicodeText::canonicallyEqual("\uFB01", "fi")); // compatibility, not canonical
    EXPECT_EQ(UnicodeText::canonicalHash("\u00e9"), UnicodeText::canonicalHash("e\u0301"));
    EXPECT_FALSE(UnicodeText::isValidUtf8("\xC3("));
    EXPECT_EQ(UnicodeText::scalars("a\xFF"), U"a\uFFFD");
}

TEST(UnicodeText, visibleControlsEscapesWhatWouldBreakAMessage) {
    EXPECT_EQ(UnicodeText::visibleControls("a\nb\tc\x7f\u0085d"), "a\\u000Ab\\u0009c\\u007F\\u0085d");
    // Bidirectional marks, embeddings, overrides and isolates, and the line and paragraph separators.
    EXPECT_EQ(UnicodeText::visibleControls("\u061C\u200E\u200F\u202A\u202E\u2066\u2069\u2028\u2029"),
              "\\u061C\\u200E\\u200F\\u202A\\u202E\\u2066\\u2069\\u2028\\u2029");
    // Everything else stays as it is, a joiner, an emoji and an ill-formed byte included.
    EXPECT_EQ(UnicodeText::visibleControls("Caf\u00e9 \u200D\U0001F525 \xFF"), "Caf\u00e9 \u200D\U0001F525 \xFF");
}

TEST(UnicodeText, shortenedKeepsBothEndsAndWholeCharacters) {
    EXPECT_EQ(UnicodeText::shortened("Celadon", 7), "Celadon");
    EXPECT_EQ(UnicodeText::shortened("\u00e9\u00e9\u00e9", 3), "\u00e9\u00e9\u00e9"); // scalars, not bytes
    EXPECT_EQ(UnicodeText::shortened("abcdefgh", 7), "abc\u2026fgh");
    EXPECT_EQ(UnicodeText::shortened("abcdefghi", 6), "ab\u2026ghi");
    // A cut never parts a letter from its accent, nor the halves of a flag.
    EXPECT_EQ(UnicodeText::shortened("abe\u0301xyzw\u00e9", 7), "ab\u2026zw\u00e9");
    EXPECT_EQ(UnicodeText::shortened("abcdefghe\u0301z", 5), "ab\u2026z");
    EXPECT_EQ(UnicodeText::shortened("a\U0001F1EF\U0001F1F5bcdefg\U0001F1EF\U0001F1F5h", 6),
              "a\u2026\U0001F1EF\U0001F1F5h");
    // A huge text is read at its ends only, and keeps them.
    std::string huge(std::size_t{17} << 20, 'x');
    huge.front() = '<';
    huge.back() = '>';
    const std::string shown = UnicodeText::shortened(huge, 1000);
    EXPECT_EQ(UnicodeText::scalars(shown).size(), 1000u);
    EXPECT_TRUE(shown.starts_with("<xx") && shown.ends_with("xx>"));
    EXPECT_NE(shown.find("x\u2026x"), std::string::npos);
}

TEST(UnicodeText, anEditOfAShortenedTextEditsTheWholeTextThere) {
    const auto edited = [](std::string_view whole, std::string_view typed) {
        UnicodeText::ShortenedText shown = UnicodeText::shortenedWithCut(whole, 7);
        return UnicodeText::wholeAfterEdit(whole, shown, typed);
    };
    ASSERT_EQ(UnicodeText::shortened("abcdefghij", 7), "abc\u2026hij");
    EXPECT_EQ(edited("abcdefghij", "abc\u2026hijZ"), "abcdefghijZ");
    EXPECT_EQ(edited("abcdefghij", "Zabc\u2026hij"), "Zabcdefghij");
    EXPECT_EQ(edited("abcdefghij", "ab\u2026hij"), "abdefghij");
    EXPECT_EQ(edited("abcdefghij", "abc\u2026hj"), "abcdefghj");
    EXPECT_EQ(edited("abcdefghij", "abc\u2026hij"), "abcdefghij");
    // An edit that takes in the "…" replaces the hidden middle.
    EXPECT_EQ(edited("abcdefghij", "abchij"), "abchij");
    EXPECT_EQ(edited("abcdefghij", "abc\u2025hij"), "abc\u2025hij");
    EXPECT_EQ(edited("abcdefghij", "new"), "new");
    EXPECT_EQ(edited("abcdefghij", ""), "");
    // A "…" of the text's own is no hidden middle; a character's bytes are replaced whole.
    EXPECT_EQ(edited("\u2026bcdefgh\u2026j", "\u2026bc\u2026h\u2026jX"), "\u2026bcdefgh\u2026jX");
    EXPECT_EQ(edited("\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9", "\u00e9\u00e9\u00e9\u2026\u00e9\u00e9\u00e8"),
              "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e8");
    // A second edit finds the "…" where the first one moved it: a key at the start's end after one in the start.
    UnicodeText::ShortenedText twice = UnicodeText::shortenedWithCut("abcdefghij", 7);
    EXPECT_EQ(UnicodeText::wholeAfterEdit("abcdefghij", twice, "Yabc\u2026hij"), "Yabcdefghij");
    EXPECT_EQ(UnicodeText::wholeAfterEdit("Yabcdefghij", twice, "YabcZ\u2026hij"), "YabcZdefghij");
    // A text shown whole is what was typed.
    UnicodeText::ShortenedText whole = UnicodeText::shortenedWithCut("Celadon", 7);
    EXPECT_EQ(UnicodeText::wholeAfterEdit("Celadon", whole, "Celadon blue"), "Celadon blue");
}

TEST(Uuid, parsesEitherCaseAndWritesUpperCase) {
    const auto id = Uuid::parse("3f2504e0-4f89-11d3-9a0c-0305e82c3301");
    ASSERT_TRUE(id);
    EXPECT_EQ(id->uppercaseText(), "3F2504E0-4F89-11D3-9A0C-0305E82C3301");
    EXPECT_EQ(Uuid::parse("3F2504E0-4F89-11D3-9A0C-0305E82C3301"), id);
    EXPECT_FALSE(Uuid::parse("3f2504e0-4f89-11d3-9a0c-0305e82c330"));
    EXPECT_FALSE(Uuid::parse("{3f2504e0-4f89-11d3-9a0c-0305e82c3301}"));
    EXPECT_FALSE(Uuid::parse("3f2504e04f8911d39a0c0305e82c3301"));
    EXPECT_FALSE(Uuid::parse("3f2504e0-4f89-11d3-9a0c-0305e82c330g"));
    EXPECT_NE(Uuid::random(), Uuid::random());
}
