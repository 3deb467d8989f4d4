#pragma once

#include <QString>

#include <stdexcept>

namespace kml {

// A failed statement or connection. The text is the server's (or client
// library's) message followed by its error number in brackets, for example
// "Table 'koravelml.x' doesn't exist (1146)": the application error handler
// recognises errors by that number.
class DbError final : public std::runtime_error {
public:
    DbError(const QString& message, unsigned code)
        : std::runtime_error((message + QStringLiteral(" (%1)").arg(code)).toStdString()),
          m_message(message), m_code(code) {}

    unsigned code() const { return m_code; }
    // The message without the number.
    const QString& message() const { return m_message; }
    // The full text, message and number.
    QString text() const { return QString::fromStdString(what()); }

private:
    QString m_message;
    unsigned m_code;
};

} // namespace kml
