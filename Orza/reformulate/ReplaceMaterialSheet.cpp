#include "Orza/reformulate/ReplaceMaterialSheet.h"

#include "GlazeCore/reformulate/ReplaceMaterial.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/models/PaneContext.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/AccessibleHeading.h"
#include "Orza/platform/DialogKeys.h"
#include "Orza/platform/GlazeMainApp.h"
#include "Orza/reformulate/AdjustmentSummary.h"
#include "Orza/reformulate/MaterialPickerButton.h"
#include "Orza/reformulate/ReplaceRules.h"
#include "Orza/widgets/AccessibleComboBox.h"
#include "Orza/widgets/Divider.h"
#include "Orza/widgets/IconLabel.h"
#include "Orza/widgets/SheetOnScreen.h"
#include "Orza/widgets/TextStyle.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace Orza {

namespace {

using Style = TextStyle::Style;

constexpr int replacePickerMaximumWidth = 300;
constexpr int withButtonWidth = 260;

QLabel* secondaryLabel(const QString& text = {}) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    TextStyle::makeSecondary(label);
    return label;
}

} // namespace

ReplaceMaterialSheet::ReplaceMaterialSheet(BookDocument& document, const GlazeCore::Uuid& recipeID, std::string oldID,
                                           Select select, QWidget* parent)
    : ReformulateSheet(document, recipeID, std::move(select), parent), m_oldID(std::move(oldID)) {
    setWindowTitle(tr("Replace Material"));
    auto* title = new QLabel(tr("Replace Material"));
    TextStyle::apply(title, Style::title2, QFont::DemiBold);
    markAsHeading(title);
    auto* explanation = secondaryLabel(
        tr("Choose a base material and the material to use in its place. ") + GlazeMainApp::appName() +
        tr(" works out new amounts for the new material and the other base materials, so that the unity formula "
           "stays as close to the original as these materials allow, and the other amounts stay as near their "
           "current values as they can. Additions are not changed."));
    content()->addWidget(title);
    content()->addWidget(explanation);
    content()->addWidget(makeChoiceRow());
    content()->addWidget(divider());
    content()->addWidget(makeResultArea(), 1);
    m_caution = secondaryLabel(tr("A matching unity formula does not promise the same glaze. Particle size, "
                                  "impurities and the real analysis of your materials also matter. Test the new "
                                  "recipe on tiles."));
    TextStyle::apply(m_caution, Style::caption);
    content()->addWidget(m_caution);
    content()->addWidget(divider());
    content()->addWidget(makeButtons());
    DialogKeys::follow(*this, *m_save);
    connect(&document, &BookDocument::libraryChanged, m_with, [this] { m_with->setLibrary(library()); });
    // The material to put in is what is left to choose.
    m_with->setFocus();
    refresh();
}

ReplaceMaterialSheet* ReplaceMaterialSheet::open(const PaneContext& context, const GlazeCore::Uuid& recipeID,
                                                 const ReplaceRequest& request) {
    BookDocument* document = &context.document;
    WindowModel* model = &context.model;
    const auto make = [&]() -> ReplaceMaterialSheet* {
        const GlazeCore::Recipe* recipe = document->recipe(recipeID);
        if (!recipe) return nullptr;
        return new ReplaceMaterialSheet(
            *document, recipeID, ReplaceRules::initialOldID(*recipe, document->library(), request.materialID),
            [model](const GlazeCore::Uuid& id) { model->setSelection(SidebarItem::recipe(id)); }, &context.host);
    };
    return openSheet<ReplaceMaterialSheet>(context.host, make,
                                           SheetFlag<WindowModel>{model, &WindowModel::replaceChanged,
                                                                  [model] { return model->replace().has_value(); },
                                                                  [model, request] { model->setReplace(request); },
                                                                  [model] { model->setReplace(std::nullopt); }});
}

QWidget* ReplaceMaterialSheet::makeChoiceRow() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);

    auto* replaceLabel = new QLabel(tr("Replace"));
    m_picker = new QComboBox;
    setComboBoxName(m_picker, tr("Replace"));
    m_picker->setMaximumWidth(replacePickerMaximumWidth);
    m_picker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    replaceLabel->setBuddy(m_picker);
    connect(m_picker, &QComboBox::activated, this,
            [this](int index) { setOldID(m_picker->itemData(index).toString().toStdString()); });
    auto* pickerPair = new QHBoxLayout;
    pickerPair->setSpacing(6);
    pickerPair->addWidget(replaceLabel);
    pickerPair->addWidget(m_picker);
    layout->addLayout(pickerPair);

    auto* withPair = new QHBoxLayout;
    withPair->setSpacing(6);
    withPair->addWidget(new QLabel(tr("With")), 0, Qt::AlignVCenter);
    m_with = new MaterialPickerButton(library());
    m_with->setFixedWidth(withButtonWidth);
    connect(m_with, &MaterialPickerButton::materialPicked, this, &ReplaceMaterialSheet::setNewID);
    withPair->addWidget(m_with, 0, Qt::AlignVCenter);
    layout->addLayout(withPair);
    layout->addStretch(1);
    return row;
}

