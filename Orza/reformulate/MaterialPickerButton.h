#pragma once

#include "Orza/library/BookLibrary.h"

#include <QAbstractButton>

#include <string>

namespace Orza {

class MaterialPicker;

/**
 * A button that shows the chosen material and opens the searchable material list beside itself; a pick
 * becomes the chosen material. The name is cut in the middle to fit and drawn dimmer while nothing usable
 * is chosen (no material, an unknown id, an invalid analysis).
 */
class MaterialPickerButton final : public QAbstractButton {
    Q_OBJECT
public:
    MaterialPickerButton(BookLibrary library, QWidget* parent = nullptr);

    const std::string& materialID() const { return m_materialID; }
    void setMaterialID(const std::string& id);
    void setLibrary(BookLibrary library);
    /// The name the button shows for the chosen id.
    QString displayName() const;

    /// Opens the list; also what a click does.
    MaterialPicker* openPicker();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    /// The user picked a material in the list.
    void materialPicked(const std::string& id);

protected:
    void paintEvent(QPaintEvent* event) override;
    /// Return opens the list, as Space does, unless the dialog's default button can act on it: then it goes
    /// there, so that once a material is chosen Return finishes the dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refreshTexts();
    bool defaultButtonTakesReturn() const;

    BookLibrary m_library;
    std::string m_materialID;
};

} // namespace Orza
