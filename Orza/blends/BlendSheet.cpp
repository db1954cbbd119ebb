#include "Orza/blends/BlendSheet.h"

#include "GlazeCore/book/GlazeBookValidation.h"
#include "Orza/blends/TileCardGrid.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/document/BookItems.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/models/PaneContext.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/DialogKeys.h"
#include "Orza/platform/KeyboardScroll.h"
#include "Orza/platform/ScreenFit.h"
#include "Orza/platform/SystemBeep.h"
#include "Orza/sidebar/SidebarRows.h"
#include "Orza/widgets/AccessibleComboBox.h"
#include "Orza/widgets/ContentUnavailableView.h"
#include "Orza/widgets/Divider.h"
#include "Orza/widgets/OneLineText.h"
#include "Orza/widgets/SegmentedPicker.h"
#include "Orza/widgets/SheetOnScreen.h"
#include "Orza/widgets/SheetStyle.h"
#include "Orza/widgets/ShownTextKeys.h"
#include "Orza/widgets/WholeNumberStepper.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <chrono>

namespace Orza {

namespace {

constexpr int sheetMinimumWidth = 760;
constexpr int sheetMinimumHeight = 560;
constexpr int sheetIdealWidth = 920;
constexpr int sheetIdealHeight = 680;
constexpr int modePickerMaximumWidth = 420;
constexpr int cornerPickerMaximumWidth = 220;
constexpr int cornerPickerMinimumWidth = 100;
constexpr int prefixFieldMaximumWidth = 220;

int triaxialTileCount(int divisions) {
    return (divisions + 1) * (divisions + 2) / 2;
}

/// Why the book cannot take the tiles as they are, else none: a file must open again after it is saved.
std::optional<QString> cannotAdd(const BookDocument& document, const std::vector<BlendTile>& tiles, bool withTests) {
    namespace Limits = GlazeCore::GlazeBookValidation;
    const auto& book = document.book();
    const auto overflows = [&tiles](std::size_t held) { return held + tiles.size() > std::size_t(Limits::maxItems); };
    if (overflows(book.recipes.size()))
        return BlendSheet::tr("The book cannot hold %1 more recipes.").arg(tiles.size());
    if (withTests && overflows(book.tests.size()))
        return BlendSheet::tr("The book cannot hold %1 more test tiles.").arg(tiles.size());
    for (const BlendTile& tile : tiles) {
        try {
            Limits::checkRecipe(tile.recipe);
        } catch (const std::exception& error) {
            return QString::fromStdString(error.what());
        }
    }
    return std::nullopt;
}

} // namespace

BlendSheet::BlendSheet(BookDocument& document, const GlazeCore::Uuid& startRecipeID, BlendMode mode, QWidget* parent)
    : QDialog(parent), m_document(document) {
    const auto& recipes = document.book().recipes;
    m_choice.mode = mode;
    m_choice.corners = initialBlendCorners(recipes, startRecipeID);
    m_namePrefix = initialBlendPrefix(recipes, startRecipeID);
    setWindowTitle(tr("Blend"));
    setMinimumSize(sheetMinimumWidth, sheetMinimumHeight);
    build();
    refresh();
    ScreenFit::keep(this, QSize(sheetIdealWidth, sheetIdealHeight));
    connect(&document, &BookDocument::bookChanged, this, &BlendSheet::refresh);
    connect(&document, &BookDocument::libraryChanged, this, &BlendSheet::refresh);
}

BlendSheet* BlendSheet::open(const PaneContext& context, const GlazeCore::Uuid& startRecipeID, BlendMode mode) {
    WindowModel* model = &context.model;
    const auto make = [&] { return new BlendSheet(context.document, startRecipeID, mode, &context.host); };
    return openSheet<BlendSheet>(context.host, make,
                                 SheetFlag<WindowModel>{model, &WindowModel::blendModeChanged,
                                                        [model] { return model->blendMode().has_value(); },
                                                        [model, mode] { model->setBlendMode(mode); },
                                                        [model] { model->setBlendMode(std::nullopt); }});
}

void BlendSheet::build() {
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(12);
    auto* title = new QLabel(tr("Blend"));
    SheetStyle::styleAsTitle(title);
    layout->addWidget(title);
    layout->addWidget(makeControls());
    layout->addWidget(divider());
    layout->addWidget(makeTileArea(), 1);
    layout->addWidget(divider());
    layout->addWidget(makeFooter());
    // Return in a field adds the tiles on screen; a stepper spends it on ending its edit. Escape is the dialog's
    // own cancel, which closes.
    DialogKeys::follow(*this, *m_add);
    // The keyboard starts at the top, on the chosen blend type, not on the default button a dialog would pick.
    m_modes->button(int(m_choice.mode))->setFocus();
}

QWidget* BlendSheet::makeControls() {
    auto* controls = new QWidget;
    auto* column = new QVBoxLayout(controls);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);

