#include "Orza/reformulate/ReformulateSheet.h"

#include "GlazeCore/core/Error.h"
#include "GlazeCore/layout/WindowLayout.h"
#include "Orza/document/BookDocument.h"
#include "Orza/document/BookItems.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/platform/ScreenFit.h"
#include "Orza/platform/SystemBeep.h"
#include "Orza/reformulate/AdjustmentSummary.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <cmath>

namespace Orza {

ReformulateSheet::ReformulateSheet(BookDocument& document, const GlazeCore::Uuid& recipeID, Select select,
                                   QWidget* parent)
    : QDialog(parent), m_document(document), m_recipeID(recipeID), m_select(std::move(select)) {
    m_content = new QVBoxLayout(this);
    m_content->setContentsMargins(16, 16, 16, 16);
    m_content->setSpacing(12);
    readRecipe();
    // Its size comes from the screen each time it shows, and never passes that screen's usable area.
    m_fit = ScreenFit::keep(
        this, [] { return sheetSize(screenFrame()); }, ScreenFit::Sizing::fixed);
    // The sheet is modal, so the book changes under it only by an undo, a revert or another window.
    connect(&document, &BookDocument::bookChanged, this, &ReformulateSheet::refresh);
    connect(&document, &BookDocument::libraryChanged, this, &ReformulateSheet::refresh);
}

ReformulateSheet::~ReformulateSheet() = default;

const BookLibrary& ReformulateSheet::library() const {
    return m_document.library();
}

const GlazeCore::Adjustment* ReformulateSheet::adjustment() const {
    return m_result ? std::get_if<GlazeCore::Adjustment>(&*m_result) : nullptr;
}

void ReformulateSheet::readRecipe() {
    if (const GlazeCore::Recipe* held = m_document.recipe(m_recipeID)) m_recipe = *held;
}

void ReformulateSheet::refresh() {
    // A sheet on its way out shows nothing more, even when its own apply changed the book.
    if (m_finished) return;
    readRecipe();
    m_result = solve(m_recipe);
    ++m_solves;
    // Sized from the screen at every solve, like the result: the window may be on another screen by now.
    m_fit->resizeInPlace();
    showResult();
}

void ReformulateSheet::applyInPlace() {
    const GlazeCore::Adjustment* adjusted = adjustment();
    if (!adjusted) return;
    std::vector<GlazeCore::RecipeLine> lines = adjusted->recipe.lines;
    m_finished = true;
    // Only the lines change; a recipe the book no longer holds takes nothing.
    m_document.setLines(m_recipe.id, std::move(lines), inPlaceStepName());
    accept();
}

void ReformulateSheet::applyAsCopy() {
    const GlazeCore::Adjustment* adjusted = adjustment();
    if (!adjusted) return;
    const QString name = copyBaseName(m_recipe) + copySuffix();
    GlazeCore::Recipe copy = duplicateRecipe(adjusted->recipe, name.toStdString());
    const auto index = m_document.recipeIndex(m_recipe.id);
    const std::size_t at = index ? *index + 1 : m_document.book().recipes.size();
    const GlazeCore::Uuid copyID = copy.id;
    m_finished = true;
    if (!m_document.insertRecipe(at, std::move(copy), copyStepName())) {
        // A book at its recipe limit takes no more; the sheet stays up with its result.
        m_finished = false;
        SystemBeep::beep();
        return;
    }
    accept();
    if (m_select) m_select(copyID);
}

QSize ReformulateSheet::sheetSize(std::optional<QSize> visibleFrame) {
    std::optional<GlazeCore::LayoutSize> frame;
    if (visibleFrame) frame = GlazeCore::LayoutSize{double(visibleFrame->width()), double(visibleFrame->height())};
    const GlazeCore::LayoutSize size = GlazeCore::WindowLayout::sheetSize(frame);
    return {int(std::lround(size.width)), int(std::lround(size.height))};
}

std::optional<QSize> ReformulateSheet::screenFrame() {
    const QScreen* screen = nullptr;
    if (const QWidget* active = QApplication::activeWindow()) screen = active->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    return screen->availableGeometry().size();
}

QString ReformulateSheet::copyBaseName(const GlazeCore::Recipe& recipe) {
    return recipe.name.empty() ? tr("Untitled recipe") : QString::fromStdString(recipe.name);
}

ReformulateSheet::Result ReformulateSheet::run(const std::function<GlazeCore::Adjustment()>& reformulate) {
    try {
        return reformulate();
    } catch (const GlazeCore::ReformulateError& error) {
        return Failure{QString::fromStdString(error.message()), error};
    } catch (const GlazeCore::Error& error) {
        return Failure{QString::fromStdString(error.message()), std::nullopt};
    } catch (const std::exception& error) {
        return Failure{QString::fromUtf8(error.what()), std::nullopt};
    }
}

QPushButton* ReformulateSheet::button(const QString& title, const QString& help) {
    auto* pushButton = new QPushButton(title);
    if (!help.isEmpty()) pushButton->setToolTip(help);
    return pushButton;
}

QWidget* ReformulateSheet::makeResultArea(const std::vector<QWidget*>& messageParts) {
    auto* message = new QWidget;
    auto* column = new QVBoxLayout(message);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    for (QWidget* part : messageParts)
        column->addWidget(part);
    column->addStretch(1);
    m_summary = new AdjustmentSummary;
    m_resultArea = new QStackedWidget;
    m_resultArea->addWidget(message);
    m_resultArea->addWidget(m_summary);
    return m_resultArea;
}

void ReformulateSheet::showSummary(bool shown) {
    m_resultArea->setCurrentWidget(shown ? static_cast<QWidget*>(m_summary) : m_resultArea->widget(0));
}

QWidget* ReformulateSheet::makeButtonRow(const std::vector<QPushButton*>& actions) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_cancel = button(tr("Cancel"));
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addStretch(1);
    layout->addWidget(m_cancel);
    for (QPushButton* action : actions)
        layout->addWidget(action);
    return row;
}

void ReformulateSheet::done(int result) {
    m_finished = true;
    QDialog::done(result);
}

} // namespace Orza
