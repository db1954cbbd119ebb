#include "Orza/reformulate/OxideNudgeSheet.h"

#include "GlazeCore/book/SampleBook.h"
#include "GlazeCore/reformulate/ReformulateLeastSquares.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/chemistry/ChemistryPanel.h"
#include "Orza/chemistry/StullChartView.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/FitWindowToScreen.h"
#include "Orza/platform/ScreenFit.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/reformulate/AdjustmentSummary.h"
#include "Orza/widgets/ArrowStepper.h"
#include "Orza/widgets/IconLabel.h"
#include "Orza/widgets/LiveNumberField.h"
#include "Orza/window/BookWindow.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

#include <cmath>

using namespace Orza;
using GlazeCore::Oxide;

namespace {

GlazeCore::RecipeLine line(std::string materialID, double amount, bool isAddition = false) {
    return {GlazeCore::Uuid::random(), std::move(materialID), amount, isAddition};
}

GlazeCore::Recipe satin(std::string name = "Satin") {
    return {GlazeCore::Uuid::random(),
            std::move(name),
            "6",
            {line("potash-feldspar", 40), line("whiting", 20), line("kaolin", 20), line("silica", 20),
             line("rutile", 5, true)},
            "Keep the notes."};
}

/// Five recipes with Satin third.
GlazeCore::GlazeBook fiveRecipes() {
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"A", "B", "D", "E"});
    book.recipes.insert(book.recipes.begin() + 2, satin());
    return book;
}

double baseUmf(const BookDocument& document, const GlazeCore::Uuid& id, Oxide oxide) {
    return GlazeCore::oxideValue(GlazeCore::Reformulate::baseChemistry(*document.recipe(id), document.library()).umf,
                                 oxide);
}

void typeInto(LiveNumberField* field, const QString& text) {
    field->selectAll();
    QTest::keyClicks(field, text);
}

} // namespace

class OxideNudgeSheetTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private:
    void setUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void tearDown() override { QLocale::setDefault(QLocale::system()); }