    auto* modes = new QWidget;
    modes->setAccessibleName(tr("Blend type"));
    modes->setMaximumWidth(modePickerMaximumWidth);
    auto* modeRow = new QHBoxLayout(modes);
    modeRow->setContentsMargins(0, 0, 0, 0);
    modeRow->setSpacing(0);
    m_modes = new QButtonGroup(this);
    for (const BlendMode mode : allBlendModes) {
        auto* button = new QPushButton(tr(rawValue(mode).data()));
        button->setCheckable(true);
        button->setAccessibleDescription(tr("Blend type"));
        m_modes->addButton(button, int(mode));
        modeRow->addWidget(button, 1);
    }
    makeSegmentedPicker(modes, m_modes);
    connect(m_modes, &QButtonGroup::idClicked, this, [this](int id) { setMode(BlendMode(id)); });
    column->addWidget(modes);

    auto* corners = new QHBoxLayout;
    corners->setSpacing(16);
    for (int i = 0; i < 4; ++i) {
        auto* box = new QWidget;
        auto* pair = new QHBoxLayout(box);
        pair->setContentsMargins(0, 0, 0, 0);
        pair->setSpacing(6);
        auto* label = new QLabel;
        auto* picker = new QComboBox;
        picker->setMaximumWidth(cornerPickerMaximumWidth);
        picker->setMinimumWidth(cornerPickerMinimumWidth);
        picker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        label->setBuddy(picker);
        pair->addWidget(label);
        pair->addWidget(picker, 1);
        connect(picker, &QComboBox::activated, this, [this, i, picker](int index) {
            setCorner(
                i,
                GlazeCore::Uuid::parse(picker->itemData(index).toString().toStdString()).value_or(GlazeCore::Uuid()));
        });
        m_cornerLabels.push_back(label);
        m_cornerPickers.push_back(picker);
        m_cornerBoxes.push_back(box);
        corners->addWidget(box, 0, Qt::AlignTop);
    }
    corners->addStretch(1);
    column->addLayout(corners);

    m_resolution = new QStackedWidget;
    m_steps = makeStepper(blendStepsRange[0], blendStepsRange[1], tr("Steps"));
    m_steps->setPrefix(tr("Steps: "));
    connect(m_steps, &WholeNumberStepper::shownValueChanged, this, &BlendSheet::setSteps);
    m_divisions = makeStepper(blendDivisionsRange[0], blendDivisionsRange[1], tr("Divisions"));
    m_divisions->setPrefix(tr("Divisions: "));
    connect(m_divisions, &WholeNumberStepper::shownValueChanged, this, &BlendSheet::setDivisions);
    m_rows = makeStepper(blendSidesRange[0], blendSidesRange[1], tr("Rows"));
    m_rows->setPrefix(tr("Rows: "));
    connect(m_rows, &WholeNumberStepper::shownValueChanged, this, &BlendSheet::setRows);
    m_columns = makeStepper(blendSidesRange[0], blendSidesRange[1], tr("Columns"));
    m_columns->setPrefix(tr("Columns: "));
    connect(m_columns, &WholeNumberStepper::shownValueChanged, this, &BlendSheet::setColumns);

