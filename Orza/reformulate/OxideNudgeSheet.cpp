#include "Orza/reformulate/OxideNudgeSheet.h"

#include "GlazeCore/reformulate/OxideNudge.h"
#include "GlazeCore/reformulate/ReformulateLeastSquares.h"
#include "Orza/chemistry/ChemistryTexts.h"
#include "Orza/display/NumberDisplay.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/models/PaneContext.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/AccessibleHeading.h"
#include "Orza/platform/DialogKeys.h"
#include "Orza/platform/GlazeMainApp.h"
#include "Orza/reformulate/AdjustmentSummary.h"
#include "Orza/reformulate/NudgeRules.h"
#include "Orza/widgets/AccessibleComboBox.h"
#include "Orza/widgets/ArrowStepper.h"
#include "Orza/widgets/Divider.h"
#include "Orza/widgets/IconLabel.h"
#include "Orza/widgets/LiveNumberField.h"
#include "Orza/widgets/SheetOnScreen.h"
#include "Orza/widgets/TextStyle.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace Orza {

namespace {

using GlazeCore::Oxide;
using Style = TextStyle::Style;

constexpr int targetFieldWidth = 70;

std::optional<GlazeCore::Chemistry> baseChemistryOf(const GlazeCore::Recipe& recipe, const BookLibrary& library) {
    try {
        return GlazeCore::Reformulate::baseChemistry(recipe, library);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

QLabel* secondaryLabel(const QString& text = {}) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    TextStyle::makeSecondary(label);
    return label;
}

} // namespace

OxideNudgeSheet::OxideNudgeSheet(BookDocument& document, const GlazeCore::Uuid& recipeID, Oxide oxide, double target,
                                 Select select, QWidget* parent)
    : ReformulateSheet(document, recipeID, std::move(select), parent), m_oxide(oxide), m_target(target) {
    setWindowTitle(tr("Oxide Nudge"));
    auto* title = new QLabel(tr("Oxide Nudge"));
    TextStyle::apply(title, Style::title2, QFont::DemiBold);
    markAsHeading(title);
    auto* explanation = secondaryLabel(
        GlazeMainApp::appName() +
        tr(" changes the amounts of the materials in this recipe so that one oxide reaches the target in the unity "
           "formula, when these materials can reach it. The other oxides stay as close to their current values as "
           "these materials allow, and the amounts stay as near their current values as they can. The new base is "
           "scaled to 100. Additions are not changed and are not counted here."));
    explanation->setWordWrap(true);
    content()->addWidget(title);
    content()->addWidget(explanation);
    content()->addWidget(makeTargetRow());
    content()->addWidget(divider());
    content()->addWidget(makeResultArea(), 1);
    content()->addWidget(divider());
    content()->addWidget(makeButtons());
    DialogKeys::follow(*this, *m_apply);
    refresh();
    // Typing a target is what the sheet is for.
    m_targetField->setFocus();
    m_targetField->selectAll();
}

OxideNudgeSheet* OxideNudgeSheet::open(const PaneContext& context, const GlazeCore::Uuid& recipeID,
                                       const NudgeRequest& request) {
    BookDocument* document = &context.document;
    WindowModel* model = &context.model;
    const auto make = [&]() -> OxideNudgeSheet* {
        const GlazeCore::Recipe* recipe = document->recipe(recipeID);
        if (!recipe) return nullptr;
        const double target = initialTarget(*recipe, document->library(), request);
        return new OxideNudgeSheet(
            *document, recipeID, request.oxide, target,
            [model](const GlazeCore::Uuid& id) { model->setSelection(SidebarItem::recipe(id)); }, &context.host);
    };
    return openSheet<OxideNudgeSheet>(context.host, make,
                                      SheetFlag<WindowModel>{model, &WindowModel::nudgeChanged,
                                                             [model] { return model->nudge().has_value(); },
                                                             [model, request] { model->setNudge(request); },
                                                             [model] { model->setNudge(std::nullopt); }});
}

double OxideNudgeSheet::initialTarget(const GlazeCore::Recipe& recipe, const BookLibrary& library,
                                      const NudgeRequest& request) {
    const double current = NudgeRules::currentValue(baseChemistryOf(recipe, library), request.oxide);
    return NudgeRules::initialTarget(current, request.direction);
}

QWidget* OxideNudgeSheet::makeTargetRow() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);

    auto* pickerLabel = new QLabel(tr("Oxide"));
    m_picker = new QComboBox;
    setComboBoxName(m_picker, tr("Oxide"));
    m_picker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    pickerLabel->setBuddy(m_picker);
    connect(m_picker, &QComboBox::activated, this, [this](int index) {
        const QVariant data = m_picker->itemData(index);
        if (data.isValid()) setOxide(Oxide(data.toInt()));
    });
    auto* pickerPair = new QHBoxLayout;
    pickerPair->setSpacing(6);
    pickerPair->addWidget(pickerLabel);
    pickerPair->addWidget(m_picker);
    layout->addLayout(pickerPair);

    m_now = secondaryLabel();
    m_now->setFont(TextStyle::monospacedDigits(m_now->font()));
    layout->addWidget(m_now);

    auto* targetLabel = new QLabel(tr("Target UMF"));
    m_targetField = new LiveNumberField(tr("Target UMF"), m_target, {0, 3}, false);
    m_targetField->setFixedWidth(targetFieldWidth);
    m_targetField->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    targetLabel->setBuddy(m_targetField);
    connect(m_targetField, &LiveNumberField::valueEdited, this, &OxideNudgeSheet::setTarget);
    m_stepper = new ArrowStepper;
    m_stepper->setAccessibleName(tr("Change the target by %1").arg(formatDoublePlaces(2, NudgeRules::stepperStep)));
    connect(m_stepper, &ArrowStepper::incremented, this, [this] { step(1); });
    connect(m_stepper, &ArrowStepper::decremented, this, [this] { step(-1); });
    auto* targetGroup = new QHBoxLayout;
    targetGroup->setSpacing(4);
    targetGroup->addWidget(targetLabel);
    targetGroup->addWidget(m_targetField);
    targetGroup->addWidget(m_stepper);
    layout->addLayout(targetGroup);

    m_change = secondaryLabel();
    m_change->setFont(TextStyle::monospacedDigits(m_change->font()));
    layout->addWidget(m_change);
    layout->addStretch(1);
    return row;
}

