#include "Orza/materials/CustomMaterialEditor.h"

#include "GlazeCore/library/MaterialRules.h"
#include "GlazeCore/text/OxideText.h"
#include "GlazeCore/text/UnicodeText.h"
#include "Orza/actions/DocumentFieldKeys.h"
#include "Orza/display/NumberDisplay.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/materials/MaterialsStyle.h"
#include "Orza/materials/PercentField.h"
#include "Orza/widgets/AccessibleOneElement.h"
#include "Orza/widgets/AlertSymbol.h"
#include "Orza/widgets/OneLineText.h"
#include "Orza/widgets/ShownTextKeys.h"
#include "Orza/widgets/TextStyle.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>

#include <cmath>

namespace Orza {

namespace {

/// Wide enough for every row of the form; wider panes centre it rather than stretch it.
constexpr int formMaximumWidth = 640;
constexpr double totalTolerance = 1.0;

QGroupBox* section(const QString& header) {
    auto* box = new QGroupBox(header);
    box->setFlat(false);
    return box;
}

QFormLayout* formOf(QWidget* section) {
    auto* form = new QFormLayout(section);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return form;
}

QLabel* captionLabel(QWidget* owner) {
    auto* label = new QLabel;
    label->setFont(MaterialsStyle::captionFont(owner->font()));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

/// Sets a field's text only when it reads differently, so the cursor of a field being typed in stays put.
/// A field not being typed in shows the start of a long text.
void showText(QLineEdit* field, const QString& text) {
    if (field->text() == text) return;
    field->setText(text);
    if (!field->hasFocus()) field->setCursorPosition(0);
}

} // namespace

CustomMaterialEditor::CustomMaterialEditor(BookDocument& document, ActionRegistry& actions, std::string materialID,
                                           bool inUse, QWidget* parent)
    : QScrollArea(parent), m_document(document), m_actions(actions), m_id(std::move(materialID)), m_inUse(inUse) {
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    // It only scrolls: the controls inside take the keyboard focus, the area does not.
    setFocusPolicy(Qt::NoFocus);

    auto* form = new QWidget;
    form->setMaximumWidth(formMaximumWidth);
    auto* column = new QVBoxLayout(form);
    column->setSpacing(14);
    column->addWidget(makeMaterialSection());
    column->addWidget(makeBanner());
    column->addWidget(makeAnalysisSection());
    column->addWidget(makeTotalLine());
    column->addStretch(1);

    auto* page = new QWidget;
    auto* centred = new QHBoxLayout(page);
    centred->setContentsMargins(8, 8, 8, 8);
    centred->addWidget(form);
    setWidget(page);

    refresh();
    connect(&document, &BookDocument::materialChanged, this, &CustomMaterialEditor::materialChanged);
    for (const auto signal : {&BookDocument::materialsInserted, &BookDocument::materialsRemoved})
        connect(&document, signal, this, &CustomMaterialEditor::refresh);
    connect(&document, &BookDocument::reset, this, &CustomMaterialEditor::refresh);
}

GlazeCore::Material CustomMaterialEditor::material() const {
    if (const auto index = m_document.materialIndex(m_id)) return m_document.book().customMaterials[*index];
    GlazeCore::Material standIn;
    standIn.id = m_id;
    return standIn;
}

QWidget* CustomMaterialEditor::makeMaterialSection() {
    auto* box = section(tr("Material"));
    QFormLayout* form = formOf(box);

    m_name = new QLineEdit;
    OneLineText::keepWhole(m_name);
    eraseHiddenByKeys(m_name, m_nameEdit,
                      [this](const std::string& whole) { m_document.setMaterialName(m_id, whole); });
    m_name->setAccessibleName(tr("Name"));
    DocumentFieldKeys::attach(m_name, m_document, m_actions);
    connect(m_name, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_document.setMaterialName(m_id, m_nameEdit.edit(text)); });
    form->addRow(tr("Name"), m_name);

    // Selectable text that cannot be changed; a field rather than a label, so that a long id scrolls
    // within the form's width instead of widening it.
    m_idField = new QLineEdit(shownText(m_id));
    m_idField->setReadOnly(true);
    m_idField->setFrame(false);
    m_idField->setCursorPosition(0);
    QPalette plain = m_idField->palette();
    plain.setColor(QPalette::Base, Qt::transparent);
    m_idField->setPalette(plain);
    m_idField->setAccessibleName(tr("Id"));
    // Selectable with the pointer, but Tab passes it by: there is nothing to type in it.
    m_idField->setFocusPolicy(Qt::ClickFocus);
    form->addRow(tr("Id"), m_idField);