    const auto page = [](std::initializer_list<QWidget*> widgets, int spacing) {
        auto* holder = new QWidget;
        auto* row = new QHBoxLayout(holder);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(spacing);
        for (QWidget* widget : widgets)
            row->addWidget(widget);
        row->addStretch(1);
        return holder;
    };
    m_resolution->addWidget(page({m_steps}, 0));
    m_resolution->addWidget(page({m_divisions}, 0));
    m_resolution->addWidget(page({m_rows, m_columns}, 24));
    m_resolution->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    column->addWidget(m_resolution);
    return controls;
}

WholeNumberStepper* BlendSheet::makeStepper(int minimum, int maximum, const QString& accessibleName) {
    auto* stepper = new WholeNumberStepper(minimum, maximum);
    stepper->setValue(5);
    stepper->setAccessibleName(accessibleName);
    return stepper;
}

QWidget* BlendSheet::makeTileArea() {
    m_tileArea = new QStackedWidget;
    m_empty = new ContentUnavailableView(QStringLiteral("square.grid.3x3"), tr("No Tiles"),
                                         blendEmptyDescription(m_document.book().recipes, m_choice));
    m_tileArea->addWidget(m_empty);

    auto* tiles = new QWidget;
    auto* column = new QVBoxLayout(tiles);
    column->setContentsMargins(0, 0, 0, 0);
    m_count = new QLabel;
    QFont headline = m_count->font();
    headline.setWeight(QFont::DemiBold);
    m_count->setFont(headline);
    column->addWidget(m_count);
    m_grid = new TileCardGrid;
    m_scroll = new QScrollArea;
    m_scroll->setWidget(m_grid);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->setAccessibleName(tr("Blend tiles"));
    // The cards take no keyboard: the area itself does while it cuts them, so the arrows reach every card.
    KeyboardScroll::keep(m_scroll);
    column->addWidget(m_scroll, 1);
    m_tileArea->addWidget(tiles);
    return m_tileArea;
}

QWidget* BlendSheet::makeFooter() {
    auto* footer = new QWidget;
    auto* row = new QHBoxLayout(footer);
    row->setContentsMargins(0, 0, 0, 0);
    m_prefix = new QLineEdit(m_prefixEdit.show(m_namePrefix));
    OneLineText::keepWhole(m_prefix);
    m_prefix->setPlaceholderText(tr("Tile name prefix"));
    m_prefix->setAccessibleName(tr("Name prefix for new tiles"));
    m_prefix->setMaximumWidth(prefixFieldMaximumWidth);
    m_prefix->setCursorPosition(0);
    connect(m_prefix, &QLineEdit::textEdited, this, &BlendSheet::prefixEdited);
    eraseHiddenByKeys(m_prefix, m_prefixEdit, [this](const std::string& whole) {
        m_namePrefix = whole;
        refresh();
    });
    m_testEntries = new QCheckBox(tr("Also add test log entries"));
    m_testEntries->setChecked(m_addTestEntries);
    connect(m_testEntries, &QCheckBox::toggled, this, &BlendSheet::setAddTestEntries);
    m_messageLabel = new QLabel;
    m_messageLabel->setObjectName(QStringLiteral("message"));
    QPalette secondary = m_messageLabel->palette();
    secondary.setColor(QPalette::WindowText, SheetStyle::secondaryColor(palette()));
    m_messageLabel->setPalette(secondary);
    m_messageLabel->hide();
    m_close = new QPushButton(tr("Close"));
    m_add = new QPushButton(tr("Add Tiles to Book"));
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_add, &QPushButton::clicked, this, [this] { addTilesToBook(tiles()); });
    row->addWidget(m_prefix);
    row->addWidget(m_testEntries);
    row->addWidget(m_messageLabel);
    row->addStretch(1);
    row->addWidget(m_close);
    row->addWidget(m_add);
    return footer;
}

