#pragma once

#include "Orza/labels/LabelPage.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace Orza {

class LabelPageLayout;

/**
 * The first page of labels as the paper will show it, every position outlined, scaled to fill the space
 * the widget is given (above true size too) and centred with a faint shadow. Screen readers hear it as
 * one element that says how many labels the page holds and from where.
 */
class LabelPreview final : public QWidget {
    Q_OBJECT
public:
    explicit LabelPreview(QWidget* parent = nullptr);
    ~LabelPreview() override;

    /// Shows `page` (indices into the set's tiles) as the set's first page.
    void setPage(std::shared_ptr<const LabelSet> labels, std::vector<int> page);

    /// min(width ÷ page width, height ÷ page height) of the sheet's page in `area`.
    static qreal scaleFor(QSizeF area, const GlazeCore::LabelLayout::Sheet& sheet);
    /// Where the scaled page stands in the widget.
    QRectF pageFrame() const;
    const LabelPageLayout* layout() const { return m_layout.get(); }

    QSize sizeHint() const override { return {300, 360}; }
    QSize minimumSizeHint() const override { return {120, 150}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void relayout();

    std::shared_ptr<const LabelSet> m_labels;
    std::vector<int> m_page;
    std::unique_ptr<LabelPageLayout> m_layout;
};

} // namespace Orza
