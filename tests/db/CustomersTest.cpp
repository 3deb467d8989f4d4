// The customers' logic against the server (the demo shop plus a few rows of
// the tests' own): the town from the postcode, the tax-number rules, the
// search, the website password, the soft delete, a new customer's defaults
// and the substitutable window operations.
#include "records/Customers.h"

#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "components/Table.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "patterns/ListController.h"
#include "patterns/ListSearch.h"
#include "patterns/RowDeletion.h"
#include "records/CustomerWindows.h"
#include "records/DeletedRecords.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace kml;
using kml::test::TestDatabase;

namespace {

const QString kDefaultTown = QStringLiteral("Szeged");

class Customers : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new TestDatabase(QStringLiteral("customers"), TestDatabase::Contents::Demo);
        ExecSql(QStringLiteral(
            "INSERT IGNORE INTO irsz (irsz, varos) VALUES ('1011', 'Budapest'), ('2600', 'Vác'), "
            "('6720', 'Szeged');"));
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    void SetUp() override { Beall().alapVaros = kDefaultTown; }

    // A customer row as the editor would save it; returns its number.
    static int AddCustomer(const QString& name, const QString& town = {}, const QString& taxNumber = {},
                           const QString& privatePerson = QStringLiteral("I")) {
        Table t(QStringLiteral("ugyfel"));
        t.startNew();
        t.setValue(QStringLiteral("ugyfel_nev"), name);
        t.setValue(QStringLiteral("cim_varos"), town);
        if (!taxNumber.isEmpty())
            t.setValue(QStringLiteral("adoszam"), taxNumber);
        t.setValue(QStringLiteral("maganszemely"), privatePerson);
        return t.post().toInt();
    }

    static inline TestDatabase* db = nullptr;
};

TEST_F(Customers, NewCustomerGetsDefaultsAndIsSaved) {
    Table t(QStringLiteral("ugyfel"));
    t.startNew();
    SetNewCustomerDefaults(t, kDefaultTown, QDate(2024, 3, 15));
    t.setValue(QStringLiteral("ugyfel_nev"), QStringLiteral("Új Ügyfél"));
    const int id = t.post().toInt();
    ASSERT_GT(id, 0);

    Query q;
    q.setSql(QStringLiteral("SELECT * FROM ugyfel WHERE ugyfel = %1").arg(id));
    q.open();
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q.asString("cim_varos"), kDefaultTown);
    EXPECT_EQ(q.asDate("dat_utolso"), QDate(2024, 3, 15));
    EXPECT_EQ(q.asFloat("kedvezmeny"), 0.0);
    EXPECT_EQ(q.asString("maganszemely"), "I");
    EXPECT_EQ(q.asString("torolve"), "N");
}

