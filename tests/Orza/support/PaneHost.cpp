#include "support/PaneHost.h"

#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/settings/WindowState.h"

namespace OrzaTest {

PaneHost::PaneHost(GlazeCore::GlazeBook book)
    : m_document(new Orza::BookDocument(Orza::GlazeDocument::make(std::move(book), false))),
      m_model(new Orza::WindowModel(&m_widget)), m_state(new Orza::WindowState(QString(), &m_widget)),
      m_actions(new Orza::ActionRegistry(&m_widget, *m_document)) {
    m_document->setParent(&m_widget);
}

} // namespace OrzaTest
