#include "Orza/recipe/RecipeTotals.h"

#include "Orza/display/NumberDisplay.h"
#include "Orza/recipe/RecipeLinesModel.h"
#include "Orza/widgets/AccessibleOneElement.h"

#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QLabel>

namespace Orza {

namespace {

constexpr int rowGap = 2;
constexpr int padding = 5;
constexpr int titleInset = 14;

QLabel* figure(QWidget* row, bool semibold) {
    auto* label = new QLabel(row);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (semibold) {
        QFont font = label->font();
        font.setWeight(QFont::DemiBold);
        label->setFont(font);
    }
    return label;
}

} // namespace

RecipeTotals::RecipeTotals(RecipeLinesModel* model, QHeaderView* columns, QWidget* parent)
    : QWidget(parent), m_model(model), m_columns(columns), m_baseRow(new QWidget(this)),
      m_baseTitle(new QLabel(tr("Base total"), m_baseRow)), m_baseAmount(figure(m_baseRow, true)),
      m_basePercent(figure(m_baseRow, false)), m_additionsRow(new QWidget(this)),
      m_additionsTitle(new QLabel(tr("Additions"), m_additionsRow)), m_additionsAmount(figure(m_additionsRow, false)),
      m_additionsPercent(figure(m_additionsRow, false)) {
    QFont headline = m_baseTitle->font();
    headline.setWeight(QFont::DemiBold);
    m_baseTitle->setFont(headline);
    for (QLabel* secondary : {m_additionsTitle, m_additionsAmount, m_additionsPercent})
        secondary->setForegroundRole(QPalette::PlaceholderText);
    // Each row reads as one sentence, its figures in its name.
    for (QWidget* row : {m_baseRow, m_additionsRow})
        readAsOneElement(row);
    connect(model, &RecipeLinesModel::totalsChanged, this, &RecipeTotals::update);
    connect(model, &QAbstractItemModel::modelReset, this, &RecipeTotals::update);
    connect(columns, &QHeaderView::sectionResized, this, &RecipeTotals::place);
    connect(columns, &QHeaderView::geometriesChanged, this, &RecipeTotals::place);
    update();
}

void RecipeTotals::update() {
    const double base = m_model->baseTotal();
    const double additions = m_model->additionsTotal();
    m_baseAmount->setText(formatDouble(base));
    // Written like the shares in the rows above it: "100,0 %" in German.
    m_basePercent->setText(base > 0 ? formatDoublePlaces(1, 100) + QStringLiteral(" %") : QStringLiteral("\u2013"));
    m_baseRow->setAccessibleName(tr("Base total %1").arg(formatDouble(base)));
    const bool showAdditions = additions > 0;
    m_additionsRow->setVisible(showAdditions);
    m_additionsAmount->setText(formatDouble(additions));
    m_additionsPercent->setText(m_model->percentText(additions));
    QString spoken = tr("Additions %1").arg(formatDouble(additions));
    if (base > 0) spoken += tr(", %1 percent of base").arg(formatDoublePlaces(1, additions / base * 100));
    m_additionsRow->setAccessibleName(spoken);
    updateGeometry();
    place();
}

QSize RecipeTotals::sizeHint() const {
    const int line = fontMetrics().height() + 2;
    const int rows = m_model->additionsTotal() > 0 ? 2 : 1;
    return {m_columns->length(), 2 * padding + rows * line + (rows - 1) * rowGap};
}

void RecipeTotals::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place();
}

void RecipeTotals::place() {
    // Header sections are measured from the table's viewport, which sits inside the table's frame.
    const auto* table = qobject_cast<const QAbstractScrollArea*>(m_columns->parentWidget());
    const int offset = table ? table->viewport()->mapTo(table, QPoint()).x() : 0;
    const auto column = [&](int section) {
        return QRect(offset + m_columns->sectionViewportPosition(section), 0, m_columns->sectionSize(section), 0);
    };
    const QRect amount = column(RecipeLinesModel::amountColumn);
    const QRect percent = column(RecipeLinesModel::percentColumn);
    const int line = fontMetrics().height() + 2;
    int y = padding;
    for (QWidget* row : {m_baseRow, m_additionsRow}) {
        if (row->isHidden()) continue;
        row->setGeometry(0, y, width(), line);
        auto labels = row->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
        labels[0]->setGeometry(titleInset, 0, std::max(0, amount.left() - titleInset - 8), line);
        labels[1]->setGeometry(amount.left(), 0, amount.width() - 6, line);
        labels[2]->setGeometry(percent.left(), 0, percent.width() - 6, line);
        y += line + rowGap;
    }
}

} // namespace Orza
