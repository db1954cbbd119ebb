#pragma once

#include "GlazeCore/text/UnicodeText.h"

#include <QString>

#include <optional>
#include <string>

namespace Orza {

/**
 * A book's text in a one-line field that shows only its ends when it is very long (shownText). Typing in the
 * field edits the whole text: in its start or its end there, across the "…" in place of the hidden middle.
 */
class ShownTextEdit {
public:
    /// What the field is to show for `whole`.
    QString show(const std::string& whole);
    /// The whole text once the field's text was typed into `typed`.
    std::string edit(const QString& typed);
    /// True while the field's text stands for `whole`, so the field need not be set again.
    bool showing(const std::string& whole, const QString& fieldText) const;
    /// What the field shows now, edits and all: how the text is quoted where it is too long to give whole.
    QString shown() const { return QString::fromStdString(m_shown.text); }
    /// Where the field's "…" stands, in its UTF-16 units; none while the text is shown whole.
    std::optional<qsizetype> cutInField() const;
    /// The whole text with one character of the hidden middle deleted, the last (`backward`, as Backspace just
    /// after the "…" does) or the first (as Delete just before it does). The field shows the "…" as long as any
    /// of the middle is left.
    std::string eraseHidden(bool backward);

private:
    std::string m_whole;
    // What the field shows, and where its "…" stands for the hidden middle: known from the shortening and moved
    // with each edit, never looked for (the text may hold "…" of its own).
    GlazeCore::UnicodeText::ShortenedText m_shown;
};

} // namespace Orza