    m_loi = makePercentField(tr("Loss on ignition (%)"), 0, 2, std::nullopt);
    connect(m_loi, &PercentField::valueEdited, this, [this](double value) { m_document.setMaterialLoi(m_id, value); });
    form->addRow(tr("Loss on ignition (%)"), m_loi);

    m_source = new QLineEdit;
    OneLineText::keepWhole(m_source);
    eraseHiddenByKeys(m_source, m_sourceEdit,
                      [this](const std::string& whole) { m_document.setMaterialSource(m_id, whole); });
    m_source->setPlaceholderText(tr("Data sheet, supplier or lab analysis"));
    m_source->setAccessibleName(tr("Source"));
    DocumentFieldKeys::attach(m_source, m_document, m_actions);
    connect(m_source, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_document.setMaterialSource(m_id, m_sourceEdit.edit(text)); });
    form->addRow(tr("Source"), m_source);

    m_inUseNote = captionLabel(this);
    m_inUseNote->setText(tr("Recipes in this book use this material. Changes update their chemistry."));
    MaterialsStyle::makeSecondary(m_inUseNote);
    form->addRow(m_inUseNote);
    // Only once it has a parent: shown before, it would flash up as a window of its own.
    m_inUseNote->setVisible(m_inUse);
    return box;
}

QString CustomMaterialEditor::bannerHeadline() {
    return tr("This analysis is not valid. The chemistry leaves this material out until you correct it.");
}

QWidget* CustomMaterialEditor::makeBanner() {
    auto* frame = new QFrame;
    frame->setFrameShape(QFrame::StyledPanel);
    m_banner = frame;
    auto* stack = new QVBoxLayout(m_banner);
    stack->setSpacing(4);

    const QString headline = bannerHeadline();
    // In the alert colour of the scheme, as the headline beside it.
    auto* icon = new AlertSymbol(Symbol::exclamationOctagon);
    auto* text = new QLabel(headline);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    TextStyle::makeAlert(text);
    auto* label = new QHBoxLayout;
    label->setSpacing(6);
    label->addWidget(icon, 0, Qt::AlignTop);
    label->addWidget(text, 1);
    stack->addLayout(label);

    m_issues = new QVBoxLayout;
    m_issues->setSpacing(4);
    stack->addLayout(m_issues);
    m_banner->setAccessibleName(headline);
    // Read as one text: its name holds the headline and every problem under it.
    readAsOneElement(m_banner);
    m_banner->hide();
    return m_banner;
}

QWidget* CustomMaterialEditor::makeAnalysisSection() {
    auto* box = section(tr("Oxide analysis (weight %)"));
    QFormLayout* form = formOf(box);
    for (const GlazeCore::Oxide oxide : GlazeCore::OxideNames::allCases()) {
        const QString formula = QString::fromStdString(GlazeCore::OxideText::formula(oxide));
        PercentField* field = makePercentField(formula, 0, 3, spokenFormula(oxide) + tr(" weight percent"));
        connect(field, &PercentField::valueEdited, this,
                [this, oxide](double value) { setOxidePercent(oxide, value); });
        m_oxides[GlazeCore::OxideNames::index(oxide)] = field;
        form->addRow(formula, field);
    }
    return box;
}

QWidget* CustomMaterialEditor::makeTotalLine() {
    m_totalLine = new QWidget;
    auto* row = new QHBoxLayout(m_totalLine);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(4);
    m_totalIcon = new QLabel;
    m_total = captionLabel(this);
    row->addWidget(m_totalIcon, 0, Qt::AlignVCenter);
    row->addWidget(m_total, 1, Qt::AlignVCenter);
    readAsOneElement(m_totalLine);
    return m_totalLine;
}

PercentField* CustomMaterialEditor::makePercentField(const QString& title, double value, int maximumDigits,
                                                     const std::optional<QString>& spokenName) {
    auto* field = new PercentField(title, value, {0, maximumDigits}, spokenName);
    DocumentFieldKeys::attach(field->lineEdit(), m_document, m_actions);
    return field;
}

PercentField* CustomMaterialEditor::oxideField(GlazeCore::Oxide oxide) const {
    return m_oxides[GlazeCore::OxideNames::index(oxide)];
}

void CustomMaterialEditor::setInUse(bool inUse) {
    m_inUse = inUse;
    m_inUseNote->setVisible(inUse);
}

