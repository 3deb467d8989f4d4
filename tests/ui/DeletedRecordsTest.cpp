// Deleting a customer or a catalogue item in use, and "Törölt rekordok":
// the question names what uses the row; a deleted customer's devices leave
// the lists with it and come back with it; deleted customers, devices and
// items are listed and restored. Two workstations: a row the other one
// deleted or restored meanwhile is reported, never changed twice.

#include "records/DeletedRecords.h"

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "foundation/QueryHelpers.h"
#include "foundation/TextHelpers.h"
#include "records/gui/Tfrm_ToroltRekordok.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

using test::TestDatabase;

class DeletedRecords : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("deleted"));
        s_other = s_db->connect().release();
    }
    static void TearDownTestSuite() {
        delete s_other;
        s_other = nullptr;
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        SetSharedConnection(&s_db->connection());
        ExecSql(QStringLiteral("INSERT INTO ugyfel (ugyfel_nev) VALUES ('Kiss Anna')"));
        m_customer = QueryInt(QStringLiteral("SELECT MAX(ugyfel) FROM ugyfel"));
        ExecSql(QStringLiteral("INSERT INTO keszulek (ugyfel, gysz) VALUES (%1, 'GY-1'), (%1, 'GY-2')")
                    .arg(m_customer));
        m_device =
            QueryInt(QStringLiteral("SELECT MIN(keszulek) FROM keszulek WHERE ugyfel = %1").arg(m_customer));
        ExecSql(
            QStringLiteral("INSERT INTO tetel (tetel_kod, tetel_nev, ar_elad) VALUES ('T-%1', 'Szűrő', 1000)")
                .arg(m_customer));
        m_item = QueryInt(QStringLiteral("SELECT MAX(tetel) FROM tetel"));
        for (int i = 0; i < 2; ++i) {
            ExecSql(QStringLiteral("INSERT INTO munkalap (ugyfel, keszulek, datum, statusz) VALUES (%1, %2, "
                                   "CURDATE(), 1)")
                        .arg(m_customer)
                        .arg(m_device));
            ExecSql(
                QStringLiteral("INSERT INTO munkalap_tetel (munkalap, tetel, db, egysar) VALUES (%1, %2, 1, "
                               "1000), (%1, %2, 2, 1000)")
                    .arg(QueryInt(QStringLiteral("SELECT MAX(munkalap) FROM munkalap")))
                    .arg(m_item));
        }
    }
    void TearDown() override { SetSharedConnection(&s_db->connection()); }

    // What another workstation does, on its own connection.
    template <typename F> static void OnOtherWorkstation(F&& f) {
        SetSharedConnection(s_other);
        f();
        SetSharedConnection(&s_db->connection());
    }
    static int count(const QString& sql) { return QueryInt(sql); }
    int liveDevices() const {
        return count(QStringLiteral("SELECT COUNT(*) FROM vw_keszulek WHERE ugyfel = %1").arg(m_customer));
    }
    QString flag(const char* table, int key) const {
        return QueryStr(
            QStringLiteral("SELECT torolve FROM %1 WHERE %1 = %2").arg(QLatin1String(table)).arg(key));
    }

    static inline TestDatabase* s_db = nullptr;
    static inline Connection* s_other = nullptr;
    int m_customer = 0;
    int m_device = 0;
    int m_item = 0;
};

