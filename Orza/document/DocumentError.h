#pragma once

#include <QString>

#include <exception>

namespace Orza {

/// Why a book file could not be opened, saved or reverted. The message is the sentence the user reads; the
/// details, when there are any, say in technical words what the reader found, for the alert's details.
class DocumentError final : public std::exception {
public:
    explicit DocumentError(QString message, QString details = {})
        : m_message(std::move(message)), m_details(std::move(details)), m_what(m_message.toUtf8()) {}

    const QString& message() const { return m_message; }
    const QString& details() const { return m_details; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    QString m_message;
    QString m_details;
    QByteArray m_what;
};

} // namespace Orza
