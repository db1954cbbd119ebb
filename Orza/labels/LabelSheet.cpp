#include "Orza/labels/LabelSheet.h"

#include "Orza/document/BookDocument.h"
#include "Orza/document/VisibleFileName.h"
#include "Orza/labels/LabelPreview.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/models/PaneContext.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/DialogKeys.h"
#include "Orza/platform/ScreenFit.h"
#include "Orza/printing/PdfFile.h"
#include "Orza/printing/PdfSaveDialog.h"
#include "Orza/settings/Settings.h"
#include "Orza/testlog/ShownTests.h"
#include "Orza/widgets/AccessibleComboBox.h"
#include "Orza/widgets/SheetOnScreen.h"
#include "Orza/widgets/SheetStyle.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace Orza {

namespace {

/// A sheet's sizes as the locale writes them: "63,5 × 38,1 mm" in German.
QString shownSheetTitle(const std::string& title) {
    static const QRegularExpression decimalPoint(QStringLiteral("(?<=\\d)\\.(?=\\d)"));
    return QString::fromStdString(title).replace(decimalPoint, QLocale().decimalPoint());
}

constexpr int sheetMinimumWidth = 640;
constexpr int sheetMinimumHeight = 520;
constexpr int sheetIdealWidth = 720;
constexpr int sheetIdealHeight = 600;
constexpr int formMaximumWidth = 360;
constexpr int formMinimumWidth = 330;
constexpr int previewColumnMinimumWidth = 260;

bool holdsTile(const std::vector<GlazeCore::LabelLayout::Tile>& tiles, const std::optional<GlazeCore::Uuid>& id) {
    return id && std::any_of(tiles.begin(), tiles.end(),
                             [&](const GlazeCore::LabelLayout::Tile& tile) { return tile.id == *id; });
}

QString storedSheetID() {
    return Settings::instance().stringValue(Settings::Key::labelSheetID);
}

} // namespace

LabelSource labelSource(const GlazeCore::GlazeBook& book, const std::vector<std::uint32_t>& shownPositions) {
    LabelSource source;
    source.tiles.reserve(book.tests.size());
    for (const GlazeCore::TestTile& tile : book.tests)
        source.tiles.push_back(GlazeCore::LabelLayout::labelTile(tile));
    for (const std::uint32_t position : shownPositions)
        if (position < source.tiles.size()) source.shown.push_back(source.tiles[position]);
    source.recipes = std::make_shared<const GlazeCore::LabelLayout::RecipeNames>(
        GlazeCore::LabelLayout::recipeNames(book.recipes, source.tiles));
    return source;
}

LabelSource labelSource(BookDocument& document, const WindowModel& model) {
    return labelSource(document.book(), shownTestPositions(document, model));
}

LabelScope initialLabelScope(LabelScope requested, const std::vector<GlazeCore::LabelLayout::Tile>& tiles,
                             const std::optional<GlazeCore::Uuid>& selectedID, bool filterActive) {
    switch (requested) {
    case LabelScope::selected:
        return holdsTile(tiles, selectedID) ? LabelScope::selected : LabelScope::all;
    case LabelScope::shown:
        return filterActive ? LabelScope::shown : LabelScope::all;
    case LabelScope::all:
        break;
    }
    return LabelScope::all;
}

const GlazeCore::LabelLayout::Sheet& chosenLabelSheet(const QString& sheetID) {
    const std::string id = sheetID.toStdString();
    for (const auto& sheet : GlazeCore::LabelLayout::sheets())
        if (sheet.id == id) return sheet;
    return GlazeCore::LabelLayout::defaultSheet();
}

int labelSkipCount(const GlazeCore::LabelLayout::Sheet& sheet, int startAt) {
    const int perPage = GlazeCore::LabelLayout::labelsPerPage(sheet);
    return std::max(0, std::min(perPage - 1, std::max(startAt - 1, 0)));
}

QString labelSummaryText(int labels, int pages) {
    if (labels <= 0) return LabelSheet::tr("No tiles to print.");
    return LabelSheet::tr("%1 on %2. The preview shows page 1.")
        .arg(LabelSheet::tr("%n label(s)", nullptr, labels), LabelSheet::tr("%n page(s)", nullptr, pages));
}

LabelSheet::LabelSheet(LabelSource source, std::optional<GlazeCore::Uuid> selectedID, bool filterActive,
                       LabelScope requested, QWidget* parent)
    : QDialog(parent), m_source(std::move(source)), m_selectedID(std::move(selectedID)), m_filterActive(filterActive),
      m_scope(initialLabelScope(requested, m_source.tiles, m_selectedID, filterActive)) {
    setWindowTitle(tr("Print Labels"));
    setMinimumSize(sheetMinimumWidth, sheetMinimumHeight);
    build();
    refresh();
    ScreenFit::keep(this, QSize(sheetIdealWidth, sheetIdealHeight));
    connect(&Settings::instance(), &Settings::changed, this, [this](Settings::Key key) {
        if (key == Settings::Key::labelSheetID) sheetChanged();
    });
}

