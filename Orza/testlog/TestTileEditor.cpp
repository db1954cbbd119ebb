#include "Orza/testlog/TestTileEditor.h"

#include "GlazeCore/book/Atmosphere.h"
#include "GlazeCore/book/OrtonCones.h"
#include "Orza/actions/DocumentFieldKeys.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/testlog/FiringRampChart.h"
#include "Orza/testlog/FiringScheduleEditor.h"
#include "Orza/testlog/FormSection.h"
#include "Orza/testlog/ProblemLabel.h"
#include "Orza/testlog/TileCodeField.h"
#include "Orza/testlog/TileDateField.h"
#include "Orza/testlog/TilePhotoSection.h"
#include "Orza/widgets/AccessibleComboBox.h"
#include "Orza/widgets/ConeTyping.h"
#include "Orza/widgets/IconLabel.h"
#include "Orza/widgets/LongNotes.h"
#include "Orza/widgets/PlainTextField.h"

#include <QComboBox>
#include <QFormLayout>
#include <QTextCursor>
#include <QVBoxLayout>

namespace Orza {

namespace {

constexpr int pickerWidth = 320;

QComboBox* makePicker(const QString& name) {
    auto* picker = new QComboBox;
    setComboBoxName(picker, name);
    picker->setMaximumWidth(pickerWidth);
    picker->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    picker->setMinimumContentsLength(16);
    return picker;
}

/// Fills a picker with its fixed rows, adds the stored value as one more row when it is none of them, and
/// selects the stored value.
void showChoices(QComboBox* picker, const QList<std::pair<QString, QString>>& rows, const QString& stored,
                 const QString& extraTitle) {
    picker->clear();
    int selected = -1;
    for (const auto& [title, value] : rows) {
        if (selected < 0 && value == stored) selected = picker->count();
        picker->addItem(title, value);
    }
    if (selected < 0) {
        selected = picker->count();
        picker->addItem(extraTitle, stored);
    }
    picker->setCurrentIndex(selected);
}

} // namespace

TestTileEditor::TestTileEditor(BookDocument& document, ActionRegistry& actions, const GlazeCore::Uuid& tileID,
                               QWidget* parent)
    : QScrollArea(parent), m_document(document), m_tileID(tileID), m_form(new QWidget) {
    auto* column = new QVBoxLayout(m_form);
    column->setContentsMargins(20, 16, 20, 20);
    column->setSpacing(18);
    column->addWidget(makeTileSection(actions));
    column->addWidget(makeScheduleSection(actions));
    column->addWidget(makeNotesSection(actions));
    column->addWidget(makePhotoSection());
    column->addStretch(1);
    setWidget(m_form);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    // Narrower than the form only in a small window, where the form scrolls sideways to the field in use.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // It only scrolls: the controls inside take the keyboard focus, the area does not.
    setFocusPolicy(Qt::NoFocus);

    connect(&m_document, &BookDocument::tileChanged, this, &TestTileEditor::onTileChanged);
    for (auto signal : {&BookDocument::recipesInserted, &BookDocument::recipesRemoved})
        connect(&m_document, signal, this, &TestTileEditor::showRecipes);
    connect(&m_document, &BookDocument::recipesMoved, this, &TestTileEditor::showRecipes);
    connect(&m_document, &BookDocument::recipeChanged, this, [this](const GlazeCore::Uuid&, RecipeField field) {
        if (field == RecipeField::name) showRecipes();
    });
    for (auto signal : {&BookDocument::testsInserted, &BookDocument::testsRemoved})
        connect(&m_document, signal, this, &TestTileEditor::showAll);
    connect(&m_document, &BookDocument::reset, this, &TestTileEditor::showAll);
    showAll();
}

void TestTileEditor::setPrintLabel(std::function<void()> printLabel) {
    m_code->setPrintLabel(std::move(printLabel));
}

QDateEdit* TestTileEditor::datePicker() const {
    return m_date;
}

QPlainTextEdit* TestTileEditor::notesEditor() const {
    return m_notes;
}

QWidget* TestTileEditor::makeTileSection(ActionRegistry& actions) {
    auto* section = new FormSection(tr("Tile"));
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignLeft);
    form->setHorizontalSpacing(16);
    form->setVerticalSpacing(8);
    section->rows()->addLayout(form);

    m_code = new TileCodeField(m_document, actions, m_tileID);
    m_recipe = makePicker(tr("Recipe"));
    m_cone = makePicker(tr("Cone"));
    chooseConesByTyping(m_cone);
    m_atmosphere = makePicker(tr("Atmosphere"));
    m_dateProblem = new ProblemLabel;
    m_date = new TileDateField(m_document, m_tileID, *m_dateProblem);
    m_date->setMaximumWidth(pickerWidth);
    DocumentFieldKeys::attach(m_date, m_document, actions);

    form->addRow(tr("Code"), m_code);
    form->addRow(tr("Recipe"), m_recipe);
    form->addRow(tr("Cone"), m_cone);
    form->addRow(tr("Atmosphere"), m_atmosphere);
    form->addRow(tr("Fired on"), m_date);
    // Under the form, not in it: the form gives a field that wraps too little height.
    section->rows()->addWidget(m_dateProblem);

