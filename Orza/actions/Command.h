#pragma once

namespace Orza {

/// Every command a book window offers: each is one row of the CommandTable and one QAction of the window's
/// ActionRegistry. Nothing depends on their order here but commandCount, which needs blendMenu last.
enum class Command {
    // File
    newBook,
    open,
    close,
    save,
    saveAs,
    revert,
    pageSetup,
    printBatchSheet,
    quit,
    // Edit
    undo,
    redo,
    cut,
    copy,
    paste,
    deleteSelection,
    selectAll,
    // View
    toggleToolbar,
    customizeToolbar,
    toggleSidebar,
    toggleChemistry,
    showRecipes,
    showTests,
    showMaterials,
    // Recipe
    addRecipe,
    renameRecipe,
    duplicateRecipe,
    deleteRecipe,
    addMaterial,
    oxideNudge,
    replaceMaterial,
    lineBlend,
    triaxialBlend,
    gridBlend,
    batchSheet,
    // Tests
    addTest,
    findTest,
    printLabels,
    // Help
    help,
    support,
    privacy,
    openSample,
    // The toolbar's blend item: a menu of the three blend commands.
    blendMenu,
};

inline constexpr int commandCount = int(Command::blendMenu) + 1;

} // namespace Orza
