#pragma once

#include <QClipboard>
#include <QObject>

#include <array>
#include <optional>

namespace Orza {

/**
 * Whether the desktop's clipboard offers text, read from the formats it offers and asked once each time it
 * changes. Its text itself is fetched only by a paste: fetching it asks whoever owns the clipboard for all of
 * it, who may hold millions of characters or never answer, and Paste's state is wanted at every focus, key
 * and selection change.
 */
class ClipboardOffer final : public QObject {
    Q_OBJECT
public:
    /// The one for this application, made on first use and kept with its clipboard.
    static ClipboardOffer& instance();

    /// True when the clipboard (or the selection, where the desktop has one) offers text.
    bool offersText(QClipboard::Mode mode = QClipboard::Clipboard);

signals:
    /// The clipboard's offer may have changed; offersText() asks again.
    void changed();

private:
    explicit ClipboardOffer(QClipboard* clipboard);
    void forget(QClipboard::Mode mode);

    QClipboard* m_clipboard;
    std::array<std::optional<bool>, 2> m_offersText; // the clipboard, the selection
};

} // namespace Orza
