#include "components/Transaction.h"

#include "components/DbError.h"

#include <QRandomGenerator>
#include <QThread>
#include <atomic>

namespace kml {
namespace {

std::atomic<quint64> g_retried{0};
std::atomic<quint64> g_retriedDeadlocks{0};

void CountRetry(unsigned code) {
    ++g_retried;
    if (code == 1213)
        ++g_retriedDeadlocks;
}

// A short, growing pause with some randomness, so that two workstations that
// collided do not collide again at once.
void PauseBeforeAttempt(int attempt) {
    const int base = 5 << std::min(attempt, 5);
    QThread::msleep(unsigned(base + int(QRandomGenerator::global()->bounded(base))));
}

[[noreturn]] void GiveUp(const DbError& e) {
    throw DbError(ConflictGaveUpMark + QLatin1Char(' ') + e.message(), e.code());
}

template <typename Result> Result RunUnitStatement(Connection& db, const std::function<Result()>& run) {
    if (db.inTransaction())
        return run();
    for (int attempt = 1;; ++attempt) {
        try {
            return run();
        } catch (const DbError& e) {
            if (!IsRetryableConflict(e.code()) || e.interrupted())
                throw;
            if (attempt >= ConflictAttempts)
                GiveUp(e);
            CountRetry(e.code());
            PauseBeforeAttempt(attempt);
        }
    }
}

} // namespace

bool RunTransaction(Connection& db, const std::function<bool()>& unit) {
    for (int attempt = 1;; ++attempt) {
        try {
            db.exec(QStringLiteral("START TRANSACTION;"));
            const bool keep = unit();
            db.exec(keep ? QStringLiteral("COMMIT;") : QStringLiteral("ROLLBACK;"));
            return keep;
        } catch (const DbError& e) {
            db.rollback();
            if (!IsRetryableConflict(e.code()) || e.interrupted())
                throw;
            if (attempt >= ConflictAttempts)
                GiveUp(e);
            CountRetry(e.code());
            PauseBeforeAttempt(attempt);
        } catch (...) {
            db.rollback();
            throw;
        }
    }
}

void ExecUnit(Connection& db, const QString& sql) {
    RunUnitStatement<int>(db, [&] {
        db.exec(sql);
        return 0;
    });
}

ResultSet QueryUnit(Connection& db, const QString& sql) {
    return RunUnitStatement<ResultSet>(db, [&] { return db.query(sql); });
}

quint64 RetriedConflicts() {
    return g_retried.load();
}

quint64 RetriedDeadlocks() {
    return g_retriedDeadlocks.load();
}

} // namespace kml
