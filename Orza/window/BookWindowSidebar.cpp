// BookWindow's sidebar: choosing rows, the recipe rows' context menu and the notes at the foot of the list.

#include "Orza/window/BookWindow.h"

#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/sidebar/SidebarView.h"
#include "Orza/window/BookNotes.h"

#include <QAction>
#include <QMenu>
#include <QVBoxLayout>

namespace Orza {

void BookWindow::connectSidebar() {
    connect(m_sidebar, &SidebarView::selectionChosen, m_model, &WindowModel::setSelection);
    connect(m_sidebar, &SidebarView::deleteRequested, this, [this] {
        if (const auto id = selectedRecipeID()) beginDelete(*id);
    });
    connect(m_sidebar, &SidebarView::renameRequested, this, &BookWindow::beginRename);
    connect(m_sidebar, &SidebarView::recipeMenuRequested, this,
            [this](const GlazeCore::Uuid& recipeID, const QPoint& globalPosition) {
                QMenu* menu = m_actions->recipeContextMenu(recipeID, m_sidebar);
                menu->setAttribute(Qt::WA_DeleteOnClose);
                menu->popup(globalPosition);
            });
    m_actions->setHandler(this, Command::toggleSidebar,
                          {[this] { setSidebarShown(!sidebarShown()); }, {}, [this] { return sidebarShown(); }});
    updateNotes();
}

bool BookWindow::sidebarShown() const {
    return !m_sidebar->isHidden();
}

void BookWindow::setSidebarShown(bool shown) {
    m_sidebar->setVisible(shown);
    m_actions->update(); // the command's title follows
}

void BookWindow::setSampleNoteClosed(bool closed) {
    if (closed == m_sampleNoteClosed) return;
    m_sampleNoteClosed = closed;
    updateNotes();
}

void BookWindow::setCodeNoteClosed(bool closed) {
    if (closed == m_codeNoteClosed) return;
    m_codeNoteClosed = closed;
    updateNotes();
}

void BookWindow::updateNotes() {
    QVBoxLayout* area = m_sidebar->notesArea();
    while (QLayoutItem* item = area->takeAt(0)) {
        if (QWidget* note = item->widget()) {
            // The note may be the one whose close button is still reporting its click.
            note->hide();
            note->setParent(nullptr);
            note->deleteLater();
        }
        delete item;
    }
    if (const auto& notice = m_document->backfillNotice(); notice && !m_codeNoteClosed) {
        auto* note = new TileCodeNote(QString::fromStdString(notice->message()));
        connect(note, &NoteBanner::closeClicked, this, [this] { setCodeNoteClosed(true); });
        area->addWidget(note);
    }
    if (m_document->isSample() && !m_sampleNoteClosed) {
        auto* note = new SampleNote;
        connect(note, &NoteBanner::closeClicked, this, [this] { setSampleNoteClosed(true); });
        area->addWidget(note);
    }
}

} // namespace Orza