LabelSheet* LabelSheet::open(const PaneContext& context, LabelScope requested) {
    BookDocument* document = &context.document;
    WindowModel* model = &context.model;
    const auto make = [&] {
        model->setLabelScope(requested);
        auto* sheet = new LabelSheet(labelSource(*document, *model), model->testSelection(), model->isFiltering(),
                                     requested, &context.host);
        connect(document, &BookDocument::bookChanged, sheet,
                [sheet, document, model] { sheet->setSource(labelSource(*document, *model)); });
        return sheet;
    };
    return openSheet<LabelSheet>(
        context.host, make,
        SheetFlag<WindowModel>{model, &WindowModel::showLabelsChanged, [model] { return model->showLabels(); },
                               [model] { model->setShowLabels(true); }, [model] { model->setShowLabels(false); }});
}

void LabelSheet::build() {
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(12);

    auto* title = new QLabel(tr("Print Labels"));
    SheetStyle::styleAsTitle(title);
    layout->addWidget(title);

    auto* row = new QHBoxLayout;
    row->setSpacing(20);
    row->addWidget(makeForm(), 0, Qt::AlignTop | Qt::AlignLeading);
    auto* previewColumn = new QVBoxLayout;
    previewColumn->setSpacing(6);
    m_preview = new LabelPreview;
    m_preview->setMinimumWidth(previewColumnMinimumWidth);
    previewColumn->addWidget(m_preview, 1);
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("summary"));
    SheetStyle::styleAsCallout(m_summary, SheetStyle::secondaryColor(palette()));
    previewColumn->addWidget(m_summary);
    row->addLayout(previewColumn, 1);
    layout->addLayout(row, 1);

    auto* advice = new QLabel(tr("Print at 100% (no scaling). Print one page on plain paper first and hold it against "
                                 "a label sheet to check the fit."));
    advice->setObjectName(QStringLiteral("advice"));
    SheetStyle::styleAsCallout(advice, SheetStyle::secondaryColor(palette()));
    layout->addWidget(advice);

    m_messageLabel = new QLabel;
    m_messageLabel->setObjectName(QStringLiteral("message"));
    SheetStyle::styleAsCallout(m_messageLabel, SheetStyle::secondaryColor(palette()));
    m_messageLabel->hide();
    layout->addWidget(m_messageLabel);

    layout->addWidget(makeButtons());
    // Return in a field prints; Escape is the dialog's own cancel.
    DialogKeys::follow(*this, *m_print);
}

QWidget* LabelSheet::makeForm() {
    auto* form = new QWidget;
    form->setMaximumWidth(formMaximumWidth);
    form->setMinimumWidth(formMinimumWidth);
    auto* fields = new QFormLayout(form);
    fields->setContentsMargins(0, 0, 0, 0);
    fields->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    m_tilesPicker = new QComboBox;
    setComboBoxName(m_tilesPicker, tr("Tiles"));
    fields->addRow(tr("Tiles"), m_tilesPicker);
    connect(m_tilesPicker, &QComboBox::activated, this,
            [this](int index) { setScope(LabelScope(m_tilesPicker->itemData(index).toInt())); });

    m_sheetPicker = new QComboBox;
    setComboBoxName(m_sheetPicker, tr("Label sheet"));
    fields->addRow(tr("Label sheet"), m_sheetPicker);
    fillSheetPicker();
    connect(m_sheetPicker, &QComboBox::activated, this, [this](int index) {
        Settings::instance().set(Settings::Key::labelSheetID, m_sheetPicker->itemData(index).toString());
    });

    m_startPicker = new QComboBox;
    setComboBoxName(m_startPicker, tr("Start at label"));
    m_startPicker->setToolTip(
        tr("On a sheet that is partly used, skip the labels that are gone. Labels count across, then down."));
    fields->addRow(tr("Start at label"), m_startPicker);
    connect(m_startPicker, &QComboBox::activated, this,
            [this](int index) { setStartAt(m_startPicker->itemData(index).toInt()); });
    return form;
}

QWidget* LabelSheet::makeButtons() {
    auto* buttons = new QWidget;
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    m_export = new QPushButton(tr("Export PDF\u2026"));
    m_cancel = new QPushButton(tr("Cancel"));
    m_print = new QPushButton(tr("Print\u2026"));
    connect(m_export, &QPushButton::clicked, this, &LabelSheet::exportLabels);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_print, &QPushButton::clicked, this, &LabelSheet::printLabels);
    row->addWidget(m_export);
    row->addStretch(1);
    row->addWidget(m_cancel);
    row->addWidget(m_print);
    return buttons;
}

void LabelSheet::setSource(LabelSource source) {
    m_source = std::move(source);
    refresh();
}

void LabelSheet::setScope(LabelScope scope) {
    m_scope = scope;
    refresh();
}

const GlazeCore::LabelLayout::Sheet& LabelSheet::sheet() const {
    return chosenLabelSheet(storedSheetID());
}

void LabelSheet::setStartAt(int startAt) {
    m_startAt = std::clamp(startAt, 1, std::max(1, GlazeCore::LabelLayout::labelsPerPage(sheet())));
    refresh();
}

