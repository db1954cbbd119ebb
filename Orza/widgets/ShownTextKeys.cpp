#include "Orza/widgets/ShownTextKeys.h"

#include "Orza/display/ShownTextEdit.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace Orza {

namespace {

class HiddenEraser final : public QObject {
public:
    HiddenEraser(QLineEdit* field, ShownTextEdit& edit, std::function<void(const std::string&)> edited)
        : QObject(field), m_field(field), m_edit(edit), m_edited(std::move(edited)) {
        field->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        return watched == m_field && event->type() == QEvent::KeyPress && erased(*static_cast<QKeyEvent*>(event));
    }

private:
    bool erased(const QKeyEvent& key) {
        const std::optional<qsizetype> cut = m_edit.cutInField();
        if (!cut || m_field->hasSelectedText() || key.modifiers() != Qt::NoModifier) return false;
        const qsizetype at = m_field->cursorPosition();
        const bool backward = key.key() == Qt::Key_Backspace && at == *cut + 1;
        if (!backward && !(key.key() == Qt::Key_Delete && at == *cut)) return false;
        const std::string whole = m_edit.eraseHidden(backward);
        if (m_field->text() != m_edit.shown()) { // the middle is gone, and its "…" with it
            m_field->setText(m_edit.shown());
            m_field->setCursorPosition(int(*cut));
        }
        m_edited(whole);
        return true;
    }

    QLineEdit* m_field;
    ShownTextEdit& m_edit;
    std::function<void(const std::string&)> m_edited;
};

} // namespace

void eraseHiddenByKeys(QLineEdit* field, ShownTextEdit& edit, std::function<void(const std::string&)> edited) {
    new HiddenEraser(field, edit, std::move(edited));
}

} // namespace Orza