TEST_F(Customers, TownFromPostcode) {
    struct Case {
        const char* what;
        const char* town; // nullptr: NULL
        const char* postcode;
        const char* expected;
        bool changed;
    };
    const Case cases[] = {
        {"default town, known postcode", "Szeged", "1011", "Budapest", true},
        {"default town, unknown postcode", "Szeged", "9999", "Szeged", false},
        {"empty town, known postcode", "", "2600", "Vác", true},
        {"no town at all, known postcode", nullptr, "2600", "Vác", true},
        {"typed town, known postcode", "Kistelek", "1011", "Kistelek", false},
        {"quote in postcode matches literally", "Szeged", "10'11", "Szeged", false},
        {"backslash in postcode matches literally", "Szeged", "1011\\", "Szeged", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Table t(QStringLiteral("ugyfel"));
        t.startNew();
        SetNewCustomerDefaults(t, kDefaultTown, QDate::currentDate());
        t.setValue(QStringLiteral("cim_varos"), c.town ? QVariant(QString::fromUtf8(c.town)) : QVariant());
        t.setValue(QStringLiteral("cim_irsz"), QString::fromUtf8(c.postcode));
        EXPECT_EQ(FillTownFromPostcode(t, kDefaultTown), c.changed);
        EXPECT_EQ(t.value(QStringLiteral("cim_varos")).toString(), QString::fromUtf8(c.expected));
    }
}

TEST_F(Customers, EditedCustomerKeepsItsOwnTown) {
    const int id = AddCustomer(QStringLiteral("Kovács Béla"), QStringLiteral("Mórahalom"));
    Table t(QStringLiteral("ugyfel"));
    ASSERT_TRUE(t.load(id));
    t.setValue(QStringLiteral("cim_irsz"), QStringLiteral("1011"));
    EXPECT_FALSE(FillTownFromPostcode(t, kDefaultTown));
    EXPECT_EQ(t.value(QStringLiteral("cim_varos")).toString(), "Mórahalom");
    EXPECT_EQ(PostcodeTownSql(QStringLiteral("10'1")), "SELECT varos FROM irsz WHERE irsz='10''1';");
}

TEST_F(Customers, TaxNumberRules) {
    struct Case {
        const char* what;
        QVariant taxNumber;
        const char* privatePerson;
        QString expected;
    };
    const Case cases[] = {
        {"firm with a complete tax number", QStringLiteral("12345678-1-12"), "N", {}},
        {"private person with a tax number", QStringLiteral("12345678-1-12"), "I",
         customer_text::TaxNumberButPrivate},
        {"firm with the bare mask", QStringLiteral("--"), "N", customer_text::NoTaxNumber},
        {"firm with the mask shown blank", QStringLiteral("________-_-__"), "N", customer_text::NoTaxNumber},
        {"firm without a tax number", QVariant(), "N", customer_text::NoTaxNumber},
        {"private person with the bare mask", QStringLiteral("--"), "I", {}},
        {"private person without a tax number", QVariant(), "I", {}},
        {"firm with a partly typed tax number", QStringLiteral("123-"), "N", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CustomerTaxNumberError(c.taxNumber, QString::fromUtf8(c.privatePerson)), c.expected);
    }
}

TEST_F(Customers, CheckBeforeSavingShowsTheMessageAndKeepsTheRow) {
    ScriptedDialogs dialogs;
    Table t(QStringLiteral("ugyfel"));
    t.startNew();
    SetNewCustomerDefaults(t, kDefaultTown, QDate::currentDate());
    t.setValue(QStringLiteral("ugyfel_nev"), QStringLiteral("Fúró Kft."));
    t.setValue(QStringLiteral("adoszam"), QStringLiteral("12345678-1-12"));

    // "Magánszemély?" still checked: refused with the second message.
    EXPECT_FALSE(CheckCustomer(t));
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.lastCall().kind, DialogKind::Error);
    EXPECT_EQ(dialogs.lastCall().caption, "Hiba");
    EXPECT_EQ(dialogs.lastCall().text, "Ha adószám meg van adva, akkor az ügyfél nem magánszemély.");
    EXPECT_EQ(t.value(QStringLiteral("adoszam")).toString(), "12345678-1-12");

    // Unchecked: accepted and saved.
    t.setValue(QStringLiteral("maganszemely"), QStringLiteral("N"));
    EXPECT_TRUE(CheckCustomer(t));
    EXPECT_EQ(dialogs.calls().size(), 1u);
    const int id = t.post().toInt();
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT adoszam FROM ugyfel WHERE ugyfel = %1;").arg(id)),
              "12345678-1-12");

    // The bare mask on a firm: the first message.
    t.setValue(QStringLiteral("adoszam"), QStringLiteral("--"));
    EXPECT_FALSE(CheckCustomer(t));
    EXPECT_EQ(dialogs.lastCall().text, "Nincs adószám megadva, vagy az ügyfél magánszemély.");
}

