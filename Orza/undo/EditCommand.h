#pragma once

#include <QUndoCommand>

namespace Orza {

/**
 * Base of a document's undo commands. A command keeps only what it changes (one field's other value, the
 * rows it took out, the rows of a move) and changes the document through `Access`, which sends the signals
 * views follow. Removed items live inside the command, by value, until they are put back.
 *
 * The first redo runs as the command is pushed; every later undo or redo ends the document's typing burst,
 * so what is typed after an undo starts a step of its own.
 *
 * `Access` names the `Document` and gives `endEditBurst(Document&)` and a `Replaying` guard that marks the
 * document as taking a step back or forth while it lives.
 */
template <class Access> class EditCommand : public QUndoCommand {
public:
    using Document = typename Access::Document;

    EditCommand(Document& document, const QString& text, QUndoCommand* parent)
        : QUndoCommand(text, parent), m_document(document) {}

    void redo() final {
        if (!m_applied) {
            m_applied = true;
            apply();
            return;
        }
        Access::endEditBurst(m_document);
        const typename Access::Replaying replaying(m_document);
        apply();
    }
    void undo() final {
        Access::endEditBurst(m_document);
        const typename Access::Replaying replaying(m_document);
        revert();
    }

protected:
    virtual void apply() = 0;
    virtual void revert() = 0;
    Document& document() const { return m_document; }

private:
    Document& m_document;
    bool m_applied = false;
};

/**
 * Several changes as one undo step. Its children ran as they were added; pushing it runs nothing, and
 * after that undo and redo run the children in reverse and in order.
 */
class ChangeGroupCommand final : public QUndoCommand {
public:
    explicit ChangeGroupCommand(const QString& text) : QUndoCommand(text) {}
    void redo() override {
        if (m_applied) QUndoCommand::redo();
        m_applied = true;
    }

private:
    bool m_applied = false;
};

} // namespace Orza
