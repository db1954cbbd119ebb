#pragma once

#include <QWidget>

#include <vector>

namespace Orza {

/// The index of the first width that is at most `available`, else the last index; -1 for no widths.
int firstFitting(const std::vector<int>& naturalWidths, int available);

/**
 * Shows, of several layouts of the same content, the first whose natural width fits the width it is given,
 * or the last when none fits. A layout is never squeezed: the widget asks for the first layout's width,
 * accepts down to the last one's, and its height follows the layout it would show at a given width.
 *
 * Subclasses say how many layouts there are, how wide each is and how tall at a width, switch between
 * them and place their content; they call refit() when their content changes. The view itself has no
 * layout: a layout of its own would answer the enclosing layout's height questions in its place.
 */
class FirstFitView : public QWidget {
    Q_OBJECT
public:
    explicit FirstFitView(QWidget* parent = nullptr);

    /// The layout shown now.
    int currentVariant() const { return m_current; }
    /// The layout that a width of `width` would show.
    int variantFor(int width) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    virtual int variantCount() const = 0;
    virtual int naturalWidth(int variant) const = 0;
    virtual int naturalHeight(int variant, int width) const = 0;
    virtual void showVariant(int variant) = 0;
    /// Places the content in the view's rectangle, after each resize.
    virtual void arrange() = 0;

    /// Chooses again for the current width and tells the enclosing layout that the sizes may have changed.
    void refit();
    void resizeEvent(QResizeEvent* event) override;

private:
    std::vector<int> naturalWidths() const;
    void choose(int width);

    int m_current = -1;
};

/// A FirstFitView over widgets, one per layout: the chosen one is shown and the others are hidden.
class FirstFitStack final : public FirstFitView {
    Q_OBJECT
public:
    /// Takes ownership of the variants, given in the order they are tried.
    explicit FirstFitStack(const std::vector<QWidget*>& variants, QWidget* parent = nullptr);

    QWidget* variant(int index) const { return m_variants.at(std::size_t(index)); }
    /// After the variants' content changed.
    void contentChanged() { refit(); }

protected:
    int variantCount() const override { return int(m_variants.size()); }
    int naturalWidth(int variant) const override;
    int naturalHeight(int variant, int width) const override;
    void showVariant(int variant) override;
    void arrange() override;

private:
    std::vector<QWidget*> m_variants;
};

} // namespace Orza
