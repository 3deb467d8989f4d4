// The work-sheet flows against the real server, without windows: the status
// workflow, payment, cancellation and employees of the main window, the
// editor's opening, lines, prices and memos, each with its questions and
// messages; and two workstations on the same sheet, where the loser of every
// race gets a message and nothing of the winner's work is lost.
#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "components/Table.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "patterns/EditorDefinition.h"
#include "patterns/ListController.h"
#include "records/CatalogueWindows.h"
#include "records/CustomerWindows.h"
#include "records/DeviceWindows.h"
#include "records/RecordRoutes.h"
#include "records/TextWindows.h"
#include "records/TypeWindows.h"
#include "shell/MainActions.h"
#include "worksheets/LineItems.h"
#include "worksheets/WorkSheetEditing.h"
#include "worksheets/WorkSheetLists.h"
#include "worksheets/WorkSheetStatus.h"
#include "worksheets/WorkSheetWindows.h"

#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace kml {
namespace {

using test::TestDatabase;

// The dialogs of a script, with the other workstation acting just before the
// next dialog is answered (while "this" user is reading the question).
class InterleavedDialogs final : public DialogBackend {
public:
    explicit InterleavedDialogs(ScriptedDialogs& script)
        : m_script(script), m_previous(SetDialogBackend(this)) {}
    ~InterleavedDialogs() override { SetDialogBackend(m_previous); }

    void beforeNextAnswer(std::function<void()> meanwhile) { m_meanwhile = std::move(meanwhile); }

    bool showMessage(const MessageBoxRequest& r) override {
        if (r.buttons == MessageButtons::YesNo)
            fire();
        return m_script.showMessage(r);
    }
    std::optional<QString> askText(const TextRequest& r, const TextCheck& check) override {
        fire();
        return m_script.askText(r, check);
    }
    std::optional<QString> askNumber(const NumberRequest& r) override {
        fire();
        return m_script.askNumber(r);
    }
    std::optional<QDate> askDate(const DateRequest& r) override { return m_script.askDate(r); }
    int askTwoWay(const TwoWayRequest& r) override { return m_script.askTwoWay(r); }
    int askRadio(const RadioRequest& r) override { return m_script.askRadio(r); }
    std::optional<QString> askMasked(const MaskedRequest& r) override { return m_script.askMasked(r); }

private:
    void fire() {
        if (m_meanwhile)
            std::exchange(m_meanwhile, nullptr)();
    }

    ScriptedDialogs& m_script;
    DialogBackend* m_previous;
    std::function<void()> m_meanwhile;
};

class WorkSheetFlows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("wsflows"));
        s_other = s_db->connect().release();
    }
    static void TearDownTestSuite() {
        delete s_other;
        s_other = nullptr;
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        for (const char* table : {"munkalap", "munkalap_tetel", "munkalap_dolgozo", "statuszvaltas",
                                  "dolgozo", "ugyfel", "keszulek", "tetel"})
            exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        exec(QStringLiteral("UPDATE beallit SET prgtipus = 1, afakulcs = 27"));
        Beall() = TBeall{};
        Beall().felhasznaloNev = QStringLiteral("Kovács Anna");
        Beall().prgtipus = 1;
        Beall().vankeszulek = true;
        SetSharedConnection(&s_db->connection());
    }
    void TearDown() override {
        Beall() = TBeall{};
        SetSharedConnection(&s_db->connection());
    }

    static void exec(const QString& sql) { s_db->connection().exec(sql); }
    static qlonglong insert(const QString& sql) {
        s_db->connection().exec(sql);
        return qlonglong(s_db->connection().lastInsertId());
    }
    static QString value(const QString& sql) {
        const ResultSet rs = s_db->connection().query(sql);
        return rs.rowCount() == 0 ? QStringLiteral("<no row>")
                                  : (rs.isNull(0, 0) ? QStringLiteral("<null>") : rs.text(0, 0));
    }
    static QString field(qlonglong sheet, const char* column) {
        return value(QStringLiteral("SELECT %1 FROM munkalap WHERE munkalap = %2")
                         .arg(QLatin1String(column))
                         .arg(sheet));
    }
    // What another workstation runs, on a connection of its own.
    static void elsewhere(const QString& sql) { s_other->exec(sql); }

    static int customer(const QString& name, double discount = 0) {
        return int(insert(QStringLiteral("INSERT INTO ugyfel (ugyfel_nev, kedvezmeny) VALUES (%1, %2)")
                              .arg(SqlStr(name))
                              .arg(discount)));
    }
    static int device(int owner) {
        return int(
            insert(QStringLiteral("INSERT INTO keszulek (ugyfel, gysz) VALUES (%1, 'ABC-123')").arg(owner)));
    }
    static int employee(const QString& name) {
        return int(insert(
            QStringLiteral("INSERT INTO dolgozo (dolgozo_nev, sorszam) VALUES (%1, 9)").arg(SqlStr(name))));
    }
    static int item(const QString& name, bool service, double sale, double list, double purchase,
                    double discount = 0) {
        return int(insert(
            QStringLiteral("INSERT INTO tetel (tetel_kod, tetel_nev, ezszolg, ar_elad, ar_teljes, ar_besz, "
                           "kedv_ad) VALUES ('T', %1, '%2', %3, %4, %5, %6)")
                .arg(SqlStr(name))
                .arg(service ? 'I' : 'N')
                .arg(sale)
                .arg(list)
                .arg(purchase)
                .arg(discount)));
    }
    // A sheet as the routine makes it, in the status given.
    static int sheet(int status = 1, int owner = 0) {
        const int number = QueryInt(CreateSheetSql(owner > 0 ? owner : customer(QStringLiteral("Ügyfél")), 1,
                                                   0, QStringLiteral("x")));
        exec(QStringLiteral("UPDATE munkalap SET statusz = %1 WHERE munkalap = %2").arg(status).arg(number));
        return number;
    }
    static int addLine(int sheetNumber, int itemNumber, double db, double egysar, double beszar,
                       double list = 0) {
        LineRecord line;
        line.tetel = itemNumber;
        line.db = db;
        line.egysar = egysar;
        line.beszar = beszar;
        line.ar_teljes = list;
        EXPECT_EQ(SaveLine(sheetNumber, -1, line, std::nullopt), SheetWrite::Written);
        return int(value(QStringLiteral("SELECT MAX(munkalap_tetel) FROM munkalap_tetel")).toInt());
    }

    static inline TestDatabase* s_db = nullptr;
    static inline Connection* s_other = nullptr;
};

// ---- Status workflow ----------------------------------------------------------

