#include "Orza/widgets/FirstFitView.h"

#include <QResizeEvent>

namespace Orza {

int firstFitting(const std::vector<int>& naturalWidths, int available) {
    for (std::size_t i = 0; i < naturalWidths.size(); ++i)
        if (naturalWidths[i] <= available) return int(i);
    return int(naturalWidths.size()) - 1;
}

FirstFitView::FirstFitView(QWidget* parent) : QWidget(parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

std::vector<int> FirstFitView::naturalWidths() const {
    std::vector<int> widths;
    for (int i = 0; i < variantCount(); ++i)
        widths.push_back(naturalWidth(i));
    return widths;
}

int FirstFitView::variantFor(int width) const {
    return firstFitting(naturalWidths(), width);
}

QSize FirstFitView::sizeHint() const {
    if (variantCount() == 0) return {0, 0};
    const int width = naturalWidth(0);
    return {width, naturalHeight(0, width)};
}

QSize FirstFitView::minimumSizeHint() const {
    if (variantCount() == 0) return {0, 0};
    const int last = variantCount() - 1;
    const int width = naturalWidth(last);
    return {width, naturalHeight(last, width)};
}

int FirstFitView::heightForWidth(int width) const {
    const int variant = variantFor(width);
    return variant < 0 ? 0 : naturalHeight(variant, std::max(width, naturalWidth(variant)));
}

void FirstFitView::refit() {
    choose(width());
    arrange();
    updateGeometry();
}

void FirstFitView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    choose(event->size().width());
    arrange();
}

void FirstFitView::choose(int width) {
    const int variant = variantFor(width);
    if (variant == m_current) return;
    m_current = variant;
    showVariant(variant);
}

FirstFitStack::FirstFitStack(const std::vector<QWidget*>& variants, QWidget* parent)
    : FirstFitView(parent), m_variants(variants) {
    for (QWidget* variant : m_variants) {
        variant->setParent(this);
        variant->hide();
    }
    refit();
}

namespace {

/// The size a layout would give the widget: its hint within its own limits.
QSize naturalSize(const QWidget* widget) {
    QSize size = widget->sizeHint();
    if (!size.isValid()) size = widget->minimumSizeHint().expandedTo(QSize(0, 0));
    return size.expandedTo(widget->minimumSize()).boundedTo(widget->maximumSize());
}

} // namespace

int FirstFitStack::naturalWidth(int variant) const {
    return naturalSize(m_variants.at(std::size_t(variant))).width();
}

int FirstFitStack::naturalHeight(int variant, int width) const {
    const QWidget* widget = m_variants.at(std::size_t(variant));
    return widget->hasHeightForWidth() ? widget->heightForWidth(width) : naturalSize(widget).height();
}

void FirstFitStack::showVariant(int variant) {
    for (std::size_t i = 0; i < m_variants.size(); ++i)
        m_variants[i]->setVisible(int(i) == variant);
    arrange();
}

void FirstFitStack::arrange() {
    if (currentVariant() >= 0) variant(currentVariant())->setGeometry(rect());
}

} // namespace Orza