void BlendSheet::setMode(BlendMode mode) {
    m_choice.mode = mode;
    refresh();
}

void BlendSheet::setCorner(int index, const GlazeCore::Uuid& recipeID) {
    if (index < 0 || index >= int(m_choice.corners.size())) return;
    m_choice.corners[std::size_t(index)] = recipeID;
    refresh();
}

void BlendSheet::setSteps(int steps) {
    const int value = std::clamp(steps, blendStepsRange[0], blendStepsRange[1]);
    if (value == m_choice.steps && m_steps->shownValue() == value) return;
    m_choice.steps = value;
    refresh();
}

void BlendSheet::setDivisions(int divisions) {
    const int value = std::clamp(divisions, blendDivisionsRange[0], blendDivisionsRange[1]);
    if (value == m_choice.divisions && m_divisions->shownValue() == value) return;
    m_choice.divisions = value;
    refresh();
}

void BlendSheet::setRows(int rows) {
    const int value = std::clamp(rows, blendSidesRange[0], blendSidesRange[1]);
    if (value == m_choice.rows && m_rows->shownValue() == value) return;
    m_choice.rows = value;
    refresh();
}

void BlendSheet::setColumns(int columns) {
    const int value = std::clamp(columns, blendSidesRange[0], blendSidesRange[1]);
    if (value == m_choice.columns && m_columns->shownValue() == value) return;
    m_choice.columns = value;
    refresh();
}

void BlendSheet::setNamePrefix(const std::string& prefix) {
    m_namePrefix = prefix;
    if (!m_prefixEdit.showing(m_namePrefix, m_prefix->text())) m_prefix->setText(m_prefixEdit.show(m_namePrefix));
    refresh();
}

void BlendSheet::prefixEdited(const QString& typed) {
    // Typed across the "…" of a huge name, the edit lands in the whole prefix where the field showed it.
    m_namePrefix = m_prefixEdit.edit(typed);
    refresh();
}

void BlendSheet::setAddTestEntries(bool add) {
    m_addTestEntries = add;
    if (m_testEntries->isChecked() != add) m_testEntries->setChecked(add);
}

std::vector<BlendTile> BlendSheet::tiles() const {
    return blendTiles(m_document.book().recipes, m_choice, m_document.library());
}

QPushButton* BlendSheet::modeButton(BlendMode mode) const {
    return qobject_cast<QPushButton*>(m_modes->button(int(mode)));
}

QComboBox* BlendSheet::cornerPicker(int index) const {
    return m_cornerPickers.at(std::size_t(index));
}

QLabel* BlendSheet::cornerLabel(int index) const {
    return m_cornerLabels.at(std::size_t(index));
}

void BlendSheet::refreshCornerPickers() {
    const QStringList labels = blendCornerLabels(m_choice.mode);
    std::vector<std::pair<QString, QString>> entries;
    for (const GlazeCore::Recipe& recipe : m_document.book().recipes)
        entries.emplace_back(SidebarRows::displayName(recipe), QString::fromStdString(recipe.id.uppercaseText()));
    // The lists are filled again only when the book's recipes or their names changed.
    const bool refill = entries != m_pickerEntries;
    m_pickerEntries = std::move(entries);
    for (std::size_t i = 0; i < m_cornerPickers.size(); ++i) {
        const bool used = int(i) < labels.size();
        m_cornerBoxes[i]->setVisible(used);
        if (!used) continue;
        m_cornerLabels[i]->setText(labels[int(i)]);
        QComboBox* picker = m_cornerPickers[i];
        setComboBoxName(picker, tr("Recipe %1").arg(labels[int(i)]));
        const QSignalBlocker quiet(picker);
        if (refill || picker->count() != int(m_pickerEntries.size())) {
            picker->clear();
            for (const auto& [name, id] : m_pickerEntries)
                picker->addItem(name, id);
        }
        // A corner whose recipe has gone shows no choice until one is made.
        picker->setCurrentIndex(picker->findData(QString::fromStdString(m_choice.corners[i].uppercaseText())));
    }
}

