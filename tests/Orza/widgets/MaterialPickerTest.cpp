#include "Orza/widgets/MaterialPicker.h"

#include "Orza/library/BookLibrary.h"
#include "Orza/widgets/MaterialResultsModel.h"
#include "Orza/widgets/MaterialSearchList.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QDebug>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace Orza;

namespace {

/// The application's accessible child for `object`, if it lists one.
QAccessibleInterface* applicationChild(QObject* object) {
    QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
    for (int i = 0; i < application->childCount(); ++i)
        if (QAccessibleInterface* child = application->child(i); child && child->object() == object) return child;
    return nullptr;
}

QString highlightedName(const MaterialSearchList& list) {
    const QModelIndex current = list.list()->selectionModel()->currentIndex();
    return list.list()->selectionModel()->isSelected(current) ? current.data().toString() : QString();
}

} // namespace

class MaterialPickerTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    // The search filters in the library's order, keeps a highlight it still shows and drops one it hides.
    void searchKeepsOrDropsTheHighlight() {
        const BookLibrary library({{"custom-frit", "My Frit", {{GlazeCore::Oxide::SiO2, 60}}, 0, ""},
                                   {"whiting", "Whiting (mine)", {{GlazeCore::Oxide::CaO, 56}}, 44, ""}});
        MaterialSearchList list(library, "whiting");
        QCOMPARE(highlightedName(list), QStringLiteral("Whiting (mine)"));
        QCOMPARE(list.list()->model()->index(0, 0).data().toString(), QStringLiteral("My Frit"));
        // The custom material overriding a built-in id is listed once, marked as the book's own.
        int whitings = 0;
        for (int row = 0; row < list.list()->model()->rowCount(); ++row)
            if (list.list()->model()->index(row, 0).data(MaterialResultsModel::idRole) == QStringLiteral("whiting"))
                ++whitings;
        QCOMPARE(whitings, 1);
        QVERIFY(list.list()->model()->index(1, 0).data(MaterialResultsModel::customRole).toBool());

        list.searchField()->setText(QStringLiteral("whit"));
        QCOMPARE(highlightedName(list), QStringLiteral("Whiting (mine)"));
        list.searchField()->setText(QStringLiteral("kaolin"));
        QVERIFY(highlightedName(list).isEmpty());
        QVERIFY(!list.chooseButton()->isEnabled());
        list.searchField()->setText(QString());
        QVERIFY(highlightedName(list).isEmpty()); // a dropped highlight does not come back

        list.searchField()->setText(QStringLiteral("no such thing at all"));
        QCOMPARE(list.countLabel()->text(), QStringLiteral("0 materials"));
        list.searchField()->setText(QStringLiteral("my frit"));
        QCOMPARE(list.countLabel()->text(), QStringLiteral("1 material"));
    }

    // The field's clear button is named for a reader.
    void theClearButtonIsNamed() {
        MaterialSearchList list(BookLibrary({}), "");
        list.searchField()->setText(QStringLiteral("kaolin"));
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(list.searchField());
        QCOMPARE(field->childCount(), 1);
        QCOMPARE(field->child(0)->text(QAccessible::Name), QStringLiteral("Clear the search"));
    }

    // A reader finds the open popup as a window of the application, hears its parts by their names, and
    // follows the focus into its search field; once it closes, the window is gone.
    void thePopupIsAWindowAReaderFollows() {
        const BookLibrary library({});
        QWidget window;
        QVERIFY(OrzaTest::showActive(window));
        auto* owner = new QLineEdit(&window);
        owner->setFocus();
        QPointer picker = new MaterialPicker(library, "", owner);
        QVERIFY(!applicationChild(picker));
        QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
        const int windows = application->childCount();
        picker->popUp(QRect(window.mapToGlobal(QPoint(0, 0)), QSize(100, 20)));

        QAccessibleInterface* popup = applicationChild(picker);
        QVERIFY(popup);
        QCOMPARE(popup->role(), QAccessible::Window);
        QCOMPARE(popup->text(QAccessible::Name), QStringLiteral("Choose material"));
        QVERIFY(popup->state().active);
        // One window is active at a time: the popup, not the window it opened over.
        QVERIFY(!applicationChild(&window)->state().active);
        QCOMPARE(popup->parent()->object(), qApp);
        QCOMPARE(application->childCount(), windows + 1);
        QCOMPARE(application->indexOfChild(popup), windows);
        QCOMPARE(application->focusChild()->object(), picker.data());
        QCOMPARE(popup->focusChild()->object(), picker->list()->searchField());

        const QStringList spoken = OrzaTest::spokenTexts(picker);
        const QString count = picker->list()->countLabel()->text();
        for (const QString& part :
             {QStringLiteral("Search materials"), QStringLiteral("Materials"), count, QStringLiteral("Choose")})
            QVERIFY2(spoken.contains(part), qPrintable(part));

        picker->close();
        OrzaTest::settle();
        QVERIFY(!picker);
        QCOMPARE(application->childCount(), windows);
        QCOMPARE(applicationChild(&window)->state().active, window.isActiveWindow());
    }

    // Return in the field picks the highlight, else the first result; in the list only the highlight.
    void returnAndDoubleClickPick() {
        const BookLibrary library({});
        MaterialSearchList list(library, "");
        QSignalSpy picked(&list, &MaterialSearchList::picked);
        list.show();
        QTest::keyClick(list.list(), Qt::Key_Return);
        QCOMPARE(picked.count(), 0); // nothing highlighted: Return passes on
        QTest::keyClick(list.searchField(), Qt::Key_Return);
        QCOMPARE(picked.count(), 1);
        QCOMPARE(picked.takeFirst().first().toString(), library.all().front().id.c_str());

        QTest::keyClick(list.searchField(), Qt::Key_Down);
        QTest::keyClick(list.searchField(), Qt::Key_Down);
        const QString second = QString::fromStdString(library.all()[1].id);
        QTest::keyClick(list.list(), Qt::Key_Return);
        QCOMPARE(picked.takeFirst().first().toString(), second);
        list.chooseButton()->click();
        QCOMPARE(picked.takeFirst().first().toString(), second);

        const QModelIndex third = list.list()->model()->index(2, 0);
        const QPoint at = list.list()->visualRect(third).center();
        QTest::mouseClick(list.list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list.list()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(picked.takeFirst().first().toString(), QString::fromStdString(library.all()[2].id));
    }

    // Clicking another material moves the highlight, and "Choose" picks it; it stays enabled after each click.
    void chooseFollowsAClickedRow() {
        const BookLibrary library({});
        MaterialSearchList list(library, library.all()[0].id);
        QSignalSpy picked(&list, &MaterialSearchList::picked);
        list.show();
        QVERIFY(list.chooseButton()->isEnabled());
        for (const int row : {3, 1}) {
            const QPoint at = list.list()->visualRect(list.list()->model()->index(row, 0)).center();
            QTest::mouseClick(list.list()->viewport(), Qt::LeftButton, {}, at);
            QVERIFY(list.chooseButton()->isEnabled());
            QTest::mouseClick(list.chooseButton(), Qt::LeftButton);
            QCOMPARE(picked.takeFirst().first().toString(), QString::fromStdString(library.all()[std::size_t(row)].id));
        }
    }

    void subtitleNamesTheThreeLargestOxides() {
        const GlazeCore::Material feldspar{"f",
                                           "Feldspar",
                                           {{GlazeCore::Oxide::SiO2, 68},
                                            {GlazeCore::Oxide::Al2O3, 19},
                                            {GlazeCore::Oxide::Na2O, 11.5},
                                            {GlazeCore::Oxide::CaO, 1}},
                                           0,
                                           ""};
        QCOMPARE(MaterialSearchList::materialSubtitle(feldspar),
                 QStringLiteral("SiO\u2082 68.0, Al\u2082O\u2083 19.0, Na\u2082O 11.5"));
        QVERIFY(MaterialSearchList::materialSubtitle({"e", "Empty", {}, 0, ""}).isEmpty());
    }

    // The popup sits under its anchor where it fits, else above it, and never over it.
    void thePopupNeverCoversItsAnchor() {
        const QRect screen(0, 0, 1440, 900);
        const QSize tall(420, 640);
        struct Case {
            QRect anchor;
            QRect expected;
        };
        const Case cases[] = {
            // Room below: under it, never pushed up over it or over what lies above it.
            {QRect(100, 100, 200, 24), QRect(100, 126, 420, 640)},
            // Exactly the room it needs below, gap included: under it, whole.
            {QRect(100, 234, 200, 24), QRect(100, 260, 420, 640)},
            // A pixel less: cut to the taller side, still below.
            {QRect(100, 235, 200, 24), QRect(100, 261, 420, 639)},
            // A wide field near the right edge: under it, kept on the screen.
            {QRect(1200, 180, 200, 24), QRect(1020, 206, 420, 640)},
            // No room below: above it.
            {QRect(900, 700, 500, 24), QRect(900, 58, 420, 640)},
            // Room on neither side for the whole popup: the taller side, cut to fit.
            {QRect(900, 400, 500, 24), QRect(900, 426, 420, 474)},
            {QRect(900, 480, 500, 24), QRect(900, 0, 420, 478)},
        };
        for (const Case& c : cases) {
            const QRect placed = MaterialPicker::placement(c.anchor, tall, screen);
            QCOMPARE(placed, c.expected);
            QVERIFY(!placed.intersects(c.anchor));
            QVERIFY(screen.contains(placed));
        }
    }

    // The popup shown from a field anywhere on the screen lies wholly on it and clear of the field; where
    // neither side holds it whole it shrinks to the taller side, its count and "Choose" still in view.
    void theShownPopupStaysOnTheScreenClearOfItsField() {
        const BookLibrary library({});
        QWidget window;
        QVERIFY(OrzaTest::showActive(window));
        const QRect screen = window.screen()->availableGeometry();
        const int full = MaterialPicker(library, "", &window).sizeHint().height();
        QVERIFY(screen.height() < 2 * full + 60); // the test needs a screen on which some fields leave no room
        const int field = 24;
        const int exactTop = screen.bottom() - 2 - full - field + 1; // leaves exactly the popup's height below
        for (const int top : {screen.top() + 10, exactTop, screen.center().y() - field / 2, screen.center().y() + 40,
                              screen.bottom() - field - 10}) {
            const QRect anchor(screen.left() + 40, top, 200, field);
            QPointer picker = new MaterialPicker(library, "", &window);
            picker->popUp(anchor);
            QVERIFY(QTest::qWaitForWindowExposed(picker));
            const QRect shown = picker->frameGeometry();
            QString where;
            QDebug(&where) << "field at" << top << "popup" << shown;
            QVERIFY2(screen.contains(shown), qPrintable(where));
            QVERIFY2(!shown.intersects(anchor), qPrintable(where));
            if (top == exactTop) QVERIFY2(shown.top() > anchor.bottom() && shown.height() == full, qPrintable(where));
            for (const QWidget* part : {static_cast<QWidget*>(picker->list()->chooseButton()),
                                        static_cast<QWidget*>(picker->list()->countLabel())})
                QVERIFY2(shown.contains(QRect(part->mapToGlobal(QPoint()), part->size())), qPrintable(where));
            picker->close();
            OrzaTest::settle();
        }
    }
};

QTEST_MAIN(MaterialPickerTest)
#include "MaterialPickerTest.moc"
