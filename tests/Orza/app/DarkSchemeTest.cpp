// Every page and sheet drawn in a dark scheme, as a KDE colour scheme reaches Qt's own theme: the frames of
// fields and pickers, the boxes and marks of check boxes, and the chosen segment of a segmented choice must
// stand out from what lies around them. The chosen segment must stand out in the light palette too.

#include "GlazeCore/book/FiringSchedule.h"
#include "Orza/app/ReadablePalette.h"
#include "Orza/app/ReadableStyle.h"
#include "Orza/batch/BatchSheet.h"
#include "Orza/blends/BlendSheet.h"
#include "Orza/document/BookDocument.h"
#include "Orza/labels/LabelSheet.h"
#include "Orza/materials/MaterialsPage.h"
#include "Orza/materials/PercentField.h"
#include "Orza/models/WindowModel.h"
#include "Orza/recipe/RecipeLinesModel.h"
#include "Orza/recipe/RecipeLinesTable.h"
#include "Orza/recipe/RecipeLinesView.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/reformulate/OxideNudgeSheet.h"
#include "Orza/reformulate/ReplaceMaterialSheet.h"
#include "Orza/widgets/TextStyle.h"
#include "Orza/window/BookWindow.h"
#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
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

/// What a window or sheet looks like, drawn once; pixels are read in the coordinates of its widgets.
class Shot {
public:
    explicit Shot(QWidget* top) : m_top(top), m_image(top->grab().toImage()) {}

    QColor at(const QWidget* widget, QPoint point) const { return m_image.pixelColor(widget->mapTo(m_top, point)); }
    /// Whether `part` of `widget` lies in the picture, not scrolled away or cut off by its parents, with a little
    /// of the background to its left.
    bool shows(const QWidget* widget, const QRect& part) const {
        const QRect inside(widget->mapTo(m_top, part.topLeft()), part.size());
        return widget->isVisibleTo(m_top) && m_image.rect().contains(inside.adjusted(-3, 0, 0, 0)) &&
               widget->visibleRegion().contains(part);
    }
    /// How far the left edge of `box` in `widget` stands out from the background just left of it.
    int edgeGap(const QWidget* widget, const QRect& box) const {
        const int y = box.center().y();
        const QColor background = at(widget, QPoint(box.left() - 3, y));
        return std::max(gap(at(widget, QPoint(box.left(), y)), background),
                        gap(at(widget, QPoint(box.left() + 1, y)), background));
    }
    QWidget* top() const { return m_top; }

private:
    QWidget* m_top;
    QImage m_image;
};

/// What a check looked at, and the names of what failed it.
struct Findings {
    int looked = 0;
    QStringList faults;
};

bool isField(const QWidget* widget) {
    for (const QWidget* up = widget->parentWidget(); up; up = up->parentWidget())
        if (qobject_cast<const QAbstractItemView*>(up)) return false; // a cell being edited
    if (qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget)) return true;
    const auto* edit = qobject_cast<const QLineEdit*>(widget);
    return edit && edit->hasFrame() && !qobject_cast<const QComboBox*>(widget->parentWidget()) &&
           !qobject_cast<const QAbstractSpinBox*>(widget->parentWidget());
}

/// The left edge of every field and picker stands out from the background beside it.
Findings fieldFrames(const Shot& shot) {
    Findings found;
    for (QWidget* field : shot.top()->findChildren<QWidget*>()) {
        const QRect edge(0, 0, std::min(field->width(), 12), field->height());
        if (!isField(field) || !shot.shows(field, edge)) continue;
        ++found.looked;
        if (shot.edgeGap(field, edge) < leastFrameGap) found.faults << field->accessibleName();
    }
    return found;
}

/// Every check box's box stands out from the background, and the mark of a checked one from its box.
Findings checkBoxes(const Shot& shot) {
    Findings found;
    for (QCheckBox* box : shot.top()->findChildren<QCheckBox*>()) {
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        if (!shot.shows(box, indicator)) continue;
        ++found.looked;
        int mark = leastMarkGap;
        if (box->isChecked()) {
            mark = 0;
            const QColor fill = shot.at(box, indicator.topLeft() + QPoint(2, 2));
            for (int y = indicator.top() + 2; y < indicator.bottom() - 1; ++y)
                for (int x = indicator.left() + 2; x < indicator.right() - 1; ++x)
                    mark = std::max(mark, gap(shot.at(box, QPoint(x, y)), fill));
        }
        if (shot.edgeGap(box, indicator) < leastFrameGap || mark < leastMarkGap) found.faults << box->text();
    }
    return found;
}

