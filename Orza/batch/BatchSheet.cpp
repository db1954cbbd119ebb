#include "Orza/batch/BatchSheet.h"

#include "GlazeCore/book/RecipeCheck.h"
#include "Orza/actions/CommandTable.h"
#include "Orza/batch/BatchRowsModel.h"
#include "Orza/batch/BatchSettings.h"
#include "Orza/batch/BatchTotalRow.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/document/VisibleFileName.h"
#include "Orza/models/PaneContext.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/DialogKeys.h"
#include "Orza/platform/ScreenFit.h"
#include "Orza/printing/PdfFile.h"
#include "Orza/printing/PdfSaveDialog.h"
#include "Orza/settings/Settings.h"
#include "Orza/widgets/AccessibleComboBox.h"
#include "Orza/widgets/FocusReportingView.h"
#include "Orza/widgets/LiveNumberField.h"
#include "Orza/widgets/SheetOnScreen.h"
#include "Orza/widgets/SheetStyle.h"
#include "Orza/widgets/TextStyle.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace Orza {

namespace {

constexpr int sheetMinimumWidth = 520;
constexpr int sheetMinimumHeight = 480;
constexpr int sheetIdealWidth = 560;
constexpr int tableMinimumHeight = 220;
constexpr int totalFieldWidth = 100;
constexpr int precisionPickerMaxWidth = 180;
constexpr int gramsColumnMin = 80;
constexpr int gramsColumnIdeal = 100;
constexpr int gramsColumnMax = 140;

} // namespace

BatchSheet::BatchSheet(GlazeCore::Recipe recipe, BookLibrary library, QWidget* parent)
    : QDialog(parent), m_recipe(std::move(recipe)), m_library(std::move(library)) {
    setWindowTitle(tr("Batch Sheet"));
    setMinimumSize(sheetMinimumWidth, sheetMinimumHeight);
    build();
    refresh();
    ScreenFit::keep(this, QSize(sheetIdealWidth, std::max(sheetMinimumHeight, sizeHint().height())));
    connect(&Settings::instance(), &Settings::changed, this, [this](Settings::Key key) {
        if (key == Settings::Key::batchTotalGrams || key == Settings::Key::batchPrecision) refresh();
    });
}

BatchSheet* BatchSheet::open(const PaneContext& context, const GlazeCore::Uuid& recipeID) {
    BookDocument* document = &context.document;
    WindowModel* model = &context.model;
    const auto make = [&]() -> BatchSheet* {
        const GlazeCore::Recipe* recipe = document->recipe(recipeID);
        if (!recipe) return nullptr;
        auto* sheet = new BatchSheet(*recipe, document->library(), &context.host);
        connect(document, &BookDocument::bookChanged, sheet, [sheet, document, recipeID] {
            // The pane the sheet belongs to goes when its recipe does, and the sheet with it.
            if (const GlazeCore::Recipe* now = document->recipe(recipeID))
                sheet->setRecipe(*now);
            else
                sheet->reject();
        });
        connect(document, &BookDocument::libraryChanged, sheet,
                [sheet, document] { sheet->setLibrary(document->library()); });
        return sheet;
    };
    return openSheet<BatchSheet>(
        context.host, make,
        SheetFlag<WindowModel>{model, &WindowModel::showBatchChanged, [model] { return model->showBatch(); },
                               [model] { model->setShowBatch(true); }, [model] { model->setShowBatch(false); }});
}

