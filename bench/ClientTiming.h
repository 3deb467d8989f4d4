#pragma once

// Timing a statement through the mariadb command-line client, the yardstick
// for the program's own lists: the client sends the statement, reads the
// whole result and prints it (to /dev/null here).
//
// A client run costs a process start and a connect besides the statement, so
// the time of one statement is taken as a difference: a batch of 1 + n copies
// against a batch of one copy, divided by n. What remains is the statement
// sent, run, transferred and printed by the client.

#include <QByteArray>
#include <QString>

namespace kml::bench {

struct ClientSetup {
    QString program = QStringLiteral("mariadb");
    QString host;
    unsigned port = 3306;
    QString user;
    QString password;
    QString database;
};

// Milliseconds from starting the client until it exits, for `copies` runs of
// the statement in one batch (after SET NAMES latin2 with the Hungarian
// collation, as the program's connection). The statement is in the
// connection's encoding (cp1250). Throws std::runtime_error when the client
// fails.
double ClientBatchMs(const ClientSetup& setup, const QByteArray& statement, int copies, bool compress);

// The milliseconds of one run of the statement: the median over `repeats`
// of (batch of 1 + n) - (batch of 1), divided by n.
double ClientStatementMs(const ClientSetup& setup, const QByteArray& statement, bool compress, int n,
                         int repeats);

// One run of a long statement: a batch of it less a batch of "SELECT 1"
// (the client's start, connect and session set-up), for statements that take
// long enough for that difference to be small beside them.
double ClientOnceMs(const ClientSetup& setup, const QByteArray& statement, bool compress);

} // namespace kml::bench
