#include "Orza/testlog/TileCodeField.h"
#include "Orza/testlog/ProblemLabel.h"
#include "TileFixture.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using Orza::TileCodeField;
using Problem = GlazeCore::TileCode::Problem;

namespace {

GlazeCore::GlazeBook bookWithCodes(const std::vector<std::string>& codes) {
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    for (const auto& code : codes)
        book.tests.push_back(OrzaTest::tile(book.recipes[0].id, "6", code));
    book.nextTileNumber = 10;
    return book;
}

void retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        QTest::keyClicks(edit, text);
}

} // namespace

class TileCodeFieldTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    void draftsAreStoredOrRefusedAsTyped();
    void aCodeChangedElsewhereReplacesTheDraft();
    void showingATileNeverWritesTheBook();
};

void TileCodeFieldTest::draftsAreStoredOrRefusedAsTyped() {
    OrzaTest::TileFixture fixture(bookWithCodes({"T-001", "T-002"}));
    TileCodeField field(fixture.document, fixture.actions, fixture.tile(0).id);
    QSignalSpy announced(field.problemLabel(), &Orza::ProblemLabel::announced);
    QLineEdit* edit = field.lineEdit();
    QCOMPARE(edit->text(), QStringLiteral("T-001"));
    QVERIFY(!field.codeProblem());
    QVERIFY(!field.printLabelButton()->isEnabled());

    // Another tile's code, however it is spelt: refused, the tile keeps its code, the text stays.
    retype(edit, QStringLiteral("t-2"));
    QCOMPARE(field.codeProblem(), Problem::taken("T-002"));
    QCOMPARE(fixture.tile(0).code, std::string("T-001"));
    QCOMPARE(edit->text(), QStringLiteral("t-2"));
    QVERIFY(field.hintLabel()->isHidden());
    QCOMPARE(field.problemLabel()->text(), QString::fromStdString(Problem::taken("T-002").message()));
    QCOMPARE(announced.count(), 1);
    // The Linux bridge carries no alert event: the problem reaches a reader as a shown alert element, and as the
    // field's own description for as long as it stands.
    QAccessibleInterface* alert = QAccessible::queryAccessibleInterface(field.problemLabel());
    QCOMPARE(alert->role(), QAccessible::AlertMessage);
    QCOMPARE(alert->text(QAccessible::Name), field.problemLabel()->text());
    QCOMPARE(alert->childCount(), 0);
    QCOMPARE(QAccessible::queryAccessibleInterface(edit)->text(QAccessible::Description), field.problemLabel()->text());

    // An accepted draft is stored at once, trimmed; a refused one puts the code back.
    retype(edit, QStringLiteral(" T-7 "));
    QCOMPARE(fixture.tile(0).code, std::string("T-7"));
    QCOMPARE(edit->text(), QStringLiteral(" T-7 "));
    QVERIFY(!field.codeProblem());
    QVERIFY(edit->accessibleDescription().startsWith(QStringLiteral("Write this code on the back of the tile.")));
    retype(edit, QString());
    QCOMPARE(field.codeProblem(), Problem::empty());
    QCOMPARE(fixture.tile(0).code, std::string("T-001"));

    // Two refusals with one problem are announced once; a new problem is announced again.
    const int before = int(announced.count());
    retype(edit, QStringLiteral("ABCDEFGHIJKLM"));
    QCOMPARE(field.codeProblem(), Problem::tooLong());
    QVERIFY(field.problemLabel()->text().contains(QStringLiteral("up to 12 characters")));
    QTest::keyClick(edit, Qt::Key_N);
    QCOMPARE(announced.count(), before + 1);
    retype(edit, QStringLiteral("T-5!"));
    QCOMPARE(field.codeProblem(), Problem::invalidCharacters());
    QCOMPARE(announced.count(), before + 2);
    QCOMPARE(fixture.tile(0).code, std::string("T-001"));

    // The whole burst of typing left the code as it was: no step stays behind.
    QCOMPARE(fixture.steps(), 0);
    retype(edit, QStringLiteral("T-9"));
    QVERIFY(!field.codeProblem());
    QVERIFY(!field.hintLabel()->isHidden());
    QCOMPARE(fixture.steps(), 1);

    bool printed = false;
    field.setPrintLabel([&printed] { printed = true; });
    field.printLabelButton()->click();
    QVERIFY(printed);
}

void TileCodeFieldTest::aCodeChangedElsewhereReplacesTheDraft() {
    OrzaTest::TileFixture fixture(bookWithCodes({"T-001", "T-002"}));
    TileCodeField field(fixture.document, fixture.actions, fixture.tile(0).id);
    QLineEdit* edit = field.lineEdit();
    retype(edit, QStringLiteral("T-8"));
    fixture.document.endEditBurst();
    retype(edit, QStringLiteral("T-002"));
    QVERIFY(field.codeProblem().has_value());
    QCOMPARE(fixture.tile(0).code, std::string("T-001"));

    // The undo brings back T-8, which the field did not write last: it takes it and the problem goes.
    fixture.document.undoStack()->undo();
    QCOMPARE(fixture.tile(0).code, std::string("T-8"));
    QCOMPARE(edit->text(), QStringLiteral("T-8"));
    QCOMPARE(field.originalCode(), std::string("T-8"));
    QVERIFY(!field.codeProblem());

    // A code set elsewhere that another tile has shows its problem at once, and is kept.
    fixture.document.setTileCode(fixture.tile(0).id, "T-002");
    QCOMPARE(edit->text(), QStringLiteral("T-002"));
    QCOMPARE(field.codeProblem(), Problem::taken("T-002"));
    QCOMPARE(fixture.tile(0).code, std::string("T-002"));
}

void TileCodeFieldTest::showingATileNeverWritesTheBook() {
    OrzaTest::TileFixture fixture(bookWithCodes({" T-005 ", "T-006", "t-006"}));
    {
        TileCodeField spaced(fixture.document, fixture.actions, fixture.tile(0).id);
        QCOMPARE(spaced.lineEdit()->text(), QStringLiteral(" T-005 "));
        QVERIFY(!spaced.codeProblem());
        TileCodeField shared(fixture.document, fixture.actions, fixture.tile(2).id);
        QCOMPARE(shared.codeProblem(), Problem::taken("T-006"));
    }
    QCOMPARE(fixture.steps(), 0);
    QVERIFY(!fixture.document.isModified());
    QCOMPARE(fixture.tile(0).code, std::string(" T-005 "));

    // Undoing back to a spaced code shows it as stored, and writes nothing that would end the redo.
    TileCodeField field(fixture.document, fixture.actions, fixture.tile(0).id);
    retype(field.lineEdit(), QStringLiteral("T-50"));
    QCOMPARE(fixture.tile(0).code, std::string("T-50"));
    fixture.document.undoStack()->undo();
    QCOMPARE(fixture.tile(0).code, std::string(" T-005 "));
    QCOMPARE(field.lineEdit()->text(), QStringLiteral(" T-005 "));
    QVERIFY(fixture.document.undoStack()->canRedo());
}

QTEST_MAIN(TileCodeFieldTest)
#include "TileCodeFieldTest.moc"
