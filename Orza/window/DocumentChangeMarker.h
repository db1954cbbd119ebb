#pragma once

#include <QObject>
#include <QPointer>

namespace Orza {

class BookDocument;

/**
 * Turns each new value of a window's change counter into one "edited" mark on its document, on the
 * main queue. A counter still at 0 marks nothing; repeating a value marks nothing more. A window that
 * closes before the queued mark runs takes the probe, and the mark, with it.
 */
class DocumentChangeMarker final : public QObject {
    Q_OBJECT
public:
    explicit DocumentChangeMarker(BookDocument* document, QObject* parent = nullptr);

    void update(int token);

private:
    QPointer<BookDocument> m_document;
    int m_lastToken = 0;
};

} // namespace Orza