double CustomMaterialEditor::analysisTotal() const {
    const GlazeCore::Material current = material();
    double total = current.loi;
    for (const auto& [oxide, value] : current.analysis)
        total += value;
    return total;
}

double CustomMaterialEditor::oxidePercent(GlazeCore::Oxide oxide) const {
    const auto index = m_document.materialIndex(m_id);
    if (!index) return 0;
    const GlazeCore::Analysis& analysis = m_document.book().customMaterials[*index].analysis;
    const auto found = analysis.find(oxide);
    return found == analysis.end() ? 0 : found->second;
}

void CustomMaterialEditor::setOxidePercent(GlazeCore::Oxide oxide, double value) {
    // The analysis never keeps 0 or less: such a value takes the oxide out. The document writes nothing
    // when the book holds this already, or when the material has gone.
    const bool present = value > 0;
    m_document.setMaterialOxide(m_id, oxide, present ? std::optional<double>(value) : std::nullopt);
}

void CustomMaterialEditor::materialChanged(int row, MaterialField field) {
    const auto& materials = m_document.book().customMaterials;
    if (row < 0 || std::size_t(row) >= materials.size()) return;
    if (!GlazeCore::UnicodeText::canonicallyEqual(materials[std::size_t(row)].id, m_id)) return;
    const GlazeCore::Material& current = materials[std::size_t(row)];
    switch (field) {
    case MaterialField::name:
        showName(current);
        break;
    case MaterialField::source:
        showSource(current);
        break;
    case MaterialField::analysis:
    case MaterialField::loi:
        showAnalysis(current);
        break;
    }
}

void CustomMaterialEditor::refresh() {
    const GlazeCore::Material current = material();
    showName(current);
    showSource(current);
    showAnalysis(current);
}

void CustomMaterialEditor::showName(const GlazeCore::Material& current) {
    // A very long name shows its ends; typing edits the whole name.
    if (!m_nameEdit.showing(current.name, m_name->text())) showText(m_name, m_nameEdit.show(current.name));
}

void CustomMaterialEditor::showSource(const GlazeCore::Material& current) {
    if (!m_sourceEdit.showing(current.source, m_source->text())) showText(m_source, m_sourceEdit.show(current.source));
}

void CustomMaterialEditor::showAnalysis(const GlazeCore::Material& current) {
    m_loi->setValue(current.loi);
    for (const GlazeCore::Oxide oxide : GlazeCore::OxideNames::allCases()) {
        const auto found = current.analysis.find(oxide);
        oxideField(oxide)->setValue(found == current.analysis.end() ? 0 : found->second);
    }
    showChecks(current);
}

void CustomMaterialEditor::showChecks(const GlazeCore::Material& current) {
    const std::string locale = QLocale().name().toStdString();
    const auto issues = GlazeCore::MaterialRules::issues(current);
    while (QLayoutItem* item = m_issues->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    QStringList spoken{bannerHeadline()};
    for (const auto& issue : issues) {
        auto* line = captionLabel(this);
        line->setText(QString::fromStdString(issue.message(locale)));
        TextStyle::makeAlert(line);
        m_issues->addWidget(line);
        spoken << line->text();
    }
    m_banner->setAccessibleName(spoken.join(QLatin1Char('\n')));
    m_banner->setVisible(!issues.empty());

    double total = current.loi;
    for (const auto& [oxide, value] : current.analysis)
        total += value;
    // A total that is not a number is not about 100 either.
    m_totalRight = std::abs(total - 100) <= totalTolerance;
    const QString number = formatDoublePlaces(2, total);
    m_total->setText(m_totalRight ? tr("Oxides + LOI = %1 %").arg(number)
                                  : tr("Oxides + LOI = %1 % (expected about 100 %)").arg(number));
    m_totalIcon->setPixmap(MaterialsStyle::symbol(m_totalRight ? QStringLiteral("checkmark.circle")
                                                               : QStringLiteral("exclamationmark.triangle"))
                               .pixmap(QSize(14, 14)));
    m_totalLine->setAccessibleName(m_total->text());
}

QStringList CustomMaterialEditor::issueTexts() const {
    QStringList texts;
    for (int i = 0; i < m_issues->count(); ++i)
        if (auto* label = qobject_cast<QLabel*>(m_issues->itemAt(i)->widget())) texts << label->text();
    return texts;
}

QString CustomMaterialEditor::totalText() const {
    return m_total->text();
}

} // namespace Orza