TEST_F(WorkSheetFlows, NextStatusFollowsTheWorkflow) {
    enum class Employees { None, One };
    struct Case {
        const char* name;
        int status;
        Employees employees;
        std::function<void(ScriptedDialogs&, ScriptedWindows&, int employee)> script;
        int statusAfter;
        SheetFlow flow;
        QStringList texts;
    };
    const QString ordered = QStringLiteral("Valóban megrendelték a munkát?");
    const QString ready = QStringLiteral("Biztosan elkészült?");
    const std::vector<Case> cases = {
        {"quotation ordered",
         0,
         Employees::None,
         [](auto& d, auto&, int) { d.answer(DialogAnswer::Yes); },
         1,
         SheetFlow::Done,
         {ordered}},
        {"quotation not ordered",
         0,
         Employees::None,
         [](auto& d, auto&, int) { d.answer(DialogAnswer::No); },
         0,
         SheetFlow::Nothing,
         {ordered}},
        {"received with an employee: no question",
         1,
         Employees::One,
         [](auto&, auto&, int) {},
         2,
         SheetFlow::Done,
         {}},
        {"received, employee chosen",
         1,
         Employees::None,
         [](auto&, auto& w, int e) { w.answer(OpenLookupTable, ChosenRow{e}); },
         2,
         SheetFlow::Done,
         {}},
        {"received, choice cancelled",
         1,
         Employees::None,
         [](auto&, auto& w, int) { w.answer(OpenLookupTable, ChosenRow{}); },
         1,
         SheetFlow::Nothing,
         {}},
        {"started, ready",
         2,
         Employees::One,
         [](auto& d, auto&, int) { d.answer(DialogAnswer::Yes); },
         3,
         SheetFlow::Done,
         {ready}},
        {"started, not ready",
         2,
         Employees::One,
         [](auto& d, auto&, int) { d.answer(DialogAnswer::No); },
         2,
         SheetFlow::Nothing,
         {ready}},
        {"ready, invoice number",
         3,
         Employees::One,
         [](auto& d, auto&, int) { d.answerText(QStringLiteral("SZ-2/24")); },
         4,
         SheetFlow::Done,
         {QStringLiteral("Add meg a számlaszámot!")}},
        {"ready, prompt cancelled",
         3,
         Employees::One,
         [](auto& d, auto&, int) { d.answer(DialogAnswer::Cancel); },
         3,
         SheetFlow::Nothing,
         {QStringLiteral("Add meg a számlaszámot!")}},
        {"invoiced",
         4,
         Employees::One,
         [](auto&, auto&, int) {},
         4,
         SheetFlow::Refused,
         {QStringLiteral("Ez a munkalap már le lett zárva.")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int s = sheet(c.status);
        exec(QStringLiteral("UPDATE munkalap SET szlaszam = 'SZ-1' WHERE munkalap = %1").arg(s));
        const int e = employee(QStringLiteral("Béla"));
        if (c.employees == Employees::One)
            ExecSql(LinkEmployeeSql(s, e));
        ScriptedDialogs dialogs;
        ScriptedWindows windows;
        windows.script(OpenLookupTable);
        c.script(dialogs, windows, e);
        EXPECT_EQ(AdvanceStatus(SeeSheetNow(s)), c.flow);
        EXPECT_EQ(field(s, "statusz").toInt(), c.statusAfter);
        EXPECT_EQ(dialogs.texts(), c.texts);
        EXPECT_EQ(dialogs.pendingAnswers(), 0);
        EXPECT_EQ(windows.pendingAnswers(), 0);
        if (c.status == 3) {
            // The prompt starts from the number the sheet has, so OK never wipes it.
            EXPECT_EQ(dialogs.calls().at(0).caption, "Számlaszám");
            EXPECT_EQ(dialogs.calls().at(0).value, "SZ-1");
            EXPECT_EQ(dialogs.calls().at(0).maxLength, 50);
            EXPECT_EQ(field(s, "szlaszam"), c.statusAfter == 4 ? "SZ-2/24" : "SZ-1");
        }
        if (c.employees == Employees::None && c.status == 1) {
            // The chooser is the employee list; the planner positions are
            // renumbered whatever the choice.
            ASSERT_EQ(windows.calls("OpenLookupTable").size(), 1u);
            EXPECT_EQ(windows.calls("OpenLookupTable")[0].args.at(2), "dolgozo");
            EXPECT_EQ(windows.calls("OpenLookupTable")[0].args.at(4), "Dolgozó");
            EXPECT_EQ(value(QStringLiteral("SELECT sorszam FROM dolgozo WHERE dolgozo = %1").arg(e)), "1");
            EXPECT_EQ(field(s, "dolgozostr"), c.statusAfter == 2 ? "Béla" : "");
        }
        if (c.flow == SheetFlow::Done) {
            EXPECT_EQ(value(QStringLiteral("SELECT CONCAT(statusz, '|', felhasznalo) FROM statuszvaltas "
                                           "WHERE munkalap = %1")
                                .arg(s)),
                      QStringLiteral("%1|Kovács Anna").arg(c.statusAfter));
        }
        exec(QStringLiteral("DELETE FROM dolgozo"));
    }
}

TEST_F(WorkSheetFlows, CancelledSheetsRefuseTheStatusActions) {
    const int s = sheet(2);
    exec(QStringLiteral("UPDATE munkalap SET storno = 'I' WHERE munkalap = %1").arg(s));
    ScriptedDialogs dialogs;
    EXPECT_EQ(AdvanceStatus(SeeSheetNow(s)), SheetFlow::Refused);
    EXPECT_EQ(MarkReady(SeeSheetNow(s)), SheetFlow::Refused);
    EXPECT_EQ(dialogs.texts(), (QStringList{"Sztornó munkalap", "Sztornó munkalap"}));
    EXPECT_EQ(dialogs.calls().at(0).caption, "Hiba");
    EXPECT_EQ(field(s, "statusz"), "2");
    // A cancelled sheet can still be paid.
    EXPECT_EQ(TogglePayment(SeeSheetNow(s)), SheetFlow::Done);
    EXPECT_EQ(field(s, "fizetve"), "I");
}

TEST_F(WorkSheetFlows, ReadyAtOnceOnlyFromReceivedOrStarted) {
    for (const auto& [from, to] : {std::pair{0, 0}, {1, 3}, {2, 3}, {3, 3}, {4, 4}}) {
        SCOPED_TRACE(from);
        const int s = sheet(from);
        ScriptedDialogs dialogs;
        EXPECT_EQ(MarkReady(SeeSheetNow(s)), from == to ? SheetFlow::Nothing : SheetFlow::Done);
        EXPECT_EQ(field(s, "statusz").toInt(), to);
        EXPECT_TRUE(dialogs.calls().empty());
        if (from != to) {
            EXPECT_EQ(field(s, "dat_kesz"), QDate::currentDate().toString(Qt::ISODate));
        }
    }
}

// ---- Payment, cancellation, employees --------------------------------------------

TEST_F(WorkSheetFlows, PaymentIsSetOrClearedAndReportedAfterwards) {
    Beall().formatFt = QStringLiteral("### ### ##0");
    const int s = sheet(3);
    exec(QStringLiteral("UPDATE munkalap SET ar_fizetendo = 12500 WHERE munkalap = %1").arg(s));
    {
        ScriptedDialogs dialogs;
        EXPECT_EQ(TogglePayment(SeeSheetNow(s)), SheetFlow::Done);
        EXPECT_EQ(dialogs.texts(), QStringList{"Munkalap kifizetés (12 500) kész."});
        EXPECT_EQ(dialogs.calls().at(0).caption, "Üzenet");
        EXPECT_EQ(field(s, "fizetve"), "I");
        EXPECT_EQ(field(s, "dat_fizetve"), QDate::currentDate().toString(Qt::ISODate));
    }
    {
        ScriptedDialogs dialogs;
        dialogs.answer(DialogAnswer::No);
        EXPECT_EQ(TogglePayment(SeeSheetNow(s)), SheetFlow::Nothing);
        EXPECT_EQ(dialogs.texts(), QStringList{"Ez a munkalap már ki lett fizetve. Törlöd a kifizetést?"});
        EXPECT_EQ(field(s, "fizetve"), "I");
    }
    {
        ScriptedDialogs dialogs;
        dialogs.answer(DialogAnswer::Yes);
        EXPECT_EQ(TogglePayment(SeeSheetNow(s)), SheetFlow::Done);
        EXPECT_EQ(dialogs.texts(), (QStringList{"Ez a munkalap már ki lett fizetve. Törlöd a kifizetést?",
                                                "Munkalap kifizetés (12 500) kész."}));
        EXPECT_EQ(field(s, "fizetve"), "N");
        EXPECT_EQ(field(s, "dat_fizetve"), "<null>");
    }
}

TEST_F(WorkSheetFlows, CancellingKeepsTheSheetInTheList) {
    const int s = sheet(4);
    {
        ScriptedDialogs dialogs;
        dialogs.answer(DialogAnswer::No);
        EXPECT_EQ(CancelSheet(SeeSheetNow(s)), SheetFlow::Nothing);
        EXPECT_EQ(field(s, "storno"), "N");
    }
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::Yes);
    EXPECT_EQ(CancelSheet(SeeSheetNow(s)), SheetFlow::Done);
    EXPECT_EQ(dialogs.calls().at(0).text, "Valóban töröljem a sort?");
    EXPECT_EQ(dialogs.calls().at(0).caption, "Megerősítés");
    EXPECT_EQ(
        value(QStringLiteral("SELECT CONCAT(storno, statusz) FROM vw_munkalap WHERE munkalap = %1").arg(s)),
        "I4");
    // Again: refused at once, without the question.
    EXPECT_EQ(CancelSheet(SeeSheetNow(s)), SheetFlow::Refused);
    EXPECT_EQ(dialogs.texts().last(), "Sztornó munkalap");
}

TEST_F(WorkSheetFlows, EmployeesOfASheet) {
    const int s = sheet(1);
    const int bela = employee(QStringLiteral("Béla"));
    const int anna = employee(QStringLiteral("Anna"));
    {
        ScriptedWindows windows;
        windows.answer(OpenLookupTable, ChosenRow{bela})
            .answer(OpenLookupTable, ChosenRow{anna})
            .answer(OpenLookupTable, ChosenRow{});
        ScriptedDialogs dialogs;
        EXPECT_EQ(AddSheetEmployee(SeeSheetNow(s)), SheetFlow::Done);
        EXPECT_EQ(AddSheetEmployee(SeeSheetNow(s)), SheetFlow::Done);
        EXPECT_EQ(AddSheetEmployee(SeeSheetNow(s)), SheetFlow::Nothing);
        EXPECT_EQ(field(s, "dolgozostr"), "Anna, Béla");
        EXPECT_TRUE(dialogs.calls().empty());
    }
    ScriptedDialogs dialogs;
    EXPECT_EQ(RemoveSheetEmployee(SeeSheetNow(s), anna), SheetFlow::Done);
    EXPECT_EQ(field(s, "dolgozostr"), "Béla");
    // With no employee chosen in the panel nothing is unlinked, but the
    // names are rebuilt.
    exec(QStringLiteral("UPDATE munkalap SET dolgozostr = 'elavult' WHERE munkalap = %1").arg(s));
    EXPECT_EQ(RemoveSheetEmployee(SeeSheetNow(s), std::nullopt), SheetFlow::Done);
    EXPECT_EQ(field(s, "dolgozostr"), "Béla");
    EXPECT_TRUE(dialogs.calls().empty());

    // A locked sheet (ready or invoiced) takes no change of its employees:
    // the chooser does not even open.
    for (int status : {3, 4}) {
        SCOPED_TRACE(status);
        exec(QStringLiteral("UPDATE munkalap SET statusz = %1 WHERE munkalap = %2").arg(status).arg(s));
        ScriptedWindows windows;
        windows.script(OpenLookupTable);
        ScriptedDialogs locked;
        EXPECT_EQ(AddSheetEmployee(SeeSheetNow(s)), SheetFlow::Refused);
        EXPECT_EQ(RemoveSheetEmployee(SeeSheetNow(s), bela), SheetFlow::Refused);
        EXPECT_EQ(locked.texts(), (QStringList{"Lezárt munkalap", "Lezárt munkalap"}));
        EXPECT_EQ(field(s, "dolgozostr"), "Béla");
    }
}

// ---- Two workstations ------------------------------------------------------------

TEST_F(WorkSheetFlows, TwoWorkstationsLoseNothing) {
    const QString changed = worksheet_text::ChangedMeanwhile;
    struct Case {
        const char* name;
        int status;
        const char* paid;
        SheetFlow (*flow)(const SeenSheet&);
        std::function<void(ScriptedDialogs&)> answer;
        QString meanwhile; // the other workstation, while this one reads the question ("%1": the sheet)
        const char* after; // statusz|fizetve|storno|szlaszam
    };
    const std::vector<Case> cases = {
        {"both clear the payment: it stays cleared, not paid again", 3, "I", &TogglePayment,
         [](auto& d) { d.answer(DialogAnswer::Yes); }, QStringLiteral("CALL sp_fizetes(%1,'N');"), "3|N|N|"},
        {"the other invoices while this one enters a number", 3, "N", &AdvanceStatus,
         [](auto& d) { d.answerText(QStringLiteral("B-2")); },
         QStringLiteral("CALL sp_statuszlepes(%1,'A',3,4,'A-1');"), "4|N|N|A-1"},
        {"a stale 'ready?' on a sheet invoiced meanwhile", 2, "N", &AdvanceStatus,
         [](auto& d) { d.answer(DialogAnswer::Yes); },
         QStringLiteral("CALL sp_statuszlepes(%1,'A',2,3,NULL); CALL sp_statuszlepes(%1,'A',3,4,'A-9');"),
         "4|N|N|A-9"},
        {"ordered on one, cancelled on the other", 0, "N", &AdvanceStatus,
         [](auto& d) { d.answer(DialogAnswer::Yes); },
         QStringLiteral("UPDATE munkalap SET storno = 'I' WHERE munkalap = %1;"), "0|N|I|"},
        {"both cancel", 1, "N", &CancelSheet, [](auto& d) { d.answer(DialogAnswer::Yes); },
         QStringLiteral("UPDATE munkalap SET storno = 'I' WHERE munkalap = %1;"), "1|N|I|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int s = sheet(c.status);
        exec(QStringLiteral("UPDATE munkalap SET fizetve = '%1', szlaszam = '' WHERE munkalap = %2")
                 .arg(QLatin1String(c.paid))
                 .arg(s));
        ScriptedDialogs script;
        InterleavedDialogs dialogs(script);
        c.answer(script);
        dialogs.beforeNextAnswer([&] {
            for (const QString& statement : c.meanwhile.arg(s).split(QLatin1Char(';'), Qt::SkipEmptyParts))
                elsewhere(statement.trimmed() + QLatin1Char(';'));
        });
        EXPECT_EQ(c.flow(SeeSheetNow(s)), SheetFlow::Stale);
        EXPECT_EQ(script.texts().last(), changed);
        EXPECT_EQ(script.lastCall().caption, "Figyelmeztetés");
        EXPECT_EQ(
            value(QStringLiteral("SELECT CONCAT_WS('|', statusz, fizetve, storno, szlaszam) FROM munkalap "
                                 "WHERE munkalap = %1")
                      .arg(s)),
            QLatin1String(c.after));
    }
}

TEST_F(WorkSheetFlows, PaymentAndStatusRoutinesWriteOnlyFromTheStateExpected) {
    // Both workstations pay at the same moment: the sheet is marked once, the
    // second call is told it was so already (a toggle would unpay it).
    const int s = sheet(3);
    EXPECT_EQ(QueryInt(PaymentSql(s, true)), 1);
    EXPECT_EQ(QueryInt(PaymentSql(s, true)), 0);
    EXPECT_EQ(field(s, "fizetve"), "I");
    // Two invoice numbers for one sheet: the first stays.
    EXPECT_EQ(QueryInt(StatusStepSql(s, QStringLiteral("A"), 3, 4, QStringLiteral("A-1"))), 1);
    EXPECT_EQ(QueryInt(StatusStepSql(s, QStringLiteral("B"), 3, 4, QStringLiteral("B-1"))), 0);
    EXPECT_EQ(
        value(QStringLiteral("SELECT CONCAT_WS('|', statusz, szlaszam, (SELECT COUNT(*) FROM statuszvaltas "
                             "WHERE munkalap = %1)) FROM munkalap WHERE munkalap = %1")
                  .arg(s)),
        "4|A-1|1");
}

TEST_F(WorkSheetFlows, StatusActionsDecideFromTheSheetAsItIsNow) {
    // This workstation's list still shows the sheet unpaid and started; the
    // other one has paid and invoiced it since. The flows read it again: the
    // payment question is the one for a paid sheet, and the status is closed.
    const int s = sheet(2);
    elsewhere(QStringLiteral("CALL sp_fizetes(%1,'I');").arg(s));
    elsewhere(QStringLiteral("CALL sp_statuszlepes(%1,'A',2,3,NULL);").arg(s));
    elsewhere(QStringLiteral("CALL sp_statuszlepes(%1,'A',3,4,'A-1');").arg(s));
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::No);
    EXPECT_EQ(TogglePayment(SeeSheetNow(s)), SheetFlow::Nothing);
    EXPECT_EQ(AdvanceStatus(SeeSheetNow(s)), SheetFlow::Refused);
    EXPECT_EQ(MarkReady(SeeSheetNow(s)), SheetFlow::Nothing);
    EXPECT_EQ(dialogs.texts(), (QStringList{"Ez a munkalap már ki lett fizetve. Törlöd a kifizetést?",
                                            "Ez a munkalap már le lett zárva."}));
    EXPECT_EQ(value(QStringLiteral(
                        "SELECT CONCAT_WS('|', statusz, fizetve, szlaszam) FROM munkalap WHERE munkalap = %1")
                        .arg(s)),
              "4|I|A-1");
}

TEST_F(WorkSheetFlows, AnEmployeeChosenForAStatusThatMovedMeanwhileIsNotLinked) {
    const int s = sheet(1);
    const int e = employee(QStringLiteral("Béla"));
    ScriptedDialogs dialogs;
    ScriptedWindows windows;
    windows.act(OpenLookupTable, [&](RowKey, bool, const QString&, bool, const QString&) {
        elsewhere(QStringLiteral("CALL sp_statuszlepes(%1,'A',1,3,NULL);").arg(s));
        return ChosenRow{e};
    });
    EXPECT_EQ(AdvanceStatus(SeeSheetNow(s)), SheetFlow::Stale);
    EXPECT_EQ(field(s, "statusz"), "3");
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM munkalap_dolgozo WHERE munkalap = %1").arg(s)), "0");
}

// ---- The editor's opening ----------------------------------------------------------

TEST_F(WorkSheetFlows, OpeningANewSheetAsksWhatTheCallerDidNotGive) {
    const int owner = customer(QStringLiteral("Kiss Anna"));
    const int dev = device(owner);
    struct Case {
        const char* name;
        int customerArg, typeArg, deviceArg;
        bool quotation, devices;
        int chosenCustomer, chosenDevice, chosenType;
        bool opens;
        QStringList windowsCalled;
        int storedDevice, storedStatus;
    };
    const QStringList all{"OpenCustomerList", "ChooseDevice", "ChooseWorkSheetType"};
    const std::vector<Case> cases = {
        {"everything chosen", -1, -1, -1, false, true, owner, dev, 2, true, all, dev, 1},
        {"a quotation", -1, -1, -1, true, true, owner, dev, 2, true, all, dev, 0},
        {"\"Tovább\": no device", -1, -1, -1, false, true, owner, 0, 2, true, all, 0, 1},
        {"no devices in this shop",
         -1,
         -1,
         -1,
         false,
         false,
         owner,
         0,
         2,
         true,
         {"OpenCustomerList", "ChooseWorkSheetType"},
         0,
         1},
        {"customer and type given", owner, 3, -1, false, true, 0, dev, 0, true, {"ChooseDevice"}, dev, 1},
        {"all given", owner, 3, dev, false, true, 0, 0, 0, true, {}, dev, 1},
        {"customer cancelled", -1, -1, -1, false, true, -1, 0, 0, false, {"OpenCustomerList"}, 0, 0},
        {"device cancelled",
         -1,
         -1,
         -1,
         false,
         true,
         owner,
         -1,
         0,
         false,
         {"OpenCustomerList", "ChooseDevice"},
         0,
         0},
        {"type cancelled", -1, -1, -1, false, true, owner, dev, -1, false, all, 0, 0},
        {"empty type list accepted", -1, -1, -1, false, true, owner, dev, 0, false, all, 0, 0},
    };
    // -1 in the table: nothing given, or the choice cancelled.
    const auto key = [](int k) { return k == -1 ? RowKey() : RowKey(k); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Beall().vankeszulek = c.devices;
        const QString before = value(QStringLiteral("SELECT COUNT(*) FROM munkalap"));
        ScriptedWindows windows;
        windows.script(OpenCustomerList).script(ChooseDevice).script(ChooseWorkSheetType);
        if (c.windowsCalled.contains("OpenCustomerList"))
            windows.answer(OpenCustomerList, ChosenRow{key(c.chosenCustomer)});
        if (c.windowsCalled.contains("ChooseDevice"))
            windows.answer(ChooseDevice, key(c.chosenDevice));
        if (c.windowsCalled.contains("ChooseWorkSheetType"))
            windows.answer(ChooseWorkSheetType, ChosenRow{key(c.chosenType)});
        const std::optional<SheetOpening> opening =
            BeginSheetEdit(std::nullopt, key(c.customerArg), key(c.typeArg), c.quotation, key(c.deviceArg));
        QStringList called;
        for (const WindowCall& call : windows.calls())
            called << call.operation;
        EXPECT_EQ(called, c.windowsCalled);
        ASSERT_EQ(opening.has_value(), c.opens);
        if (!c.opens) {
            EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM munkalap")), before); // nothing created
            continue;
        }
        EXPECT_TRUE(opening->created);
        if (c.windowsCalled.contains("ChooseDevice")) {
            EXPECT_EQ(windows.calls("ChooseDevice")[0].args.at(2), owner); // that customer's devices
        }
        EXPECT_EQ(
            value(QStringLiteral("SELECT CONCAT_WS('|', ugyfel, mlaptipus, keszulek, statusz, felhasznalo) "
                                 "FROM munkalap WHERE munkalap = %1")
                      .arg(opening->sheet)),
            QStringLiteral("%1|%2|%3|%4|Kovács Anna")
                .arg(owner)
                .arg(c.typeArg > 0 ? c.typeArg : c.chosenType)
                .arg(c.storedDevice)
                .arg(c.storedStatus));
    }
}

TEST_F(WorkSheetFlows, OpeningAnExistingSheetUsesItsOwnTypeAndRefusesACancelledOne) {
    const int s = sheet(2);
    ScriptedWindows windows;
    windows.script(OpenCustomerList).script(ChooseDevice).script(ChooseWorkSheetType);
    ScriptedDialogs dialogs;
    const std::optional<SheetOpening> opening = BeginSheetEdit(s, std::nullopt, 7, false, std::nullopt);
    ASSERT_TRUE(opening);
    EXPECT_EQ(opening->type, 1);
    EXPECT_FALSE(opening->created);
    exec(QStringLiteral("UPDATE munkalap SET storno = 'I' WHERE munkalap = %1").arg(s));
    EXPECT_FALSE(BeginSheetEdit(s, std::nullopt, std::nullopt, false, std::nullopt));
    EXPECT_EQ(dialogs.texts(), QStringList{"Sztornó munkalap"});
    EXPECT_FALSE(
        BeginSheetEdit(987654, std::nullopt, std::nullopt, false, std::nullopt)); // gone: nothing opens
    EXPECT_TRUE(windows.calls().empty());
}

TEST_F(WorkSheetFlows, TheNewSheetIsTheOneItsOwnCallCreated) {
    // Another workstation creates sheets as fast as it can meanwhile; the
    // newest sheet is often its, never the one this editor works on.
    const int mine = customer(QStringLiteral("Saját"));
    const int theirs = customer(QStringLiteral("Másik"));
    std::atomic<bool> stop = false;
    std::thread other([&] {
        auto c = s_db->connect();
        while (!stop)
            c->exec(QStringLiteral("CALL sp_ujmunkalap(%1, 1, 0, 'masik');").arg(theirs));
    });
    int wrong = 0;
    for (int i = 0; i < 60; ++i) {
        const std::optional<SheetOpening> opening = BeginSheetEdit(std::nullopt, mine, 1, false, 0);
        ASSERT_TRUE(opening);
        if (field(opening->sheet, "ugyfel").toInt() != mine)
            ++wrong;
    }
    stop = true;
    other.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(value(QStringLiteral("SELECT COUNT(*) FROM munkalap WHERE ugyfel = %1").arg(theirs)).toInt(),
              0);
}

TEST_F(WorkSheetFlows, ANewSheetIsRemovedOnlyWhileItIsTheNewest) {
    const int s = sheet(1);
    EXPECT_TRUE(NewSheetRemovable(s));
    EXPECT_FALSE(NewSheetHasContent(s));
    elsewhere(QStringLiteral("CALL sp_ujmunkalap(0, 1, 0, 'masik');"));
    EXPECT_FALSE(NewSheetRemovable(s));
    ExecSql(LinkEmployeeSql(s, employee(QStringLiteral("Béla"))));
    EXPECT_TRUE(NewSheetHasContent(s));
}

// ---- Lines, prices and the lock ------------------------------------------------------

TEST_F(WorkSheetFlows, MoneyOfTheLinesAndTheSheetOnTheServer) {
    Beall().prgtipus = 2;
    const int owner = customer(QStringLiteral("Autós Bt."));
    const int s = sheet(1, owner);
    const int oil = item(QStringLiteral("Olaj"), false, 4000, 5000, 3000);
    const int filter = item(QStringLiteral("Szűrő"), false, 2500, 2800, 1500);
    const int labour = item(QStringLiteral("Munkadíj"), true, 9000, 10000, 0);

    ScriptedWindows windows;
    windows.answer(ChooseCatalogueItem, ChosenRow{oil}).answer(ChooseCatalogueItem, ChosenRow{labour});
    std::optional<LineRecord> oilLine = StartLineEdit(s, std::nullopt, 2);
    ASSERT_TRUE(oilLine);
    oilLine->db = 4.5;
    ASSERT_EQ(SaveLine(s, -1, *oilLine, std::nullopt), SheetWrite::Written); // 4.5 x 5000
    std::optional<LineRecord> labourLine = StartLineEdit(s, std::nullopt, 2);
    ASSERT_TRUE(labourLine);
    labourLine->db = 1.5;
    ASSERT_EQ(SaveLine(s, -1, *labourLine, std::nullopt), SheetWrite::Written); // 1.5 x 10000
    const int filterLine = addLine(s, filter, 2, 2800, 1500, 2800);
    const auto lineOf = [](int itemNumber) {
        return QueryInt(
            QStringLiteral("SELECT munkalap_tetel FROM munkalap_tetel WHERE tetel = %1;").arg(itemNumber));
    };

    ScriptedDialogs dialogs;
    // "Ár módosít" keeps the fraction; "Kedvezmény" prices from the list price.
    EXPECT_EQ(SetLinePrice(s, filterLine, 2612.5), SheetWrite::Written);
    EXPECT_EQ(SetLineDiscount(s, lineOf(labour), 12.5), SheetWrite::Written); // 8750
    EXPECT_EQ(
        value(QStringLiteral(
                  "SELECT CONCAT_WS('|', egysar, kedv_ad) FROM munkalap_tetel WHERE munkalap_tetel = %1")
                  .arg(filterLine)),
        "2612.5|0");
    // Sums by kind: goods 4.5*5000 + 2*2612.5 = 27725 (purchase 13500 + 3000),
    // services 1.5*8750 = 13125.
    EXPECT_EQ(
        value(QStringLiteral("SELECT CONCAT_WS('|', szolgbesz, szolgelad, szolghaszon, termbesz, termelad, "
                             "termhaszon, osszhaszon) FROM vw_mlapsum WHERE munkalap = %1")
                  .arg(s)),
        "0|13125|13125|16500|27725|11225|24350");
    EXPECT_EQ(field(s, "ar_ossz"), "40850");

    // The sheet's own amounts: an advance larger than what is left, a
    // negative discount counting as its amount; the server computes what is
    // payable.
    Table row(QStringLiteral("munkalap"));
    ASSERT_TRUE(row.load(s));
    row.setValue(QStringLiteral("ar_eloleg"), 50000.0);
    row.setValue(QStringLiteral("ar_kedvezmeny"), -850.0);
    EXPECT_EQ(PostSheet(s, row), SheetWrite::Written);
    EXPECT_EQ(field(s, "ar_fizetendo"), "-10000");

    // The whole-sheet discount from the list prices: 10% off 5000, 10000, 2800.
    EXPECT_EQ(SetSheetDiscount(s, 10), SheetWrite::Written);
    EXPECT_EQ(field(s, "ar_ossz"), "38790"); // 4.5*4500 + 1.5*9000 + 2*2520
    EXPECT_EQ(field(s, "ar_fizetendo"), "-12060");
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(WorkSheetFlows, LinePricesFollowTheCustomerAndSurviveReopening) {
    const int owner = customer(QStringLiteral("Törzsvevő"), 12);
    const int plain = customer(QStringLiteral("Alkalmi"));
    const int part = item(QStringLiteral("Kompresszor"), false, 95000, 100000, 60000, 5);
    for (int programType : {1, 2}) {
        SCOPED_TRACE(programType);
        Beall().prgtipus = programType;
        const int discounted = sheet(1, owner);
        const int other = sheet(1, plain);
        ScriptedWindows windows;
        windows.answer(ChooseCatalogueItem, ChosenRow{part}).answer(ChooseCatalogueItem, ChosenRow{part});
        const std::optional<LineRecord> withDiscount = StartLineEdit(discounted, std::nullopt, programType);
        const std::optional<LineRecord> withoutDiscount = StartLineEdit(other, std::nullopt, programType);
        ASSERT_TRUE(withDiscount && withoutDiscount);
        EXPECT_DOUBLE_EQ(withDiscount->kedv_ad, 12);
        EXPECT_DOUBLE_EQ(withoutDiscount->kedv_ad, 5);
        EXPECT_DOUBLE_EQ(withDiscount->egysar, programType == 2 ? 88000 : 95000);

        // A price set by hand survives opening the line and saving it again.
        ASSERT_EQ(SaveLine(discounted, -1, *withDiscount, std::nullopt), SheetWrite::Written);
        const int line = QueryInt(QStringLiteral("SELECT MAX(munkalap_tetel) FROM munkalap_tetel;"));
        ASSERT_EQ(SetLinePrice(discounted, line, 77777.5), SheetWrite::Written);
        const std::optional<LineRecord> reopened = StartLineEdit(discounted, line, programType);
        ASSERT_TRUE(reopened);
        ASSERT_EQ(SaveLine(discounted, line, *reopened, reopened), SheetWrite::Written);
        EXPECT_EQ(value(QStringLiteral(
                            "SELECT CONCAT_WS('|', egysar, ar_teljes, kedv_ad, beszar) FROM munkalap_tetel "
                            "WHERE munkalap_tetel = %1")
                            .arg(line)),
                  programType == 2 ? "77777.5|100000|12|60000" : "77777.5|95000|12|60000");
    }
}

TEST_F(WorkSheetFlows, NoItemChosenAddsNoLine) {
    const int s = sheet(1);
    ScriptedWindows windows;
    windows.answer(ChooseCatalogueItem, ChosenRow{}).answer(ChooseCatalogueItem, ChosenRow{0});
    EXPECT_FALSE(StartLineEdit(s, std::nullopt, 1));
    EXPECT_FALSE(StartLineEdit(s, std::nullopt, 1));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM munkalap_tetel")), "0");

    // A line deleted on another workstation does not open.
    const int line = addLine(s, item(QStringLiteral("Gáz"), false, 10, 10, 5), 1, 10, 5);
    elsewhere(QStringLiteral("CALL sp_munkalap_torolsor(%1);").arg(line));
    ScriptedDialogs dialogs;
    EXPECT_FALSE(StartLineEdit(s, line, 1));
    EXPECT_EQ(dialogs.texts(), QStringList{worksheet_text::LineDeletedMeanwhile});
}

TEST_F(WorkSheetFlows, LockedAndCancelledSheetsRefuseEveryChange) {
    const int part = item(QStringLiteral("Tömítés"), false, 100, 100, 50);
    struct Case {
        const char* name;
        QString change;
        QString message;
    };
    const std::vector<Case> cases = {
        {"ready", QStringLiteral("statusz = 3"), QStringLiteral("Lezárt munkalap")},
        {"invoiced", QStringLiteral("statusz = 4"), QStringLiteral("Lezárt munkalap")},
        {"cancelled", QStringLiteral("storno = 'I'"), QStringLiteral("Sztornó munkalap")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int s = sheet(2);
        const int line = addLine(s, part, 1, 100, 50);
        Table row(QStringLiteral("munkalap"));
        ASSERT_TRUE(row.load(s));
        // Another workstation locks or cancels the sheet while it is open here.
        elsewhere(QStringLiteral("UPDATE munkalap SET %1 WHERE munkalap = %2;").arg(c.change).arg(s));

        ScriptedDialogs dialogs;
        LineRecord newLine;
        newLine.tetel = part;
        newLine.egysar = 999;
        EXPECT_EQ(SaveLine(s, -1, newLine, std::nullopt), SheetWrite::Refused);
        EXPECT_EQ(SaveLine(s, line, newLine, StartLineEdit(s, line, 1)), SheetWrite::Refused);
        EXPECT_EQ(SetLinePrice(s, line, 1), SheetWrite::Refused);
        EXPECT_EQ(SetLineDiscount(s, line, 50), SheetWrite::Refused);
        EXPECT_EQ(SetSheetDiscount(s, 50), SheetWrite::Refused);
        EXPECT_EQ(DeleteLine(s, line), SheetWrite::Refused);
        EXPECT_EQ(LinkSheetEmployee(s, employee(QStringLiteral("Béla"))), SheetWrite::Refused);
        row.setValue(QStringLiteral("megjegyzes"), QStringLiteral("késői megjegyzés"));
        EXPECT_EQ(PostSheet(s, row), SheetWrite::Refused);
        EXPECT_EQ(dialogs.texts(), QStringList(8, c.message));
        EXPECT_EQ(dialogs.lastCall().caption, "Hiba");

        EXPECT_EQ(
            value(QStringLiteral(
                      "SELECT CONCAT_WS('|', COUNT(*), SUM(egysar)) FROM munkalap_tetel WHERE munkalap = %1")
                      .arg(s)),
            "1|100");
        EXPECT_EQ(field(s, "megjegyzes"), "<null>");
        EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM munkalap_dolgozo WHERE munkalap = %1").arg(s)),
                  "0");
        EXPECT_FALSE(s_db->connection().inTransaction());
    }
    // A quotation is never locked.
    const int quotation = sheet(0);
    LineRecord line;
    line.tetel = part;
    EXPECT_EQ(SaveLine(quotation, -1, line, std::nullopt), SheetWrite::Written);
}

TEST_F(WorkSheetFlows, NewLinesAreOfferedUntilTheLineEditorIsCancelled) {
    const int s = sheet(1);
    ScriptedWindows windows;
    windows.answer(EditWorkSheetLine, true).answer(EditWorkSheetLine, true).answer(EditWorkSheetLine, false);
    int reread = 0;
    EXPECT_EQ(AddLinesUntilCancelled(s, [&] { ++reread; }), 2);
    EXPECT_EQ(reread, 2);
    ASSERT_EQ(windows.calls("EditWorkSheetLine").size(), 3u);
    for (const WindowCall& call : windows.calls())
        EXPECT_EQ(call.args, (QVariantList{s, -1}));
}

// ---- The sheet's row: memos and server columns -------------------------------------

TEST_F(WorkSheetFlows, TwoEditorsOfOneSheetKeepEachOthersMemos) {
    const int s = sheet(1);
    Table mine(QStringLiteral("munkalap"));
    Table theirs(QStringLiteral("munkalap"), s_other);
    ASSERT_TRUE(mine.load(s));
    ASSERT_TRUE(theirs.load(s));
    // Texts reach the server unchanged: a typed \r\n stays four characters.
    const QString request =
        QStringLiteral("Nem hűt.\r\nÚtvonal: C:\\temp\\r\\n\\ \"idézet\" 'aposztróf'\n„ ” – €\\");
    mine.setValue(QStringLiteral("panasz"), request);
    theirs.setValue(QStringLiteral("vegzett_munka"), QStringLiteral("Gáz utántöltve."));

    ScriptedDialogs dialogs;
    EXPECT_EQ(PostSheet(s, mine), SheetWrite::Written);
    SetSharedConnection(s_other);
    EXPECT_EQ(PostSheet(s, theirs), SheetWrite::Written);
    SetSharedConnection(&s_db->connection());
    EXPECT_EQ(field(s, "panasz"), request);
    EXPECT_EQ(field(s, "vegzett_munka"), "Gáz utántöltve.");

    // The same memo changed on both: the later save is refused with a
    // message and the earlier text stays.
    mine.setValue(QStringLiteral("megjegyzes"), QStringLiteral("Első."));
    theirs.setValue(QStringLiteral("megjegyzes"), QStringLiteral("Második."));
    EXPECT_EQ(PostSheet(s, mine), SheetWrite::Written);
    SetSharedConnection(s_other);
    EXPECT_EQ(PostSheet(s, theirs), SheetWrite::Stale);
    SetSharedConnection(&s_db->connection());
    EXPECT_EQ(field(s, "megjegyzes"), "Első.");
    EXPECT_EQ(dialogs.texts(), QStringList{edit_text::RowChanged});
    EXPECT_EQ(theirs.value(QStringLiteral("megjegyzes")), "Második."); // kept in the window
}

TEST_F(WorkSheetFlows, TheEditorNeverWritesTheTotalsTheServerKeeps) {
    const int s = sheet(1);
    Table row(QStringLiteral("munkalap"));
    ASSERT_TRUE(row.load(s));
    // Lines added on another workstation after the row was read.
    const int part = item(QStringLiteral("Szűrő"), false, 1000, 1000, 600);
    SetSharedConnection(s_other);
    LineRecord line;
    line.tetel = part;
    line.db = 3;
    line.egysar = 1000;
    line.beszar = 600;
    ASSERT_EQ(SaveLine(s, -1, line, std::nullopt), SheetWrite::Written);
    SetSharedConnection(&s_db->connection());

    row.setValue(QStringLiteral("ar_eloleg"), 500.0);
    row.setValue(QStringLiteral("panasz"), QStringLiteral("Zörög."));
    EXPECT_EQ(PostSheet(s, row), SheetWrite::Written);
    EXPECT_EQ(value(QStringLiteral("SELECT CONCAT_WS('|', ar_ossz, ar_besz, ar_eloleg, ar_fizetendo, panasz) "
                                   "FROM munkalap WHERE munkalap = %1")
                        .arg(s)),
              "3000|1800|500|2500|Zörög.");
}

// ---- The main window's actions ----------------------------------------------------------

// The main window's lists without its widgets.
class Lists final : public MainContext {
public:
    Lists() {
        RegisterWorkSheetRoutes(routes);
        RegisterRecordRoutes(routes);
        for (int t = 0; t < MainTabCount; ++t)
            if (routes.hasList(MainTab(t)))
                m_lists[t] = std::make_unique<ListController>(routes.list(MainTab(t)).list);
        for (int d = 0; d < MainDetailCount; ++d)
            if (routes.hasDetail(MainDetail(d)))
                m_details[d] = std::make_unique<ListController>(routes.detail(MainDetail(d)).list);
    }
    MainTab currentTab() const override { return tab; }
    int statusTab() const override { return status; }
    ListController& list(MainTab t) override { return *m_lists[int(t)]; }
    ListController& detail(MainDetail d) override { return *m_details[int(d)]; }
    void run(const char* action) { RunMainAction(QLatin1String(action), *this, routes); }

    MainRoutes routes;
    MainTab tab = MainTab::WorkSheets;
    int status = 1;

private:
    std::unique_ptr<ListController> m_lists[MainTabCount];
    std::unique_ptr<ListController> m_details[MainDetailCount];
};

TEST_F(WorkSheetFlows, MainWindowActionsOnTheCurrentSheet) {
    Lists main;
    for (const char* action : {"aUj", "aSzerkeszt", "aTorol", "aStatusz", "aKesz", "aKifizet", "aUjDolgozo",
                               "aTorolDolgozo", "aFrissit"})
        EXPECT_TRUE(ActionReady(MainActionByName(QLatin1String(action)), MainTab::WorkSheets, main.routes))
            << action;
    for (const MainTab tab : {MainTab::Customers, MainTab::Devices})
        EXPECT_TRUE(ActionReady(MainActionByName(QStringLiteral("aMLapNeki")), tab, main.routes));
    EXPECT_TRUE(
        ActionReady(MainActionByName(QStringLiteral("aMLapKeszulek")), MainTab::Customers, main.routes));

    ListController& sheets = main.list(MainTab::WorkSheets);
    sheets.setFixedCondition(StatusTabCondition(1));
    // An empty list: nothing runs, nothing is asked.
    sheets.open();
    {
        ScriptedDialogs dialogs;
        for (const char* action : {"aStatusz", "aKesz", "aKifizet", "aTorol", "aUjDolgozo", "aTorolDolgozo"})
            main.run(action);
        EXPECT_TRUE(dialogs.calls().empty());
    }

    const int s = sheet(2);
    sheets.open(s);
    ASSERT_EQ(sheets.currentKey(), s);
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::Yes).answer(DialogAnswer::Yes);
    main.run("aStatusz");
    EXPECT_EQ(field(s, "statusz"), "3");
    EXPECT_EQ(sheets.currentValue(QStringLiteral("statusz")).toInt(), 3); // the list was read again
    main.run("aTorol");
    EXPECT_EQ(field(s, "storno"), "I");
    EXPECT_TRUE(sheets.locate(s)); // still listed, as cancelled
    EXPECT_EQ(sheets.currentValue(QStringLiteral("storno")), "I");
    EXPECT_EQ(dialogs.texts(), (QStringList{"Biztosan elkészült?", "Valóban töröljem a sort?"}));
}

TEST_F(WorkSheetFlows, MainWindowOpensTheEditorAsEachPlaceAsks) {
    const int owner = customer(QStringLiteral("Nagy Béla"));
    const int dev = device(owner);
    const int s = sheet(1, owner);
    Lists main;
    ScriptedWindows windows;
    windows.script(EditWorkSheet).script(ChooseWorkSheetType).script(OpenCustomerList);
    // Every new sheet gets type 5 from the chooser; the editor "saves" sheet s.
    for (int i = 0; i < 5; ++i)
        windows.answer(ChooseWorkSheetType, ChosenRow{5});
    for (int i = 0; i < 6; ++i)
        windows.answer(EditWorkSheet, s);

    main.list(MainTab::WorkSheets).open(s);
    main.status = QuotationStatusTab;
    main.run("aUj"); // a quotation on the "Árajánlat" tab; the editor asks the customer
    main.status = 1;
    main.run("aSzerkeszt");
    Beall().prgtipus = 5; // customer service: the customer first
    windows.answer(OpenCustomerList, ChosenRow{owner});
    main.run("aUj");
    main.tab = MainTab::Customers;
    main.list(MainTab::Customers).open(owner);
    main.detail(MainDetail::CustomerDevices).setFixedCondition(CustomerDevicesCondition(owner));
    main.detail(MainDetail::CustomerDevices).open(dev);
    main.run("aMLapNeki");
    main.run("aMLapKeszulek");
    main.tab = MainTab::Devices;
    main.list(MainTab::Devices).open(dev);
    main.run("aMLapNeki");

    QList<QVariantList> calls; // an invalid value: nothing given
    for (const WindowCall& call : windows.calls("EditWorkSheet"))
        calls << call.args;
    EXPECT_EQ(calls, (QList<QVariantList>{{QVariant(), QVariant(), 5, true, QVariant()},
                                          {s, QVariant(), 1, false, QVariant()},
                                          {QVariant(), owner, 5, false, QVariant()},
                                          {QVariant(), owner, 5, false, QVariant()},
                                          {QVariant(), owner, 5, false, dev},
                                          {QVariant(), owner, 5, false, dev}}));
    EXPECT_EQ(windows.pendingAnswers(), 0);
}

// ---- Two workstations: what this one saw ------------------------------------------------

// This workstation's list was read; the other one changed the sheet since.
// Every action on the stale row is refused with the warning, asks nothing,
// writes nothing and reads the list again, whichever way the sheet changed.
TEST_F(WorkSheetFlows, ActionsFromAStaleRowAreRefusedWhicheverWayTheSheetChanged) {
    const QString changed = worksheet_text::ChangedMeanwhile;
    struct Case {
        const char* name;
        int status;
        const char* paid;
        const char* invoice;
        const char* action;
        const char* meanwhile; // the other workstation; "%1": the sheet
        QString message;
        const char* after; // statusz|fizetve|storno|szlaszam
    };
    const std::vector<Case> cases = {
        {"seen paid, cleared elsewhere: Kifizet", 3, "I", "", "aKifizet", "CALL sp_fizetes(%1,'N')", changed,
         "3|N|N|"},
        {"seen unpaid, paid elsewhere: Kifizet", 3, "N", "", "aKifizet", "CALL sp_fizetes(%1,'I')", changed,
         "3|I|N|"},
        {"seen received, ready elsewhere: F3", 1, "N", "", "aStatusz",
         "CALL sp_statuszlepes(%1,'B',1,3,NULL)", changed, "3|N|N|"},
        {"seen ready, back to started elsewhere: F3", 3, "N", "", "aStatusz",
         "CALL sp_statuszlepes(%1,'B',3,2,NULL)", changed, "2|N|N|"},
        {"seen ready, invoice number typed elsewhere: F3", 3, "N", "", "aStatusz",
         "UPDATE munkalap SET szlaszam = 'B-7' WHERE munkalap = %1", changed, "3|N|N|B-7"},
        {"seen started, ready elsewhere: Készen van", 2, "N", "", "aKesz",
         "CALL sp_statuszlepes(%1,'B',2,3,NULL)", changed, "3|N|N|"},
        {"seen started, paid elsewhere: Köv.státusz", 2, "N", "", "aStatusz", "CALL sp_fizetes(%1,'I')",
         changed, "2|I|N|"},
        {"seen live, cancelled elsewhere: Töröl", 1, "N", "", "aTorol",
         "UPDATE munkalap SET storno = 'I' WHERE munkalap = %1", changed, "1|N|I|"},
        {"seen invoiced A-1, renumbered elsewhere: Kifizet", 4, "N", "A-1", "aKifizet",
         "UPDATE munkalap SET szlaszam = 'A-2' WHERE munkalap = %1", changed, "4|N|N|A-2"},
        {"seen received, paid elsewhere: Új dolgozó", 1, "N", "", "aUjDolgozo", "CALL sp_fizetes(%1,'I')",
         changed, "1|I|N|"},
        {"seen received, deleted elsewhere: Kifizet", 1, "N", "", "aKifizet", "CALL sp_mlaptorol(%1)",
         worksheet_text::DeletedMeanwhile, "<no row>"},
    };
    Lists main;
    ListController& sheets = main.list(MainTab::WorkSheets);
    sheets.setFixedCondition(StatusTabCondition(1));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int s = sheet(c.status);
        exec(QStringLiteral("UPDATE munkalap SET fizetve = '%1', szlaszam = '%2' WHERE munkalap = %3")
                 .arg(QLatin1String(c.paid), QLatin1String(c.invoice))
                 .arg(s));
        sheets.open(s);
        ASSERT_EQ(sheets.currentKey(), s);
        elsewhere(QString::fromUtf8(c.meanwhile).arg(s) + QLatin1Char(';'));

        ScriptedDialogs dialogs;
        ScriptedWindows windows;
        windows.script(OpenLookupTable); // no chooser may open
        main.run(c.action);
        EXPECT_EQ(dialogs.texts(), QStringList{c.message}) << "no question before the refusal";
        EXPECT_EQ(dialogs.lastCall().caption, "Figyelmeztetés");
        EXPECT_EQ(
            value(QStringLiteral("SELECT CONCAT_WS('|', statusz, fizetve, storno, szlaszam) FROM munkalap "
                                 "WHERE munkalap = %1")
                      .arg(s)),
            QLatin1String(c.after));
        if (QLatin1String(c.after) != QLatin1String("<no row>")) {
            // The list was read again: the row now shows what the server holds.
            ASSERT_EQ(sheets.currentKey(), s);
            EXPECT_EQ(sheets.currentValue(QStringLiteral("statusz")).toString(),
                      QString::fromLatin1(c.after).section(QLatin1Char('|'), 0, 0));
            EXPECT_EQ(sheets.currentValue(QStringLiteral("fizetve")).toString(),
                      QString::fromLatin1(c.after).section(QLatin1Char('|'), 1, 1));
        }
    }
    // The same rows read fresh: the actions go ahead.
    const int s = sheet(3);
    sheets.open(s);
    ScriptedDialogs dialogs;
    main.run("aKifizet");
    EXPECT_EQ(field(s, "fizetve"), "I");
    EXPECT_EQ(dialogs.texts().size(), 1);
    EXPECT_TRUE(dialogs.texts().first().startsWith(QStringLiteral("Munkalap kifizetés")));
}

