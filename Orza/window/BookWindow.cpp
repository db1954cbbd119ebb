#include "Orza/window/BookWindow.h"

#include "GlazeCore/book/SampleBook.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/labels/LabelSheet.h"
#include "Orza/materials/MaterialsPage.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/FitWindowToScreen.h"
#include "Orza/platform/MinimumWithinScreen.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/settings/WindowState.h"
#include "Orza/sidebar/SidebarModel.h"
#include "Orza/sidebar/SidebarView.h"
#include "Orza/testlog/TestLogPage.h"
#include "Orza/widgets/ContentUnavailableView.h"
#include "Orza/window/BookToolbar.h"
#include "Orza/window/EmptyDetailView.h"
#include "Orza/window/NoInitialTextFocus.h"

#include <QCloseEvent>
#include <QMenu>
#include <QScrollArea>
#include <QSplitter>
#include <QUndoStack>
#include <QVBoxLayout>

namespace Orza {

BookWindow::BookWindow(std::unique_ptr<BookDocument> document, QWidget* parent)
    : QMainWindow(parent), m_document(document.release()), m_model(new WindowModel(this)),
      m_state(new WindowState(m_document->filePath(), this)), m_actions(new ActionRegistry(this, *m_document)) {
    setAttribute(Qt::WA_DeleteOnClose);
    // Small enough for a 900 × 600 screen, large enough that the sidebar and the pane stay usable; never more
    // than the screen it stands on, where the panes scroll instead.
    new MinimumWithinScreen(this, minimumSize);
    m_document->setParent(this);
    new NoInitialTextFocus(this);
    new FitWindowToScreen(this);
    buildLayout();
    connectDocument();
    connectModel();
    updateTitle();
    updateDetail();
    setBookHandlers();
    updateActions();
}

BookWindow::~BookWindow() {
    // The window's commands stop first, as they read the parts that go next. The panes refer to the document
    // and the model: they go then, while both are whole.
    m_actions->withdraw(this);
    m_actions->retire();
    delete takeCentralWidget();
}

PaneContext BookWindow::paneContext() {
    return {*m_document, *m_model, *m_state, *m_actions, *this};
}

bool BookWindow::isUntitled() const {
    return m_document->isUntitled();
}

void BookWindow::buildLayout() {
    m_sidebarModel = new SidebarModel(*m_document, this);
    m_sidebar = new SidebarView(m_sidebarModel);
    m_detailArea = new QWidget;
    auto* detailLayout = new QVBoxLayout(m_detailArea);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    // A pane larger than a small window scrolls rather than being cut or squeezed.
    auto* detailScroll = new QScrollArea;
    detailScroll->setFrameShape(QFrame::NoFrame);
    detailScroll->setWidgetResizable(true);
    detailScroll->setWidget(m_detailArea);
    // It only scrolls: the controls inside take the keyboard focus, the area does not.
    detailScroll->setFocusPolicy(Qt::NoFocus);

    auto* split = m_splitter = new QSplitter(Qt::Horizontal);
    split->setChildrenCollapsible(false);
    split->setHandleWidth(1); // a hairline, as sidebars have
    split->addWidget(m_sidebar);
    split->addWidget(detailScroll);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({SidebarView::idealWidth, 1000});
    setCentralWidget(split);
    addToolBar(new BookToolbar(*this));
    connectSidebar();
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
    connect(m_document, &BookDocument::modifiedChanged, this, &BookWindow::updateTitle);
    connect(m_document, &BookDocument::filePathChanged, this, [this] {
        m_state->setFilePath(m_document->filePath());
        updateTitle();
    });
    // The book's commands rest on whether the book has recipes and tiles: only rows coming and going change that.
    for (const auto signal : {&BookDocument::recipesInserted, &BookDocument::recipesRemoved,
                              &BookDocument::testsInserted, &BookDocument::testsRemoved})
        connect(m_document, signal, this, &BookWindow::updateActions);
    connect(m_document, &BookDocument::reset, this, &BookWindow::updateActions);
}

void BookWindow::connectModel() {
    connect(m_model, &WindowModel::selectionChanged, this, [this] {
        m_sidebar->showSelection(m_model->selection());
        m_actions->setShownPage(shownPage());
        saveSelection();
        updateDetail();
        updateActions();
    });
    for (const auto signal :
         {&WindowModel::blendModeChanged, &WindowModel::showBatchChanged, &WindowModel::dialogShownChanged,
          &WindowModel::nudgeChanged, &WindowModel::replaceChanged, &WindowModel::showLabelsChanged})
        connect(m_model, signal, this, &BookWindow::updateActions);
    connect(m_state, &WindowState::showChemistryChanged, m_actions, &ActionRegistry::update);
}

std::optional<GlazeCore::BookPage> BookWindow::shownPage() const {
    const auto& selection = m_model->selection();
    if (!selection) return std::nullopt;
    switch (selection->kind) {
    case SidebarItem::Kind::recipe:
        return GlazeCore::BookPage::recipes;
    case SidebarItem::Kind::tests:
        return GlazeCore::BookPage::tests;
    case SidebarItem::Kind::materials:
        return GlazeCore::BookPage::materials;
    }
    return std::nullopt;
}

void BookWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // In a narrow window the sidebar gives up its extra width before the pane has to scroll.
    const int paneMinimum = m_detail ? m_detail->minimumSizeHint().expandedTo(m_detail->minimumSize()).width() : 0;
    const QList<int> sizes = m_splitter->sizes();
    if (sizes.size() == 2 && sizes[1] < paneMinimum && sizes[0] > SidebarView::minimumWidth) {
        const int give = std::min(sizes[0] - SidebarView::minimumWidth, paneMinimum - sizes[1]);
        m_splitter->setSizes({sizes[0] - give, sizes[1] + give});
    }
}