TEST_F(Customers, SearchMatchesQuotesAndBackslashesLiterally) {
    AddCustomer(QStringLiteral("Qzw O'Brien Kft."));
    AddCustomer(QStringLiteral("Qzw OBrien Bt."));
    AddCustomer(QStringLiteral("Qzw Back\\slash Bt."));
    AddCustomer(QStringLiteral("Qzw Kovács Béla"), QStringLiteral("Qzwháza"));
    AddCustomer(QStringLiteral("Qzw Nagy Ödön"));

    ListController list(CustomerListDefinition());
    const Query& q = list.query();
    struct Case {
        const char* text;
        QStringList names;
    };
    const Case cases[] = {
        {"w O'Brien", {"Qzw O'Brien Kft."}},
        {"k\\s", {"Qzw Back\\slash Bt."}},
        {"QZW KOVÁCS", {"Qzw Kovács Béla"}}, // the Hungarian collation ignores case
        {"qzwháza", {"Qzw Kovács Béla"}},    // the town is in irszvaroscim
        {"qzw",
         {"Qzw Back\\slash Bt.", "Qzw Kovács Béla", "Qzw Nagy Ödön", "Qzw O'Brien Kft.", "Qzw OBrien Bt."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromUtf8(c.text);
        list.search(text);
        QStringList names;
        for (int r = 0; r < q.recordCount(); ++r)
            names << q.result().text(r, q.fieldIndex(QStringLiteral("ugyfel_nev")));
        EXPECT_EQ(names, c.names);
    }
    // An empty search leaves the fixed condition alone: every live customer.
    list.search({});
    EXPECT_EQ(q.sql().at(1), "WHERE (ugyfel > 0)");
    EXPECT_EQ(q.recordCount(),
              QueryInt(QStringLiteral("SELECT COUNT(*) FROM ugyfel WHERE ugyfel > 0 AND torolve = 'N';")));
}

TEST_F(Customers, SearchLocatesTheSortColumnAndIgnoresAFailedLocate) {
    AddCustomer(QStringLiteral("Qzv Ábel Antal"), QStringLiteral("Qzvfalva"));
    AddCustomer(QStringLiteral("Qzv Kiss Anna"), QStringLiteral("Qzvfalva"));
    AddCustomer(QStringLiteral("Qzv Nagy Ödön"), QStringLiteral("Qzvfalva"));
    ListController list(CustomerListDefinition());
    Query& q = list.query();
    const auto search = [&list](const QString& text) { list.search(text); };

    // Found in the town only: no name begins with it, so the query stays on
    // its first row.
    search(QStringLiteral("qzvfalva"));
    EXPECT_EQ(q.recordCount(), 3);
    EXPECT_EQ(q.row(), 0);
    EXPECT_EQ(q.asString("ugyfel_nev"), "Qzv Ábel Antal");

    search(QStringLiteral("QZV K"));
    EXPECT_EQ(q.asString("ugyfel_nev"), "Qzv Kiss Anna");

    // The whole list, located on the first name that begins with the text.
    search({});
    EXPECT_TRUE(QuickLocate(q, list.sortField(), QStringLiteral("qzv n")));
    EXPECT_EQ(q.asString("ugyfel_nev"), "Qzv Nagy Ödön");
    // A sort column that is not a field at all is a fault of the list's
    // definition: it fails loudly, and the list stays where it was.
    EXPECT_THROW(QuickLocate(q, QStringLiteral("nincs_ilyen"), QStringLiteral("x")), std::logic_error);
    EXPECT_EQ(q.asString("ugyfel_nev"), "Qzv Nagy Ödön");
}

TEST_F(Customers, WebsitePasswordIsStoredAsTheServersMd5OnlyWhenSaved) {
    const int id = AddCustomer(QStringLiteral("Web Elek"));
    ScriptedDialogs dialogs;
    Table t(QStringLiteral("ugyfel"));
    ASSERT_TRUE(t.load(id));

    dialogs.answer(DialogAnswer::Cancel);
    EXPECT_FALSE(SetCustomerWebPassword(t));
    EXPECT_FALSE(t.isModified(QStringLiteral("webpwd")));

    dialogs.answerText(QStringLiteral("Titok 123"));
    EXPECT_TRUE(SetCustomerWebPassword(t));
    const DialogCall& asked = dialogs.calls().at(1);
    EXPECT_EQ(asked.kind, DialogKind::Text);
    EXPECT_EQ(asked.caption, "Jelszó");
    EXPECT_EQ(asked.text, "Add meg a jelszót");
    EXPECT_EQ(asked.value, "");
    EXPECT_EQ(asked.maxLength, -1);
    EXPECT_FALSE(asked.upperCase);
    EXPECT_EQ(dialogs.lastCall().kind, DialogKind::Info);
    EXPECT_EQ(dialogs.lastCall().text, "Jelszó beállítása kész: Titok 123");
    const QString expected =
        QString::fromLatin1(QCryptographicHash::hash("Titok 123", QCryptographicHash::Md5).toHex());
    EXPECT_EQ(t.value(QStringLiteral("webpwd")).toString(), expected);

    // Cancelling the editor discards the hash.
    t.cancel();
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT IFNULL(webpwd, '-') FROM ugyfel WHERE ugyfel = %1;").arg(id)),
              "-");

    // Saving stores it; an empty password stores the MD5 of the empty text.
    dialogs.answerText(QString());
    EXPECT_TRUE(SetCustomerWebPassword(t));
    t.post();
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT webpwd FROM ugyfel WHERE ugyfel = %1;").arg(id)),
              "d41d8cd98f00b204e9800998ecf8427e");
}

