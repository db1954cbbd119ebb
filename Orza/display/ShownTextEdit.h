#pragma once

#include "GlazeCore/text/UnicodeText.h"

#include <QString>

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

private:
    std::string m_whole;
    // What the field shows, and where its "…" stands for the hidden middle: known from the shortening and moved
    // with each edit, never looked for (the text may hold "…" of its own).
    GlazeCore::UnicodeText::ShortenedText m_shown;
};

} // namespace Orza
