#include "Orza/help/HelpWindow.h"

#include "Orza/actions/CommandTable.h"
#include "Orza/display/NumberDisplay.h"
#include "Orza/platform/AccessibleHeading.h"
#include "Orza/platform/ExactWindowTitle.h"
#include "Orza/platform/FitWindowToScreen.h"
#include "Orza/platform/GlazeMainApp.h"
#include "Orza/platform/KeyboardScroll.h"
#include "Orza/widgets/AccessibleOneElement.h"
#include "Orza/widgets/LinkLabel.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace Orza {

namespace {

QPointer<HelpWindow>& theWindow() {
    static QPointer<HelpWindow> window;
    return window;
}

QFont scaledFont(QFont font, double scale, QFont::Weight weight) {
    if (font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * scale);
    font.setWeight(weight);
    return font;
}

/// A topic's title and text can be selected and copied.
constexpr Qt::TextInteractionFlags selectable = Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard;

QWidget* topicGroup(const HelpWindow::Topic& topic, const QFont& titleFont) {
    auto* group = new QWidget;
    group->setObjectName(topic.id);
    auto* title = new QLabel(topic.title);
    title->setTextFormat(Qt::PlainText);
    title->setFont(titleFont);
    title->setTextInteractionFlags(selectable);
    markAsHeading(title);
    auto* text = new QLabel(topic.text);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setTextInteractionFlags(selectable);
    text->setAlignment(Qt::AlignLeading | Qt::AlignTop);

    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(title);
    layout->addWidget(text);
    return group;
}

} // namespace

