#pragma once

class QWidget;

namespace Orza {

class ActionRegistry;
class BookDocument;
class WindowModel;
class WindowState;

/**
 * What a book window hands each of its panes and sheets: the book, the state the window's widgets share,
 * the window's saved view state, its commands, and the widget its sheets and dialogs open over. A pane
 * reaches its window through nothing else, so it can be built, and tested, without one. Everything named
 * here outlives the panes.
 */
struct PaneContext {
    BookDocument& document;
    WindowModel& model;
    WindowState& state;
    ActionRegistry& actions;
    QWidget& host;
};

} // namespace Orza