// Two workstations open the same line; the other saves it first. This one's
// save is refused with the message and writes nothing, so neither the other's
// values nor the sheet's totals go back.
TEST_F(WorkSheetFlows, ALineIsSavedOnlyWhileItHoldsWhatTheEditorRead) {
    const int part = item(QStringLiteral("Szűrő"), false, 1000, 1000, 600);
    struct Case {
        const char* name;
        std::function<void(int sheet, int line)> meanwhile; // on the other workstation
        SheetWrite written;
        QStringList texts;
        const char* after; // db|megjegyzes of the line, ar_ossz of the sheet
    };
    const auto onOther = [](const std::function<void()>& act) {
        SetSharedConnection(s_other);
        act();
        SetSharedConnection(&s_db->connection());
    };
    const std::vector<Case> cases = {
        {"nothing meanwhile", [](int, int) {}, SheetWrite::Written, {}, "2|csak a megjegyzés|2000"},
        {"the quantity changed through the line editor",
         [&](int sheet, int line) {
             onOther([&] {
                 std::optional<LineRecord> theirs = StartLineEdit(sheet, line, 1);
                 ASSERT_TRUE(theirs);
                 LineRecord changedLine = *theirs;
                 changedLine.db = 5;
                 ASSERT_EQ(SaveLine(sheet, line, changedLine, theirs), SheetWrite::Written);
             });
         },
         SheetWrite::Stale,
         {edit_text::RowChanged},
         "5||5000"},
        {"the price changed by Ár módosít",
         [&](int sheet, int line) {
             onOther([&] { ASSERT_EQ(SetLinePrice(sheet, line, 900), SheetWrite::Written); });
         },
         SheetWrite::Stale,
         {edit_text::RowChanged},
         "2||1800"},
        {"deleted",
         [&](int sheet, int line) { onOther([&] { DeleteLine(sheet, line); }); },
         SheetWrite::Refused,
         {worksheet_text::LineDeletedMeanwhile},
         "<no row>"},
        {"only the item renamed in the catalogue",
         [&](int, int) {
             elsewhere(
                 QStringLiteral("UPDATE tetel SET tetel_nev = 'Olajszűrő' WHERE tetel = %1;").arg(part));
         },
         SheetWrite::Written,
         {},
         "2|csak a megjegyzés|2000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int s = sheet(1);
        const int line = addLine(s, part, 2, 1000, 600, 1000);
        const std::optional<LineRecord> mine = StartLineEdit(s, line, 1);
        ASSERT_TRUE(mine);
        c.meanwhile(s, line);

        ScriptedDialogs dialogs;
        LineRecord edited = *mine;
        edited.megjegyzes = QStringLiteral("csak a megjegyzés");
        EXPECT_EQ(SaveLine(s, line, edited, mine), c.written);
        EXPECT_EQ(dialogs.texts(), c.texts);
        EXPECT_EQ(
            value(QStringLiteral("SELECT CONCAT_WS('|', l.db, COALESCE(l.megjegyzes, ''), m.ar_ossz) FROM "
                                 "munkalap_tetel l JOIN munkalap m ON m.munkalap = l.munkalap WHERE "
                                 "l.munkalap_tetel = %1")
                      .arg(line)),
            QString::fromUtf8(c.after));
        EXPECT_FALSE(s_db->connection().inTransaction());
    }
    // A stored line is never saved without what was read.
    EXPECT_THROW(SaveLine(sheet(1), 1, LineRecord{}, std::nullopt), std::logic_error);
}

// A new sheet's editor cancelled: deleted while it is the newest sheet,
// otherwise (a later sheet made on the other workstation) cancelled with its
// lines kept, and said so; with lines, asked first.
TEST_F(WorkSheetFlows, ACancelledNewSheetIsDeletedOrCancelledNeverLeftLive) {
    const int part = item(QStringLiteral("Tömítés"), false, 100, 100, 50);
    struct Case {
        const char* name;
        bool withLine;
        bool laterSheet;
        std::optional<DialogAnswer> answer;
        NewSheetDiscard outcome;
        QStringList texts;
        const char* after; // storno|lines, or <no row>
    };
    const QString question = worksheet_text::DiscardNewSheetQuestion;
    const QString cancelled = worksheet_text::NewSheetKeptCancelled;
    const std::vector<Case> cases = {
        {"empty, newest", false, false, std::nullopt, NewSheetDiscard::Removed, {}, "<no row>"},
        {"with a line, newest, Yes",
         true,
         false,
         DialogAnswer::Yes,
         NewSheetDiscard::Removed,
         {question},
         "<no row>"},
        {"with a line, No", true, true, DialogAnswer::No, NewSheetDiscard::Kept, {question}, "N|1"},
        {"empty, a later sheet elsewhere",
         false,
         true,
         std::nullopt,
         NewSheetDiscard::Cancelled,
         {cancelled},
         "I|0"},
        {"with a line, a later sheet elsewhere, Yes",
         true,
         true,
         DialogAnswer::Yes,
         NewSheetDiscard::Cancelled,
         {question, cancelled},
         "I|1"},
    };
    const int owner = customer(QStringLiteral("Saját"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<SheetOpening> opening = BeginSheetEdit(-1, owner, 1, false, 0);
        ASSERT_TRUE(opening && opening->created);
        if (c.withLine)
            addLine(opening->sheet, part, 1, 100, 50);
        int later = 0;
        if (c.laterSheet) {
            later =
                s_other->query(QStringLiteral("CALL sp_ujmunkalap(0, 1, 0, 'masik');")).value(0, 0).toInt();
            ASSERT_GT(later, opening->sheet);
        }
        ScriptedDialogs dialogs;
        if (c.answer)
            dialogs.answer(*c.answer);
        EXPECT_EQ(DiscardNewSheet(opening->sheet), c.outcome);
        EXPECT_EQ(dialogs.texts(), c.texts);
        EXPECT_EQ(value(QStringLiteral("SELECT CONCAT_WS('|', storno, (SELECT COUNT(*) FROM munkalap_tetel t "
                                       "WHERE t.munkalap = m.munkalap)) FROM munkalap m WHERE munkalap = %1")
                            .arg(opening->sheet)),
                  QLatin1String(c.after));
        if (later > 0) {
            EXPECT_EQ(field(later, "storno"), "N") << "the other workstation's sheet is untouched";
        }
        EXPECT_FALSE(s_db->connection().inTransaction());
    }
}

} // namespace
} // namespace kml