QWidget* ReplaceMaterialSheet::makeResultArea() {
    m_prompt = secondaryLabel();
    m_failure = new IconLabel(Symbol::exclamationTriangle, IconLabel::Tone::primary, Style::body);
    return ReformulateSheet::makeResultArea({m_prompt, m_failure});
}

QWidget* ReplaceMaterialSheet::makeButtons() {
    m_replace = button(tr("Replace in This Recipe"), tr("Change this recipe. Edit > Undo takes it back."));
    m_save = button(tr("Save as New Recipe"),
                    tr("Add the new recipe to the book. This recipe and its test log entries stay as they are."));
    connect(m_replace, &QPushButton::clicked, this, &ReformulateSheet::applyInPlace);
    connect(m_save, &QPushButton::clicked, this, &ReformulateSheet::applyAsCopy);
    return makeButtonRow({m_replace, m_save});
}

void ReplaceMaterialSheet::setOldID(const std::string& id) {
    if (id == m_oldID) return;
    m_oldID = id;
    refresh();
}

void ReplaceMaterialSheet::setNewID(const std::string& id) {
    m_with->setMaterialID(id);
    if (id == m_newID) return;
    m_newID = id;
    refresh();
}

bool ReplaceMaterialSheet::hasChanges() const {
    const GlazeCore::Adjustment* adjusted = adjustment();
    return adjusted && ReplaceRules::hasChanges(adjusted->recipe, recipe());
}

std::optional<ReformulateSheet::Result> ReplaceMaterialSheet::solve(const GlazeCore::Recipe& recipe) {
    // The same list feeds the picker and the prompt, read once per solve.
    m_baseIDs = ReplaceRules::baseMaterialIDs(recipe, library());
    if (m_oldID.empty() || m_newID.empty()) return std::nullopt;
    return run([&] { return GlazeCore::Reformulate::replaceMaterial(recipe, m_oldID, m_newID, library()); });
}

void ReplaceMaterialSheet::showResult() {
    showPicker();
    const GlazeCore::Adjustment* adjusted = adjustment();
    m_prompt->setVisible(!result());
    m_failure->setVisible(result() && !adjusted);
    if (adjusted) {
        summary()->setContent(recipe(), *adjusted, library(), tr("Original"),
                              [](GlazeCore::Oxide oxide, double miss, const GlazeCore::Adjustment& whole) {
                                  return QString::fromStdString(GlazeCore::Adjustment::replaceMissText(
                                      oxide, miss, whole, QLocale().name().toStdString()));
                              });
        showSummary(true);
    } else {
        if (!result())
            m_prompt->setText(m_baseIDs.empty() ? tr("This recipe has no base materials to replace. Choose materials "
                                                     "in the recipe table first.")
                                                : tr("Choose the material to use in its place."));
        else
            m_failure->setText(std::get<Failure>(*result()).message);
        showSummary(false);
    }
    const bool canApply = hasChanges();
    m_replace->setEnabled(canApply);
    m_save->setEnabled(canApply);
}

void ReplaceMaterialSheet::showPicker() {
    const QSignalBlocker quiet(m_picker);
    QStringList names;
    for (const std::string& id : m_baseIDs)
        names.append(materialDisplayName(id, library()));
    // Rebuilt only when the list or a name in it changes, so an open list is not disturbed.
    if (m_pickerIDs != m_baseIDs || m_pickerNames != names) {
        m_pickerIDs = m_baseIDs;
        m_pickerNames = names;
        m_picker->clear();
        for (qsizetype i = 0; i < names.size(); ++i)
            m_picker->addItem(names[i], QString::fromStdString(m_baseIDs[std::size_t(i)]));
    }
    m_picker->setCurrentIndex(m_picker->findData(QString::fromStdString(m_oldID)));
}

QString ReplaceMaterialSheet::copySuffix() const {
    return ReplaceRules::copySuffix(m_newID, library());
}

QString ReplaceMaterialSheet::inPlaceStepName() const {
    return tr("Replace Material");
}

QString ReplaceMaterialSheet::copyStepName() const {
    return tr("Save as New Recipe");
}

} // namespace Orza