void LabelSheet::sheetChanged() {
    // A start beyond the new sheet's last label moves to that label; a start is never raised.
    m_startAt = std::min(m_startAt, std::max(1, GlazeCore::LabelLayout::labelsPerPage(sheet())));
    fillSheetPicker();
    refresh();
}

std::vector<GlazeCore::LabelLayout::Tile> LabelSheet::tiles() const {
    switch (m_scope) {
    case LabelScope::all:
        return m_source.tiles;
    case LabelScope::shown:
        return m_source.shown;
    case LabelScope::selected: {
        std::vector<GlazeCore::LabelLayout::Tile> chosen;
        if (m_selectedID)
            std::copy_if(m_source.tiles.begin(), m_source.tiles.end(), std::back_inserter(chosen),
                         [this](const GlazeCore::LabelLayout::Tile& tile) { return tile.id == *m_selectedID; });
        return chosen;
    }
    }
    return {};
}

LabelSet LabelSheet::labelSet() const {
    return {sheet(), tiles(), m_source.recipes, skipCount()};
}

std::vector<std::vector<int>> LabelSheet::pages() const {
    return labelSet().pages();
}

QString LabelSheet::summaryText() const {
    const LabelSet set = labelSet();
    return labelSummaryText(int(set.tiles.size()), int(set.pages().size()));
}

void LabelSheet::fillTilesPicker() {
    const QSignalBlocker quiet(m_tilesPicker);
    m_tilesPicker->clear();
    m_tilesPicker->addItem(tr("All tiles (%1)").arg(m_source.tiles.size()), int(LabelScope::all));
    if (m_filterActive)
        m_tilesPicker->addItem(tr("Tiles shown by the search (%1)").arg(m_source.shown.size()), int(LabelScope::shown));
    if (holdsTile(m_source.tiles, m_selectedID)) m_tilesPicker->addItem(tr("Selected tile"), int(LabelScope::selected));
    m_tilesPicker->setCurrentIndex(m_tilesPicker->findData(int(m_scope)));
}

void LabelSheet::fillSheetPicker() {
    const QSignalBlocker quiet(m_sheetPicker);
    if (m_sheetPicker->count() == 0)
        for (const auto& sheet : GlazeCore::LabelLayout::sheets())
            m_sheetPicker->addItem(shownSheetTitle(sheet.title), QString::fromStdString(sheet.id));
    // A stored id that names no sheet prints on Letter, and the picker shows no choice until one is made.
    m_sheetPicker->setCurrentIndex(m_sheetPicker->findData(storedSheetID()));
}

void LabelSheet::fillStartPicker() {
    const QSignalBlocker quiet(m_startPicker);
    const int perPage = GlazeCore::LabelLayout::labelsPerPage(sheet());
    if (m_startPicker->count() != perPage) {
        m_startPicker->clear();
        for (int label = 1; label <= perPage; ++label)
            m_startPicker->addItem(tr("%1 of %2").arg(label).arg(perPage), label);
    }
    m_startPicker->setCurrentIndex(m_startPicker->findData(m_startAt));
}

void LabelSheet::refresh() {
    fillTilesPicker();
    fillStartPicker();
    auto set = std::make_shared<const LabelSet>(labelSet());
    const auto pages = set->pages();
    const bool none = set->tiles.empty();
    m_summary->setText(labelSummaryText(int(set->tiles.size()), int(pages.size())));
    m_preview->setPage(set, pages.empty() ? std::vector<int>() : pages.front());
    m_export->setEnabled(!none);
    m_print->setEnabled(!none);
}

void LabelSheet::setMessage(const QString& text) {
    m_message = text;
    m_messageLabel->setText(text);
    m_messageLabel->show();
}

void LabelSheet::exportLabels() {
    const LabelSet set = labelSet();
    if (set.tiles.empty()) return;
    const Printing::PdfFile pdf{labelPDFData(set)};
    // Saving no bytes would leave a file no reader opens, reported as saved.
    if (pdf.data.isEmpty()) {
        setMessage(tr("The PDF was not saved: %1").arg(tr("The pages could not be drawn.")));
        return;
    }
    const QPointer<LabelSheet> self(this);
    Printing::PdfSaveDialog::chooseLocation(this, tr("Tile labels.pdf"), [self, pdf](const QString& path) {
        if (!self || path.isEmpty()) return;
        if (const auto error = pdf.write(path))
            self->setMessage(tr("The PDF was not saved: %1").arg(*error));
        else
            self->setMessage(tr("Saved %1.").arg(visibleFileName(path)));
    });
}

void LabelSheet::printLabels() {
    const LabelSet set = labelSet();
    if (set.tiles.empty()) return;
    const QPointer<LabelSheet> self(this);
    const bool started = printLabelPDF(this, set, [self](bool available) {
        if (self && !available) self->setMessage(tr("Printing is not available."));
    });
    if (!started) setMessage(tr("Printing is not available."));
}

} // namespace Orza
