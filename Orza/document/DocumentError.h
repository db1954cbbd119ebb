#pragma once

#include <QString>

#include <exception>

namespace Orza {

/// Why a book file could not be opened, saved or reverted; the message is the sentence the user reads.
class DocumentError final : public std::exception {
public:
    explicit DocumentError(QString message) : m_message(std::move(message)), m_what(m_message.toUtf8()) {}

    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    QString m_message;
    QByteArray m_what;
};

} // namespace Orza
