// A field that takes the focus from a key or a command is scrolled into view by every scroll area around it;
// one the user clicks stays where it is, and one larger than the view shows its start.

#include "support/TestEnvironment.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

namespace {

/// A page far wider and taller than its window, with a scroll area of its own at its far right and a field at
/// the bottom of that inner area.
struct NestedForms {
    QScrollArea outer;
    QScrollArea* inner = new QScrollArea;
    QLineEdit* start = new QLineEdit;
    QLineEdit* deep = new QLineEdit;

    NestedForms() {
        auto* form = new QWidget;
        auto* formColumn = new QVBoxLayout(form);
        formColumn->addSpacing(600);
        formColumn->addWidget(deep);
        inner->setWidget(form);
        inner->setWidgetResizable(true);
        inner->setFixedSize(220, 160);

        auto* page = new QWidget;
        auto* pageRow = new QHBoxLayout(page);
        pageRow->addWidget(start, 0, Qt::AlignTop);
        pageRow->addSpacing(400);
        pageRow->addWidget(inner, 0, Qt::AlignBottom);
        page->setMinimumHeight(700);
        outer.setWidget(page);
        outer.setWidgetResizable(true);
        outer.resize(320, 240);
    }
};

bool shownWhole(const QWidget* field) {
    return OrzaTest::shownPart(field, field->rect()).size() == field->size();
}

} // namespace

class FocusInViewTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    void keysAndCommandsBringTheFieldIntoView() {
        NestedForms forms;
        QVERIFY(OrzaTest::showActive(forms.outer));
        forms.start->setFocus(Qt::OtherFocusReason);
        QVERIFY(!shownWhole(forms.deep));

        // A click leaves the view as it is; the field is where the user clicked it.
        forms.deep->setFocus(Qt::MouseFocusReason);
        QCOMPARE(forms.outer.horizontalScrollBar()->value(), 0);
        QCOMPARE(forms.inner->verticalScrollBar()->value(), 0);

        // From a command both scroll areas move: the inner one to the field, the outer one to the inner area.
        forms.start->setFocus(Qt::OtherFocusReason);
        forms.deep->setFocus(Qt::ShortcutFocusReason);
        QVERIFY(shownWhole(forms.deep));
    }

    // A field taller than the view shows its top, where typing begins, not its far end.
    void aFieldLargerThanTheViewShowsItsStart() {
        QScrollArea area;
        auto* page = new QWidget;
        auto* column = new QVBoxLayout(page);
        auto* start = new QLineEdit;
        auto* notes = new QPlainTextEdit;
        notes->setFixedHeight(400);
        column->addWidget(start);
        column->addSpacing(100);
        column->addWidget(notes);
        area.setWidget(page);
        area.setWidgetResizable(true);
        area.resize(320, 200);
        QVERIFY(OrzaTest::showActive(area));
        start->setFocus(Qt::OtherFocusReason);

        notes->setFocus(Qt::ShortcutFocusReason);
        const QRect shown = OrzaTest::shownPart(notes, notes->rect());
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown.top(), notes->mapTo(notes->window(), QPoint()).y());
    }
};

QTEST_MAIN(FocusInViewTest)
#include "FocusInViewTest.moc"
