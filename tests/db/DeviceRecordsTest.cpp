// Device types, lookup tables and devices against the server, on a fixture
// of their own: the type search with quotes, the lookup lists and what keeps
// a row from being deleted, the new-device and new-type flows through the
// window operations, the dates of a device.
#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "components/Table.h"
#include "foundation/QueryHelpers.h"
#include "patterns/ListController.h"
#include "records/CustomerWindows.h"
#include "records/DeviceTypes.h"
#include "records/DeviceWindows.h"
#include "records/Devices.h"
#include "records/LookupTables.h"
#include "records/TypeWindows.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace kml;
using kml::test::TestDatabase;

namespace {

class DeviceRecords : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new TestDatabase(QStringLiteral("devicerecords"), TestDatabase::Contents::Schema);
        for (const char* sql :
             {"INSERT INTO gyarto (gyarto, gyarto_nev) VALUES (1, 'Bosch'), (2, 'd''Artagnan'), (3, 'Árva'), "
              "(4, 'Csak törölt'), (5, 'Törölt, de készülék'), "
              "(6, 'Magányos');",
              "INSERT INTO keszulektipus (keszulektipus, keszulektipus_nev) VALUES (1, 'Mosógép'), (2, "
              "'Üres');",
              "INSERT INTO tipus (tipus, gyarto, tipus_nev, keszulektipus, torolve) VALUES "
              "(1, 1, 'WTX 3000', 1, 'N'), (2, 1, 'Serie 4', 1, 'N'), (3, 2, 'd''a 100', 1, 'N'), "
              "(4, 1, 'Régi 3000', 1, 'I'), (5, 4, 'Eltűnt', 1, 'I'), (6, 5, 'Megmaradt', 1, 'I');",
              "INSERT INTO ugyfel (ugyfel, ugyfel_nev) VALUES (1, 'Első Ede'), (2, 'Második Mária');",
              "INSERT INTO keszulek (keszulek, ugyfel, tipus, gysz, torolve) VALUES (1, 1, 1, 'A1', 'N'), "
              "(2, 1, 2, 'A2', 'N'), (3, 1, 1, 'A3', 'I'), (4, 2, 3, 'B1', 'N'), (5, 2, 6, 'B2', 'I');",
              "INSERT INTO dolgozo (dolgozo, dolgozo_nev, torolve, sorszam) VALUES (1, 'Dolgos Dani', 'N', "
              "1), "
              "(2, 'Régi Rudi', 'I', 0), (3, 'Munkás Márk', 'N', 2), (4, 'Naptár Nóra', 'N', 3), "
              "(5, 'Szabad Szilvi', 'N', 4);",
              // Márk works on a started sheet; Dani only on an invoiced and a cancelled one;
              // Nóra is booked tomorrow; Szilvi was booked yesterday.
              "INSERT INTO munkalap (munkalap, ugyfel, keszulek, statusz, storno) VALUES (1, 1, 1, 2, 'N'), "
              "(2, 1, 1, 4, 'N'), (3, 1, 1, 1, 'I');",
              "INSERT INTO munkalap_dolgozo (munkalap, dolgozo) VALUES (1, 3), (2, 1), (3, 1);",
              "INSERT INTO elojegyzes (azon, dolgozo, datum, ora) VALUES (1, 4, CURDATE() + INTERVAL 1 DAY, "
              "20), "
              "(1, 4, CURDATE() + INTERVAL 1 DAY, 21), (2, 5, CURDATE() - INTERVAL 1 DAY, 20);"})
            ExecSql(QString::fromUtf8(sql));
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    static QStringList Column(ListController& list, const char* field) {
        QStringList values;
        for (int row = 0; row < list.rowCount(); ++row)
            values << ValueAt(list.query(), row, QString::fromLatin1(field)).toString();
        return values;
    }

    static inline TestDatabase* db = nullptr;
};

