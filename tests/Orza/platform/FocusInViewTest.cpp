// A field that takes the focus from a key or a command is scrolled into view by every scroll area around it;
// one the user clicks stays where it is, and one larger than the view shows its start.

#include "support/TestEnvironment.h"

#include <QBoxLayout>
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

    // A field larger than the view, or one that fits only without the room left around it, shows its start,
    // where typing begins, not its far end; down a page and across one alike.
    void aFieldLargerThanTheViewShowsItsStart_data() {
        QTest::addColumn<Qt::Orientation>("along");
        QTest::addColumn<int>("overflow"); // the field's length beyond the view's
        QTest::newRow("taller than the view") << Qt::Vertical << 200;
        QTest::newRow("too tall for its margins") << Qt::Vertical << -4;
        QTest::newRow("wider than the view") << Qt::Horizontal << 200;
        QTest::newRow("too wide for its margins") << Qt::Horizontal << -4;
    }
    void aFieldLargerThanTheViewShowsItsStart() {
        QFETCH(Qt::Orientation, along);
        QFETCH(int, overflow);
        const bool down = along == Qt::Vertical;
        // One scroll bar, across the field, so the view's length along it is known before it is shown.
        QScrollArea area;
        area.setFrameShape(QFrame::NoFrame);
        area.setVerticalScrollBarPolicy(down ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        area.setHorizontalScrollBarPolicy(down ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
        const QSize room(320, 200);
        auto* page = new QWidget;
        auto* line = new QBoxLayout(down ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, page);
        auto* start = new QLineEdit;
        auto* notes = new QPlainTextEdit;
        down ? notes->setFixedHeight(room.height() + overflow) : notes->setFixedWidth(room.width() + overflow);
        line->addWidget(start, 0, Qt::AlignLeft | Qt::AlignTop);
        line->addSpacing(100);
        line->addWidget(notes);
        area.setWidget(page);
        area.setWidgetResizable(true);
        area.resize(room);
        QVERIFY(OrzaTest::showActive(area));
        QCOMPARE(down ? area.viewport()->height() : area.viewport()->width(), down ? room.height() : room.width());
        start->setFocus(Qt::OtherFocusReason);

        notes->setFocus(Qt::ShortcutFocusReason);
        const QRect shown = OrzaTest::shownPart(notes, notes->rect());
        const QPoint origin = notes->mapTo(notes->window(), QPoint());
        QVERIFY(!shown.isEmpty());
        QCOMPARE(down ? shown.top() : shown.left(), down ? origin.y() : origin.x());
    }
};

QTEST_MAIN(FocusInViewTest)
#include "FocusInViewTest.moc"
