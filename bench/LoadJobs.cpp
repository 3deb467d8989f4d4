#include "LoadJobs.h"

#include "BenchSupport.h"
#include "TestDatabase.h"
#include "components/Connection.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "components/Table.h"
#include "components/Transaction.h"
#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "patterns/ListSearch.h"
#include "records/RecordRoutes.h"
#include "worksheets/LineItems.h"
#include "worksheets/WorkSheetEditing.h"
#include "worksheets/WorkSheetLists.h"
#include "worksheets/WorkSheetStatus.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <vector>

namespace kml::bench {
namespace {

constexpr unsigned DeadlockError = 1213;
constexpr unsigned LockWaitError = 1205;
// A deadlock victim runs again at most this many times in a row before its
// job is given up (and reported).
constexpr int MaxLockRetries = 25;

void Report(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

QString OneLine(QString text) {
    return text.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
}

// A job step that ended otherwise than done: refused, changed meanwhile, or
// an unexpected question.
class JobFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The user at the keyboard of a worker: says yes to every question, types
// the invoice number it was given when the invoice number is asked for, and
// keeps every message shown so that a refusal can be reported with its
// text. Any other dialog is not part of a job and fails it.
class BenchUser final : public DialogBackend {
public:
    BenchUser() : m_previous(SetDialogBackend(this)) {}
    ~BenchUser() override { SetDialogBackend(m_previous); }
    BenchUser(const BenchUser&) = delete;
    BenchUser& operator=(const BenchUser&) = delete;

    QString invoiceNumber;

    void clear() { m_messages.clear(); }
    QString messages() const { return m_messages.join(QStringLiteral(" | ")); }

    bool showMessage(const MessageBoxRequest& r) override {
        m_messages << r.caption + QStringLiteral(": ") + r.text;
        return true;
    }
    std::optional<QString> askText(const TextRequest& r, const TextCheck& check) override {
        if (r.caption != worksheet_text::InvoiceCaption || invoiceNumber.isEmpty())
            throw JobFailure(("unexpected input dialog: " + r.caption).toStdString());
        if (check && !check(invoiceNumber))
            throw JobFailure("the invoice number was refused");
        return invoiceNumber;
    }
    std::optional<QString> askNumber(const NumberRequest& r) override { return unexpected(r.caption); }
    std::optional<QDate> askDate(const DateRequest& r) override {
        unexpected(r.caption);
        return std::nullopt;
    }
    int askTwoWay(const TwoWayRequest& r) override {
        unexpected(r.caption);
        return -1;
    }
    int askRadio(const RadioRequest& r) override {
        unexpected(r.caption);
        return -1;
    }
    std::optional<QString> askMasked(const MaskedRequest& r) override { return unexpected(r.caption); }

private:
    [[noreturn]] static std::optional<QString> unexpected(const QString& caption) {
        throw JobFailure(("unexpected dialog: " + caption).toStdString());
    }

    DialogBackend* m_previous;
    QStringList m_messages;
};

std::vector<int> IntColumn(const QString& sql) {
    const ResultSet rs = SharedConnection().query(sql);
    std::vector<int> values;
    for (int r = 0; r < rs.rowCount(); ++r)
        values.push_back(rs.value(r, 0).toInt());
    return values;
}

// What one job enters: chosen at random from the demo shop.
struct JobPlan {
    int device = 0;
    int customer = 0;
    int type = 0;
    std::vector<int> items;
    std::vector<double> quantities;
    std::vector<int> employees;
    double discount = 0; // percent, every line
    double advance = 0;
    double sheetDiscount = 0; // the sheet's own amount
    QString invoice;
};

class Worker final {
public:
    Worker(const WorkerSetup& setup) : m_setup(setup), m_random(quint32(setup.worker) * 7919u) {}

    int run() {
        m_db.open(test::ServerOptions(m_setup.database));
        SetSharedConnection(&m_db);
        Beall().felhasznaloNev = LoadUserName(m_setup.worker);
        Beall().prgtipus =
            QueryInt(QStringLiteral("SELECT prgtipus FROM beallit ORDER BY beallit LIMIT 1;"), 1);
        Beall().vankeszulek = true;
        readShop();

        int failed = 0;
        for (int j = 1; j <= m_setup.jobs; ++j) {
            m_job = j;
            const JobPlan plan = makePlan(j);
            QString kind = QStringLiteral("job");
            try {
                doJob(plan, kind);
            } catch (const std::exception& e) {
                ++failed;
                Report(QStringLiteral("failed %1 %2 %3 %4")
                           .arg(m_setup.worker)
                           .arg(j)
                           .arg(kind, OneLine(QString::fromStdString(e.what()))));
            }
        }
        // The conflicts the program's own units of work ran again.
        Report(QStringLiteral("conflicts %1 %2 %3 0")
                   .arg(RetriedDeadlocks())
                   .arg(RetriedConflicts() - RetriedDeadlocks())
                   .arg(m_setup.worker));
        Report(QStringLiteral("end %1").arg(m_setup.worker));
        SetSharedConnection(nullptr);
        return failed == 0 ? 0 : 1;
    }

private:
    void readShop() {
        const ResultSet rs = m_db.query(QStringLiteral(
            "SELECT keszulek, ugyfel FROM keszulek WHERE torolve = 'N' AND ugyfel > 0 ORDER BY keszulek;"));
        for (int r = 0; r < rs.rowCount(); ++r)
            m_devices.push_back({rs.value(r, 0).toInt(), rs.value(r, 1).toInt()});
        m_types = IntColumn(
            QStringLiteral("SELECT mlaptipus FROM mlaptipus WHERE prgtipus = %1 ORDER BY mlaptipus;")
                .arg(Beall().prgtipus));
        m_items = IntColumn(QStringLiteral("SELECT tetel FROM tetel WHERE torolve = 'N' ORDER BY tetel;"));
        m_employees =
            IntColumn(QStringLiteral("SELECT dolgozo FROM dolgozo WHERE torolve = 'N' ORDER BY dolgozo;"));
        if (m_devices.empty() || m_types.empty() || m_items.empty() || m_employees.empty())
            throw std::runtime_error("the demo shop has no devices, types, items or employees");
    }

    template <typename T> const T& pick(const std::vector<T>& from) {
        return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(m_random)];
    }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    JobPlan makePlan(int job) {
        JobPlan plan;
        const auto& [device, customer] = m_setup.oneCustomer ? m_devices.front() : pick(m_devices);
        plan.device = device;
        plan.customer = customer;
        plan.type = pick(m_types);
        const int lines = between(2, 4);
        for (int i = 0; i < lines; ++i) {
            plan.items.push_back(pick(m_items));
            plan.quantities.push_back(between(1, 6) * 0.5);
        }
        const int employees = between(1, 2);
        while (int(plan.employees.size()) < employees) {
            const int e = pick(m_employees);
            if (std::find(plan.employees.begin(), plan.employees.end(), e) == plan.employees.end())
                plan.employees.push_back(e);
        }
        plan.discount = between(0, 3) * 5;
        plan.advance = between(0, 4) * 1000;
        plan.sheetDiscount = between(0, 2) * 250;
        plan.invoice = QStringLiteral("T%1-%2").arg(m_setup.worker).arg(job, 4, 10, QLatin1Char('0'));
        return plan;
    }

    // Runs one operation until it is done. A deadlock or lock wait has rolled
    // the operation's transaction back: it runs again (and is reported). A
    // lost connection is waited out; then stored() tells whether the
    // statement that broke had already been stored, and only when it had not
    // does the operation run again. Anything else ends the job.
    void operation(const QString& kind, const std::function<void()>& attempt,
                   const std::function<bool()>& stored = {}) {
        m_user.clear();
        QElapsedTimer sinceLoss;
        bool lost = false;
        int lockRetries = 0;
        for (;;) {
            try {
                if (lost && stored && stored()) {
                    report(
                        QStringLiteral("recovered %1 %2 1").arg(kind).arg(ElapsedMs(sinceLoss), 0, 'f', 1));
                    return;
                }
                QElapsedTimer timer;
                timer.start();
                attempt();
                report(QStringLiteral("op %1 %2").arg(kind).arg(ElapsedMs(timer), 0, 'f', 3));
                if (lost)
                    report(
                        QStringLiteral("recovered %1 %2 0").arg(kind).arg(ElapsedMs(sinceLoss), 0, 'f', 1));
                return;
            } catch (const DbError& e) {
                if (e.code() == DeadlockError || e.code() == LockWaitError) {
                    report(QStringLiteral("retry %1 %2").arg(kind).arg(e.code()));
                    if (++lockRetries > MaxLockRetries)
                        throw;
                    QThread::msleep(unsigned(between(1, 20)));
                    continue;
                }
                if (!e.connectionLost())
                    throw;
                if (!lost) {
                    lost = true;
                    sinceLoss.start();
                    report(
                        QStringLiteral("lost %1 %2 %3").arg(kind).arg(e.code()).arg(e.interrupted() ? 1 : 0));
                }
                if (sinceLoss.elapsed() > qint64(m_setup.patienceSeconds) * 1000)
                    throw;
                QThread::msleep(100);
            }
        }
    }

    void report(const QString& event) {
        Report(event + QStringLiteral(" %1 %2").arg(m_setup.worker).arg(m_job));
    }

    void expect(bool done, const char* what) {
        if (!done)
            throw JobFailure(std::string(what) + ": " + m_user.messages().toStdString());
    }

    int sheetValue(qlonglong sheet, const QString& expression) {
        return QueryInt(
            QStringLiteral("SELECT %1 FROM munkalap WHERE munkalap = %2;").arg(expression).arg(sheet), 0);
    }

    void doJob(const JobPlan& plan, QString& kind) {
        const QString me = SqlStr(LoadUserName(m_setup.worker));

        kind = QStringLiteral("new-sheet");
        int sheet = -1;
        operation(
            kind,
            [&] {
                const std::optional<SheetOpening> opening =
                    BeginSheetEdit(-1, plan.customer, plan.type, false, plan.device);
                expect(opening.has_value(), "no sheet");
                sheet = opening->sheet;
            },
            [&] {
                // Sheets of this worker are made one after the other: one newer
                // than its last is the one the broken call made.
                sheet = QueryInt(
                    QStringLiteral("SELECT COALESCE(MAX(munkalap), 0) FROM munkalap WHERE felhasznalo = %1 "
                                   "AND munkalap > %2;")
                        .arg(me)
                        .arg(m_lastSheet),
                    0);
                return sheet > 0;
            });
        m_lastSheet = sheet;
        report(QStringLiteral("sheet %1").arg(sheet));

        kind = QStringLiteral("line");
        for (size_t i = 0; i < plan.items.size(); ++i) {
            operation(
                kind,
                [&] {
                    const std::optional<LineSource> item = ReadCatalogueItem(plan.items[i]);
                    expect(item.has_value(), "no such item");
                    LineRecord line = NewLineRecord(*item, CustomerDiscount(sheet), Beall().prgtipus);
                    line.db = plan.quantities[i];
                    RecalculateTotal(line);
                    expect(SaveLine(sheet, -1, line), "line refused");
                },
                [&] {
                    return QueryInt(QStringLiteral("SELECT COUNT(*) FROM munkalap_tetel WHERE munkalap = %1;")
                                        .arg(sheet)) > int(i);
                });
        }

        // The same discount again changes nothing: no check needed.
        kind = QStringLiteral("discount");
        operation(kind, [&] {
            expect(SetSheetDiscount(sheet, plan.discount) == SheetWrite::Written, "discount refused");
        });

        kind = QStringLiteral("amounts");
        operation(
            kind,
            [&] {
                Table row(QStringLiteral("munkalap"));
                expect(row.load(sheet), "sheet gone");
                row.setValue(QStringLiteral("ar_eloleg"), plan.advance);
                row.setValue(QStringLiteral("ar_kedvezmeny"), plan.sheetDiscount);
                expect(PostSheet(sheet, row) == SheetWrite::Written, "amounts refused");
            },
            [&] {
                return sheetValue(sheet, QStringLiteral("ar_eloleg = %1 AND ar_kedvezmeny = %2")
                                             .arg(plan.advance)
                                             .arg(plan.sheetDiscount)) == 1;
            });

        // Linking an employee again changes nothing.
        kind = QStringLiteral("employee");
        for (const int employee : plan.employees)
            operation(kind, [&] {
                expect(LinkSheetEmployee(sheet, employee) == SheetWrite::Written, "employee refused");
            });

        // The editor's OK: recomputing again changes nothing.
        kind = QStringLiteral("complete");
        operation(kind, [&] { CompleteSheet(sheet); });

        kind = QStringLiteral("ready");
        operation(
            kind, [&] { expect(MarkReady(sheet) == SheetFlow::Done, "not made ready"); },
            [&] { return sheetValue(sheet, QStringLiteral("statusz")) >= 3; });

        kind = QStringLiteral("invoice");
        m_user.invoiceNumber = plan.invoice;
        operation(
            kind, [&] { expect(AdvanceStatus(sheet) == SheetFlow::Done, "not invoiced"); },
            [&] { return sheetValue(sheet, QStringLiteral("statusz")) >= 4; });
        m_user.invoiceNumber.clear();

        kind = QStringLiteral("payment");
        operation(
            kind, [&] { expect(TogglePayment(sheet) == SheetFlow::Done, "not paid"); },
            [&] { return sheetValue(sheet, QStringLiteral("fizetve = 'I'")) == 1; });

        report(QStringLiteral("job %1 %2 %3").arg(sheet).arg(plan.items.size()).arg(plan.employees.size()));
    }

    WorkerSetup m_setup;
    std::mt19937 m_random;
    Connection m_db;
    BenchUser m_user;
    std::vector<std::pair<int, int>> m_devices; // device, its customer
    std::vector<int> m_types, m_items, m_employees;
    int m_job = 0;
    int m_lastSheet = 0;
};

} // namespace

QString LoadUserName(int worker) {
    return QStringLiteral("Terhelés %1").arg(worker);
}

int RunLoadWorker(const WorkerSetup& setup) {
    Worker worker(setup);
    return worker.run();
}

int RunLoadSearcher(const QString& database, const QString& stopFile) {
    Connection db;
    db.open(test::ServerOptions(database));
    SetSharedConnection(&db);

    // The main window's lists as their search boxes drive them: the work
    // sheets on every status tab, the customers and the devices, and the
    // lines of the newest sheet (the panel under the work-sheet list).
    struct List {
        MainListRoute route;
        QString condition;
        std::unique_ptr<Query> query;
    };
    std::vector<List> lists;
    for (int tab = 0; tab < StatusTabCount; ++tab)
        lists.push_back({WorkSheetTabList(), StatusTabCondition(tab), nullptr});
    lists.push_back({CustomerTabList(), {}, nullptr});
    lists.push_back({DeviceTabList(), {}, nullptr});
    lists.push_back({SheetLinesList(), {}, nullptr});
    for (List& list : lists) {
        if (list.condition.isEmpty())
            list.condition = list.route.list.baseCondition;
        list.query = std::make_unique<Query>();
        list.query->setSql(list.route.list.sql);
    }
    const QStringList texts{QString(),
                            QStringLiteral("a"),
                            QStringLiteral("Kis"),
                            QStringLiteral("Terhelés"),
                            QStringLiteral("12"),
                            QStringLiteral("é"),
                            QStringLiteral("T3-")};

    int searches = 0;
    bool lost = false;
    QElapsedTimer sinceLoss;
    for (size_t i = 0; !QFile::exists(stopFile); ++i) {
        List& list = lists[i % lists.size()];
        const QString text = texts[(i / lists.size()) % size_t(texts.size())];
        try {
            QElapsedTimer timer;
            timer.start();
            if (&list == &lists.back())
                ReopenWithCondition(*list.query,
                                    WorkSheetDetailCondition(
                                        QueryInt(QStringLiteral("SELECT MAX(munkalap) FROM munkalap;"), 0)));
            else
                RunListSearch(*list.query,
                              ListCondition(list.condition, list.route.list.searchFields, text,
                                            list.route.list.searchKind),
                              list.route.list.sortField, text);
            Report(QStringLiteral("op search %1 0 %2").arg(ElapsedMs(timer), 0, 'f', 3).arg(++searches));
            if (lost) {
                Report(QStringLiteral("recovered search %1 0 0 %2")
                           .arg(ElapsedMs(sinceLoss), 0, 'f', 1)
                           .arg(searches));
                lost = false;
            }
        } catch (const DbError& e) {
            if (!e.connectionLost() && e.code() != DeadlockError && e.code() != LockWaitError) {
                Report(QStringLiteral("failed 0 %1 search %2").arg(searches).arg(OneLine(e.text())));
                return 1;
            }
            if (!e.connectionLost()) {
                Report(QStringLiteral("retry search %1 0 %2").arg(e.code()).arg(searches));
            } else if (!lost) {
                lost = true;
                sinceLoss.start();
                Report(QStringLiteral("lost search %1 %2 0 %3")
                           .arg(e.code())
                           .arg(e.interrupted() ? 1 : 0)
                           .arg(searches));
            }
            QThread::msleep(100);
        }
    }
    Report(QStringLiteral("end 0"));
    SetSharedConnection(nullptr);
    return 0;
}

} // namespace kml::bench