TEST_F(DeviceRecords, TypeSearchFindsWordsInTypeOrManufacturerWithQuotesAsTyped) {
    ListController types(TypeListDefinition());
    types.open();
    EXPECT_EQ(Column(types, "tipus_nev"), (QStringList{"Serie 4", "WTX 3000", "d'a 100"}));
    struct Case {
        const char* typed;
        QStringList found;
    } cases[] = {
        {"d'a", {"d'a 100"}},
        {"bosch  3000", {"WTX 3000"}}, // two blanks: two words, the deleted type not among them
        {" bosch ", {"Serie 4", "WTX 3000"}},
        {"artagnan 100 d'a x", {"d'a 100"}}, // the fourth word does not count
        {"%') OR 1=1 OR ('", {}},
        {"'", {"d'a 100"}},
    };
    for (const Case& c : cases) {
        types.search(QString::fromUtf8(c.typed));
        EXPECT_EQ(Column(types, "tipus_nev"), c.found) << c.typed;
    }
    // A title click keeps the type name as the second key.
    types.search({});
    types.sortBy(QStringLiteral("keszulektipus_nev"));
    EXPECT_EQ(types.query().sql().last(), "ORDER BY keszulektipus_nev,tipus_nev;");
}

TEST_F(DeviceRecords, LookupListsShowLiveEmployeesAndEveryManufacturer) {
    ListController employees(LookupListDefinition(lookup::Employees));
    employees.open();
    EXPECT_EQ(Column(employees, "dolgozo_nev"),
              (QStringList{"Dolgos Dani", "Munkás Márk", "Naptár Nóra", "Szabad Szilvi"}));
    employees.search(QStringLiteral("m d'"));
    EXPECT_EQ(Column(employees, "dolgozo_nev"), QStringList());
    employees.search(QStringLiteral("dani  dolgos"));
    EXPECT_EQ(Column(employees, "dolgozo_nev"), QStringList{"Dolgos Dani"});

    ListController manufacturers(LookupListDefinition(lookup::Manufacturers));
    manufacturers.open(2);
    EXPECT_EQ(manufacturers.rowCount(), QueryInt(QStringLiteral("SELECT COUNT(*) FROM gyarto;")));
    EXPECT_EQ(manufacturers.currentValue(QStringLiteral("gyarto_nev")).toString(), "d'Artagnan");

    EXPECT_THROW(LookupListDefinition(QStringLiteral("ugyfel"), false, QStringLiteral("x")),
                 std::invalid_argument);
    EXPECT_THROW(LookupRowUsage(QStringLiteral("gyarto; DROP TABLE x"), 1), std::invalid_argument);
}

TEST_F(DeviceRecords, RowsInUseAreNotDeleted) {
    struct Case {
        const LookupTable* lookup;
        int key;
        QString refused; // empty: deleted after the question
    } cases[] = {
        {&lookup::Manufacturers, 1, "Nem törölhető, mert használatban van: 2 típus, 2 készülék."},
        {&lookup::Manufacturers, 2, "Nem törölhető, mert használatban van: 1 típus, 1 készülék."},
        // Only a deleted type that a (deleted) device still points to.
        {&lookup::Manufacturers, 5, "Nem törölhető, mert használatban van: 1 típus."},
        {&lookup::Manufacturers, 4, {}}, // its only type is deleted and unused
        {&lookup::Manufacturers, 6, {}},
        {&lookup::DeviceKinds, 1, "Nem törölhető, mert használatban van: 4 típus, 3 készülék."},
        {&lookup::DeviceKinds, 2, {}},
        {&lookup::Employees, 3, "Nem törölhető, mert használatban van: 1 folyamatban lévő munkalap."},
        {&lookup::Employees, 4, "Nem törölhető, mert használatban van: 1 mai vagy későbbi előjegyzés."},
        {&lookup::Employees, 1, {}}, // finished and cancelled sheets are history
        {&lookup::Employees, 5, {}}, // yesterday's booking is history
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.lookup->table + QStringLiteral(" %1").arg(c.key)).toStdString());
        ScriptedDialogs dialogs;
        ListController list(LookupListDefinition(*c.lookup));
        list.open(c.key);
        ASSERT_EQ(list.currentKey(), c.key);
        if (!c.refused.isEmpty()) {
            EXPECT_FALSE(list.removeCurrent());
            ASSERT_EQ(dialogs.calls().size(), 1u);
            EXPECT_EQ(dialogs.lastCall().kind, DialogKind::Error);
            EXPECT_EQ(dialogs.lastCall().text, c.refused);
            EXPECT_TRUE(list.locate(c.key));
            continue;
        }
        dialogs.answer(DialogAnswer::Yes);
        EXPECT_TRUE(list.removeCurrent());
        EXPECT_EQ(dialogs.lastCall().text, "Valóban töröljem a sort?");
        EXPECT_FALSE(list.locate(c.key));
        const QString stays =
            QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %1 = %2;").arg(c.lookup->table).arg(c.key);
        EXPECT_EQ(QueryInt(stays), c.lookup->softDelete ? 1 : 0) << "soft delete keeps the row, marked";
    }
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT torolve FROM dolgozo WHERE dolgozo = 1;")), "I");
}