    const auto pick = [this](QComboBox* picker, auto write) {
        connect(picker, &QComboBox::activated, this, [this, picker, write](int index) {
            const QString value = picker->itemData(index).toString();
            // A choice is a step of its own, like a click.
            m_document.endEditBurst();
            write(value);
            m_document.endEditBurst();
        });
    };
    pick(m_recipe, [this](const QString& value) {
        if (const auto id = GlazeCore::Uuid::parse(value.toStdString())) m_document.setTileRecipe(m_tileID, *id);
    });
    pick(m_cone, [this](const QString& value) { m_document.setTileCone(m_tileID, value.toStdString()); });
    pick(m_atmosphere, [this](const QString& value) { m_document.setTileAtmosphere(m_tileID, value.toStdString()); });
    return section;
}

QWidget* TestTileEditor::makeScheduleSection(ActionRegistry& actions) {
    auto* section = new FormSection(tr("Firing schedule (°C)"));
    m_chart = new FiringRampChart;
    m_chart->setFixedHeight(rampChartHeight);
    m_schedule = new FiringScheduleEditor(m_document, actions, m_tileID);
    section->rows()->addWidget(m_schedule);
    section->rows()->addWidget(m_chart);
    connect(m_schedule, &FiringScheduleEditor::scheduleShown, m_chart, &FiringRampChart::setSchedule);
    m_chart->setSchedule(m_schedule->schedule());
    return section;
}

QWidget* TestTileEditor::makeNotesSection(ActionRegistry& actions) {
    auto* section = new FormSection(tr("Notes"));
    m_notes = new PlainTextField;
    m_notes->setAccessibleName(tr("Test notes"));
    m_notes->setMinimumHeight(notesMinimumHeight);
    m_notes->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_notes->setTabChangesFocus(true);
    DocumentFieldKeys::attach(m_notes, m_document, actions);
    section->rows()->addWidget(m_notes);
    m_notesTooLong = LongNotes::makeNotice();
    section->rows()->addWidget(m_notesTooLong);
    connect(m_notes, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_showing) m_document.setTileNotes(m_tileID, m_notes->toPlainText().toStdString());
    });
    // Notes typed past the limits stay editable until the user leaves them.
    connect(m_notes, &PlainTextField::left, this, &TestTileEditor::showNotes);
    return section;
}

QWidget* TestTileEditor::makePhotoSection() {
    auto* section = new FormSection(tr("Photo"));
    m_photo = new TilePhotoSection(m_document, m_tileID);
    section->rows()->addWidget(m_photo);
    return section;
}

void TestTileEditor::showAll() {
    showRecipes();
    showCone();
    showAtmosphere();
    showNotes();
    m_form->setEnabled(m_document.tile(m_tileID) != nullptr);
}

void TestTileEditor::showRecipes() {
    const GlazeCore::TestTile* tile = m_document.tile(m_tileID);
    if (!tile) return;
    QList<std::pair<QString, QString>> rows;
    for (const GlazeCore::Recipe& recipe : m_document.book().recipes)
        rows.append({shownText(recipe.name), QString::fromStdString(recipe.id.uppercaseText())});
    const QSignalBlocker quiet(m_recipe);
    showChoices(m_recipe, rows, QString::fromStdString(tile->recipeID.uppercaseText()), tr("Deleted recipe"));
}

void TestTileEditor::showCone() {
    const GlazeCore::TestTile* tile = m_document.tile(m_tileID);
    if (!tile) return;
    QList<std::pair<QString, QString>> rows;
    for (const std::string& cone : GlazeCore::OrtonCones::all())
        rows.append({tr("Cone %1").arg(QString::fromStdString(cone)), QString::fromStdString(cone)});
    const QString stored = QString::fromStdString(tile->cone);
    const QSignalBlocker quiet(m_cone);
    showChoices(m_cone, rows, stored, tr("Cone %1").arg(shownText(tile->cone)));
}

void TestTileEditor::showAtmosphere() {
    const GlazeCore::TestTile* tile = m_document.tile(m_tileID);
    if (!tile) return;
    QList<std::pair<QString, QString>> rows;
    for (const GlazeCore::Atmosphere atmosphere : GlazeCore::allAtmospheres()) {
        const QString raw = QString::fromUtf8(GlazeCore::rawValue(atmosphere));
        rows.append({raw, raw});
    }
    const QString stored = QString::fromStdString(tile->atmosphere);
    const QSignalBlocker quiet(m_atmosphere);
    showChoices(m_atmosphere, rows, stored, shownText(tile->atmosphere));
}

void TestTileEditor::showNotes() {
    const GlazeCore::TestTile* tile = m_document.tile(m_tileID);
    if (!tile) return;
    const QString notes = LongNotes::show(tile->notes, m_notes, m_notesTooLong);
    if (m_notes->toPlainText() == notes) return;
    QTextCursor cursor = m_notes->textCursor();
    const int position = cursor.position();
    m_showing = true;
    m_notes->setPlainText(notes);
    m_showing = false;
    cursor = m_notes->textCursor();
    cursor.setPosition(std::min(position, int(notes.size())));
    m_notes->setTextCursor(cursor);
}

void TestTileEditor::onTileChanged(const GlazeCore::Uuid& tileID, int, TileField field) {
    if (tileID != m_tileID) return;
    switch (field) {
    case TileField::recipeID:
        showRecipes();
        break;
    case TileField::cone:
        showCone();
        break;
    case TileField::atmosphere:
        showAtmosphere();
        break;
    case TileField::notes:
        showNotes();
        break;
    default:
        break; // the code, date, schedule and photo rows follow their own fields
    }
}

} // namespace Orza
