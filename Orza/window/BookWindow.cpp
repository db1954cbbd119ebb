#include "Orza/window/BookWindow.h"

#include "GlazeCore/book/SampleBook.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/SidebarModel.h"
#include "Orza/models/WindowModel.h"
#include "Orza/settings/WindowState.h"
#include "Orza/window/BookToolbar.h"
#include "Orza/widgets/ContentUnavailableView.h"
#include "Orza/window/DocumentChangeMarker.h"
#include "Orza/window/EmptyDetailView.h"
#include "Orza/window/FitWindowToScreen.h"
#include "Orza/window/NoInitialTextFocus.h"
#include "Orza/window/PaneFactory.h"
#include "Orza/window/SidebarView.h"

#include <QCloseEvent>
#include <QDialog>
#include <QSplitter>
#include <QUndoStack>
#include <QVBoxLayout>

namespace Orza {

BookWindow::BookWindow(std::unique_ptr<BookDocument> document, QWidget* parent)
    : QMainWindow(parent), m_document(document.release()), m_model(new WindowModel(this)),
      m_state(new WindowState(m_document->filePath(), this)), m_marker(new DocumentChangeMarker(m_document, this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    m_document->setParent(this);
    new NoInitialTextFocus(this);
    new FitWindowToScreen(this);
    buildLayout();
    connectDocument();
    connectModel();
    updateTitle();
    updateDetail();
}

BookWindow::~BookWindow() = default;

bool BookWindow::isUntitled() const {
    return m_document->isUntitled();
}

void BookWindow::buildLayout() {
    m_sidebarModel = new SidebarModel(*m_document, this);
    m_sidebar = new SidebarView(m_sidebarModel);
    m_detailArea = new QWidget;
    auto* detailLayout = new QVBoxLayout(m_detailArea);
    detailLayout->setContentsMargins(0, 0, 0, 0);

    auto* split = new QSplitter(Qt::Horizontal);
    split->setChildrenCollapsible(false);
    split->addWidget(m_sidebar);
    split->addWidget(m_detailArea);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({SidebarView::idealWidth, 1000});
    setCentralWidget(split);
    addToolBar(new BookToolbar(*this));
    connectSidebar();

    connect(m_sidebar, &SidebarView::selectionChosen, m_model, &WindowModel::setSelection);
    connect(m_sidebar, &SidebarView::deleteRequested, this, [this] {
        if (const auto id = selectedRecipeID()) beginDelete(*id);
    });
}

void BookWindow::connectDocument() {
    // Connected after the sidebar model, so the list is up to date when the selection is checked.
    connect(m_document, &BookDocument::recipesAboutToBeRemoved, this, &BookWindow::rememberRecipeIDs);
    connect(m_document, &BookDocument::aboutToReset, this, &BookWindow::rememberRecipeIDs);
    connect(m_document, &BookDocument::recipesRemoved, this, &BookWindow::keepSelectionValid);
    connect(m_document, &BookDocument::reset, this, &BookWindow::keepSelectionValid);
    for (const auto signal : {&BookDocument::recipesInserted, &BookDocument::recipesRemoved})
        connect(m_document, signal, this, &BookWindow::updateDetail);
    connect(m_document, &BookDocument::reset, this, &BookWindow::updateDetail);
    connect(m_document, &BookDocument::reset, this, &BookWindow::updateNotes);
    connect(m_document, &BookDocument::nextTileNumberChanged, this, &BookWindow::syncLedgerMark);
    connect(m_document, &BookDocument::modifiedChanged, this, &BookWindow::updateTitle);
    connect(m_document, &BookDocument::filePathChanged, this, [this] {
        m_state->setFilePath(m_document->filePath());
        updateTitle();
    });
    connect(m_document, &BookDocument::bookChanged, this, &BookWindow::bookActionsChanged);
}

void BookWindow::connectModel() {
    connect(m_model, &WindowModel::selectionChanged, this, [this] {
        m_sidebar->showSelection(m_model->selection());
        saveSelection();
        updateDetail();
        emit bookActionsChanged();
    });
    for (const auto signal :
         {&WindowModel::blendModeChanged, &WindowModel::showBatchChanged, &WindowModel::dialogShownChanged,
          &WindowModel::nudgeChanged, &WindowModel::replaceChanged, &WindowModel::showLabelsChanged})
        connect(m_model, signal, this, &BookWindow::bookActionsChanged);
    connect(m_model, &WindowModel::showLabelsChanged, this, &BookWindow::updateLabelSheet);
}

void BookWindow::updateTitle() {
    setWindowTitle(m_document->displayName() + QStringLiteral("[*]"));
    setWindowFilePath(m_document->filePath());
    setWindowModified(m_document->isModified());
}

void BookWindow::updateDetail() {
    const auto& selection = m_model->selection();
    QString key;
    if (!selection) {
        key = m_document->book().recipes.empty() ? QStringLiteral("empty") : QStringLiteral("select");
    } else if (selection->kind == SidebarItem::Kind::tests) {
        key = QStringLiteral("tests");
    } else if (selection->kind == SidebarItem::Kind::materials) {
        key = QStringLiteral("materials");
    } else {
        const bool held = m_document->recipeIndex(selection->recipeID).has_value();
        key = (held ? QStringLiteral("recipe:") : QStringLiteral("missing:")) +
              QString::fromStdString(selection->recipeID.uppercaseText());
    }
    if (key == m_detailKey && m_detail) return;
    m_detailKey = key;
    if (m_detail) {
        m_detail->hide();
        m_detail->deleteLater();
    }
    // The recipe pane's menu actions leave with it; a new pane publishes its own as it is made.
    publishRecipeActions(m_recipeActionsPublisher, std::nullopt);
    m_detail = makeDetail();
    m_detailArea->layout()->addWidget(m_detail);
}

QWidget* BookWindow::makeDetail() {
    const auto& selection = m_model->selection();
    const PaneContext context{this, m_document, m_model, m_state};
    QWidget* made = nullptr;
    if (!selection) {
        auto* empty = new EmptyDetailView(!m_document->book().recipes.empty(), m_detailArea);
        connect(empty, &EmptyDetailView::addRecipeRequested, this, &BookWindow::addRecipe);
        connect(empty, &EmptyDetailView::openSampleRequested, this, &BookWindow::openSampleButton);
        made = empty;
    } else if (selection->kind == SidebarItem::Kind::tests) {
        made = PaneFactory::current().makeTestLog(context, m_detailArea);
    } else if (selection->kind == SidebarItem::Kind::materials) {
        made = PaneFactory::current().makeMaterialsPage(context, m_detailArea);
    } else if (m_document->recipeIndex(selection->recipeID)) {
        made = PaneFactory::current().makeRecipePane(context, selection->recipeID, m_detailArea);
    } else {
        made = new ContentUnavailableView(QStringLiteral("flask"), tr("No Recipe Selected"), QString(), m_detailArea);
    }
    // A part of the application that is not there yet leaves its place empty.
    return made ? made : new QWidget(m_detailArea);
}

void BookWindow::updateLabelSheet() {
    if (!m_model->showLabels()) return;
    const PaneContext context{this, m_document, m_model, m_state};
    QDialog* sheet = PaneFactory::current().makeLabelSheet(context, this);
    if (!sheet) {
        m_model->setShowLabels(false);
        return;
    }
    connect(sheet, &QDialog::finished, m_model, [model = m_model] { model->setShowLabels(false); });
    sheet->open();
}

GlazeDocument BookWindow::makeSampleDocument() {
    return GlazeDocument::make(GlazeCore::SampleBook::makeBook(), true);
}

void BookWindow::openSampleButton() {
    emit sampleDocumentRequested();
}

RecipeBinding BookWindow::recipeBinding(const GlazeCore::Uuid& recipeID) const {
    return RecipeBinding(*m_document, recipeID);
}

void BookWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_appeared) return;
    m_appeared = true;
    trackDialogShown();
    openSampleOnFirstLaunch();
}

void BookWindow::closeEvent(QCloseEvent* event) {
    if (m_closeApproved || !m_document->isModified()) {
        event->accept();
        return;
    }
    event->ignore();
    emit closeAttempted(this);
}

} // namespace Orza
