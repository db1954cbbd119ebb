#include "Orza/recipe/RecipePane.h"

#include "GlazeCore/book/OrtonCones.h"
#include "GlazeCore/book/RecipeCheck.h"
#include "GlazeCore/chemistry/GlazeCalculator.h"
#include "GlazeCore/core/Error.h"
#include "GlazeCore/layout/WindowLayout.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/actions/Command.h"
#include "Orza/actions/DocumentFieldKeys.h"
#include "Orza/batch/BatchMenuPrint.h"
#include "Orza/batch/BatchSheet.h"
#include "Orza/blends/BlendSheet.h"
#include "Orza/chemistry/ChemistryPanel.h"
#include "Orza/chemistry/StullChartView.h"
#include "Orza/display/ShownTextEdit.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/models/PaneContext.h"
#include "Orza/models/WindowModel.h"
#include "Orza/recipe/NotesField.h"
#include "Orza/recipe/RecipeLinesTable.h"
#include "Orza/reformulate/OxideNudgeSheet.h"
#include "Orza/reformulate/ReplaceMaterialSheet.h"
#include "Orza/settings/Settings.h"
#include "Orza/settings/WindowState.h"
#include "Orza/sidebar/SidebarRows.h"
#include "Orza/widgets/AccessibleComboBox.h"
#include "Orza/widgets/ConeTyping.h"
#include "Orza/widgets/IconLabel.h"
#include "Orza/widgets/LongNotes.h"
#include "Orza/widgets/OneLineText.h"
#include "Orza/widgets/ShownTextKeys.h"
#include "Orza/widgets/TextStyle.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <unordered_map>

namespace Orza {

namespace {

constexpr double boronThreshold = 0.00005;
constexpr double samePointTolerance = 1e-6;

QFrame* line(QFrame::Shape shape) {
    auto* divider = new QFrame;
    divider->setFrameShape(shape);
    divider->setFrameShadow(QFrame::Sunken);
    return divider;
}

bool nearlySame(const StullPoint& a, const StullPoint& b) {
    return std::fabs(a.siO2 - b.siO2) < samePointTolerance && std::fabs(a.al2O3 - b.al2O3) < samePointTolerance;
}

/// The calculation leaves out a material whose analysis is not valid as if it were unknown; the book does
/// hold it, so its warning says what is wrong with it instead.
void nameInvalidMaterials(std::vector<std::string>& warnings, const GlazeCore::Recipe& recipe,
                          const BookLibrary& library) {
    std::unordered_map<std::string, std::string> named; // the calculator's warning → ours
    for (const GlazeCore::RecipeLine& line : recipe.lines) {
        const GlazeCore::Material* held = library.find(line.materialID);
        if (!held || library.material(line.materialID)) continue;
        named.try_emplace(GlazeCore::GlazeCalculator::unknownMaterialWarning(line.materialID),
                          RecipePane::tr("\"%1\" has an analysis that is not valid: line ignored. Correct it on the "
                                         "Materials page.")
                              .arg(visibleText(held->name))
                              .toStdString());
    }
    if (named.empty()) return;
    for (std::string& warning : warnings)
        if (const auto found = named.find(warning); found != named.end()) warning = found->second;
}

} // namespace

RecipePane::RecipePane(const PaneContext& context, const GlazeCore::Uuid& recipeID, QWidget* parent)
    : QWidget(parent), m_context(context), m_document(context.document), m_recipeID(recipeID),
      m_refresh(new QTimer(this)) {
    m_refresh->setSingleShot(true);
    m_refresh->setInterval(0);
    connect(m_refresh, &QTimer::timeout, this, &RecipePane::refresh);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(buildEditorColumn(), 1);
    buildChemistryColumn();
    row->addWidget(m_columnDivider);
    row->addWidget(m_column);

    connectDocument();
    showRecipeFields();
    followChemistryShown();
    refresh();
    setHandlers();
}

RecipePane::~RecipePane() = default;

QPlainTextEdit* RecipePane::notesField() const {
    return m_notes;
}

QWidget* RecipePane::buildEditorColumn() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    buildHeader();
    auto* header = new QWidget;
    auto* fields = new QVBoxLayout(header);
    const int pad = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    fields->setContentsMargins(pad, pad, pad, 8);
    fields->setSpacing(6);
    auto* first = new QHBoxLayout;
    first->setSpacing(12);
    first->addWidget(m_name, 1, Qt::AlignBaseline);
    first->addWidget(m_cone, 0, Qt::AlignBaseline);
    fields->addLayout(first);
    fields->addWidget(m_notes);
    fields->addWidget(m_notesTooLong);
    layout->addWidget(header);

