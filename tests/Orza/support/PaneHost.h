#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "Orza/models/PaneContext.h"

#include <QWidget>

namespace Orza {
class ActionRegistry;
class BookDocument;
class WindowModel;
class WindowState;
} // namespace Orza

namespace OrzaTest {

/**
 * What a book window hands its panes, without the window: a document over the book, a window model, an
 * untitled window's state, an action registry and a plain widget for the sheets to open over. A pane built
 * from context() must be deleted before the host.
 */
class PaneHost {
public:
    explicit PaneHost(GlazeCore::GlazeBook book = {});

    Orza::PaneContext context() { return {*m_document, *m_model, *m_state, *m_actions, m_widget}; }
    Orza::BookDocument& document() { return *m_document; }
    Orza::WindowModel& model() { return *m_model; }
    Orza::WindowState& state() { return *m_state; }
    Orza::ActionRegistry& actions() { return *m_actions; }
    QWidget& widget() { return m_widget; }

private:
    QWidget m_widget; // the parent of the rest
    Orza::BookDocument* m_document;
    Orza::WindowModel* m_model;
    Orza::WindowState* m_state;
    Orza::ActionRegistry* m_actions;
};

} // namespace OrzaTest
