#pragma once

class QSplitter;
class QVBoxLayout;
class QWidget;

namespace Orza::ListDetailSplit {

/// Which side keeps its width as the window grows or shrinks; the other takes what is left.
enum class Steady { list, detail };

/// A list (or table) beside the detail of its selection, neither collapsing; `steadyWidth` is the starting
/// width of the steady side.
QSplitter* make(QWidget* list, QWidget* detail, Steady steady, int steadyWidth);

/// A detail column at least `minimumWidth` wide, holding one view at a time in `holder`.
QWidget* detailColumn(int minimumWidth, QVBoxLayout*& holder);

} // namespace Orza::ListDetailSplit