/// In each segmented choice (checkable buttons side by side, not a tool bar's), the chosen one differs.
Findings segments(const Shot& shot) {
    Findings found;
    for (QWidget* group : shot.top()->findChildren<QWidget*>()) {
        QAbstractButton* chosen = nullptr;
        QList<QAbstractButton*> others;
        for (QAbstractButton* button : group->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
            const auto* tool = qobject_cast<QToolButton*>(button);
            if (!button->isCheckable() || qobject_cast<QCheckBox*>(button) || (tool && tool->autoRaise()) ||
                !shot.shows(button, button->rect()))
                continue;
            if (button->isChecked())
                chosen = button;
            else
                others << button;
        }
        if (!chosen || others.isEmpty()) continue;
        ++found.looked;
        const QColor fill = shot.at(chosen, QPoint(6, 4));
        for (QAbstractButton* other : others) {
            const QColor plain = shot.at(other, QPoint(6, 4));
            if (std::hypot(fill.red() - plain.red(), fill.green() - plain.green(), fill.blue() - plain.blue()) <
                leastSegmentDistance)
                found.faults << chosen->text() + QStringLiteral(" against ") + other->text();
        }
    }
    return found;
}

/// The symbol of every icon-only button stands out from the button's face around it.
Findings buttonSymbols(const Shot& shot) {
    Findings found;
    for (QAbstractButton* button : shot.top()->findChildren<QAbstractButton*>()) {
        if (button->icon().isNull() || !button->text().isEmpty() || !shot.shows(button, button->rect())) continue;
        QRect symbol(QPoint(), button->iconSize().boundedTo(button->size()));
        symbol.moveCenter(button->rect().center());
        const QColor face = shot.at(button, symbol.topLeft());
        int strongest = 0;
        for (int y = symbol.top(); y <= symbol.bottom(); ++y)
            for (int x = symbol.left(); x <= symbol.right(); ++x)
                strongest = std::max(strongest, gap(shot.at(button, QPoint(x, y)), face));
        ++found.looked;
        if (strongest < leastMarkGap) found.faults << button->accessibleName();
    }
    return found;
}