void BatchSheet::build() {
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(12);

    m_title = new QLabel;
    SheetStyle::styleAsTitle(m_title);
    layout->addWidget(m_title);

    layout->addWidget(makeForm());

    m_model = new BatchRowsModel(this);
    m_table = new FocusReportingView<QTableView>;
    m_table->setModel(m_model);
    m_table->setAccessibleName(tr("Batch weights"));
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A list to read: Tab leaves it for the next control, the arrows move through the rows.
    m_table->setTabKeyNavigation(false);
    m_table->setShowGrid(false);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    // One line of text a row, with a little air, as a list of figures reads best.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    m_table->horizontalHeader()->setSectionResizeMode(BatchRowsModel::material, QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionResizeMode(BatchRowsModel::grams, QHeaderView::Fixed);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->setMinimumHeight(tableMinimumHeight);
    layout->addWidget(m_table, 1);

    m_totalRow = new BatchTotalRow;
    layout->addWidget(m_totalRow);

    m_noRows = new QLabel;
    m_noRows->setObjectName(QStringLiteral("noRows"));
    SheetStyle::styleAsCallout(m_noRows, SheetStyle::secondaryColor(palette()));
    layout->addWidget(m_noRows);

    layout->addWidget(makeWarning());

    m_messageLabel = new QLabel;
    m_messageLabel->setObjectName(QStringLiteral("message"));
    SheetStyle::styleAsCallout(m_messageLabel, SheetStyle::secondaryColor(palette()));
    m_messageLabel->hide();
    layout->addWidget(m_messageLabel);

    layout->addWidget(makeButtons());
    // Return in a field means Done, the sheet's default action.
    DialogKeys::follow(*this, *m_done);
}

QWidget* BatchSheet::makeForm() {
    auto* form = new QWidget;
    auto* row = new QHBoxLayout(form);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(20);

    auto* totalLabel = new QLabel(tr("Total batch (g)"));
    m_total = new LiveNumberField(tr("Total grams"), BatchSettings::totalGrams(), {0, 1}, false);
    m_total->setAccessibleName(tr("Total batch weight in grams"));
    m_total->setFixedWidth(totalFieldWidth);
    m_total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    totalLabel->setBuddy(m_total);
    connect(m_total, &LiveNumberField::valueEdited, this, [](double grams) { BatchSettings::setTotalGrams(grams); });

    auto* precisionLabel = new QLabel(tr("Precision"));
    m_precision = new QComboBox;
    setComboBoxName(m_precision, tr("Weighing precision"));
    m_precision->setMaximumWidth(precisionPickerMaxWidth);
    for (const double option : batchPrecisionOptions)
        m_precision->addItem(precisionOptionText(option), option);
    precisionLabel->setBuddy(m_precision);
    connect(m_precision, &QComboBox::activated, this,
            [this](int index) { BatchSettings::setPrecision(m_precision->itemData(index).toDouble()); });

    for (const auto& [label, control] :
         {std::pair<QLabel*, QWidget*>{totalLabel, m_total}, {precisionLabel, m_precision}}) {
        auto* pair = new QHBoxLayout;
        pair->setSpacing(6);
        pair->addWidget(label);
        pair->addWidget(control);
        row->addLayout(pair);
    }
    row->addStretch(1);
    return form;
}

QWidget* BatchSheet::makeWarning() {
    m_warningRow = new QWidget;
    auto* row = new QHBoxLayout(m_warningRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    m_warningIcon = new QLabel;
    const int side = fontMetrics().height();
    m_warningIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(side, side));
    m_warningIcon->setAlignment(Qt::AlignTop);
    m_warning = new QLabel;
    m_warning->setObjectName(QStringLiteral("warning"));
    SheetStyle::styleAsCallout(m_warning, TextStyle::warning(palette()));
    row->addWidget(m_warningIcon, 0, Qt::AlignTop);
    row->addWidget(m_warning, 1);
    return m_warningRow;
}

