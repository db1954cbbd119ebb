#include "Orza/platform/ClipboardOffer.h"

#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>

namespace Orza {

namespace {

std::size_t slotOf(QClipboard::Mode mode) {
    return mode == QClipboard::Selection ? 1 : 0;
}

} // namespace

ClipboardOffer& ClipboardOffer::instance() {
    static QPointer<ClipboardOffer> made;
    if (!made) made = new ClipboardOffer(QGuiApplication::clipboard());
    return *made;
}

ClipboardOffer::ClipboardOffer(QClipboard* clipboard) : QObject(clipboard), m_clipboard(clipboard) {
    connect(clipboard, &QClipboard::changed, this, &ClipboardOffer::forget);
}

void ClipboardOffer::forget(QClipboard::Mode mode) {
    if (mode == QClipboard::FindBuffer) return;
    m_offersText[slotOf(mode)].reset();
    emit changed();
}

bool ClipboardOffer::offersText(QClipboard::Mode mode) {
    if (mode == QClipboard::FindBuffer) return false;
    std::optional<bool>& known = m_offersText[slotOf(mode)];
    if (!known) {
        // The formats come from the owner's list of targets (one answer, kept until the clipboard changes, even
        // when none came), never from its data.
        const QMimeData* data = m_clipboard->mimeData(mode);
        known = data && data->hasText();
    }
    return *known;
}

} // namespace Orza
