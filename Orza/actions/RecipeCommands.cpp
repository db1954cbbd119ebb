#include "Orza/actions/RecipeCommands.h"

#include "GlazeCore/book/BookPage.h"
#include "Orza/actions/FocusedValues.h"
#include "Orza/platform/PrintInfo.h"

#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace Orza {

namespace {

using Run = std::function<void()>;
/// The closure an item calls with the bundles as they are now; empty when the item cannot act.
using Resolve = std::function<Run(const FocusedValues&)>;

QAction* addCommand(QMenu& menu, FocusedValues& focused, const QString& title, const QKeySequence& keys,
                    Resolve resolve) {
    QAction* action = menu.addAction(title);
    action->setShortcut(keys);
    QPointer<FocusedValues> values(&focused);
    const auto update = [action, values, resolve] { action->setEnabled(values && resolve(*values)); };
    QObject::connect(&focused, &FocusedValues::changed, action, update);
    // A shortcut needs the enabled state at once; the menu checks again when it opens.
    QObject::connect(&menu, &QMenu::aboutToShow, action, update);
    QObject::connect(action, &QAction::triggered, action, [values, resolve] {
        if (!values) return;
        if (const Run run = resolve(*values)) run();
    });
    update();
    return action;
}

template <typename Pick> Resolve fromBook(Pick pick) {
    return [pick](const FocusedValues& focused) -> Run {
        const auto book = focused.bookActions();
        return book ? Run(pick(*book)) : Run();
    };
}

template <typename Pick> Resolve fromSelected(Pick pick) {
    return fromBook([pick](const BookActions& book) { return book.selected ? Run(pick(*book.selected)) : Run(); });
}

template <typename Pick> Resolve fromRecipe(Pick pick) {
    return [pick](const FocusedValues& focused) -> Run {
        const auto recipe = focused.recipeActions();
        return recipe ? Run(pick(*recipe)) : Run();
    };
}

Resolve blend(BlendMode mode) {
    return fromRecipe([mode](const RecipeActions& recipe) -> Run {
        if (!recipe.blend) return {};
        return [mode, run = recipe.blend] { run(mode); };
    });
}

QKeySequence keys(QKeyCombination combination) {
    return QKeySequence(combination);
}

} // namespace

QMenu* RecipeCommands::install(QMenuBar& bar, FocusedValues& focused) {
    QMenu* menu = bar.addMenu(QObject::tr("&Recipe"));
    addCommand(*menu, focused, QObject::tr("Add Recipe"), keys(Qt::CTRL | Qt::ALT | Qt::Key_N),
               fromBook([](const BookActions& book) { return book.addRecipe; }));
    addCommand(*menu, focused, QObject::tr("Rename Recipe\u2026"), {},
               fromSelected([](const SelectedRecipeActions& selected) { return selected.rename; }));
    addCommand(*menu, focused, QObject::tr("Duplicate Recipe"), keys(Qt::CTRL | Qt::Key_D),
               fromSelected([](const SelectedRecipeActions& selected) { return selected.duplicate; }));
    addCommand(*menu, focused, QObject::tr("Delete Recipe\u2026"), keys(Qt::CTRL | Qt::Key_Backspace),
               fromSelected([](const SelectedRecipeActions& selected) { return selected.deleteRecipe; }));
    menu->addSeparator();
    addCommand(*menu, focused, QObject::tr("Add Material"), keys(Qt::CTRL | Qt::SHIFT | Qt::Key_L),
               fromRecipe([](const RecipeActions& recipe) { return recipe.addMaterial; }));
    menu->addSeparator();
    addCommand(*menu, focused, QObject::tr("Oxide Nudge\u2026"), {},
               fromRecipe([](const RecipeActions& recipe) { return recipe.nudge; }));
    addCommand(*menu, focused, QObject::tr("Replace Material\u2026"), {},
               fromRecipe([](const RecipeActions& recipe) { return recipe.replaceMaterial; }));
    menu->addSeparator();
    addCommand(*menu, focused, QObject::tr("Line Blend\u2026"), {}, blend(BlendMode::line));
    addCommand(*menu, focused, QObject::tr("Triaxial Blend\u2026"), keys(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
               blend(BlendMode::triaxial));
    addCommand(*menu, focused, QObject::tr("Four-Corner Grid\u2026"), {}, blend(BlendMode::grid));
    menu->addSeparator();
    addCommand(*menu, focused, QObject::tr("Batch Sheet\u2026"), keys(Qt::CTRL | Qt::SHIFT | Qt::Key_B),
               fromRecipe([](const RecipeActions& recipe) { return recipe.batchSheet; }));
    return menu;
}

QMenu* TestsCommands::install(QMenuBar& bar, FocusedValues& focused) {
    QMenu* menu = bar.addMenu(QObject::tr("&Tests"));
    addCommand(*menu, focused, QObject::tr("Add Test"), {},
               fromBook([](const BookActions& book) { return book.addTest.value_or(nullptr); }));
    addCommand(*menu, focused, QObject::tr("Find Test\u2026"), keys(Qt::CTRL | Qt::ALT | Qt::Key_F),
               fromBook([](const BookActions& book) { return book.findTest; }));
    menu->addSeparator();
    addCommand(*menu, focused, QObject::tr("Print Labels\u2026"), {},
               fromBook([](const BookActions& book) { return book.printLabels.value_or(nullptr); }));
    return menu;
}

void PageCommands::install(QMenu& view, FocusedValues& focused) {
    view.addSeparator();
    for (const GlazeCore::BookPage page : GlazeCore::BookPage::allCases()) {
        const QString key = QString::fromStdString(page.shortcutKey());
        addCommand(view, focused, QString::fromUtf8(page.title().data(), qsizetype(page.title().size())),
                   QKeySequence(QStringLiteral("Ctrl+") + key, QKeySequence::PortableText),
                   fromBook([page](const BookActions& book) -> Run {
                       if (!book.showPage) return {};
                       return [page, run = book.showPage] { run(page); };
                   }));
    }
}

void PrintCommands::install(QMenu& file, FocusedValues& focused) {
    QPointer<QMenu> menu(&file);
    addCommand(file, focused, QObject::tr("Page Setup\u2026"), keys(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
               [menu](const FocusedValues&) -> Run {
                   return [menu] { PrintInfo::runPageLayout(menu ? menu->parentWidget() : nullptr); };
               });
    addCommand(file, focused, QObject::tr("Print Batch Sheet\u2026"), keys(Qt::CTRL | Qt::Key_P),
               fromRecipe([](const RecipeActions& recipe) { return recipe.printBatchSheet; }));
}

} // namespace Orza
