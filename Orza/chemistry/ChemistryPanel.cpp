#include "Orza/chemistry/ChemistryPanel.h"

#include "GlazeCore/chemistry/Limits.h"
#include "GlazeCore/text/OxideText.h"
#include "Orza/chemistry/ChemistryTexts.h"
#include "Orza/chemistry/LimitComparison.h"
#include "Orza/chemistry/UmfGrid.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/widgets/AccessibleComboBox.h"
#include "Orza/widgets/AccessibleHidden.h"
#include "Orza/widgets/DisclosureGroup.h"
#include "Orza/widgets/IconLabel.h"
#include "Orza/widgets/TextStyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace Orza {

namespace {

using Style = TextStyle::Style;

enum RatioRow { siAlRow, r2oRow, expansionRow, partialRow, ratioRowCount };

const std::vector<GlazeCore::LimitSet>& sets() {
    return GlazeCore::Limits::referenceSets();
}

/// A caption in the secondary colour that wraps onto as many lines as it needs.
QLabel* captionNote(const QString& text = {}) {
    auto* label = new QLabel(text);
    TextStyle::apply(label, Style::caption);
    TextStyle::makeSecondary(label);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void setShown(QWidget* widget, bool shown) {
    if (widget->isHidden() == shown) widget->setHidden(!shown);
}

void setTextIfNew(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}

} // namespace

ChemistryPanel::ChemistryPanel(QWidget* parent)
    : QWidget(parent),
      m_incomplete(new IconLabel(Symbol::exclamationTriangleFill, IconLabel::Tone::warning, Style::callout)),
      m_includeBox(new QCheckBox(tr("Include additions in chemistry"))),
      m_nudgeNote(captionNote(
          tr("Oxide Nudge arrows show when additions are not included, because Oxide Nudge works on the base."))),
      m_noUmfNote(captionNote(tr("UMF not available. The recipe has no flux oxides, so no oxide sum can be set to 1. "
                                 "The table shows weight % and mole % only."))),
      m_grid(new UmfGrid), m_notListed(captionNote()),
      m_outside(new IconLabel(Symbol::exclamationTriangle, IconLabel::Tone::primary, Style::callout)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    auto* header = new QLabel(tr("Chemistry"));
    TextStyle::apply(header, Style::title3, QFont::DemiBold);
    column->addWidget(header);
    column->addWidget(m_incomplete);
    buildPicker(column);

    m_includeBox->setAccessibleDescription(tr("When on, colorant and opacifier additions count in the UMF"));
    connect(m_includeBox, &QCheckBox::clicked, this,
            [](bool checked) { Settings::instance().set(Settings::Key::includeAdditions, checked); });
    column->addWidget(m_includeBox);
    column->addWidget(m_nudgeNote);
    buildReferenceBlock(column);
    buildRatios(column);
    column->addWidget(m_noUmfNote);
    column->addWidget(m_grid);
    connect(m_grid, &UmfGrid::nudgeRequested, this, &ChemistryPanel::nudgeRequested);
    column->addWidget(m_notListed);
    column->addWidget(m_outside);
    buildWarnings(column);
    column->addStretch(1);

    connect(&Settings::instance(), &Settings::changed, this, &ChemistryPanel::settingChanged);
    readSettings();
    refresh();
}

ChemistryPanel::~ChemistryPanel() = default;

void ChemistryPanel::buildPicker(QVBoxLayout* column) {
    auto* title = new QLabel(tr("Reference ranges"));
    m_picker = new QComboBox;
    for (const GlazeCore::LimitSet& set : sets())
        m_picker->addItem(QString::fromStdString(set.name), QString::fromStdString(set.id));
    setComboBoxName(m_picker, tr("Reference range set"));
    // As wide as the longest set name where the column has room; in a narrow column the names shorten
    // rather than widen the column past the pane.
    m_picker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const int wholeNames = m_picker->sizeHint().width();
    m_picker->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_picker->setMinimumContentsLength(12);
    m_picker->setMaximumWidth(wholeNames);
    m_picker->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    title->setBuddy(m_picker);
    connect(m_picker, &QComboBox::activated, this, &ChemistryPanel::limitSetChosen);
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addWidget(title);
    row->addWidget(m_picker, 1);
    row->addStretch(0);
    column->addLayout(row);
}

void ChemistryPanel::buildReferenceBlock(QVBoxLayout* column) {
    m_referenceBlock = new QWidget;
    auto* block = new QVBoxLayout(m_referenceBlock);
    block->setContentsMargins(0, 0, 0, 0);
    block->setSpacing(2);
    block->addWidget(captionNote(tr("These are reference ranges for comparison, not a safety rating.")));
    m_sourceText = captionNote();
    m_sourceText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_source = new DisclosureGroup(tr("Source"), m_sourceText);
    TextStyle::apply(m_source, Style::caption);
    TextStyle::makeSecondary(m_source->toggle());
    block->addWidget(m_source);
    column->addWidget(m_referenceBlock);
}

void ChemistryPanel::buildRatios(QVBoxLayout* column) {
    m_ratios = new QGridLayout;
    m_ratios->setHorizontalSpacing(16);
    m_ratios->setVerticalSpacing(4);
    const std::array<QString, 3> labels{tr("SiO₂ : Al₂O₃"), tr("R₂O : RO"), tr("Expansion (Appen estimate)")};
    for (int row = siAlRow; row <= expansionRow; ++row) {
        auto* label = new QLabel(labels[std::size_t(row)]);
        TextStyle::makeSecondary(label);
        auto* value = new QLabel;
        value->setFont(TextStyle::monospacedDigits(value->font()));
        value->setTextFormat(Qt::PlainText);
        hideFromAccessibility(value);
        m_ratios->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
        m_ratios->addWidget(value, row, 1, Qt::AlignLeft | Qt::AlignVCenter);
    }
    m_partialNote = captionNote();
    hideFromAccessibility(m_partialNote);
    m_ratios->addWidget(m_partialNote, partialRow, 0, 1, 2);
    m_ratios->setColumnStretch(2, 1);
    column->addLayout(m_ratios);
}

void ChemistryPanel::buildWarnings(QVBoxLayout* column) {
    m_warnings = new QWidget;
    m_warnings->setAccessibleName(tr("Warnings"));
    m_warningList = new QVBoxLayout(m_warnings);
    m_warningList->setContentsMargins(0, 0, 0, 0);
    m_warningList->setSpacing(4);
    auto* heading = new QLabel(tr("Warnings"));
    TextStyle::apply(heading, Style::headline);
    m_warningList->addWidget(heading);
    column->addWidget(m_warnings);
}

QLabel* ChemistryPanel::ratioLabel(int row) const {
    return qobject_cast<QLabel*>(m_ratios->itemAtPosition(row, 0)->widget());
}

QLabel* ChemistryPanel::ratioValue(int row) const {
    return qobject_cast<QLabel*>(m_ratios->itemAtPosition(row, 1)->widget());
}

void ChemistryPanel::setChemistry(const GlazeCore::Chemistry& chemistry, const std::optional<QString>& incompleteNote) {
    m_chemistry = chemistry;
    m_incompleteText = incompleteNote;
    refresh();
}

void ChemistryPanel::setOffersNudge(bool offers) {
    if (offers == m_offersNudge) return;
    m_offersNudge = offers;
    refresh();
}

const GlazeCore::LimitSet* ChemistryPanel::chosenLimitSet() const {
    return Orza::chosenLimitSet(sets(), m_limitSetID.toStdString());
}

void ChemistryPanel::readSettings() {
    m_includeAdditions = Settings::instance().boolValue(Settings::Key::includeAdditions);
    m_limitSetID = Settings::instance().stringValue(Settings::Key::limitSetID);
}

void ChemistryPanel::settingChanged(Settings::Key key) {
    if (key != Settings::Key::includeAdditions && key != Settings::Key::limitSetID) return;
    readSettings();
    refresh();
}

void ChemistryPanel::limitSetChosen(int index) {
    const QString id = m_picker->itemData(index).toString();
    // Only a different choice is stored: a fallback shown for an empty or unknown id stays unstored.
    if (id != Settings::instance().stringValue(Settings::Key::limitSetID))
        Settings::instance().set(Settings::Key::limitSetID, id);
}

void ChemistryPanel::refresh() {
    const GlazeCore::LimitSet* set = chosenLimitSet();
    m_comparison = std::make_unique<LimitComparison>(m_chemistry, set);
    const bool hasUmf = !m_chemistry.umf.empty();

    setShown(m_incomplete, m_incompleteText.has_value());
    if (m_incompleteText) m_incomplete->setText(*m_incompleteText);
    refreshPicker(set);
    if (m_includeBox->isChecked() != m_includeAdditions) m_includeBox->setChecked(m_includeAdditions);
    setShown(m_nudgeNote, m_includeAdditions && m_offersNudge && hasUmf);

    setShown(m_referenceBlock, set != nullptr);
    if (set) setTextIfNew(m_sourceText, QString::fromStdString(set->source));
    refreshRatios();
    setShown(m_noUmfNote, !hasUmf && !m_chemistry.molePercent.empty());
    m_grid->setContent(m_chemistry, *m_comparison, m_offersNudge, m_includeAdditions);

    const std::vector<GlazeCore::Oxide> notListed = m_comparison->notListedOxides();
    setShown(m_notListed, !notListed.empty());
    if (!notListed.empty()) setTextIfNew(m_notListed, ChemistryTexts::notListedLine(notListed));
    const int outside = m_comparison->outsideRangeCount();
    setShown(m_outside, outside > 0);
    if (outside > 0) m_outside->setText(ChemistryTexts::outsideRangeText(outside));
    refreshWarnings();
}

void ChemistryPanel::refreshPicker(const GlazeCore::LimitSet* set) {
    const int index = set ? int(set - sets().data()) : -1;
    if (m_picker->currentIndex() != index) m_picker->setCurrentIndex(index);
    const QString help = ChemistryTexts::limitSetHelp(set);
    if (m_picker->toolTip() != help) m_picker->setToolTip(help);
}

void ChemistryPanel::refreshRatios() {
    setTextIfNew(ratioValue(siAlRow), ChemistryTexts::siAlValue(m_chemistry));
    ratioLabel(siAlRow)->setAccessibleName(ChemistryTexts::siAlSpoken(m_chemistry));
    setTextIfNew(ratioValue(r2oRow), ChemistryTexts::r2oValue(m_chemistry));
    ratioLabel(r2oRow)->setAccessibleName(ChemistryTexts::r2oSpoken(m_chemistry));
    ratioValue(r2oRow)->setToolTip(ChemistryTexts::r2oHelp(m_chemistry));
    setTextIfNew(ratioValue(expansionRow), ChemistryTexts::expansionValue(m_chemistry));
    ratioLabel(expansionRow)->setAccessibleName(ChemistryTexts::expansionSpoken(m_chemistry));
    const bool partial = m_chemistry.expansionIsPartial();
    setShown(m_partialNote, partial);
    if (partial) setTextIfNew(m_partialNote, ChemistryTexts::expansionPartialNote(m_chemistry));
}

void ChemistryPanel::refreshWarnings() {
    const auto& warnings = m_chemistry.warnings;
    setShown(m_warnings, !warnings.empty());
    // Labels are kept for reuse; a recipe's warnings come and go as it is typed.
    while (m_warningLabels.size() < warnings.size()) {
        auto* label = new IconLabel(Symbol::exclamationTriangle, IconLabel::Tone::primary, Style::callout);
        m_warningList->addWidget(label);
        m_warningLabels.push_back(label);
    }
    for (std::size_t i = 0; i < m_warningLabels.size(); ++i) {
        const bool used = i < warnings.size();
        setShown(m_warningLabels[i], used);
        // A warning can quote a material id from the book, of any length and with controls.
        if (used)
            m_warningLabels[i]->setText(
                visibleText(GlazeCore::OxideText::subscriptedText(warnings[i]), shownTextLimit));
    }
}

std::vector<IconLabel*> ChemistryPanel::shownWarnings() const {
    std::vector<IconLabel*> shown;
    for (IconLabel* label : m_warningLabels)
        if (!label->isHidden()) shown.push_back(label);
    return shown;
}

} // namespace Orza
