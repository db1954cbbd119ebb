// Every page and sheet drawn in a dark scheme, as a KDE colour scheme reaches Qt's own theme: the frames of
// fields and pickers, the boxes and marks of check boxes, and the chosen segment of a segmented choice must
// stand out from what lies around them. The chosen segment must stand out in the light palette too.

#include "Orza/app/ReadablePalette.h"
#include "Orza/app/ReadableStyle.h"
#include "Orza/batch/BatchSheet.h"
#include "Orza/blends/BlendSheet.h"
#include "Orza/document/BookDocument.h"
#include "Orza/labels/LabelSheet.h"
#include "Orza/materials/MaterialsPage.h"
#include "Orza/models/WindowModel.h"
#include "Orza/recipe/RecipeLinesModel.h"
#include "Orza/recipe/RecipeLinesTable.h"
#include "Orza/recipe/RecipeLinesView.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/reformulate/OxideNudgeSheet.h"
#include "Orza/reformulate/ReplaceMaterialSheet.h"
#include "Orza/window/BookWindow.h"
#include "support/TestEnvironment.h"

#include "GlazeCore/book/FiringSchedule.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <QTest>
#include <QToolButton>

#include <cmath>
#include <functional>
#include <memory>

using namespace Orza;

namespace {

/// A frame or box this far in lightness from the background reads; a check mark this far from its box.
constexpr int leastFrameGap = 30;
constexpr int leastMarkGap = 120;
/// The chosen segment this far (RGB distance) from the others.
constexpr double leastSegmentDistance = 45;

/// A dark scheme as Qt's KDE theme builds it from a colour scheme file: the roles the file names, the
/// shades it works out from the button colour (lighter and darker swap places on a dark button), and the
/// placeholder left at the default.
QPalette kdeDarkPalette() {
    QPalette palette;
    const QColor button(41, 44, 48);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::Window, QColor(32, 35, 38));
    palette.setColor(QPalette::Text, QColor(252, 252, 252));
    palette.setColor(QPalette::WindowText, QColor(252, 252, 252));
    palette.setColor(QPalette::ButtonText, QColor(252, 252, 252));
    palette.setColor(QPalette::Base, QColor(20, 22, 24));
    palette.setColor(QPalette::AlternateBase, QColor(29, 31, 34));
    palette.setColor(QPalette::Highlight, QColor(61, 174, 233));
    palette.setColor(QPalette::HighlightedText, QColor(252, 252, 252));
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(QPalette::Disabled, role, button.darker(50));
    for (const auto role : {QPalette::Button, QPalette::Base, QPalette::Window})
        palette.setColor(QPalette::Disabled, role, button);
    palette.setColor(QPalette::Light, button.lighter(50));
    palette.setColor(QPalette::Midlight, button.lighter(75));
    palette.setColor(QPalette::Mid, button.darker(75));
    palette.setColor(QPalette::Dark, button.darker(50));
    palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
    return palette;
}

int gap(const QColor& a, const QColor& b) {
    return std::abs(a.lightness() - b.lightness());
}

double distance(const QColor& a, const QColor& b) {
    return std::hypot(a.red() - b.red(), a.green() - b.green(), a.blue() - b.blue());
}

QString nameOf(const QWidget* widget) {
    const QString name = widget->accessibleName();
    return QString::fromLatin1(widget->metaObject()->className()) +
           (name.isEmpty() ? QString() : QStringLiteral(" \u201c%1\u201d").arg(name));
}

/// What a window or sheet looks like, drawn once; pixels are read in the coordinates of its widgets.
class Shot {
public:
    explicit Shot(QWidget* top) : m_top(top), m_image(top->grab().toImage()) {}

    QColor at(const QWidget* widget, QPoint point) const {
        const QPoint mapped = widget->mapTo(m_top, point);
        return m_image.rect().contains(mapped) ? m_image.pixelColor(mapped) : QColor();
    }
    /// Whether `part` of `widget` (its left end, else) lies in the picture, not scrolled away or cut off by
    /// its parents, with a little of the background to its left.
    bool shows(const QWidget* widget, QRect part = {}) const {
        if (!widget->isVisibleTo(m_top)) return false;
        if (part.isNull()) part = QRect(0, 0, std::min(widget->width(), 12), widget->height());
        const QRect inside(widget->mapTo(m_top, part.topLeft()), part.size());
        return m_image.rect().contains(inside.adjusted(-3, 0, 0, 0)) && widget->visibleRegion().contains(part);
    }
    QWidget* top() const { return m_top; }

private:
    QWidget* m_top;
    QImage m_image;
};