void BookWindow::updateActions() {
    m_actions->setSheetShown(m_model->anySheetShown());
}

void BookWindow::setSubtitle(const QString& subtitle) {
    if (subtitle == m_subtitle) return;
    m_subtitle = subtitle;
    updateTitle();
}

void BookWindow::updateTitle() {
    QString title = m_document->displayName() + QStringLiteral("[*]");
    if (!m_subtitle.isEmpty()) title += QStringLiteral(" \u2014 ") + m_subtitle;
    setWindowTitle(title);
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
        // The pane's commands leave with it; a new pane sets its own as it is made.
        m_actions->withdraw(m_detail);
    }
    m_detail = makeDetail();
    // Each pane names itself by its title, which the window's title shows after the book's name.
    m_subtitle = m_detail->windowTitle();
    connect(m_detail, &QWidget::windowTitleChanged, this, &BookWindow::setSubtitle);
    updateTitle();
    m_detailArea->layout()->addWidget(m_detail);
}

QWidget* BookWindow::makeDetail() {
    const auto& selection = m_model->selection();
    if (!selection) {
        auto* empty = new EmptyDetailView(!m_document->book().recipes.empty(), m_detailArea);
        connect(empty, &EmptyDetailView::addRecipeRequested, this, &BookWindow::addRecipe);
        connect(empty, &EmptyDetailView::openSampleRequested, this, &BookWindow::openSampleButton);
        return empty;
    }
    if (selection->isRecipe()) {
        if (!m_document->recipeIndex(selection->recipeID))
            return new ContentUnavailableView(QStringLiteral("flask"), tr("No Recipe Selected"), QString(),
                                              m_detailArea);
        return new RecipePane(paneContext(), selection->recipeID, m_detailArea);
    }
    if (selection->kind == SidebarItem::Kind::materials)
        return new MaterialsPage(*m_document, *m_actions, m_detailArea);
    auto* page = new TestLogPage(paneContext(), m_detailArea);
    connect(page, &TestLogPage::printLabelRequested, this,
            [this] { LabelSheet::open(paneContext(), LabelScope::selected); });
    return page;
}

GlazeDocument BookWindow::makeSampleDocument() {
    return GlazeDocument::make(GlazeCore::SampleBook::makeBook(), true);
}

void BookWindow::openSampleButton() {
    emit sampleDocumentRequested();
}

void BookWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_appeared) return;
    m_appeared = true;
    trackDialogShown();
    openSampleOnFirstLaunch();
}

void BookWindow::closeEvent(QCloseEvent* event) {
    // A refused text taken back leaves the book as it was: nothing to ask about.
    if (!m_closeApproved) m_document->endFieldEdits();
    if (m_closeApproved || !m_document->isModified()) {
        event->accept();
        return;
    }
    event->ignore();
    emit closeAttempted(this);
}

} // namespace Orza