TEST_F(DeletedRecords, QuestionsSayWhatUsesTheRow) {
    EXPECT_EQ(CustomerUsage(m_customer), QStringLiteral("2 munkalap, 2 készülék"));
    EXPECT_EQ(CatalogueItemUsage(m_item), QStringLiteral("2 munkalap (4 tételsor)"));
    ExecSql(QStringLiteral("INSERT INTO ugyfel (ugyfel_nev) VALUES ('Senki')"));
    EXPECT_EQ(CustomerUsage(QueryInt(QStringLiteral("SELECT MAX(ugyfel) FROM ugyfel"))), QString());

    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::No).answer(DialogAnswer::Yes);
    EXPECT_FALSE(DeleteAskedWithUsage(DeletedKind::Customers, m_customer));
    EXPECT_EQ(flag("ugyfel", m_customer), QStringLiteral("N")) << "No deletes nothing";
    EXPECT_TRUE(DeleteAskedWithUsage(DeletedKind::Items, m_item));
    ASSERT_EQ(dialogs.calls().size(), 2u);
    EXPECT_EQ(
        dialogs.calls()[0].text,
        QStringLiteral("Az ügyfelet használja: 2 munkalap, 2 készülék.\r\nA munkalapjai megmaradnak, a "
                       "készülékei az ügyféllel együtt kikerülnek a listákból (a Törölt rekordok között "
                       "visszaállíthatod).\r\nValóban törlöd?"));
    EXPECT_TRUE(
        dialogs.calls()[1].text.startsWith(QStringLiteral("A tételt használja: 2 munkalap (4 tételsor).")));
    EXPECT_EQ(flag("tetel", m_item), QStringLiteral("I"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM munkalap_tetel WHERE tetel = %1").arg(m_item)), 4)
        << "the sheets keep the item";
}

TEST_F(DeletedRecords, CustomersDevicesLeaveAndComeBackWithIt) {
    ASSERT_EQ(liveDevices(), 2);
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::Yes);
    ASSERT_TRUE(DeleteAskedWithUsage(DeletedKind::Customers, m_customer));
    EXPECT_EQ(liveDevices(), 0) << "the devices left the lists with their customer";
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM vw_ugyfel WHERE ugyfel = %1").arg(m_customer)), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM munkalap WHERE ugyfel = %1").arg(m_customer)), 2);

    // A device deleted on its own cannot come back before its customer.
    ExecSql(QStringLiteral("UPDATE keszulek SET torolve = 'I' WHERE keszulek = %1").arg(m_device));
    dialogs.clear();
    EXPECT_FALSE(RunRestoreDeleted(DeletedKind::Devices, m_device));
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].text, deleted_text::CustomerStillDeleted.arg(QStringLiteral("Kiss Anna")));
    EXPECT_EQ(flag("keszulek", m_device), QStringLiteral("I"));

    EXPECT_TRUE(RunRestoreDeleted(DeletedKind::Customers, m_customer));
    EXPECT_EQ(liveDevices(), 1) << "the device not deleted on its own came back with the customer";
    EXPECT_TRUE(RunRestoreDeleted(DeletedKind::Devices, m_device));
    EXPECT_EQ(liveDevices(), 2);
}

// Two workstations: the window of one lists a row the other then restores;
// "Visszaállít" reports it and changes nothing. A delete after the other
// workstation's delete is reported too.
TEST_F(DeletedRecords, RestoreAndDeleteDecideFromTheRowsStateWithTwoWorkstations) {
    // Only this test's rows are deleted.
    ExecSql(QStringLiteral("UPDATE ugyfel SET torolve = 'N'"));
    ExecSql(QStringLiteral("UPDATE tetel SET torolve = 'N'"));
    ExecSql(QStringLiteral("UPDATE ugyfel SET torolve = 'I' WHERE ugyfel = %1").arg(m_customer));
    ExecSql(QStringLiteral("UPDATE tetel SET torolve = 'I' WHERE tetel = %1").arg(m_item));

    Tfrm_ToroltRekordok window;
    window.show();
    window.showKind(DeletedKind::Customers);
    ASSERT_GE(window.rowCount(), 1);
    ASSERT_EQ(window.currentKey(), m_customer);
    const QString shot = test::BuildPath(QStringLiteral("screenshots/deleted-records.png"));
    QDir().mkpath(QFileInfo(shot).absolutePath());
    EXPECT_TRUE(window.grab().save(shot));

    OnOtherWorkstation([&] { EXPECT_TRUE(RestoreDeleted(DeletedKind::Customers, m_customer)); });
    ScriptedDialogs dialogs;
    window.restoreCurrent();
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].text, deleted_text::ChangedMeanwhile);
    EXPECT_EQ(flag("ugyfel", m_customer), QStringLiteral("N"));
    EXPECT_EQ(window.currentKey() == m_customer, false) << "the list was read again";

    // The item: restored from the window by this workstation.
    window.showKind(DeletedKind::Items);
    ASSERT_EQ(window.currentKey(), m_item);
    dialogs.clear();
    window.restoreCurrent();
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_EQ(flag("tetel", m_item), QStringLiteral("N"));
    EXPECT_EQ(window.rowCount(), 0);

    // Deleting what the other workstation deleted after this one saw it.
    OnOtherWorkstation([&] { EXPECT_TRUE(SoftDeleteLive(DeletedKind::Customers, m_customer)); });
    dialogs.clear();
    dialogs.answer(DialogAnswer::Yes);
    EXPECT_TRUE(DeleteAskedWithUsage(DeletedKind::Customers, m_customer));
    EXPECT_EQ(dialogs.calls().back().text, deleted_text::DeletedMeanwhile);
    EXPECT_FALSE(SoftDeleteLive(DeletedKind::Customers, m_customer));
}

} // namespace
} // namespace kml
