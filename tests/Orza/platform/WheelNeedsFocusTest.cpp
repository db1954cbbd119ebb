// The wheel over a combo box, spin box or slider: it turns the control only while the control has the
// keyboard focus, and otherwise scrolls what holds it, once.

#include "Orza/blends/BlendSheet.h"
#include "Orza/chemistry/ChemistryPanel.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/settings/Settings.h"
#include "Orza/window/BookWindow.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QUndoStack>
#include <QVBoxLayout>

#include <functional>

using namespace Orza;

namespace {

/// A notch down and a notch up over `control`, which must come out as it went in, without taking the focus.
void wheelLeavesAlone(QWidget* control, const std::function<QVariant()>& value) {
    QVERIFY(!control->hasFocus());
    const QVariant before = value();
    OrzaTest::wheel(control, -120);
    OrzaTest::wheel(control, 120);
    QCOMPARE(value(), before);
    QVERIFY(!control->hasFocus());
}

} // namespace

class WheelNeedsFocusTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private slots:
    // Over the recipe's cone, the reference ranges and a blend corner, the pointer only passing by.
    void picklistsOfTheBookKeepTheirChoice() {
        auto window = OrzaTest::makeWindow(BookWindow::makeSampleDocument());
        const GlazeCore::Uuid recipe = window->document()->book().recipes.front().id;
        window->model()->setSelection(SidebarItem::recipe(recipe));
        QVERIFY(OrzaTest::showActive(*window));
        auto* pane = qobject_cast<RecipePane*>(window->detail());
        QVERIFY(pane);

        wheelLeavesAlone(pane->conePicker(), [&] { return pane->conePicker()->currentText(); });
        QComboBox* ranges = pane->chemistryPanel()->limitSetPicker();
        wheelLeavesAlone(ranges, [&] { return ranges->currentIndex(); });
        QVERIFY(Settings::instance().stringValue(Settings::Key::limitSetID).isEmpty());

        BlendSheet* sheet = BlendSheet::open(window->paneContext(), recipe, BlendMode::triaxial);
        QTRY_VERIFY(sheet->isVisible());
        wheelLeavesAlone(sheet->cornerPicker(1), [&] { return sheet->cornerPicker(1)->currentData(); });
        sheet->reject();

        QCOMPARE(window->document()->undoStack()->count(), 0);
        QVERIFY(!window->document()->isModified());
    }

    // Over a control without the focus one notch scrolls the form as far as one over plain text: the wheel is
    // handed on once, neither lost nor sent round again.
    void theWheelScrollsTheFormOnceAndTurnsOnlyTheFocusedControl() {
        QScrollArea area;
        auto* form = new QWidget;
        auto* column = new QVBoxLayout(form);
        auto* field = new QLineEdit;
        auto* label = new QLabel(QStringLiteral("Plain text"));
        auto* spin = new QSpinBox;
        spin->setValue(50);
        auto* slider = new QSlider(Qt::Horizontal);
        slider->setValue(50);
        auto* combo = new QComboBox;
        combo->addItems({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")});
        combo->setCurrentIndex(1);
        auto* date = new QDateEdit(QDate(2026, 3, 15));
        for (QWidget* widget : std::initializer_list<QWidget*>{field, label, spin, slider, combo, date})
            column->addWidget(widget, 0, Qt::AlignLeft);
        column->addSpacing(2000);
        area.setWidget(form);
        area.resize(300, 200);
        QVERIFY(OrzaTest::showActive(area));
        field->setFocus();
        QScrollBar* bar = area.verticalScrollBar();

        // What one notch scrolls the form by, over text that takes no wheel.
        OrzaTest::wheel(label, -120);
        const int notch = bar->value();
        QVERIFY(notch > 0);

        const std::vector<std::pair<QWidget*, std::function<QVariant()>>> controls{
            {spin, [&] { return spin->value(); }},
            {slider, [&] { return slider->value(); }},
            {combo, [&] { return combo->currentIndex(); }},
            {date, [&] { return date->date(); }}};
        for (const auto& [control, value] : controls) {
            bar->setValue(0);
            const QVariant before = value();
            OrzaTest::wheel(control, -120);
            QCOMPARE(bar->value(), notch);
            QCOMPARE(value(), before);
            QVERIFY(!control->hasFocus());

            control->setFocus(Qt::MouseFocusReason); // as a click gives it
            OrzaTest::wheel(control, -120);
            QVERIFY(value() != before);
            QCOMPARE(bar->value(), notch);
        }
    }
};

QTEST_MAIN(WheelNeedsFocusTest)
#include "WheelNeedsFocusTest.moc"