void BlendSheet::refreshSteppers() {
    m_modes->button(int(m_choice.mode))->setChecked(true);
    m_resolution->setCurrentIndex(int(m_choice.mode));
    const int triaxialTiles = triaxialTileCount(m_choice.divisions);
    const std::pair<WholeNumberStepper*, int> values[] = {{m_steps, m_choice.steps},
                                                          {m_divisions, m_choice.divisions},
                                                          {m_rows, m_choice.rows},
                                                          {m_columns, m_choice.columns}};
    for (const auto& [stepper, value] : values) {
        // A stepper being typed in already shows its number: setting it again would put back its old text.
        if (stepper->shownValue() == value) continue;
        const QSignalBlocker quiet(stepper);
        stepper->setValue(value);
    }
    m_divisions->showSuffix(tr(" (%1 tiles)").arg(triaxialTiles));
    m_steps->setSpokenValue(tr("%1 steps").arg(m_choice.steps));
    m_divisions->setSpokenValue(tr("%1 divisions, %2 tiles").arg(m_choice.divisions).arg(triaxialTiles));
    m_rows->setSpokenValue(QString::number(m_choice.rows));
    m_columns->setSpokenValue(QString::number(m_choice.columns));
}

void BlendSheet::refresh() {
    refreshCornerPickers();
    refreshSteppers();
    const std::vector<BlendTile> list = tiles();
    m_add->setEnabled(!list.empty());
    if (list.empty()) {
        const QString description = blendEmptyDescription(m_document.book().recipes, m_choice);
        if (m_empty->description() != description) {
            // The empty state's text is set once, so a new text gets a new view in its place.
            auto* fresh = new ContentUnavailableView(QStringLiteral("square.grid.3x3"), tr("No Tiles"), description);
            m_tileArea->insertWidget(0, fresh);
            m_tileArea->removeWidget(m_empty);
            m_empty->deleteLater();
            m_empty = fresh;
        }
        m_tileArea->setCurrentWidget(m_empty);
        m_grid->setCards({});
        return;
    }
    m_count->setText(tr("%1 tiles").arg(list.size()));
    std::vector<TileCardText> cards;
    cards.reserve(list.size());
    const BookLibrary& library = m_document.library();
    for (const BlendTile& tile : list)
        cards.push_back(tileCardText(tile, library, shownText(tileTitle(tile))));
    m_grid->setFixedColumns(m_choice.mode == BlendMode::grid ? m_choice.columns : 0);
    m_grid->setCards(std::move(cards));
    m_tileArea->setCurrentIndex(1);
}

void BlendSheet::setMessage(const QString& text) {
    m_addedMessage = text;
    m_messageLabel->setText(text);
    m_messageLabel->show();
}

void BlendSheet::addTilesToBook(const std::vector<BlendTile>& tiles) {
    if (tiles.empty()) return;
    if (const auto problem = cannotAdd(m_document, tiles, m_addTestEntries)) {
        SystemBeep::beep();
        setMessage(*problem);
        return;
    }
    // The recipes and entries are made first and written in one go: one change, one undo step, one refresh.
    std::vector<GlazeCore::Recipe> recipes;
    std::vector<GlazeCore::TestTile> entries;
    recipes.reserve(tiles.size());
    const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    for (const BlendTile& tile : tiles) {
        recipes.push_back(duplicateRecipe(tile.recipe, tileTitle(tile).toStdString()));
        if (m_addTestEntries) entries.push_back(blendTestTile(recipes.back(), tile.number, now));
    }
    const auto codes = m_document.appendRecipesAndTiles(std::move(recipes), std::move(entries), tr("Add Blend Tiles"));
    if (!codes) return;
    setMessage(blendAddedMessage(int(tiles.size()), *codes));
}

} // namespace Orza