TEST_F(DeviceRecords, NewDeviceAsksTheCustomerOnlyWhenTheListHasNone) {
    {
        // The list of one customer: type, then editor; never the customer list.
        ScriptedWindows windows;
        windows.script(OpenCustomerList).answer(OpenDeviceTypeList, ChosenRow{2}).answer(EditDevice, 40);
        EXPECT_EQ(NewDevice(1), 40);
        EXPECT_EQ(windows.calls("OpenDeviceTypeList").at(0).args.mid(0, 2), (QVariantList{QVariant(), true}));
        EXPECT_EQ(windows.calls("EditDevice").at(0).args, (QVariantList{QVariant(), 2, 1}));
    }
    {
        // Every customer's list: the customer first; each cancel stops there.
        ScriptedWindows windows;
        windows.answer(OpenCustomerList, ChosenRow{2})
            .answer(OpenDeviceTypeList, ChosenRow{3})
            .answer(EditDevice, 41);
        EXPECT_EQ(NewDevice(std::nullopt), 41);
        EXPECT_EQ(windows.calls("OpenCustomerList").at(0).args.mid(0, 3),
                  (QVariantList{QVariant(), true, CustomerChooserCaption}));
        EXPECT_EQ(windows.calls("EditDevice").at(0).args, (QVariantList{QVariant(), 3, 2}));

        windows.answer(OpenCustomerList, ChosenRow{}).script(EditDevice);
        EXPECT_EQ(NewDevice(std::nullopt), std::nullopt);
        windows.answer(OpenCustomerList, ChosenRow{2}).answer(OpenDeviceTypeList, ChosenRow{});
        EXPECT_EQ(NewDevice(std::nullopt), std::nullopt);
        windows.answer(OpenCustomerList, ChosenRow{2})
            .answer(OpenDeviceTypeList, ChosenRow{3})
            .answer(EditDevice, std::nullopt);
        EXPECT_EQ(NewDevice(std::nullopt), std::nullopt);
        EXPECT_EQ(windows.pendingAnswers(), 0);
    }
    // The customer's list through its hooks: only live devices, and the new one located.
    ScriptedWindows windows;
    windows.answer(OpenDeviceTypeList, ChosenRow{1})
        .act(EditDevice, [](RowKey, RowKey type, RowKey customer) {
            ExecSql(QStringLiteral("INSERT INTO keszulek (ugyfel, tipus, gysz) VALUES (%1, %2, 'A9');")
                        .arg(*customer)
                        .arg(*type));
            return RowKey(db->connection().lastInsertId());
        });
    ListController devices(DeviceListDefinition(1, QStringLiteral("Gy.szám")));
    devices.open();
    EXPECT_EQ(Column(devices, "gysz"), (QStringList{"A1", "A2"}));
    ASSERT_TRUE(devices.createRow());
    EXPECT_EQ(Column(devices, "gysz"), (QStringList{"A1", "A2", "A9"}));
    EXPECT_EQ(devices.currentValue(QStringLiteral("gysz")).toString(), "A9");
    devices.search(QStringLiteral("wtx"));
    EXPECT_EQ(Column(devices, "gysz"), (QStringList{"A1", "A9"})) << "searched in the type text too";
}

