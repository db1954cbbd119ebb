#include "Orza/widgets/ListDetailSplit.h"

#include <QSplitter>
#include <QVBoxLayout>

namespace Orza::ListDetailSplit {

namespace {

// Larger than any screen: the growing side takes everything the steady side leaves.
constexpr int wholeRest = 1000;

} // namespace

QSplitter* make(QWidget* list, QWidget* detail, Steady steady, int steadyWidth) {
    auto* split = new QSplitter(Qt::Horizontal);
    split->setChildrenCollapsible(false);
    split->addWidget(list);
    split->addWidget(detail);
    const bool listSteady = steady == Steady::list;
    split->setStretchFactor(0, listSteady ? 0 : 1);
    split->setStretchFactor(1, listSteady ? 1 : 0);
    split->setSizes(listSteady ? QList<int>{steadyWidth, wholeRest} : QList<int>{wholeRest, steadyWidth});
    return split;
}

QWidget* detailColumn(int minimumWidth, QVBoxLayout*& holder) {
    auto* detail = new QWidget;
    detail->setMinimumWidth(minimumWidth);
    holder = new QVBoxLayout(detail);
    holder->setContentsMargins(0, 0, 0, 0);
    return detail;
}

} // namespace Orza::ListDetailSplit