private slots:
    // Apply writes only the lines, as one undo step, closes the sheet and gives the menus back.
    void applyInPlaceThenUndo() {
        auto window = OrzaTest::makeWindow(fiveRecipes());
        BookDocument& document = *window->document();
        const GlazeCore::Recipe before = document.book().recipes[2];
        const GlazeCore::GlazeBook book = document.book();
        const int steps = document.undoStack()->count();
        const double current = baseUmf(document, before.id, Oxide::Al2O3);

        OxideNudgeSheet* sheet = OxideNudgeSheet::open(window->paneContext(), before.id,
                                                       NudgeRequest{GlazeCore::Uuid::random(), Oxide::Al2O3, 1});
        QVERIFY(sheet && sheet->isModal() && sheet->isVisible());
        QVERIFY(window->model()->nudge() && window->model()->anySheetShown());
        QVERIFY(!window->actions()->action(Command::addRecipe)->isEnabled());
        QCOMPARE(sheet->oxide(), Oxide::Al2O3);
        QCOMPARE(sheet->target(), std::round((current + 0.05) * 1000) / 1000);
        QVERIFY(sheet->adjustment() && sheet->hasChanges());
        QVERIFY(sheet->applyButton()->isEnabled() && sheet->applyButton()->isDefault());
        const GlazeCore::Recipe adjusted = sheet->adjustment()->recipe;

        QPointer<OxideNudgeSheet> closing(sheet);
        sheet->applyButton()->click();
        QVERIFY(!sheet->isVisible());
        QVERIFY(!window->model()->nudge());
        const GlazeCore::Recipe after = *document.recipe(before.id);
        QCOMPARE(after.name, before.name);
        QCOMPARE(after.notes, before.notes);
        QCOMPARE(after.cone, before.cone);
        QVERIFY(after.lines == adjusted.lines);
        QVERIFY(std::abs(baseUmf(document, before.id, Oxide::Al2O3) - sheet->target()) < 1e-6);
        QCOMPARE(document.undoStack()->count(), steps + 1);
        OrzaTest::settle();
        QVERIFY(!closing);

        document.undoStack()->undo();
        QVERIFY(document.book() == book);
    }

    // Apply as Copy inserts "Satin – Al₂O₃ 0.35" right after Satin and selects it; undo takes it out. A
    // recipe taken from the book meanwhile still gets its copy, at the end.
    void applyAsCopyThenUndo() {
        auto window = OrzaTest::makeWindow(fiveRecipes());
        BookDocument& document = *window->document();
        const GlazeCore::GlazeBook book = document.book();
        const GlazeCore::Uuid satinID = book.recipes[2].id;
        OxideNudgeSheet* sheet = OxideNudgeSheet::open(window->paneContext(), satinID, NudgeRequest{});
        sheet->oxidePicker()->setCurrentIndex(sheet->oxidePicker()->findData(int(Oxide::Al2O3)));
        emit sheet->oxidePicker()->activated(sheet->oxidePicker()->currentIndex());
        QCOMPARE(sheet->oxide(), Oxide::Al2O3);
        typeInto(sheet->targetField(), QStringLiteral("0.35"));
        QCOMPARE(sheet->target(), 0.35);
        QVERIFY(sheet->copyButton()->isEnabled());

        sheet->copyButton()->click();
        QCOMPARE(document.book().recipes.size(), std::size_t(6));
        const GlazeCore::Recipe& copy = document.book().recipes[3];
        QCOMPARE(QString::fromStdString(copy.name), QStringLiteral("Satin \u2013 Al\u2082O\u2083 0.35"));
        QVERIFY(copy.id != satinID);
        QCOMPARE(copy.notes, book.recipes[2].notes);
        QCOMPARE(document.book().recipes[4].name, std::string("D"));
        QVERIFY(document.book().recipes[2] == book.recipes[2]);
        QCOMPARE(window->model()->selection(), std::optional(SidebarItem::recipe(copy.id)));
        QVERIFY(std::abs(baseUmf(document, copy.id, Oxide::Al2O3) - 0.35) < 1e-6);
        document.undoStack()->undo();
        QVERIFY(document.book() == book);

        OxideNudgeSheet* again = OxideNudgeSheet::open(window->paneContext(), satinID, NudgeRequest{});
        again->setTarget(again->target() + 0.2);
        document.removeRecipe(satinID);
        QVERIFY(again->adjustment());
        again->applyAsCopy();
        QCOMPARE(document.book().recipes.back().name.substr(0, 5), std::string("Satin"));
        QCOMPARE(document.book().recipes.size(), std::size_t(5));
    }

    // The size comes from the screen at every solve, not only when the sheet first shows.
    void theSizeIsWorkedOutAtEverySolve() {
        auto window = OrzaTest::makeWindow(fiveRecipes());
        OxideNudgeSheet* sheet =
            OxideNudgeSheet::open(window->paneContext(), window->document()->book().recipes[2].id, {});
        // The screen's usable area bounds the size the screen's frame gives.
        const QRect area = ScreenFit::usableArea(sheet);
        const QSize size = ReformulateSheet::sheetSize(ReformulateSheet::screenFrame())
                               .boundedTo(area.marginsRemoved(FitWindowToScreen::decorations(sheet)).size());
        QCOMPARE(sheet->size(), size);
        sheet->setFixedSize(size / 2);
        sheet->setTarget(sheet->target() + 0.05);
        QCOMPARE(sheet->size(), size);
    }

    // The target row: the current value, a change of 0 for an unchanged target, a stepper held to 0 … 50,
    // and typing past it. An unchanged result cannot be applied; Return applies from the target field.
    void targetRowAndItsLimits() {
        auto window = OrzaTest::makeWindow(fiveRecipes());
        BookDocument& document = *window->document();
        const GlazeCore::Uuid id = document.book().recipes[2].id;
        OxideNudgeSheet* sheet = OxideNudgeSheet::open(window->paneContext(), id, NudgeRequest{});
        const double current = baseUmf(document, id, Oxide::SiO2);
        QCOMPARE(sheet->oxide(), Oxide::SiO2);
        QCOMPARE(sheet->target(), current);
        QCOMPARE(sheet->nowLabel()->text(), QStringLiteral("Now %1").arg(QLocale().toString(current, 'f', 3)));
        QCOMPARE(sheet->changeLabel()->text(), QStringLiteral("Change 0"));
        QVERIFY(!sheet->hasChanges());
        QVERIFY(!sheet->applyButton()->isEnabled() && !sheet->copyButton()->isEnabled());
        QCOMPARE(sheet->targetField()->accessibleName(), QStringLiteral("Target UMF for S i O 2"));
        QCOMPARE(sheet->stepper()->accessibleName(), QStringLiteral("Change the target by 0.05"));

        // The base's oxides come first, then a divider, then the others: no boron here.
        QComboBox* picker = sheet->oxidePicker();
        QCOMPARE(QAccessible::queryAccessibleInterface(picker)->text(QAccessible::Name), QStringLiteral("Oxide"));
        const int boron = picker->findData(int(Oxide::B2O3));
        const int divider = picker->findText(QString());
        QVERIFY(divider > 0 && boron > divider && picker->findData(int(Oxide::K2O)) < divider);

        emit sheet->stepper()->incremented();
        QVERIFY(std::abs(sheet->target() - (current + 0.05)) < 1e-12);
        QCOMPARE(sheet->changeLabel()->text(), QStringLiteral("Change +0.050"));
        QVERIFY(sheet->hasChanges());
        sheet->setTarget(49.98);
        emit sheet->stepper()->incremented();
        QCOMPARE(sheet->target(), 50.0);
        QVERIFY(!sheet->stepper()->upButton()->isEnabled());
        typeInto(sheet->targetField(), QStringLiteral("60"));
        QCOMPARE(sheet->target(), 60.0);
        typeInto(sheet->targetField(), QStringLiteral("abc"));
        QCOMPARE(sheet->target(), 50.0); // back to where the edit began

        // Escape cancels; Return applies, also from the target field, with the target just typed.
        const GlazeCore::GlazeBook book = document.book();
        QTest::keyClick(sheet, Qt::Key_Escape);
        QVERIFY(!sheet->isVisible());
        QVERIFY(document.book() == book);
        OrzaTest::settle();
        sheet = OxideNudgeSheet::open(window->paneContext(), id, NudgeRequest{});
        QVERIFY(OrzaTest::showActive(*sheet));
        sheet->targetField()->setFocus();
        sheet->targetField()->selectAll();
        QTest::keyClicks(sheet->targetField(), QLocale().toString(current + 0.1, 'f', 3));
        QTest::keyClick(sheet->targetField(), Qt::Key_Return);
        QVERIFY(!sheet->isVisible());
        QVERIFY(std::abs(baseUmf(document, id, Oxide::SiO2) - std::round((current + 0.1) * 1000) / 1000) < 1e-6);
    }

    // The target is read as the potter's locale writes numbers: 0.35 in German is no number, where it was 35.
    void targetReadsNumbersOfTheLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("target");
        QTest::addColumn<bool>("refused");
        QTest::newRow("en") << "en_US"
                            << "0.35" << 0.35 << false;
        QTest::newRow("en comma") << "en_US"
                                  << "0,35" << 0.0 << true;
        QTest::newRow("de") << "de_DE"
                            << "0,35" << 0.35 << false;
        QTest::newRow("de full stop") << "de_DE"
                                      << "0.35" << 0.0 << true;
        QTest::newRow("fr") << "fr_FR"
                            << "0,35" << 0.35 << false;
        QTest::newRow("fr full stop") << "fr_FR"
                                      << "0.35" << 0.0 << true;
        QTest::newRow("ch") << "de_CH"
                            << "0.35" << 0.35 << false;
        QTest::newRow("ch comma") << "de_CH"
                                  << "0,35" << 0.0 << true;
    }
    void targetReadsNumbersOfTheLocale() {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(double, target);
        QFETCH(bool, refused);
        QLocale::setDefault(QLocale(locale));
        auto window = OrzaTest::makeWindow(fiveRecipes());
        const GlazeCore::Uuid id = window->document()->book().recipes[2].id;
        OxideNudgeSheet* sheet = OxideNudgeSheet::open(window->paneContext(), id, NudgeRequest{});
        const double start = sheet->target();
        // The stepper reads as a spin box of the target, which its increase and decrease actions step.
        QAccessibleInterface* stepper = QAccessible::queryAccessibleInterface(sheet->stepper());
        QCOMPARE(stepper->role(), QAccessible::SpinBox);
        QCOMPARE(stepper->text(QAccessible::Value), QLocale().toString(start, 'f', 3));
        QVERIFY(stepper->valueInterface());
        QCOMPARE(stepper->valueInterface()->currentValue().toDouble(), start);
        stepper->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        QVERIFY(std::abs(sheet->target() - (start + 0.05)) < 1e-12);
        QVERIFY(std::abs(stepper->valueInterface()->currentValue().toDouble() - (start + 0.05)) < 1e-12);
        stepper->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
        QCOMPARE(stepper->valueInterface()->currentValue().toDouble(), sheet->target());
        sheet->setTarget(start);

        typeInto(sheet->targetField(), typed);
        // A refused text keeps the target the sheet had, even while it stands.
        QCOMPARE(sheet->target(), refused ? start : target);
        QCOMPARE(stepper->valueInterface()->currentValue().toDouble(), sheet->target());
        QCOMPARE(sheet->targetField()->text(), typed);
        QCOMPARE(sheet->targetField()->accessibleDescription().isEmpty(), !refused);
        // Return over a refused text takes the target back and applies nothing.
        if (refused) {
            QTest::keyClick(sheet->targetField(), Qt::Key_Return);
            QVERIFY(sheet->isVisible());
            QCOMPARE(sheet->target(), start);
        }
        QTest::keyClick(sheet, Qt::Key_Escape);
    }

    // No base material supplies the oxide: the sheet names at most four that do; adding one solves, and
    // choosing another oxide drops it again.
    void suggestionsWhenNothingSuppliesTheOxide() {
        GlazeCore::GlazeBook book;
        book.recipes.push_back({GlazeCore::Uuid::random(),
                                "Lime",
                                "6",
                                {line("whiting", 20), line("kaolin", 30), line("silica", 50)},
                                ""});
        auto window = OrzaTest::makeWindow(book);
        const GlazeCore::Uuid id = book.recipes[0].id;
        OxideNudgeSheet* sheet =
            OxideNudgeSheet::open(window->paneContext(), id, NudgeRequest{GlazeCore::Uuid::random(), Oxide::B2O3, 1});
        QCOMPARE(sheet->target(), 0.05);
        QVERIFY(!sheet->adjustment());
        QCOMPARE(sheet->failureLabel()->text(),
                 QStringLiteral("No base material in this recipe contains B\u2082O\u2083. Oxide Nudge changes only "
                                "base materials, not additions. Add a base material that supplies it."));
        QVERIFY(!sheet->applyButton()->isEnabled() && !sheet->copyButton()->isEnabled());
        QVERIFY(!sheet->suggestionNote()->isHidden());
        QCOMPARE(sheet->suggestionNote()->text(), QStringLiteral("Add one of these materials to the calculation:"));
        const auto buttons = sheet->suggestionButtons();
        QCOMPARE(buttons.size(), std::size_t(4)); // six materials supply boron
        QCOMPARE(buttons[0]->text(), QStringLiteral("Add Boric acid"));

        buttons[0]->click();
        QCOMPARE(sheet->extras(), (std::vector<std::string>{"boric-acid"}));
        QVERIFY(sheet->adjustment());
        QVERIFY(sheet->summary()->isVisibleTo(sheet));
        QVERIFY(sheet->applyButton()->isEnabled());

        sheet->setOxide(Oxide::SiO2);
        QVERIFY(sheet->extras().empty());
        QCOMPARE(sheet->target(), sheet->currentValue());
        // A failure of another kind offers nothing to add.
        sheet->setOxide(Oxide::CaO);
        sheet->setTarget(1.5);
        QVERIFY(!sheet->adjustment());
        QVERIFY(sheet->suggestionNote()->isHidden());
    }

    // The recipe pane opens the sheet from the menu command and from the chemistry panel's arrows, and the
    // menus come back when it closes.
    void openedFromTheRecipePane() {
        auto window = OrzaTest::makeWindowWithMenus(GlazeCore::SampleBook::makeBook());
        BookDocument& document = *window->document();
        const GlazeCore::Uuid id = document.book().recipes[0].id;
        window->model()->setSelection(SidebarItem::recipe(id));
        auto* pane = qobject_cast<RecipePane*>(window->detail());
        QVERIFY(pane && pane->chemistryPanel()->offersNudge());
        QAction* command = window->actions()->action(Command::oxideNudge);
        QVERIFY(command->isEnabled());

        command->trigger();
        auto* sheet = window->findChild<OxideNudgeSheet*>();
        QVERIFY(sheet && sheet->isVisible());
        QCOMPARE(sheet->oxide(), Oxide::SiO2);
        QCOMPARE(sheet->target(), baseUmf(document, id, Oxide::SiO2));
        QVERIFY(!command->isEnabled());
        sheet->cancelButton()->click();
        QVERIFY(!window->model()->nudge());
        QVERIFY(command->isEnabled());
        OrzaTest::settle();

        const double alumina = baseUmf(document, id, Oxide::Al2O3);
        emit pane->chemistryPanel()->nudgeRequested(Oxide::Al2O3, -1);
        sheet = window->findChild<OxideNudgeSheet*>();
        QVERIFY(sheet && sheet->isVisible());
        QCOMPARE(window->model()->nudge()->direction, -1);
        QCOMPARE(sheet->oxide(), Oxide::Al2O3);
        QCOMPARE(sheet->target(), std::round(std::max(0.0, alumina - 0.05) * 1000) / 1000);
        window->model()->setNudge(std::nullopt);
        QVERIFY(!sheet->isVisible());
    }

    // Undo after a nudge: the pane's chart still says what its trail is, and undoing a copy shows the recipe now
    // at its place, as any deletion of the selected recipe does.
    void undoingANudgeInThePane() {
        auto window = OrzaTest::makeWindowWithMenus(GlazeCore::SampleBook::makeBook());
        BookDocument& document = *window->document();
        const GlazeCore::Uuid id = document.book().recipes[1].id;
        window->model()->setSelection(SidebarItem::recipe(id));
        auto* pane = qobject_cast<RecipePane*>(window->detail());
        const QString trailSentence = QStringLiteral(" The dashed line shows the last 5 edits.");

        OxideNudgeSheet::open(window->paneContext(), id, NudgeRequest{GlazeCore::Uuid::random(), Oxide::SiO2, 1})
            ->applyButton()
            ->click();
        pane->refreshNow();
        QVERIFY(pane->chart()->footnoteText().endsWith(trailSentence));
        document.undoStack()->undo();
        pane->refreshNow();
        QVERIFY(pane->chart()->footnoteText().endsWith(trailSentence));
        QCOMPARE(pane->chart()->input().trail.size(), std::size_t(2));

        OxideNudgeSheet::open(window->paneContext(), id, NudgeRequest{GlazeCore::Uuid::random(), Oxide::SiO2, 1})
            ->copyButton()
            ->click();
        QVERIFY(window->model()->selection() != SidebarItem::recipe(id));
        const GlazeCore::Uuid after = document.book().recipes[3].id;
        document.undoStack()->undo();
        QCOMPARE(window->model()->selection(), std::optional(SidebarItem::recipe(after)));
        // Redo brings the copy back and leaves the selection; deleting a selected recipe selects the one in its place.
        document.undoStack()->redo();
        QCOMPARE(window->model()->selection(), std::optional(SidebarItem::recipe(after)));
        const GlazeCore::Uuid copyID = document.book().recipes[2].id;
        window->model()->setSelection(SidebarItem::recipe(copyID));
        document.removeRecipe(copyID);
        QCOMPARE(window->model()->selection(), std::optional(SidebarItem::recipe(document.book().recipes[2].id)));
    }
};

QTEST_MAIN(OxideNudgeSheetTest)
#include "OxideNudgeSheetTest.moc"
