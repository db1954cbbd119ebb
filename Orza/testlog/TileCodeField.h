#pragma once

#include "GlazeCore/text/Uuid.h"
#include "GlazeCore/tilecode/TileCode.h"
#include "Orza/document/BookFieldNames.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace Orza {

class ActionRegistry;
class BookDocument;
class ProblemLabel;
class TileSearchCache;

/**
 * The tile's code with live validation: the code field and Print Label…, then either a hint or the
 * problem with the text typed.
 *
 * Every keystroke is checked against the tile-code rules and the book's other tiles. An accepted draft is
 * stored at once, trimmed, while the field keeps the text as typed; a refused one leaves the tile with the
 * code it had when editing began and shows why, announced once per new problem. A code that changes
 * elsewhere (an undo) replaces the draft. Showing a tile, or a code arriving from elsewhere, only checks
 * the code: it never writes the book.
 */
class TileCodeField final : public QWidget {
    Q_OBJECT
public:
    TileCodeField(BookDocument& document, ActionRegistry& actions, const GlazeCore::Uuid& tileID,
                  QWidget* parent = nullptr);

    QLineEdit* lineEdit() const { return m_edit; }
    QPushButton* printLabelButton() const { return m_printLabel; }
    QLabel* hintLabel() const { return m_hint; }
    ProblemLabel* problemLabel() const { return m_problemLabel; }
    /// The problem of the last draft checked; shown in place of the hint.
    const std::optional<GlazeCore::TileCode::Problem>& codeProblem() const { return m_codeProblem; }
    /// The code the tile keeps, or gets back, while a draft is refused.
    const std::string& originalCode() const { return m_originalCode; }

    /// The action of Print Label…; the button is enabled only while there is one.
    void setPrintLabel(std::function<void()> printLabel);

    /// Takes the tile's stored code as the field's text and checks it, without writing anything.
    void resetCodeState();

private:
    void applyCodeDraft(const QString& draft);
    void adoptOutsideCode();
    void showProblem(const std::optional<GlazeCore::TileCode::Problem>& problem);
    /// What the field says of itself while its code stands.
    static QString hintDescription();
    std::optional<GlazeCore::TileCode::Problem> check(const std::string& code) const;
    const GlazeCore::TestTile* tile() const;
    void onTileChanged(const GlazeCore::Uuid& tileID, int row, TileField field);

    BookDocument& m_document;
    // Made before this field hears of the book, so it has heard of each change first; it knows every code's key.
    TileSearchCache& m_codes;
    GlazeCore::Uuid m_tileID;
    QLineEdit* m_edit;
    QPushButton* m_printLabel;
    QLabel* m_hint;
    ProblemLabel* m_problemLabel;
    std::function<void()> m_printAction;
    std::optional<GlazeCore::TileCode::Problem> m_codeProblem;
    std::string m_originalCode;
    std::string m_lastWritten;
    /// True while the field's own write is under way, so the change it causes is not taken as news.
    bool m_writing = false;
};

} // namespace Orza
