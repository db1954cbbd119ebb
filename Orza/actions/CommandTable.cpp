#include "Orza/actions/CommandTable.h"

#include "Orza/platform/GlazeMainApp.h"

#include <algorithm>

namespace Orza {

const std::vector<CommandInfo>& CommandTable::all() {
    using C = Command;
    using Page = GlazeCore::BookPage;
    constexpr auto ctrl = Qt::CTRL;
    constexpr auto shift = Qt::SHIFT;
    constexpr auto alt = Qt::ALT;
    // clang-format off
    static const std::vector<CommandInfo> table{
        // File
        {.command = C::newBook, .title = QT_TR_NOOP("New"), .standardKey = QKeySequence::New, .needs = Needs::nothing},
        {.command = C::open, .title = QT_TR_NOOP("Open\u2026"), .standardKey = QKeySequence::Open, .needs = Needs::nothing},
        {.command = C::close, .title = QT_TR_NOOP("Close"), .standardKey = QKeySequence::Close, .needs = Needs::nothing},
        {.command = C::save, .title = QT_TR_NOOP("Save"), .standardKey = QKeySequence::Save, .needs = Needs::nothing},
        {.command = C::saveAs, .title = QT_TR_NOOP("Save As\u2026"), .keys = {ctrl | shift | Qt::Key_S}, .needs = Needs::nothing},
        {.command = C::revert, .title = QT_TR_NOOP("Revert to Saved"), .needs = Needs::savedChanges},
        {.command = C::pageSetup, .title = QT_TR_NOOP("Page Setup\u2026"), .keys = {ctrl | shift | Qt::Key_P}, .needs = Needs::nothing},
        {.command = C::printBatchSheet, .title = QT_TR_NOOP("Print Batch Sheet\u2026"), .keys = {ctrl | Qt::Key_P}},
        {.command = C::quit, .title = QT_TR_NOOP("Quit"), .standardKey = QKeySequence::Quit, .needs = Needs::nothing,
         .menuRole = QAction::QuitRole},
        // Edit
        {.command = C::undo, .title = QT_TR_NOOP("Undo"), .standardKey = QKeySequence::Undo, .needs = Needs::handlerAnyTime},
        {.command = C::redo, .title = QT_TR_NOOP("Redo"), .keys = {ctrl | shift | Qt::Key_Z, ctrl | Qt::Key_Y},
         .needs = Needs::handlerAnyTime},
        {.command = C::cut, .title = QT_TR_NOOP("Cut"), .standardKey = QKeySequence::Cut, .needs = Needs::handlerAnyTime},
        {.command = C::copy, .title = QT_TR_NOOP("Copy"), .standardKey = QKeySequence::Copy, .needs = Needs::handlerAnyTime},
        {.command = C::paste, .title = QT_TR_NOOP("Paste"), .standardKey = QKeySequence::Paste, .needs = Needs::handlerAnyTime},
        {.command = C::deleteSelection, .title = QT_TR_NOOP("Delete"), .standardKey = QKeySequence::Delete,
         .needs = Needs::handlerAnyTime},
        {.command = C::selectAll, .title = QT_TR_NOOP("Select All"), .standardKey = QKeySequence::SelectAll,
         .needs = Needs::handlerAnyTime},
        // View
        {.command = C::toggleToolbar, .title = QT_TR_NOOP("Hide Toolbar"), .offTitle = QT_TR_NOOP("Show Toolbar"),
         .keys = {ctrl | alt | Qt::Key_T}, .needs = Needs::nothing},
        {.command = C::customizeToolbar, .title = QT_TR_NOOP("Customize Toolbar\u2026"), .needs = Needs::nothing},
        {.command = C::toggleSidebar, .title = QT_TR_NOOP("Hide Sidebar"), .offTitle = QT_TR_NOOP("Show Sidebar"),
         .keys = {ctrl | Qt::META | Qt::Key_S}, .needs = Needs::nothing},
        {.command = C::toggleChemistry, .title = QT_TR_NOOP("Hide Chemistry"), .offTitle = QT_TR_NOOP("Show Chemistry"),
         .keys = {ctrl | alt | Qt::Key_I}, .needs = Needs::handlerAnyTime},
        {.command = C::showRecipes, .page = Page::recipes},
        {.command = C::showTests, .page = Page::tests},
        {.command = C::showMaterials, .page = Page::materials},
        // Recipe
        {.command = C::addRecipe, .title = QT_TR_NOOP("Add Recipe"), .keys = {ctrl | alt | Qt::Key_N}},
        {.command = C::renameRecipe, .title = QT_TR_NOOP("Rename Recipe\u2026"), .shortTitle = QT_TR_NOOP("Rename\u2026")},
        {.command = C::duplicateRecipe, .title = QT_TR_NOOP("Duplicate Recipe"), .shortTitle = QT_TR_NOOP("Duplicate"),
         .keys = {ctrl | Qt::Key_D}},
        {.command = C::deleteRecipe, .title = QT_TR_NOOP("Delete Recipe\u2026"), .shortTitle = QT_TR_NOOP("Delete\u2026"),
         .keys = {ctrl | Qt::Key_Backspace}},
        {.command = C::addMaterial, .title = QT_TR_NOOP("Add Material"), .keys = {ctrl | shift | Qt::Key_L}},
        {.command = C::oxideNudge, .title = QT_TR_NOOP("Oxide Nudge\u2026"), .shortTitle = QT_TR_NOOP("Oxide Nudge")},
        {.command = C::replaceMaterial, .title = QT_TR_NOOP("Replace Material\u2026"),
         .shortTitle = QT_TR_NOOP("Replace Material")},
        {.command = C::lineBlend, .title = QT_TR_NOOP("Line Blend\u2026")},
        {.command = C::triaxialBlend, .title = QT_TR_NOOP("Triaxial Blend\u2026"), .keys = {ctrl | shift | Qt::Key_T}},
        {.command = C::gridBlend, .title = QT_TR_NOOP("Four-Corner Grid\u2026")},
        {.command = C::batchSheet, .title = QT_TR_NOOP("Batch Sheet\u2026"), .shortTitle = QT_TR_NOOP("Batch Sheet"),
         .keys = {ctrl | shift | Qt::Key_B}},
        // Tests
        {.command = C::addTest, .title = QT_TR_NOOP("Add Test")},
        {.command = C::findTest, .title = QT_TR_NOOP("Find Test\u2026"), .shortTitle = QT_TR_NOOP("Find Test"),
         .keys = {ctrl | alt | Qt::Key_F}},
        {.command = C::printLabels, .title = QT_TR_NOOP("Print Labels\u2026")},
        // Help
        {.command = C::help, .title = QT_TR_NOOP("%1 Help"), .namesApp = true, .hint = QT_TR_NOOP("Opens the help window"),
         .keys = {ctrl | Qt::Key_Question}, .needs = Needs::nothing},
        {.command = C::support, .title = QT_TR_NOOP("%1 Support"), .namesApp = true,
         .hint = QT_TR_NOOP("Opens the support page in your web browser"), .needs = Needs::nothing},
        {.command = C::privacy, .title = QT_TR_NOOP("Privacy Policy"),
         .hint = QT_TR_NOOP("Opens the privacy policy in your web browser"), .needs = Needs::nothing},
        {.command = C::openSample, .title = QT_TR_NOOP("Open Sample Book"),
         .hint = QT_TR_NOOP("Opens a new untitled book with six sample cone 6 recipes"), .needs = Needs::nothing},
        // The toolbar's blend item: a menu of the three blend commands.
        {.command = C::blendMenu, .title = QT_TR_NOOP("Blend"), .needs = Needs::anyOfMenu,
         .menu = {C::lineBlend, C::triaxialBlend, C::gridBlend}},
    };
    // clang-format on
    return table;
}

const CommandInfo& CommandTable::of(Command command) {
    static const std::vector<const CommandInfo*> byCommand = [] {
        std::vector<const CommandInfo*> index(commandCount, nullptr);
        for (const CommandInfo& info : all())
            index[std::size_t(info.command)] = &info;
        return index;
    }();
    return *byCommand[std::size_t(command)];
}

Command CommandTable::showing(GlazeCore::BookPage page) {
    const auto& table = all();
    return std::find_if(table.begin(), table.end(), [page](const CommandInfo& info) { return info.page == page; })
        ->command;
}

QString CommandTable::title(const CommandInfo& info, bool on) {
    if (info.page) return QString::fromUtf8(info.page->title().data(), qsizetype(info.page->title().size()));
    const QString text = tr(!on && info.offTitle ? info.offTitle : info.title);
    return info.namesApp ? text.arg(GlazeMainApp::appName()) : text;
}

QString CommandTable::shortTitle(const CommandInfo& info) {
    return info.shortTitle ? tr(info.shortTitle) : title(info);
}

QList<QKeySequence> CommandTable::shortcuts(const CommandInfo& info) {
    if (info.page)
        return {QKeySequence(QStringLiteral("Ctrl+") + QString::fromStdString(info.page->shortcutKey()),
                             QKeySequence::PortableText)};
    if (info.standardKey != QKeySequence::UnknownKey) return {QKeySequence(info.standardKey)};
    QList<QKeySequence> shortcuts;
    for (const QKeyCombination keys : info.keys)
        shortcuts << QKeySequence(keys);
    return shortcuts;
}

QString CommandTable::shortcutText(Command command) {
    return shortcuts(of(command)).value(0).toString(QKeySequence::NativeText);
}

} // namespace Orza