QWidget* OxideNudgeSheet::makeResultArea() {
    m_failure = new IconLabel(Symbol::exclamationTriangle, IconLabel::Tone::primary, Style::body);
    m_suggestionNote = secondaryLabel(tr("Add one of these materials to the calculation:"));
    m_suggestionRow = new QWidget;
    auto* buttons = new QHBoxLayout(m_suggestionRow);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch(1);
    return ReformulateSheet::makeResultArea({m_failure, m_suggestionNote, m_suggestionRow});
}

QWidget* OxideNudgeSheet::makeButtons() {
    m_copy = button(tr("Apply as Copy"),
                    tr("Add the changed recipe to the book as a new recipe. This recipe stays as it is."));
    m_apply = button(tr("Apply"), tr("Change this recipe. Edit > Undo takes it back."));
    connect(m_copy, &QPushButton::clicked, this, &ReformulateSheet::applyAsCopy);
    connect(m_apply, &QPushButton::clicked, this, &ReformulateSheet::applyInPlace);
    return makeButtonRow({m_copy, m_apply});
}

void OxideNudgeSheet::setOxide(Oxide oxide) {
    if (oxide == m_oxide) return;
    m_oxide = oxide;
    m_target = NudgeRules::currentValue(m_base, oxide);
    m_extras.clear();
    refresh();
}

void OxideNudgeSheet::setTarget(double target) {
    if (target == m_target) return;
    m_target = target;
    refresh();
}

void OxideNudgeSheet::addExtra(const std::string& materialID) {
    m_extras.push_back(materialID);
    refresh();
}

void OxideNudgeSheet::step(int direction) {
    if (const auto next = NudgeRules::stepped(m_target, direction)) setTarget(*next);
}

double OxideNudgeSheet::currentValue() const {
    return NudgeRules::currentValue(m_base, m_oxide);
}

bool OxideNudgeSheet::hasChanges() const {
    const GlazeCore::Adjustment* adjusted = adjustment();
    return adjusted && NudgeRules::hasChanges(adjusted->recipe, recipe());
}

std::optional<ReformulateSheet::Result> OxideNudgeSheet::solve(const GlazeCore::Recipe& recipe) {
    // Read once per solve: the picker, the current value and the change all come from it.
    m_base = baseChemistryOf(recipe, library());
    return run([&] { return GlazeCore::Reformulate::oxideNudge(recipe, m_oxide, m_target, library(), m_extras); });
}

