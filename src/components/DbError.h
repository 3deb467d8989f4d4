#pragma once

#include <QString>
#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace kml {

// Error numbers after which the server cannot be reached or the session is
// gone: the client library's "can't connect" (2002 on TCP, 2003), unknown
// host (2005), gone away (2006), lost (2013, 2055), and the server's own
// shutdown in progress (1053) and connection killed (1927). The connection
// opens a new session for the next statement after any of them.
inline constexpr unsigned LostConnectionErrors[] = {1053, 1927, 2002, 2003, 2005, 2006, 2013, 2055};

inline bool IsLostConnectionError(unsigned code) {
    return std::find(std::begin(LostConnectionErrors), std::end(LostConnectionErrors), code) !=
           std::end(LostConnectionErrors);
}

// A cluster node that is not in the primary component (or still joining):
// it refuses statements until it is back ("WSREP has not yet prepared node
// for application use").
inline constexpr unsigned NodeNotReadyError = 1047;

// Refusals of a whole transaction that running it again may cure: a
// deadlock, which on a cluster is also how a transaction that lost a
// certification conflict with another node's is refused (1213), and a lock
// wait that timed out (1205). Nothing of the refused transaction stays.
inline bool IsRetryableConflict(unsigned code) {
    return code == 1213 || code == 1205;
}

// A failed statement or connection. The text is the server's (or client
// library's) message followed by its error number in brackets, for example
// "Table 'koravelml.x' doesn't exist (1146)": the application error handler
// recognises errors by that number.
//
// An interrupted error is one whose statement reached the server before the
// connection broke: it may have run, in part or whole, or not at all. Its
// text begins with InterruptedStatementMark so that the error handler can
// say so.
class DbError final : public std::runtime_error {
public:
    static inline const QString InterruptedStatementMark = QStringLiteral("Statement interrupted:");

    DbError(const QString& message, unsigned code, bool interrupted = false)
        : std::runtime_error(((interrupted ? InterruptedStatementMark + QLatin1Char(' ') : QString()) +
                              message + QStringLiteral(" (%1)").arg(code))
                                 .toStdString()),
          m_message(message), m_code(code), m_interrupted(interrupted) {}

    unsigned code() const { return m_code; }
    // The message without the number.
    const QString& message() const { return m_message; }
    // The full text, message and number.
    QString text() const { return QString::fromStdString(what()); }
    bool interrupted() const { return m_interrupted; }
    bool connectionLost() const { return IsLostConnectionError(m_code); }

private:
    QString m_message;
    unsigned m_code;
    bool m_interrupted;
};

} // namespace kml