QWidget* BatchSheet::makeButtons() {
    auto* buttons = new QWidget;
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    m_print = new QPushButton(tr("Print\u2026"));
    // The key of File > Print Batch Sheet: while the sheet is up, that command is off and this button takes it.
    m_print->setShortcut(CommandTable::shortcuts(CommandTable::of(Command::printBatchSheet)).value(0));
    m_print->setToolTip(tr("Print the batch sheet (%1)").arg(CommandTable::shortcutText(Command::printBatchSheet)));
    m_export = new QPushButton(tr("Export PDF\u2026"));
    m_done = new QPushButton(tr("Done"));
    connect(m_print, &QPushButton::clicked, this, &BatchSheet::print);
    connect(m_export, &QPushButton::clicked, this, &BatchSheet::exportPDF);
    connect(m_done, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(m_print);
    row->addWidget(m_export);
    row->addStretch(1);
    row->addWidget(m_done);
    return buttons;
}

void BatchSheet::setRecipe(GlazeCore::Recipe recipe) {
    m_recipe = std::move(recipe);
    refresh();
}

void BatchSheet::setLibrary(BookLibrary library) {
    m_library = std::move(library);
    refresh();
}

std::vector<BatchRow> BatchSheet::rows() const {
    return batchRows(m_recipe, m_library, BatchSettings::totalGrams(), BatchSettings::precision());
}

std::optional<QString> BatchSheet::batchWarning() const {
    const auto warning = GlazeCore::RecipeCheck::batchWarning(m_recipe);
    if (!warning) return std::nullopt;
    return QString::fromStdString(*warning);
}

bool BatchSheet::canOutput() const {
    return !rows().empty() && !batchWarning();
}

BatchPrintPage BatchSheet::page() const {
    const double precision = BatchSettings::precision();
    return {m_recipe, rows(), BatchSettings::totalGrams(),
            [precision](double grams) { return gramsText(grams, precision); }};
}

void BatchSheet::refresh() {
    const double total = BatchSettings::totalGrams();
    const double precision = BatchSettings::precision();
    m_title->setText(tr("Batch Sheet \u2013 %1").arg(shownText(m_recipe.name)));
    m_total->setValue(total);
    showPrecision(precision);

    std::vector<BatchRow> list = rows();
    const bool empty = list.empty();
    m_totalRow->setWeightText(tr("%1 g").arg(gramsText(batchRowsTotal(list), precision)));
    m_model->setRows(std::move(list), precision);
    const QAbstractItemView* view = m_table;
    const int gramsWidth = std::max({gramsColumnIdeal, view->sizeHintForColumn(BatchRowsModel::grams),
                                     m_table->horizontalHeader()->sectionSizeHint(BatchRowsModel::grams)});
    m_table->horizontalHeader()->resizeSection(BatchRowsModel::grams,
                                               std::clamp(gramsWidth, gramsColumnMin, gramsColumnMax));

    m_noRows->setVisible(empty);
    m_noRows->setText(empty ? batchNoRowsText(m_recipe, total, precision) : QString());
    const auto warning = batchWarning();
    m_warningRow->setVisible(warning.has_value());
    m_warning->setText(warning.value_or(QString()));
    m_print->setEnabled(!empty && !warning);
    m_export->setEnabled(!empty && !warning);
}

void BatchSheet::showPrecision(double precision) {
    // A stored step that the picker does not offer shows as no choice; its weights still follow it.
    const auto offered = std::find(batchPrecisionOptions.begin(), batchPrecisionOptions.end(), precision);
    const int index = offered == batchPrecisionOptions.end() ? -1 : int(offered - batchPrecisionOptions.begin());
    if (m_precision->currentIndex() != index) m_precision->setCurrentIndex(index);
}

void BatchSheet::setMessage(const QString& text) {
    m_message = text;
    m_messageLabel->setText(text);
    m_messageLabel->show();
}

void BatchSheet::print() {
    if (!canOutput()) return;
    const QPointer<BatchSheet> self(this);
    printBatchPage(this, page(), batchJobTitle(m_recipe), [self](bool available) {
        if (self && !available) self->setMessage(tr("Printing is not available."));
    });
}

void BatchSheet::exportPDF() {
    if (!canOutput()) return;
    const Printing::PdfFile pdf{makeBatchPDF(page())};
    // Saving no bytes would leave a file no reader opens, reported as saved.
    if (pdf.data.isEmpty()) {
        setMessage(tr("The PDF was not saved: %1").arg(tr("The page could not be drawn.")));
        return;
    }
    const QPointer<BatchSheet> self(this);
    Printing::PdfSaveDialog::chooseLocation(this, batchPdfFileName(m_recipe), [self, pdf](const QString& path) {
        if (!self || path.isEmpty()) return;
        if (const auto error = pdf.write(path))
            self->setMessage(tr("The PDF was not saved: %1").arg(*error));
        else
            self->setMessage(tr("Saved %1.").arg(visibleFileName(path)));
    });
}

} // namespace Orza