    m_lines = new RecipeLinesTable(m_document, m_recipeID, &m_context.actions);
    m_lines->setReplaceAction([this](const std::string& materialID) {
        ReplaceMaterialSheet::open(m_context, m_recipeID, ReplaceRequest{GlazeCore::Uuid::random(), materialID});
    });
    // The table takes the height its lines ask for (it may shrink when space is short); the chart the rest.
    m_lines->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    layout->addWidget(m_lines);
    layout->addWidget(line(QFrame::HLine));
    m_chart = new StullChartView;
    auto* chartBox = new QWidget;
    auto* chartLayout = new QVBoxLayout(chartBox);
    chartLayout->setContentsMargins(pad, 10, pad, 10);
    chartLayout->addWidget(m_chart);
    layout->addWidget(chartBox, 1);
    return column;
}

void RecipePane::buildHeader() {
    m_name = new QLineEdit;
    OneLineText::keepWhole(m_name);
    eraseHiddenByKeys(m_name, m_nameEdit,
                      [this](const std::string& whole) { m_document.setRecipeName(m_recipeID, whole); });
    m_name->setFrame(false);
    m_name->setPlaceholderText(tr("Recipe name"));
    m_name->setAccessibleName(tr("Recipe name"));
    m_name->setFont(TextStyle::semibold(TextStyle::font(TextStyle::Style::title2, font())));
    connect(m_name, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_document.setRecipeName(m_recipeID, m_nameEdit.edit(text)); });

    m_cone = new QComboBox;
    m_cone->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    setComboBoxName(m_cone, tr("Cone"));
    chooseConesByTyping(m_cone);
    connect(m_cone, &QComboBox::activated, this, [this](int index) {
        m_document.endEditBurst();
        m_document.setRecipeCone(m_recipeID, m_cone->itemData(index).toString().toStdString());
        m_document.endEditBurst();
    });

    m_notes = new NotesField(3);
    m_notes->setPlaceholderText(tr("Notes"));
    m_notes->setAccessibleName(tr("Recipe notes"));
    m_notes->setFrameShape(QFrame::NoFrame);
    m_notes->setTabChangesFocus(true);
    m_notes->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    TextStyle::makeSecondary(m_notes);
    m_notesTooLong = LongNotes::makeNotice();
    connect(m_notes, &QPlainTextEdit::textChanged, this, [this] {
        // Only what the user types writes: showing the stored notes writes nothing.
        if (m_notes->property("showing").toBool()) return;
        m_document.setRecipeNotes(m_recipeID, m_notes->toPlainText().toStdString());
    });
    // Notes typed past the limits stay editable until the user leaves them.
    connect(m_notes, &NotesField::left, this, &RecipePane::showNotes);

    for (QWidget* field : {static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_notes)})
        DocumentFieldKeys::attach(field, m_document, m_context.actions);
}

