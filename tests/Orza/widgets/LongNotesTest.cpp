#include "Orza/widgets/LongNotes.h"

#include <QTest>

#include <string>

using namespace Orza;

namespace {

std::string times(std::size_t count, const std::string& character) {
    std::string text;
    text.reserve(count * character.size());
    for (std::size_t i = 0; i < count; ++i)
        text += character;
    return text;
}

/// `lines` lines of `perLine` characters each, one of them `character`, separated by line breaks.
std::string lines(std::size_t count, std::size_t perLine, const std::string& character) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += (i ? "\n" : "") + times(perLine, character);
    return text;
}

} // namespace

class LongNotesTest : public QObject {
    Q_OBJECT
private slots:
    // Both limits count characters, whatever bytes UTF-8 gives them, and every line counts: the first, one in
    // the middle and the last, with or without a line break after it.
    void notesFitForTypingUpToTheirLimits_data() {
        QTest::addColumn<QByteArray>("notes");
        QTest::addColumn<bool>("fits");
        const auto row = [](const char* name, const std::string& notes, bool fits) {
            QTest::newRow(name) << QByteArray::fromStdString(notes) << fits;
        };
        const std::string e = "\u00E9";
        const std::string emoji = "\U0001F525";
        row("none", "", true);
        row("a line at its limit", times(10'000, "x"), true);
        row("a line past it", times(10'001, "x"), false);
        row("a line of accents at its limit", times(10'000, e), true);
        row("a line of accents past it", times(10'001, e), false);
        row("a line of emoji at its limit", times(10'000, emoji), true);
        row("the first line past it", times(10'001, "x") + "\nshort", false);
        row("a middle line past it", "short\n" + times(10'001, e) + "\nshort", false);
        row("the last line past it", "short\n" + times(10'001, "x"), false);
        row("the last line past it, alone after empty lines", "\n\n" + times(10'001, e), false);
        row("the last line at its limit, a break after it", "short\n" + times(10'000, "x") + "\n", true);
        // 1,000 lines of 99 characters and their breaks: 99,999 characters, then one more.
        row("notes at their limit", lines(1'000, 99, "x") + "\n", true);
        row("notes past it", lines(1'000, 99, "x") + "\nx", false);
        row("accented notes at their limit", lines(1'000, 99, e) + "\n", true);
        row("accented notes past it", lines(1'000, 99, e) + "\n" + e, false);
        row("line breaks only", times(100'001, "\n"), false);
    }

    void notesFitForTypingUpToTheirLimits() {
        QFETCH(QByteArray, notes);
        QFETCH(bool, fits);
        QCOMPARE(LongNotes::fitsForTyping(notes.toStdString()), fits);
        // What a page lays out: the notes whole when they fit, else their ends.
        const QString laidOut = LongNotes::laidOut(notes.toStdString());
        QCOMPARE(laidOut == QString::fromUtf8(notes), fits);
    }
};

QTEST_MAIN(LongNotesTest)
#include "LongNotesTest.moc"