/// The check looked at `least` things or more, and none failed it.
void expectReadable(const Findings& found, int least, const char* what) {
    QVERIFY2(found.looked >= least, what);
    QVERIFY2(found.faults.isEmpty(), qPrintable(QLatin1String(what) + QStringLiteral(": ") + found.faults.join(", ")));
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
        const Shot recipe(m_window.get());
        expectReadable(fieldFrames(recipe), 1, "recipe fields");
        expectReadable(checkBoxes(recipe), 1, "recipe check boxes");
        // The Addition boxes of the table: the box of a base line, the mark of the addition in the last row.
        RecipeLinesView* table = qobject_cast<RecipePane*>(m_window->detail())->linesTable()->view();
        for (int row = 0; row < 3; ++row) {
            const QRect cell = table->visualRect(table->model()->index(row, RecipeLinesModel::additionColumn));
            const QColor background = recipe.at(table->viewport(), cell.topLeft() + QPoint(1, 1));
            int strongest = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x)
                    strongest = std::max(strongest, gap(recipe.at(table->viewport(), QPoint(x, y)), background));
            QVERIFY(strongest >= (row == 2 ? leastMarkGap : leastFrameGap));
        }

        show(SidebarItem::tests());
        // The schedule's remove buttons, scrolled into view in the tile editor.
        for (QToolButton* remove : m_window->findChildren<QToolButton*>())
            if (remove->accessibleName() == QStringLiteral("Remove segment 1"))
                for (QWidget* up = remove->parentWidget(); up; up = up->parentWidget())
                    if (auto* scroll = qobject_cast<QScrollArea*>(up)) scroll->ensureWidgetVisible(remove);
        OrzaTest::settle();
        const Shot tests(m_window.get());
        expectReadable(fieldFrames(tests), 8, "search, filters, tile and schedule fields");
        expectReadable(buttonSymbols(tests), 3, "symbol buttons of the test log");

        show(SidebarItem::materials());
        auto* materials = qobject_cast<MaterialsPage*>(m_window->detail());
        expectReadable(segments(Shot(m_window.get())), 1, "Bundled");
        materials->setScope(MaterialsPage::Scope::custom);
        materials->selectCustom(std::string("my-feldspar"));
        OrzaTest::settle();
        const Shot custom(m_window.get());
        expectReadable(segments(custom), 1, "Custom");
        expectReadable(fieldFrames(custom), 4, "custom material fields");
    }

    void theSheetsReadInTheDark() {
        openBook();
        show(SidebarItem::recipe(satin()));
        for (const BlendMode mode : {BlendMode::line, BlendMode::triaxial, BlendMode::grid}) {
            BlendSheet* blend = settled(BlendSheet::open(m_window->paneContext(), satin(), mode));
            const Shot shot(blend);
            expectReadable(segments(shot), 1, "blend type");
            expectReadable(fieldFrames(shot), 3, "blend fields");
            expectReadable(checkBoxes(shot), 1, "blend check box");
            blend->reject();
        }
        const std::function<QDialog*()> sheets[] = {
            [this] { return BatchSheet::open(m_window->paneContext(), satin()); },
            [this] { return OxideNudgeSheet::open(m_window->paneContext(), satin(), NudgeRequest{}); },
            [this] { return ReplaceMaterialSheet::open(m_window->paneContext(), satin(), ReplaceRequest{}); },
            [this] { return LabelSheet::open(m_window->paneContext(), LabelScope::all); }};
        for (const auto& open : sheets) {
            QDialog* sheet = settled(open());
            expectReadable(fieldFrames(Shot(sheet)), 1, sheet->metaObject()->className());
            sheet->reject();
            OrzaTest::settle();
        }
    }

    // The materials page's refusals and the invalid analysis are drawn in the program's one alert colour, which
    // reads against the window in the dark scheme and again after the scheme turns light.
    void theMaterialsAlertsRead() {
        openBook();
        GlazeCore::GlazeBook book = m_window->document()->book();
        book.customMaterials.push_back({"too-much", "Too much", {{GlazeCore::Oxide::CaO, 60}, {GlazeCore::Oxide::SiO2, 70}}, 0, ""});
        m_window = OrzaTest::makeWindow(book);
        m_window->resize(1280, 820);
        m_window->show();
        show(SidebarItem::materials());
        auto* materials = qobject_cast<MaterialsPage*>(m_window->detail());
        materials->setScope(MaterialsPage::Scope::custom);
        materials->selectCustom(std::string("too-much"));
        OrzaTest::settle();
        PercentField* percent = m_window->findChildren<PercentField*>().value(0);
        QVERIFY(percent);
        percent->lineEdit()->setFocus();
        percent->lineEdit()->selectAll();
        QTest::keyClicks(percent->lineEdit(), QStringLiteral("1500"));
        OrzaTest::settle();

        const auto alerts = [this] {
            QList<QLabel*> found;
            for (QLabel* label : m_window->findChildren<QLabel*>())
                if (label->isVisibleTo(m_window.get()) &&
                    (label->text().startsWith(QStringLiteral("Enter a ")) ||
                     label->text().startsWith(QStringLiteral("This analysis is not valid.")) ||
                     label->text().contains(QStringLiteral("The total must not be more than"))))
                    found << label;
            return found;
        };
        for (const bool dark : {true, false}) {
            if (!dark) QApplication::setPalette(QApplication::style()->standardPalette());
            OrzaTest::settle();
            const QList<QLabel*> found = alerts();
            QVERIFY(found.size() >= 3);
            for (QLabel* label : found) {
                const QPalette palette = label->palette();
                const QColor text = palette.color(QPalette::WindowText);
                QVERIFY2(TextStyle::contrastRatio(text, palette.color(QPalette::Window)) >= 4.5,
                         qPrintable(label->text()));
                QVERIFY2(text.red() > text.green() + 60, qPrintable(label->text()));
            }
        }
    }

    // The chosen segment stands out in the light palette as well.
    void theChosenSegmentReadsInTheLight() {
        QApplication::setPalette(QApplication::style()->standardPalette());
        openBook();
        show(SidebarItem::materials());
        expectReadable(segments(Shot(m_window.get())), 1, "Bundled");
        BlendSheet* blend = settled(BlendSheet::open(m_window->paneContext(), satin(), BlendMode::triaxial));
        expectReadable(segments(Shot(blend)), 1, "blend type");
        blend->reject();
    }
};

QTEST_MAIN(DarkSchemeTest)
#include "DarkSchemeTest.moc"