void RecipePane::buildChemistryColumn() {
    m_columnDivider = line(QFrame::VLine);
    m_column = new QScrollArea;
    m_column->setFrameShape(QFrame::NoFrame);
    m_column->setWidgetResizable(true);
    m_column->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_column->setAccessibleName(tr("Chemistry"));
    // It only scrolls: the controls inside take the keyboard focus, the area does not.
    m_column->setFocusPolicy(Qt::NoFocus);

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    const int pad = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    layout->setContentsMargins(pad, 18, pad, pad);
    layout->setSpacing(14);
    m_noteTitle = new QLabel(tr("Chemistry"));
    m_noteTitle->setFont(TextStyle::semibold(TextStyle::font(TextStyle::Style::title3, font())));
    m_note = new IconLabel(Symbol::exclamationTriangle, IconLabel::Tone::secondary, TextStyle::Style::body);
    m_panel = new ChemistryPanel;
    m_panel->setOffersNudge(true);
    connect(m_panel, &ChemistryPanel::nudgeRequested, this, &RecipePane::requestNudge);
    m_bundledProblem = new IconLabel(Symbol::exclamationOctagon, IconLabel::Tone::warning, TextStyle::Style::body);
    if (const auto problem = BookLibrary::bundledLoadProblem()) m_bundledProblem->setText(*problem);
    m_bundledProblem->setVisible(BookLibrary::bundledLoadProblem().has_value());
    layout->addWidget(m_noteTitle);
    layout->addWidget(m_note);
    layout->addWidget(m_panel);
    layout->addWidget(m_bundledProblem);
    layout->addStretch(1);
    m_column->setWidget(content);
}

void RecipePane::connectDocument() {
    BookDocument* document = &m_document;
    connect(document, &BookDocument::recipeChanged, this, [this](const GlazeCore::Uuid& id, RecipeField field) {
        if (id != m_recipeID) return;
        if (field == RecipeField::cone)
            showCone();
        else
            showRecipeFields();
        setWindowTitle(subtitle(*m_document.recipe(m_recipeID)));
    });
    connect(document, &BookDocument::recipeEdited, this, [this](const GlazeCore::Uuid& id) {
        if (id == m_recipeID) scheduleRefresh();
    });
    connect(document, &BookDocument::libraryChanged, this, &RecipePane::scheduleRefresh);
    connect(document, &BookDocument::reset, this, [this] {
        if (!m_document.recipe(m_recipeID)) return;
        showRecipeFields();
        scheduleRefresh();
    });
    connect(&Settings::instance(), &Settings::changed, this, [this](Settings::Key key) {
        if (key == Settings::Key::includeAdditions) scheduleRefresh();
    });
    connect(&m_context.state, &WindowState::showChemistryChanged, this, &RecipePane::followChemistryShown);
    connect(&m_context.model, &WindowModel::trailsChanged, this, &RecipePane::updateChart);
    // Add Material stops at the book's line limit, so the menus hear of the count.
    const auto recount = [this](const GlazeCore::Uuid& id) {
        if (id == m_recipeID) m_context.actions.update();
    };
    connect(document, &BookDocument::linesInserted, this, recount);
    connect(document, &BookDocument::linesRemoved, this, recount);
    connect(document, &BookDocument::linesReset, this, recount);
}

void RecipePane::showRecipeFields() {
    const GlazeCore::Recipe* recipe = m_document.recipe(m_recipeID);
    if (!recipe) return;
    // Text typed that already means what the book holds stays as typed, cursor and all. A name of millions of
    // characters shows its ends.
    if (!m_nameEdit.showing(recipe->name, m_name->text())) {
        const QString name = m_nameEdit.show(recipe->name);
        if (m_name->text() != name) m_name->setText(name);
    }
    showNotes();
    showCone();
    setWindowTitle(subtitle(*recipe));
}

void RecipePane::showNotes() {
    const GlazeCore::Recipe* recipe = m_document.recipe(m_recipeID);
    if (!recipe) return;
    // Notes too long to type in are shown shortened, and only shown: the book keeps them as they are.
    const QString notes = LongNotes::show(recipe->notes, m_notes, m_notesTooLong);
    if (m_notes->toPlainText() != notes) {
        m_notes->setProperty("showing", true);
        m_notes->setPlainText(notes);
        m_notes->setProperty("showing", false);
    }
}