TEST_F(Customers, SoftDeleteAsksAndLeavesDevicesAlone) {
    const int id = AddCustomer(QStringLiteral("Törlendő Tamás"));
    const int other = AddCustomer(QStringLiteral("Marad Mária"));
    ExecSql(QStringLiteral("INSERT INTO keszulek (ugyfel, gysz) VALUES (%1, 'ABC123');").arg(id));
    ScriptedDialogs dialogs;
    ListController list(CustomerListDefinition());

    // No row selected: nothing is asked, nothing changes.
    list.search(QStringLiteral("nincs ilyen ügyfél"));
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_TRUE(dialogs.calls().empty());

    list.search({});
    ASSERT_TRUE(list.locate(id));
    dialogs.answer(DialogAnswer::No);
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_EQ(dialogs.lastCall().kind, DialogKind::YesNo);
    EXPECT_EQ(dialogs.lastCall().caption, "Megerősítés");
    // The question says what uses the customer.
    EXPECT_EQ(dialogs.lastCall().text, DeleteQuestion(DeletedKind::Customers, QStringLiteral("1 készülék")));
    EXPECT_EQ(dialogs.lastCall().icon, MessageIcon::Question);
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT torolve FROM ugyfel WHERE ugyfel = %1;").arg(id)), "N");

    dialogs.answer(DialogAnswer::Yes);
    EXPECT_TRUE(list.removeCurrent());
    EXPECT_FALSE(list.locate(id)) << "the list is read again without it";
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT torolve FROM ugyfel WHERE ugyfel = %1;").arg(id)), "I");
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT torolve FROM ugyfel WHERE ugyfel = %1;").arg(other)), "N");
    EXPECT_EQ(
        QueryInt(
            QStringLiteral("SELECT COUNT(*) FROM keszulek WHERE ugyfel = %1 AND torolve = 'N';").arg(id)),
        1);
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM vw_keszulek WHERE ugyfel = %1;").arg(id)), 0)
        << "the device left the lists with its customer";
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM ugyfel WHERE ugyfel = %1;").arg(id)), 1);
    EXPECT_EQ(SoftDeleteSql(QStringLiteral("ugyfel"), 17),
              "UPDATE ugyfel SET torolve = 'I' WHERE ugyfel = 17;");
}