TEST_F(DeviceRecords, NewTypeIsOfTheChosenManufacturer) {
    ScriptedWindows windows;
    ListController types(TypeListDefinition());
    types.open();
    windows.answer(OpenLookupTable, ChosenRow{}).script(EditDeviceType);
    EXPECT_FALSE(types.createRow());
    EXPECT_EQ(windows.calls("OpenLookupTable").at(0).args.mid(0, 5),
              (QVariantList{QVariant(), true, "gyarto", false, "Gyártó"}));

    windows.answer(OpenLookupTable, ChosenRow{3}).answer(EditDeviceType, 2);
    EXPECT_TRUE(types.createRow());
    EXPECT_EQ(windows.calls("EditDeviceType").at(0).args, (QVariantList{QVariant(), 3}));
    EXPECT_EQ(types.currentKey(), 2);

    // The editor's new row starts with the manufacturer; its names come
    // from the lookup tables.
    const EditorDefinition editor = TypeEditorDefinition(3);
    Table row(QStringLiteral("tipus"));
    row.startNew();
    editor.newRow(row);
    EXPECT_EQ(row.value(QStringLiteral("gyarto")).toInt(), 3);
    EXPECT_EQ(editor.fields.at(1).display(row), "Árva");
    EXPECT_EQ(editor.fields.at(2).display(row), "");
    windows.answer(OpenLookupTable, ChosenRow{1});
    EXPECT_TRUE(editor.fields.at(2).choose(row));
    EXPECT_EQ(windows.calls("OpenLookupTable").back().args.mid(0, 5),
              (QVariantList{QVariant(), true, "keszulektipus", false, "Készülék típus"}));
    EXPECT_EQ(editor.fields.at(2).display(row), "Mosógép");
    windows.answer(OpenLookupTable, ChosenRow{});
    EXPECT_FALSE(editor.fields.at(1).choose(row));
    EXPECT_EQ(windows.calls("OpenLookupTable").back().args.at(0), 3) << "starts on the current manufacturer";
    EXPECT_EQ(row.value(QStringLiteral("gyarto")).toInt(), 3);

    EXPECT_EQ(TypeText(1), "Bosch WTX 3000");
    EXPECT_EQ(TypeText(4), "") << "a deleted type has no text";
    EXPECT_EQ(TypeText(99), "");
    EXPECT_EQ(TypeChoiceText(QStringLiteral("  Bosch "), QStringLiteral("WTX 3000")), "Bosch WTX 3000");
}

TEST_F(DeviceRecords, DatesAreSetFromTheServerDateAndClearedToNull) {
    Table device(QStringLiteral("keszulek"));
    ASSERT_TRUE(device.load(2));
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::Cancel).answerDate(QDate(2031, 5, 6));
    EXPECT_FALSE(AskDeviceDate(device, QStringLiteral("dat_vasarol")));
    EXPECT_EQ(dialogs.lastCall().value, ServerDate().toString(Qt::ISODate));
    EXPECT_TRUE(AskDeviceDate(device, QStringLiteral("dat_vasarol")));
    device.post();
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT dat_vasarol FROM keszulek WHERE keszulek = 2;")), "2031-05-06");

    ASSERT_TRUE(device.load(2));
    ClearDeviceDate(device, QStringLiteral("dat_vasarol"));
    device.post();
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT dat_vasarol IS NULL FROM keszulek WHERE keszulek = 2;")), 1);
}

} // namespace
