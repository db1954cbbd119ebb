#include "Orza/widgets/MaterialSearchList.h"

#include "GlazeCore/library/MaterialSearch.h"
#include "GlazeCore/text/OxideText.h"
#include "Orza/display/NumberDisplay.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/widgets/FocusReportingView.h"
#include "Orza/widgets/MaterialResultsModel.h"
#include "Orza/widgets/OneLineText.h"
#include "Orza/widgets/SearchClearButton.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace Orza {

namespace {

constexpr QSize listSize{340, 400};
/// The least the results may shrink to where a popup is cut to fit the screen: a couple of results, scrolling.
constexpr int minimumListHeight = 90;

QFont captionFont(QFont font) {
    font.setPointSizeF(font.pointSizeF() * 0.85);
    return font;
}

/// Two lines a result: the name (and "custom" for the book's own), then its largest oxides.
class ResultDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        const QFontMetrics body(option.font);
        const QFontMetrics caption(captionFont(option.font));
        return {1, body.height() + caption.height() + 2 + 8}; // as wide as the list, never wider
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style) style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        const bool selected = option.state & QStyle::State_Selected;
        const QColor primary = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        QColor secondary = primary;
        secondary.setAlphaF(0.65f);
        const QRect area = option.rect.adjusted(6, 4, -6, -4);
        const QFontMetrics body(option.font);
        const QFont caption = captionFont(option.font);
        const QFontMetrics captionMetrics(caption);

        painter->save();
        painter->setFont(option.font);
        painter->setPen(primary);
        const QString name = index.data(Qt::DisplayRole).toString();
        const bool custom = index.data(MaterialResultsModel::customRole).toBool();
        const QString tag = custom ? tr("custom") : QString();
        const int tagWidth = custom ? captionMetrics.horizontalAdvance(tag) + 6 : 0;
        const QString shownName = body.elidedText(name, Qt::ElideMiddle, area.width() - tagWidth);
        painter->drawText(QRect(area.left(), area.top(), area.width(), body.height()), Qt::AlignLeft | Qt::AlignVCenter,
                          shownName);
        painter->setFont(caption);
        painter->setPen(secondary);
        if (custom)
            painter->drawText(
                QRect(area.left() + body.horizontalAdvance(shownName) + 6, area.top(), tagWidth, body.height()),
                Qt::AlignLeft | Qt::AlignVCenter, tag);
        const QString subtitle = index.data(MaterialResultsModel::subtitleRole).toString();
        painter->drawText(QRect(area.left(), area.top() + body.height() + 2, area.width(), captionMetrics.height()),
                          Qt::AlignLeft | Qt::AlignVCenter,
                          captionMetrics.elidedText(subtitle, Qt::ElideRight, area.width()));
        painter->restore();
    }

private:
    static QString tr(const char* text) { return QCoreApplication::translate("MaterialSearchList", text); }
};

} // namespace