TEST_F(Customers, OperationsGoThroughTheInstalledWindows) {
    {
        ScriptedWindows windows;
        windows
            .act(OpenCustomerList,
                 [](RowKey, bool, const QString&) {
                     return ChosenRow{42, QStringLiteral("Kovács Béla")};
                 })
            .answer(OpenCustomerList, ChosenRow{})
            .answer(EditCustomer, 7);

        EXPECT_EQ(ChooseCustomer(std::nullopt, true), 42);
        const ChosenRow none = OpenCustomerList(std::nullopt, true, QStringLiteral("Ügyfél választás"));
        EXPECT_EQ(none.key, std::nullopt);
        EXPECT_EQ(none.name, QString());
        EXPECT_EQ(EditCustomer(std::nullopt), 7);

        ASSERT_EQ(windows.calls().size(), 3u);
        EXPECT_EQ(windows.calls()[0].operation, "OpenCustomerList");
        EXPECT_EQ(windows.calls()[0].args,
                  (QVariantList{QVariant(), true, QStringLiteral("Ügyfél választás")}));
        EXPECT_EQ(windows.calls()[2].operation, "EditCustomer");
        EXPECT_EQ(windows.calls()[2].args, QVariantList{QVariant()});

        // An operation the script did not expect fails loudly.
        EXPECT_THROW(EditCustomer(3), ScriptError);
    }
    EXPECT_THROW(EditCustomer(std::nullopt), std::logic_error);
}

// Another workstation deletes a record while an editor has it open (master
// data is marked deleted, as every list's "Töröl" does): saving it is refused
// as deleted and nothing is written, in every master-data table; the editor
// window then says so and keeps what was typed.
TEST_F(Customers, SavingARecordDeletedOnAnotherWorkstationWritesNothing) {
    const auto other = db->connect();
    struct Case {
        const char* table;
        const char* field;
        bool hardDelete;
    };
    const Case cases[] = {
        {"ugyfel", "ugyfel_nev", false},   {"keszulek", "gysz", false},   {"tetel", "tetel_nev", false},
        {"dolgozo", "dolgozo_nev", false}, {"tipus", "tipus_nev", false}, {"ugyfel", "ugyfel_nev", true},
    };
    for (const Case& c : cases) {
        const QString table = QLatin1String(c.table);
        SCOPED_TRACE((table + (c.hardDelete ? " deleted" : " marked deleted")).toStdString());
        const int key =
            c.hardDelete
                ? AddCustomer(QStringLiteral("Törlendő Tóbiás"))
                : QueryInt(QStringLiteral("SELECT MIN(%1) FROM %1 WHERE torolve = 'N';").arg(table), 0);
        ASSERT_GT(key, 0);
        const auto stored = [&] {
            return QueryStr(QStringLiteral("SELECT CONCAT_WS('|', %1, torolve) FROM %2 WHERE %2 = %3;")
                                .arg(QLatin1String(c.field), table)
                                .arg(key));
        };
        Table row(table);
        ASSERT_TRUE(row.load(key));
        other->exec(c.hardDelete ? HardDeleteSql(table, key) : SoftDeleteSql(table, key));
        const QString before = stored();
        row.setValue(QLatin1String(c.field), QStringLiteral("Közben átírva"));
        try {
            row.post();
            ADD_FAILURE() << "saved a deleted record";
        } catch (const StaleRowError& e) {
            EXPECT_EQ(e.reason(), StaleRowError::Reason::Deleted);
        }
        EXPECT_EQ(stored(), before);
        EXPECT_EQ(row.value(QLatin1String(c.field)), "Közben átírva") << "what was typed is kept";
        if (!c.hardDelete)
            ExecSql(QStringLiteral("UPDATE %1 SET torolve = 'N' WHERE %1 = %2;").arg(table).arg(key));
    }
    // A record still there saves as before, and so does one that the editor
    // itself brings back.
    const int key = AddCustomer(QStringLiteral("Megmaradó Márta"));
    Table row(QStringLiteral("ugyfel"));
    ASSERT_TRUE(row.load(key));
    row.setValue(QStringLiteral("ugyfel_nev"), QStringLiteral("Megmaradt Márta"));
    EXPECT_NO_THROW(row.post());
    ExecSql(SoftDeleteSql(QStringLiteral("ugyfel"), key));
    ASSERT_TRUE(row.load(key));
    row.setValue(QStringLiteral("torolve"), QStringLiteral("N"));
    EXPECT_NO_THROW(row.post());
    EXPECT_EQ(
        QueryStr(QStringLiteral("SELECT CONCAT_WS('|', ugyfel_nev, torolve) FROM ugyfel WHERE ugyfel = %1;")
                     .arg(key)),
        "Megmaradt Márta|N");
}

} // namespace
