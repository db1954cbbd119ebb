#pragma once

#include <QFrame>

#include <string>

namespace Orza {

class BookLibrary;
class MaterialSearchList;

/**
 * The material picker's popover: a MaterialSearchList in a popup under the cell or button it was opened
 * from. A pick reports the material id and closes it; closing it any other way picks nothing.
 */
class MaterialPicker final : public QFrame {
    Q_OBJECT
public:
    MaterialPicker(const BookLibrary& library, const std::string& selectedID, QWidget* parent);

    MaterialSearchList* list() const { return m_list; }

    /// Shows the popup under `anchor` (global coordinates), or above it, kept on the anchor's screen.
    void popUp(const QRect& anchor);
    /// Where a popup of `size` goes for `anchor` on a screen whose free area is `available`: under the anchor
    /// when it fits there, else above it, else on the taller of those two sides, cut to fit. It never covers the
    /// anchor, nor what lies above a field with room below it.
    static QRect placement(const QRect& anchor, const QSize& size, const QRect& available);

    /// Paints what a picker button shows: the material's name, cut in the middle to fit, in the primary
    /// colour when the material can be used and the secondary one otherwise, then a small up-down chevron.
    static void paintLabel(QPainter& painter, const QRect& rect, const QString& name, bool usable,
                           const QPalette& palette, bool selected);
    /// How wide paintLabel draws the name and the chevron in a rect `width` wide.
    static int labelWidth(const QFontMetrics& metrics, int width, const QString& name);

signals:
    void picked(const QString& materialID);

private:
    MaterialSearchList* m_list;
};

} // namespace Orza