MaterialSearchList::MaterialSearchList(const BookLibrary& library, const std::string& selectedID, QWidget* parent)
    : QWidget(parent), m_results(std::make_unique<MaterialResultsModel>(library)), m_search(new QLineEdit),
      m_list(new FocusReportingView<QListView>), m_count(new QLabel), m_choose(new QPushButton(tr("Choose"))) {
    OneLineText::keepWhole(m_search);
    m_search->setPlaceholderText(tr("Search materials"));
    m_search->setAccessibleName(tr("Search materials"));
    enableSearchClearButton(m_search);
    m_search->installEventFilter(this);

    m_list->setModel(m_results.get());
    m_list->setItemDelegate(new ResultDelegate(m_list));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setMinimumHeight(minimumListHeight);
    m_list->setAccessibleName(tr("Materials"));
    m_list->installEventFilter(this);
    connect(m_list, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { emit picked(index.data(MaterialResultsModel::idRole).toString()); });
    // The highlight is the current row while it is selected. A click moves the current row before it selects
    // it, so "Choose" follows both.
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, &MaterialSearchList::updateFooter);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, &MaterialSearchList::updateFooter);

    m_count->setFont(captionFont(font()));
    m_count->setForegroundRole(QPalette::PlaceholderText);
    m_choose->setDefault(true);
    connect(m_choose, &QPushButton::clicked, this, [this] { pickHighlighted(false); });

    auto* footer = new QHBoxLayout;
    footer->addWidget(m_count);
    footer->addStretch(1);
    footer->addWidget(m_choose);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    layout->addWidget(m_search);
    layout->addWidget(m_list, 1);
    layout->addLayout(footer);
    // Its width is fixed; its height is what the popup's placement leaves it, the list scrolling the rest.
    setFixedWidth(listSize.width());

    connect(m_search, &QLineEdit::textChanged, this, &MaterialSearchList::search);
    // The material chosen now stays highlighted when the list opens; no material, no highlight.
    setHighlight(selectedID.empty() ? std::nullopt
                                    : GlazeCore::MaterialSearch::keptSelection(selectedID, m_results->ids()));
    updateFooter();
}

MaterialSearchList::~MaterialSearchList() = default;

QSize MaterialSearchList::sizeHint() const {
    return listSize;
}

void MaterialSearchList::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_search->setFocus();
}

std::optional<std::string> MaterialSearchList::highlighted() const {
    const QModelIndex current = m_list->selectionModel()->currentIndex();
    if (!current.isValid() || !m_list->selectionModel()->isSelected(current)) return std::nullopt;
    return current.data(MaterialResultsModel::idRole).toString().toStdString();
}

void MaterialSearchList::setHighlight(const std::optional<std::string>& id) {
    const int row = id ? m_results->rowOf(*id) : -1;
    if (row < 0) {
        m_list->selectionModel()->clear();
        return;
    }
    const QModelIndex index = m_results->index(row);
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_list->scrollTo(index);
}

void MaterialSearchList::search(const QString& query) {
    const auto before = highlighted();
    m_results->search(query.toStdString());
    // The highlight stays while the results still hold it; a filtered-out one is dropped, not moved.
    setHighlight(GlazeCore::MaterialSearch::keptSelection(before, m_results->ids()));
    updateFooter();
}

std::optional<std::string> MaterialSearchList::effectiveHighlight(bool fallBack) const {
    return GlazeCore::MaterialSearch::keptSelectionWithFlag(highlighted(), m_results->ids(), fallBack);
}

void MaterialSearchList::pickHighlighted(bool fallBack) {
    if (const auto id = effectiveHighlight(fallBack)) emit picked(QString::fromStdString(*id));
}

void MaterialSearchList::updateFooter() {
    const int count = m_results->rowCount();
    m_count->setText(tr("%n material(s)", nullptr, count));
    m_choose->setEnabled(effectiveHighlight(false).has_value());
}

bool MaterialSearchList::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (watched == m_search && enter) {
            pickHighlighted(true);
            return true;
        }
        if (watched == m_search && (key == Qt::Key_Down || key == Qt::Key_Up)) {
            // The arrows walk the results while the typing stays in the field.
            QCoreApplication::sendEvent(m_list, event);
            return true;
        }
        if (watched == m_list && enter) {
            if (!effectiveHighlight(false)) return false; // nothing highlighted: passed on
            pickHighlighted(false);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString MaterialSearchList::materialSubtitle(const GlazeCore::Material& material) {
    std::vector<std::pair<GlazeCore::Oxide, double>> entries(material.analysis.begin(), material.analysis.end());
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    QStringList parts;
    for (std::size_t i = 0; i < std::min<std::size_t>(3, entries.size()); ++i)
        parts << QString::fromStdString(GlazeCore::OxideText::formula(entries[i].first)) + QLatin1Char(' ') +
                     formatDoublePlaces(1, entries[i].second);
    return parts.join(QStringLiteral(", "));
}

} // namespace Orza