void OxideNudgeSheet::showResult() {
    showPicker();
    showTargetRow();
    if (const GlazeCore::Adjustment* adjusted = adjustment()) {
        const Oxide nudged = m_oxide;
        summary()->setContent(recipe(), *adjusted, library(), tr("Target"),
                              [nudged](Oxide missed, double miss, const GlazeCore::Adjustment&) {
                                  return QString::fromStdString(GlazeCore::Adjustment::nudgeMissText(
                                      missed, miss, nudged, QLocale().name().toStdString()));
                              });
        showSummary(true);
    } else if (result()) {
        showFailure(std::get<Failure>(*result()));
        showSummary(false);
    }
    const bool canApply = hasChanges();
    m_copy->setEnabled(canApply);
    m_apply->setEnabled(canApply);
}

void OxideNudgeSheet::showPicker() {
    auto groups = NudgeRules::pickerGroups(m_base);
    const QSignalBlocker quiet(m_picker);
    if (m_pickerFirst != groups.first) {
        // Rebuilt only when an oxide moves between the groups, so the open list is not disturbed by typing.
        m_pickerFirst = groups.first;
        m_picker->clear();
        for (const Oxide oxide : groups.first)
            m_picker->addItem(ChemistryTexts::formula(oxide), int(oxide));
        if (!groups.first.empty()) m_picker->insertSeparator(m_picker->count());
        for (const Oxide oxide : groups.second)
            m_picker->addItem(ChemistryTexts::formula(oxide), int(oxide));
    }
    m_picker->setCurrentIndex(m_picker->findData(int(m_oxide)));
}

void OxideNudgeSheet::showTargetRow() {
    const double current = currentValue();
    const QString now = formatDoublePlaces(3, current);
    m_now->setText(tr("Now %1").arg(now));
    m_now->setAccessibleName(tr("Current UMF %1").arg(now));
    m_targetField->setValue(m_target);
    m_targetField->setAccessibleName(tr("Target UMF for %1").arg(spokenFormula(m_oxide)));
    m_stepper->upButton()->setEnabled(NudgeRules::stepped(m_target, 1).has_value());
    m_stepper->downButton()->setEnabled(NudgeRules::stepped(m_target, -1).has_value());
    m_stepper->setSteppedValue(m_target, formatDoublePlaces(3, m_target));
    m_change->setText(tr("Change %1").arg(NudgeRules::changeText(m_target, current)));
}

void OxideNudgeSheet::showFailure(const Failure& failure) {
    m_failure->setText(failure.message);
    std::vector<GlazeCore::Material> suggested;
    if (failure.error)
        if (const auto* noSource = std::get_if<GlazeCore::ReformulateError::NoSource>(&failure.error->value()))
            suggested = GlazeCore::Reformulate::sourceMaterials(noSource->oxide, library(), 4);
    showSuggestions(suggested);
}

void OxideNudgeSheet::showSuggestions(const std::vector<GlazeCore::Material>& materials) {
    std::vector<std::string> ids;
    for (const GlazeCore::Material& material : materials)
        ids.push_back(material.id);
    if (ids != m_suggestedIDs) {
        m_suggestedIDs = ids;
        for (QPushButton* old : m_suggestions) {
            // Later: the press that brought this here may come from one of them.
            old->hide();
            old->deleteLater();
        }
        m_suggestions.clear();
        auto* row = static_cast<QHBoxLayout*>(m_suggestionRow->layout());
        for (const GlazeCore::Material& material : materials) {
            auto* add = button(tr("Add %1").arg(shownText(material.name)));
            connect(add, &QPushButton::clicked, this, [this, id = material.id] { addExtra(id); });
            row->insertWidget(row->count() - 1, add);
            m_suggestions.push_back(add);
        }
    }
    m_suggestionNote->setVisible(!materials.empty());
    m_suggestionRow->setVisible(!materials.empty());
}

std::vector<QPushButton*> OxideNudgeSheet::suggestionButtons() const {
    return m_suggestions;
}

QString OxideNudgeSheet::copySuffix() const {
    return NudgeRules::copySuffix(m_oxide, m_target);
}

QString OxideNudgeSheet::inPlaceStepName() const {
    return tr("Oxide Nudge");
}

QString OxideNudgeSheet::copyStepName() const {
    return tr("Oxide Nudge as Copy");
}

} // namespace Orza