bool isField(const QWidget* widget) {
    for (const QWidget* up = widget->parentWidget(); up; up = up->parentWidget())
        if (qobject_cast<const QAbstractItemView*>(up)) return false; // a cell being edited
    if (qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget)) return true;
    const auto* edit = qobject_cast<const QLineEdit*>(widget);
    return edit && edit->hasFrame() && !qobject_cast<const QComboBox*>(widget->parentWidget()) &&
           !qobject_cast<const QAbstractSpinBox*>(widget->parentWidget());
}

/// The left edge of every field and picker stands out from the background beside it. Returns how many.
int checkFieldFrames(const Shot& shot) {
    int checked = 0;
    for (QWidget* field : shot.top()->findChildren<QWidget*>()) {
        if (!isField(field) || !shot.shows(field)) continue;
        const int middle = field->height() / 2;
        const QColor background = shot.at(field, QPoint(-3, middle));
        const int frame = std::max(gap(shot.at(field, QPoint(0, middle)), background),
                                   gap(shot.at(field, QPoint(1, middle)), background));
        [&] { QVERIFY2(frame >= leastFrameGap, qPrintable(nameOf(field))); }();
        ++checked;
    }
    return checked;
}

/// Every check box's box stands out from the background, and the mark of a checked one from its box.
int checkCheckBoxes(const Shot& shot) {
    int checked = 0;
    for (QCheckBox* box : shot.top()->findChildren<QCheckBox*>()) {
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        if (!shot.shows(box, indicator)) continue;
        const int middle = indicator.center().y();
        const QColor background = shot.at(box, QPoint(indicator.left() - 3, middle));
        const int frame = std::max(gap(shot.at(box, QPoint(indicator.left(), middle)), background),
                                   gap(shot.at(box, QPoint(indicator.left() + 1, middle)), background));
        [&] { QVERIFY2(frame >= leastFrameGap, qPrintable(box->text())); }();
        if (box->isChecked()) {
            const QColor fill = shot.at(box, indicator.topLeft() + QPoint(2, 2));
            int mark = 0;
            for (int y = indicator.top() + 2; y < indicator.bottom() - 1; ++y)
                for (int x = indicator.left() + 2; x < indicator.right() - 1; ++x)
                    mark = std::max(mark, gap(shot.at(box, QPoint(x, y)), fill));
            [&] { QVERIFY2(mark >= leastMarkGap, qPrintable(box->text())); }();
        }
        ++checked;
    }
    return checked;
}

/// In each segmented choice (checkable buttons side by side, not a tool bar's), the chosen one differs.
int checkSegments(const Shot& shot) {
    int choices = 0;
    for (QWidget* group : shot.top()->findChildren<QWidget*>()) {
        QAbstractButton* chosen = nullptr;
        QList<QAbstractButton*> others;
        for (QAbstractButton* button : group->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
            const auto* tool = qobject_cast<QToolButton*>(button);
            if (!button->isCheckable() || qobject_cast<QCheckBox*>(button) || (tool && tool->autoRaise()) ||
                !shot.shows(button))
                continue;
            if (button->isChecked())
                chosen = button;
            else
                others << button;
        }
        if (!chosen || others.isEmpty()) continue;
        const QColor fill = shot.at(chosen, QPoint(6, 4));
        for (QAbstractButton* other : others)
            [&] {
                QVERIFY2(distance(fill, shot.at(other, QPoint(6, 4))) >= leastSegmentDistance,
                         qPrintable(chosen->text() + QStringLiteral(" against ") + other->text()));
            }();
        ++choices;
    }
    return choices;
}

} // namespace

class DarkSchemeTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private:
    std::unique_ptr<BookWindow> m_window;

    void setUp() override { QApplication::setPalette(kdeDarkPalette()); }

    void tearDown() override {
        m_window.reset();
        OrzaTest::settle();
        QApplication::setPalette(QApplication::style()->standardPalette());
    }

    /// A recipe with an addition, a second recipe, a logged tile and a custom material, in a shown window.
    BookWindow& openBook() {
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Satin", "Gloss"});
        book.recipes[0].lines = {{GlazeCore::Uuid::random(), "silica", 60, false},
                                 {GlazeCore::Uuid::random(), "kaolin", 40, false},
                                 {GlazeCore::Uuid::random(), "rutile", 5, true}};
        book.tests.push_back(OrzaTest::tile(book.recipes[0].id, "6", "T-001"));
        book.tests[0].schedule = GlazeCore::FiringSchedule::cone6DefaultSchedule();
        book.customMaterials.push_back({"my-feldspar", "My feldspar", {{GlazeCore::Oxide::SiO2, 68}}, 0.5, "Lab"});
        m_window = OrzaTest::makeWindow(book);
        m_window->resize(1280, 820);
        m_window->show();
        OrzaTest::settle();
        return *m_window;
    }

    void show(const SidebarItem& item) {
        m_window->model()->setSelection(item);
        OrzaTest::settle();
        QTest::qWait(20);
    }

    GlazeCore::Uuid satin() const { return m_window->document()->book().recipes.front().id; }

    template <class Sheet> Sheet* settled(Sheet* sheet) {
        OrzaTest::settle();
        QTest::qWait(20);
        return sheet;
    }