void RecipePane::showCone() {
    const GlazeCore::Recipe* recipe = m_document.recipe(m_recipeID);
    if (!recipe) return;
    const QSignalBlocker quiet(m_cone);
    m_cone->clear();
    for (const std::string& cone : coneChoices(recipe->cone))
        m_cone->addItem(tr("Cone %1").arg(shownText(cone)), QString::fromStdString(cone));
    m_cone->setCurrentIndex(m_cone->findData(QString::fromStdString(recipe->cone)));
}

std::vector<std::string> RecipePane::coneChoices(const std::string& cone) {
    std::vector<std::string> choices = GlazeCore::OrtonCones::all();
    if (std::find(choices.begin(), choices.end(), cone) == choices.end()) choices.push_back(cone);
    return choices;
}

QString RecipePane::subtitle(const GlazeCore::Recipe& recipe) {
    const QString name = recipe.name.empty() ? SidebarRows::displayName(recipe) : titleText(recipe.name);
    return tr("%1 \u00b7 Cone %2").arg(name, titleText(recipe.cone));
}

void RecipePane::focusName() {
    // Ready to be named: typing replaces "New recipe N".
    m_name->setFocus(Qt::OtherFocusReason);
    m_name->selectAll();
}

void RecipePane::scheduleRefresh() {
    m_refresh->start();
}

void RecipePane::refreshNow() {
    m_refresh->stop();
    refresh();
}

RecipePane::LiveChemistry RecipePane::chemistryOf(const GlazeCore::Recipe& recipe, const BookLibrary& library,
                                                  bool includeAdditions) {
    LiveChemistry live;
    GlazeCore::Recipe chosen{recipe.id, recipe.name, recipe.cone, {}, recipe.notes};
    chosen.lines.reserve(recipe.lines.size());
    for (const GlazeCore::RecipeLine& line : recipe.lines)
        if (!line.materialID.empty()) chosen.lines.push_back(line);
    live.nothingChosen = chosen.lines.empty();
    try {
        live.result = GlazeCore::GlazeCalculator::chemistry(chosen, library, includeAdditions);
        nameInvalidMaterials(live.result->warnings, chosen, library);
    } catch (const GlazeCore::Error& error) {
        live.failure = QString::fromStdString(error.message());
    } catch (const std::exception& error) {
        live.failure = QString::fromUtf8(error.what());
    }
    return live;
}

std::optional<StullPoint> RecipePane::pointOf(const LiveChemistry& chemistry) {
    if (!chemistry.result) return std::nullopt;
    const double x = GlazeCore::oxideValue(chemistry.result->umf, GlazeCore::Oxide::SiO2);
    const double y = GlazeCore::oxideValue(chemistry.result->umf, GlazeCore::Oxide::Al2O3);
    if (!std::isfinite(x) || !std::isfinite(y) || !(x > 0 || y > 0)) return std::nullopt;
    return StullPoint{x, y};
}

bool RecipePane::hasBoron(const LiveChemistry& chemistry) {
    if (!chemistry.result) return false;
    const auto& umf = chemistry.result->umf;
    const auto found = umf.find(GlazeCore::Oxide::B2O3);
    return found != umf.end() && found->second > boronThreshold;
}

void RecipePane::refresh() {
    const GlazeCore::Recipe* recipe = m_document.recipe(m_recipeID);
    if (!recipe) return;
    m_live =
        chemistryOf(*recipe, m_document.library(), Settings::instance().boolValue(Settings::Key::includeAdditions));
    const auto point = pointOf(m_live);
    const bool moved = point != m_point || !m_point;
    m_point = point;
    // A new place joins the recipe's trail; the chart then draws the places before it.
    if (point && moved) m_context.model.recordTrail(*point, m_recipeID);
    updateChart();
    showChemistry();
}

