#include "Orza/display/TextDisplay.h"
#include "Orza/display/ShownTextEdit.h"

#include <QTest>

#include <string>

using namespace Orza;

namespace {

const QString ellipsis = QStringLiteral("\u2026");

std::string repeated(const std::string& unit, std::size_t times) {
    std::string text;
    text.reserve(unit.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        text += unit;
    return text;
}

qsizetype characters(const QString& text) {
    return text.toUcs4().size();
}

} // namespace

class TextDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void longTextsShowTheirEnds_data() {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<int>("length");
        for (const char* unit : {"x", "\u00E9", "\u6F22", "\U0001F525"})
            for (const int length : {999, 1000, 1001, 2000, 4000, 4001, 100'000})
                QTest::addRow("%s %d", unit, length) << QString::fromUtf8(unit) << length;
    }
    // Up to the limit a text is shown whole, in characters whatever their bytes or UTF-16 units; past it, by
    // its ends around "…", the limit's characters in all. Either way the texts given as UTF-8 and as a QString
    // show alike.
    void longTextsShowTheirEnds() {
        QFETCH(QString, unit);
        QFETCH(int, length);
        const std::string text = "<" + repeated(unit.toStdString(), std::size_t(length) - 2) + ">";
        const QString whole = QString::fromStdString(text);
        const QString shown = shownText(text);
        QCOMPARE(shownText(QStringView(whole)), shown);
        if (std::size_t(length) <= shownTextLimit) {
            QCOMPARE(shown, whole);
            return;
        }
        QCOMPARE(characters(shown), qsizetype(shownTextLimit));
        QVERIFY(shown.startsWith(QStringLiteral("<") + unit + unit));
        QVERIFY(shown.endsWith(unit + unit + QStringLiteral(">")));
        QCOMPARE(shown.count(ellipsis), 1);
    }

    // A huge text shows its own start and end, never a piece from between them.
    void hugeTextsShowTheirOwnEnds() {
        for (const char* unit : {"x", "\u00E9", "\U0001F525"}) {
            const std::string filler = repeated(unit, std::size_t{1} << 20);
            const std::string text = "<start" + filler + "middle" + filler + "end>";
            const QString whole = QString::fromStdString(text);
            const QString shown = shownText(QStringView(whole));
            QCOMPARE(shown, shownText(text));
            QVERIFY2(shown.startsWith(QStringLiteral("<start")) && shown.endsWith(QStringLiteral("end>")) &&
                         !shown.contains(QStringLiteral("middle")),
                     unit);
            QCOMPARE(characters(shown), qsizetype(shownTextLimit));
        }
    }

    // A text made of "…" is shortened around one more "…": a key typed into what the field shows lands at
    // the same place in the whole text, in its start and in its end.
    void editsLandWhereTheFieldShowsThem() {
        const std::string dots = repeated("\u2026", 3000);
        ShownTextEdit edit;
        QString field = edit.show(dots);
        QCOMPARE(field.size(), qsizetype(shownTextLimit));
        // Home, Right ×100, "Y".
        field.insert(100, QLatin1Char('Y'));
        QString whole = QString::fromStdString(edit.edit(field));
        QCOMPARE(whole.indexOf(QLatin1Char('Y')), 100);
        QCOMPARE(whole.size(), 3001);
        // End, "Z"; then "X" just after the "…" that stands for the hidden middle.
        field.append(QLatin1Char('Z'));
        whole = QString::fromStdString(edit.edit(field));
        QVERIFY(whole.endsWith(ellipsis + QLatin1Char('Z')));
        const qsizetype endShown = field.size() - 501;
        field.insert(endShown, QLatin1Char('X'));
        const std::string stored = edit.edit(field);
        whole = QString::fromStdString(stored);
        QCOMPARE(whole.indexOf(QLatin1Char('Y')), 100);
        QCOMPARE(whole.indexOf(QLatin1Char('X')), whole.size() - 502);
        QCOMPARE(whole.size(), 3003);
        QVERIFY(edit.showing(stored, field));
    }

    // Backspace after the "…" and Delete before it take a whole character of the hidden middle each; once none is
    // left the field shows the text whole.
    void erasingTheHiddenMiddleKeepsCharactersWhole() {
        const std::string text = "<" + repeated("\u00E9", 1001) + ">";
        ShownTextEdit edit;
        const QString field = edit.show(text);
        const std::optional<qsizetype> cut = edit.cutInField();
        QVERIFY(cut && field.at(*cut) == ellipsis.front());
        std::string whole = text;
        for (bool backward = true; edit.cutInField(); backward = !backward) {
            const std::string before = whole;
            whole = edit.eraseHidden(backward);
            QCOMPARE(QString::fromStdString(whole).size(), QString::fromStdString(before).size() - 1);
        }
        QCOMPARE(edit.shown(), QString::fromStdString(whole));
        QCOMPARE(edit.shown().size(), field.size() - 1);
        QVERIFY(edit.showing(whole, edit.shown()));
    }
};

QTEST_GUILESS_MAIN(TextDisplayTest)
#include "TextDisplayTest.moc"