private slots:
    void initTestCase() {
        // As the application starts: a palette kept readable, and the readable style over the platform's.
        ReadablePalette::keep(*qApp);
        ReadableStyle::install();
    }

    void thePagesReadInTheDark() {
        openBook();
        show(SidebarItem::recipe(satin()));
        {
            const Shot shot(m_window.get());
            QVERIFY(checkFieldFrames(shot) >= 1);
            QVERIFY(checkCheckBoxes(shot) >= 1);
            // The Addition boxes of the table: the box of a base line, the mark of the addition.
            RecipeLinesView* table = qobject_cast<RecipePane*>(m_window->detail())->linesTable()->view();
            for (int row = 0; row < 3; ++row) {
                const QRect cell = table->visualRect(table->model()->index(row, RecipeLinesModel::additionColumn));
                const QColor background = shot.at(table->viewport(), cell.topLeft() + QPoint(1, 1));
                int strongest = 0;
                for (int y = cell.top(); y <= cell.bottom(); ++y)
                    for (int x = cell.left(); x <= cell.right(); ++x)
                        strongest = std::max(strongest, gap(shot.at(table->viewport(), QPoint(x, y)), background));
                QVERIFY2(strongest >= leastFrameGap, qPrintable(QString::number(row)));
                if (row == 2) QVERIFY(strongest >= leastMarkGap);
            }
        }

        show(SidebarItem::tests());
        QVERIFY(checkFieldFrames(Shot(m_window.get())) >= 8); // search field, filters, code, pickers, date, schedule

        show(SidebarItem::materials());
        auto* materials = qobject_cast<MaterialsPage*>(m_window->detail());
        QCOMPARE(checkSegments(Shot(m_window.get())), 1);
        materials->setScope(MaterialsPage::Scope::custom);
        materials->selectCustom(std::string("my-feldspar"));
        OrzaTest::settle();
        const Shot custom(m_window.get());
        QCOMPARE(checkSegments(custom), 1);
        QVERIFY(checkFieldFrames(custom) >= 4); // name, loss on ignition, source, oxides
    }

    void theSheetsReadInTheDark() {
        openBook();
        show(SidebarItem::recipe(satin()));
        for (const BlendMode mode : {BlendMode::line, BlendMode::triaxial, BlendMode::grid}) {
            BlendSheet* blend = settled(BlendSheet::open(*m_window, satin(), mode));
            const Shot shot(blend);
            QCOMPARE(checkSegments(shot), 1);
            QVERIFY(checkFieldFrames(shot) >= 3);
            QCOMPARE(checkCheckBoxes(shot), 1);
            blend->reject();
        }
        const std::function<QDialog*()> sheets[] = {
            [this] { return BatchSheet::open(*m_window, satin()); },
            [this] { return OxideNudgeSheet::open(*m_window, satin(), NudgeRequest{}); },
            [this] { return ReplaceMaterialSheet::open(*m_window, satin(), ReplaceRequest{}); },
            [this] { return LabelSheet::open(*m_window, LabelScope::all); }};
        for (const auto& open : sheets) {
            QDialog* sheet = settled(open());
            QVERIFY2(checkFieldFrames(Shot(sheet)) >= 1, sheet->metaObject()->className());
            sheet->reject();
            OrzaTest::settle();
        }
    }

    // The chosen segment stands out in the light palette as well.
    void theChosenSegmentReadsInTheLight() {
        QApplication::setPalette(QApplication::style()->standardPalette());
        openBook();
        show(SidebarItem::materials());
        QCOMPARE(checkSegments(Shot(m_window.get())), 1);
        BlendSheet* blend = settled(BlendSheet::open(*m_window, satin(), BlendMode::triaxial));
        QCOMPARE(checkSegments(Shot(blend)), 1);
        blend->reject();
    }
};

QTEST_MAIN(DarkSchemeTest)
#include "DarkSchemeTest.moc"