std::vector<HelpWindow::Topic> HelpWindow::topics() {
    const QString name = GlazeMainApp::appName();
    return {
        {QStringLiteral("start"), tr("Getting started"),
         tr("On its first launch, %1 opens a sample book: six cone 6 base recipes and three test tiles that already "
            "carry the codes T-001 to T-003. Each time the sample opens, a note at the foot of its sidebar names "
            "three "
            "tools to try: Recipe > Replace Material, Recipe > Oxide Nudge and Tests > Find Test. After the first "
            "launch, %1 starts with a new untitled book instead. File > New makes another book, and Help > Open "
            "Sample "
            "Book shows the sample again. Each book is one file, saved wherever you like.")
             .arg(name)},
        {QStringLiteral("recipes"), tr("Recipes and chemistry"),
         tr("Add a recipe with the + button or with Recipe > Add Recipe. In each row, choose a material and type its "
            "amount. Mark colorants and opacifiers as additions, so that they stay outside the base recipe. The "
            "chemistry pane shows the unity molecular formula (UMF), mole and weight percent, the silica to alumina "
            "ratio, an estimate of thermal expansion, and a check of each oxide against the reference range set you "
            "choose. The ranges are there for comparison; they are not a safety rating.")},
        {QStringLiteral("nudge"), tr("Oxide Nudge"),
         tr("Open Oxide Nudge from Recipe > Oxide Nudge, with its toolbar button, or with the small arrows beside a "
            "UMF value. Pick an oxide and type a target UMF, or step the target up or down by %2. %1 then changes "
            "the amounts of the materials already in the recipe so that the oxide reaches the target, when those "
            "materials can reach it; the other oxides stay as close as they allow, and where several answers would "
            "do, %1 takes the one that changes the amounts least. No amount goes below 0. For a flux oxide, the other "
            "fluxes keep their ratios to each other and share the rest of the unity. The sheet shows the old and new "
            "amounts, each oxide before and after, both points on the Stull chart, how far the result misses, and "
            "materials to add when no base material holds the oxide. The arrows do not show while \u201cInclude "
            "additions in chemistry\u201d is on, and a recipe with only one flux oxide has no arrows on it. Apply "
            "changes the recipe, and Edit > Undo takes the change back. Apply as Copy adds a new recipe instead, its "
            "base scaled to 100 and its additions unchanged and not counted.")
             .arg(name, formatDoublePlaces(2, 0.05))},
        {QStringLiteral("replace"), tr("Replace Material"),
         tr("Open Replace Material from Recipe > Replace Material, with its toolbar button, or from a row's context "
            "menu. Pick the base material to replace and the material to use instead. %1 works out an amount for the "
            "new material and new amounts for the other base materials that keep the unity formula as close as those "
            "materials allow, with the smallest change to the other amounts. The base total can therefore change; "
            "Normalize Base to 100 scales it back. The sheet says by how much an oxide misses. When no remaining "
            "material supplies a flux oxide, the new material takes about the old one's share of the flux, and the "
            "sheet names the missing oxide. Save as New Recipe keeps the old recipe and its test log entries. To work "
            "with a supplier's analysis, add it to %1 as a custom material first. A matching unity formula does not "
            "promise the same glaze, so test the new recipe on tiles.")
             .arg(name)},
        {QStringLiteral("stull"), tr("The Stull chart"),
         tr("The Stull chart plots silica against alumina, both in UMF, over the regions of Stull's chart of 1912, "
            "each region named on the plot. Stull fired at cone 11 and without boron, so the chart is a rough guide, "
            "the more so for a glaze with boron. The dashed line shows where the glaze stood over its last five "
            "edits.")},
        {QStringLiteral("blends"), tr("Blends"),
         tr("Line Blend, Triaxial Blend and Four-Corner Grid make tiles between two, three or four recipes, each tile "
            "with its own recipe and chemistry. The tiles can be added to the book as recipes and as test log "
            "entries; the entries get tile codes in blend order.")},
        {QStringLiteral("batch"), tr("Batch sheets and printing"),
         tr("The batch sheet scales a recipe to the batch weight you type and rounds each weight to your scale's "
            "precision. It prints the sheet or saves it as a PDF. File > Print Batch Sheet prints with the weight and "
            "precision you used last.")},
        {QStringLiteral("tests"), tr("The test log"),
         tr("The Tests page (in the sidebar, or View > Tests, %1) logs each tile with its recipe, cone, atmosphere, "
            "firing schedule, notes and photo. Tests > Add Test adds a tile. The ramp chart draws the firing "
            "schedule. The book keeps a link to the photo file, not a copy of it.")
             .arg(CommandTable::shortcutText(Command::showTests))},
        {QStringLiteral("tilecodes"), tr("Tile codes, labels and search"),
         tr("Every tile gets a short code (T-001, T-002 \u2026) to write on its back; the code stands in the first "
            "column of the test log. A code changed in the Code field is used as typed, or refused with the reason "
            "while the old code stays. A code has at most 12 characters (letters, digits, spaces and - _ . / # +), "
            "is unique in the book, and is compared without regard to case. Codes of deleted tiles, or of an undone "
            "Add Test, are never given out again. Books from earlier versions get codes in tile order when they "
            "open, with a note in the sidebar, and keep them with the next save. A book with tile codes is saved in "
            "a newer file format that %1 1.2 and earlier cannot open. Find Test (%2 or the toolbar button) searches "
            "by code, recipe, material, words of the notes or date (for example 2026-09); a full code selects its "
            "tile, and \u201ccone 6\u201d finds only the tiles fired to cone 6. The cone and atmosphere menus narrow "
            "the list. Print Labels prints code, recipe, cone, atmosphere and date on a Letter sheet of 30 labels "
            "(2\u215d \u00d7 1 in) or an A4 sheet of 21 labels (%3 \u00d7 %4 mm), for all tiles, the tiles shown "
            "or the selected tile, starting at any label of the sheet. Print at 100 % and try plain paper first. "
            "Export PDF\u2026 saves the labels.")
             .arg(name, CommandTable::shortcutText(Command::findTest), formatDouble(63.5), formatDouble(38.1))},
        {QStringLiteral("materials"), tr("Materials"),
         tr("The Materials page (in the sidebar, or View > Materials, %1) lists the book's materials. The built-in "
            "materials are read-only, and each names its source. To change one, duplicate it as a custom material; "
            "or add a material of your own with its oxide analysis, loss on ignition and source. Custom materials are "
            "saved in the book.")
             .arg(CommandTable::shortcutText(Command::showMaterials))},
    };
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("help"));
    const QString name = GlazeMainApp::appName();
    setWindowTitle(tr("%1 Help").arg(name));
    new ExactWindowTitle(this);
    // A plain widget made a window reads as a filler; a reader lists it among the windows by this role.
    giveAccessibleRole(this, QAccessible::Window);
    // The books are the application; an open help window alone does not keep it running.
    setAttribute(Qt::WA_QuitOnClose, false);
    setMinimumSize(minimumContentSize);
    const QScreen* screen = QGuiApplication::primaryScreen();
    resize(FitWindowToScreen::fittingSize(defaultSize, screen ? screen->availableGeometry() : QRect(), this));
    new FitWindowToScreen(this);
    // Closed as a help window is: Escape or the Close key.
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)}) {
        auto* close = new QAction(this);
        close->setShortcut(keys);
        connect(close, &QAction::triggered, this, &QWidget::close);
        addAction(close);
    }

    // The heading and the support line stay on top; the topics scroll under them, and with no control among
    // them, the keyboard scrolls them once Tab has come to them.
    auto* header = new QWidget;
    header->setMaximumWidth(maximumColumnWidth);
    auto* top = new QVBoxLayout(header);
    top->setContentsMargins(24, 24, 24, 6);
    top->setSpacing(18);

    m_heading = new QLabel(tr("%1 Help").arg(name));
    m_heading->setFont(scaledFont(font(), 1.7, QFont::DemiBold));
    markAsHeading(m_heading);
    top->addWidget(m_heading);

    QFont callout = scaledFont(font(), 0.92, QFont::Normal);
    auto* pointer = new QLabel(tr("More answers are on the support page."));
    pointer->setFont(callout);
    pointer->setForegroundRole(QPalette::PlaceholderText);
    m_supportLink = new LinkLabel(GlazeMainApp::supportPage().toString(), tr("Open the Support Page"));
    m_supportLink->setFont(callout);
    m_supportLink->setToolTip(GlazeMainApp::supportPage().toString());
    connect(m_supportLink, &QLabel::linkActivated, this,
            [this] { GlazeMainApp::openPage(GlazeMainApp::supportPage(), this); });
    auto* supportRow = new QHBoxLayout;
    supportRow->setSpacing(6);
    supportRow->addWidget(pointer, 0, Qt::AlignVCenter);
    supportRow->addWidget(m_supportLink, 0, Qt::AlignVCenter);
    supportRow->addStretch(1);
    top->addLayout(supportRow);

    m_column = new QWidget;
    m_column->setMaximumWidth(maximumColumnWidth);
    auto* column = new QVBoxLayout(m_column);
    column->setContentsMargins(24, 12, 24, 24);
    column->setSpacing(18);

    const QFont titleFont = scaledFont(font(), 1.15, QFont::DemiBold);
    for (const Topic& topic : topics())
        column->addWidget(topicGroup(topic, titleFont));
    column->addStretch(1);

    auto* content = new QWidget;
    auto* row = new QHBoxLayout(content);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_column, 1);
    row->addStretch(0);

    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    scroll->setBackgroundRole(QPalette::Base);
    scroll->setAccessibleName(tr("Help topics"));
    KeyboardScroll::keep(scroll);

    // The window's background is the page's, above the topics as beside them.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(scroll, 1);
}

HelpWindow* HelpWindow::showHelp() {
    QPointer<HelpWindow>& window = theWindow();
    if (!window) {
        window = new HelpWindow;
        if (qApp) connect(qApp, &QCoreApplication::aboutToQuit, window, [w = window.data()] { delete w; });
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

HelpWindow* HelpWindow::existing() {
    return theWindow();
}

} // namespace Orza
