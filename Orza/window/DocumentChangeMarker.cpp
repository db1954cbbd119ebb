#include "Orza/window/DocumentChangeMarker.h"

#include "Orza/document/BookDocument.h"

#include <QTimer>

namespace Orza {

DocumentChangeMarker::DocumentChangeMarker(BookDocument* document, QObject* parent)
    : QObject(parent), m_document(document) {}

void DocumentChangeMarker::update(int token) {
    if (token == m_lastToken) return;
    m_lastToken = token;
    QTimer::singleShot(0, this, [this] {
        if (m_document) m_document->markEdited();
    });
}

} // namespace Orza