void RecipePane::updateChart() {
    StullChartInput input;
    if (m_live.result) {
        input.current = m_point;
        input.trail = m_context.model.trail(m_recipeID);
        if (!input.trail.empty() && m_point && nearlySame(input.trail.back(), *m_point)) input.trail.pop_back();
        input.hasBoron = hasBoron(m_live);
    }
    m_chart->setInput(input);
}

void RecipePane::showChemistry() {
    // The column is left as it was while hidden; it is brought up to date when it shows.
    if (m_column->isHidden()) return;
    const GlazeCore::Recipe* recipe = m_document.recipe(m_recipeID);
    const bool showPanel = !m_live.nothingChosen && m_live.result;
    m_noteTitle->setVisible(!showPanel);
    m_note->setVisible(!showPanel);
    m_panel->setVisible(showPanel);
    if (showPanel) {
        const auto warning = GlazeCore::RecipeCheck::recipeWarning(*recipe);
        m_panel->setChemistry(*m_live.result, warning ? std::optional(QString::fromStdString(*warning)) : std::nullopt);
    } else if (m_live.nothingChosen) {
        m_note->setText(tr("Choose a material in the table, then enter its amount. The unity formula, the reference "
                           "ranges and the Stull chart appear here as you type."));
    } else {
        m_note->setText(tr("The chemistry could not be calculated. ") + m_live.failure);
    }
}

void RecipePane::followChemistryShown() {
    const bool shown = m_context.state.showChemistry();
    m_column->setVisible(shown);
    m_columnDivider->setVisible(shown);
    const QSize minimum(int(shown ? 741 : GlazeCore::WindowLayout::recipeMainMinimumWidth),
                        int(GlazeCore::WindowLayout::recipePaneMinimumHeight));
    setMinimumSize(minimum);
    if (shown) showChemistry();
    m_context.actions.update();
}

void RecipePane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_column->setFixedWidth(int(GlazeCore::WindowLayout::sidebarWidth(width())));
}

void RecipePane::requestNudge(GlazeCore::Oxide oxide, int direction) {
    OxideNudgeSheet::open(m_context, m_recipeID, NudgeRequest{GlazeCore::Uuid::random(), oxide, direction});
}

void RecipePane::setHandlers() {
    ActionRegistry& actions = m_context.actions;
    const auto on = [&](Command command, std::function<void()> run) { actions.setHandler(this, command, {run}); };
    actions.setHandler(
        this, Command::addMaterial,
        {[this] { m_lines->appendLineKeepingSelection(); }, [this] { return m_document.canAddLine(m_recipeID); }});
    const std::pair<Command, BlendMode> blends[] = {{Command::lineBlend, BlendMode::line},
                                                    {Command::triaxialBlend, BlendMode::triaxial},
                                                    {Command::gridBlend, BlendMode::grid}};
    for (const auto& [command, mode] : blends)
        on(command, [this, mode = mode] { BlendSheet::open(m_context, m_recipeID, mode); });
    on(Command::batchSheet, [this] { BatchSheet::open(m_context, m_recipeID); });
    on(Command::oxideNudge, [this] { OxideNudgeSheet::open(m_context, m_recipeID, NudgeRequest{}); });
    on(Command::replaceMaterial, [this] { ReplaceMaterialSheet::open(m_context, m_recipeID, ReplaceRequest{}); });
    on(Command::printBatchSheet, [this] {
        if (const GlazeCore::Recipe* recipe = m_document.recipe(m_recipeID))
            printBatchSheetFromMenu(&m_context.host, *recipe, m_document.library());
    });
    WindowState* state = &m_context.state;
    actions.setHandler(this, Command::toggleChemistry,
                       {[state] { state->setShowChemistry(!state->showChemistry()); },
                        {},
                        [state] { return state->showChemistry(); }});
}

} // namespace Orza
