// The saved-export windows and the HTML export window for real, offscreen:
// "FTP export" offered only for definitions that upload, the editor's field
// list from the prepared statement, a field name dropped on a field-list
// edit, bad SQL, saving; the HTML window writing the customer grid,
// remembering its folder and opening the page; the main window's routes;
// screenshots of each window.

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "components/DatasetModel.h"
#include "components/Query.h"
#include "exchange/ExchangeRoutes.h"
#include "exchange/SavedExports.h"
#include "exchange/gui/Tfrm_Grid2Html.h"
#include "exchange/gui/Tfrm_TorzsCsvExp.h"
#include "exchange/gui/Tfrm_TorzsCsvExp_Szerkeszt.h"
#include "foundation/Folders.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/ShellOpener.h"
#include "shell/gui/Windows.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <Qsci/qsciscintilla.h>
#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;

void Shoot(QWidget* window, const QString& name) {
    QTest::qWait(20);
    const QString path = test::BuildPath(QStringLiteral("screenshots/") + name + QStringLiteral(".png"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
}

class ExchangeWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallWindows();
        s_db = new TestDatabase(QStringLiteral("exchwin"), TestDatabase::Contents::Demo);
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        Beall().rendszergazda = true;
        SetDataFolder(m_data.path());
        ExecSql(QStringLiteral("DELETE FROM csvexp"));
        ExecSql(QStringLiteral(
            "INSERT INTO csvexp (csvexp, csvexp_nev, kategoria, csopmezok, summezok, szoveg_sql, file_local, "
            "ftp_kell, hatarolo, szovegjelolo) VALUES "
            "(1, 'Munkalapok', 'Napi', 'ugyfel', 'ar_fizetendo', "
            "'SELECT munkalap, ugyfel, datum FROM munkalap', 'mlap.csv', 'I', 1, 2),"
            "(2, 'Ügyfelek', 'Havi', '', '', 'SELECT ugyfel, ugyfel_nev FROM ugyfel', 'ugyfel.csv', 'N', 0, "
            "0)"));
    }
    void TearDown() override { Beall() = TBeall{}; }
    static TestDatabase* s_db;
    QTemporaryDir m_data;
};
TestDatabase* ExchangeWindows::s_db = nullptr;

bool Offered(const ListWindow& w, const char* action) {
    const QAction* a = w.listAction(QLatin1String(action));
    return a && a->isVisible() && a->isEnabled();
}

} // namespace

TEST_F(ExchangeWindows, ListOffersFtpOnlyWhereItUploads) {
    Tfrm_TorzsCsvExp window;
    window.openAt(1);
    window.show();
    EXPECT_TRUE(Offered(window, "aFTP"));
    EXPECT_TRUE(Offered(window, "aExport"));
    EXPECT_TRUE(Offered(window, "aVagolap"));
    EXPECT_TRUE(Offered(window, "aUj"));
    Shoot(&window, QStringLiteral("Tfrm_TorzsCsvExp"));
    window.openAt(2);
    EXPECT_FALSE(Offered(window, "aFTP"));

    // Every typed word must occur in name, category, grouping or sums.
    QTest::keyClicks(window.searchBox(), "napi ugyf");
    EXPECT_EQ(window.query().recordCount(), 1);
    EXPECT_EQ(window.currentKey(), 1);

    // "Export" writes the file and says so.
    ScriptedDialogs dialogs;
    window.listAction(QStringLiteral("aExport"))->trigger();
    EXPECT_EQ(dialogs.lastCall().text, csvexp_text::Done);
    EXPECT_TRUE(QFile::exists(m_data.filePath("mlap.csv")));
    window.close();

    // Users without the administrator or master-data right see no editing.
    Beall().rendszergazda = false;
    Tfrm_TorzsCsvExp plain;
    plain.openAt(1);
    EXPECT_FALSE(Offered(plain, "aUj"));
    EXPECT_FALSE(Offered(plain, "aTorol"));
}

TEST_F(ExchangeWindows, EditorFieldsDropsAndSaving) {
    Tfrm_TorzsCsvExp_Szerkeszt window;
    ASSERT_TRUE(window.startEdit(1));
    window.showRow();
    window.show();
    ASSERT_EQ(window.fieldList()->count(), 3);
    EXPECT_EQ(window.fieldList()->item(2)->text(), QStringLiteral("datum"));
    Shoot(&window, QStringLiteral("Tfrm_TorzsCsvExp_Szerkeszt"));

    // A name dropped on "Csoportosítás" holding ugyfel is appended.
    QLineEdit* grouping = window.fieldListEdit(QStringLiteral("csopmezok"));
    ASSERT_NE(grouping, nullptr);
    QMimeData mime;
    mime.setText(QStringLiteral("datum"));
    // (Offscreen, Qt delivers drop events only during a real drag: the
    // edit's event filter gets the drop directly.)
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(window.eventFilter(grouping, &drop));
    EXPECT_EQ(grouping->text(), QStringLiteral("ugyfel,datum"));
    QLineEdit* names = window.fieldListEdit(QStringLiteral("mezonevek"));
    QDropEvent drop2(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(window.eventFilter(names, &drop2));
    EXPECT_EQ(names->text(), QStringLiteral("datum"));

    // Bad SQL: said so, the list stays.
    {
        ScriptedDialogs dialogs;
        window.sqlEditor()->setText(QStringLiteral("SELEC hibas"));
        EXPECT_FALSE(window.refreshFields());
        ASSERT_EQ(dialogs.calls().size(), 1u);
        EXPECT_TRUE(dialogs.lastCall().text.startsWith(csvexp_text::BadSql));
        EXPECT_EQ(window.fieldList()->count(), 3);
    }
    // A statement that would change data is only prepared.
    const int customers = QueryInt(QStringLiteral("SELECT COUNT(*) FROM ugyfel"));
    window.sqlEditor()->setText(QStringLiteral("DELETE FROM ugyfel"));
    EXPECT_TRUE(window.refreshFields());
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM ugyfel")), customers);

    window.sqlEditor()->setText(QStringLiteral("SELECT 1 AS egy"));
    window.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT CONCAT(csopmezok, '|', mezonevek, '|', szoveg_sql) FROM csvexp "
                                      "WHERE csvexp = 1")),
              QStringLiteral("ugyfel,datum|datum|SELECT 1 AS egy"));
}

TEST_F(ExchangeWindows, NewDefinitionDefaults) {
    Tfrm_TorzsCsvExp_Szerkeszt window;
    window.startNew();
    SetNewExportDefaults(window.table());
    window.showValues();
    window.showRow();
    window.findChild<QLineEdit*>(QStringLiteral("csvexp_nev"))->setText(QStringLiteral("Új export"));
    window.show();
    window.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    const int id = int(window.savedKey().value_or(0));
    ASSERT_GT(id, 0);
    EXPECT_EQ(
        QueryStr(QStringLiteral("SELECT CONCAT(ftp_kell, ezgrafikon, hatarolo, szovegjelolo, kordexa) FROM "
                                "csvexp WHERE csvexp = %1")
                     .arg(id)),
        QStringLiteral("NN00N"));
}

TEST_F(ExchangeWindows, HtmlWindowWritesTheGridAndRemembersTheFolder) {
    Query customers;
    customers.setSql(
        QStringLiteral("SELECT ugyfel, ugyfel_nev, telefon FROM vw_ugyfel\nWHERE ugyfel > 0\nORDER BY "
                       "ugyfel_nev;"));
    customers.open();
    customers.moveTo(1);
    QTableView grid;
    grid.setObjectName(QStringLiteral("DBGrid1"));
    auto* model = new DatasetModel(&customers, &grid);
    model->setColumns({{QStringLiteral("ugyfel_nev"), QStringLiteral("Név"), 60},
                       {QStringLiteral("telefon"), QStringLiteral("Telefon"), 40}});
    grid.setModel(model);
    grid.resize(420, 300);
    grid.horizontalHeader()->resizeSection(0, 200);
    grid.horizontalHeader()->resizeSection(1, 100);
    grid.show();

    std::vector<HtmlColumn> columns = Tfrm_Grid2Html::GridColumns(&grid);
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[0].field, QStringLiteral("ugyfel_nev"));
    EXPECT_EQ(columns[0].caption, QStringLiteral("Név"));
    EXPECT_EQ(columns[0].width, 200);

    Beall().htmlUt = m_data.filePath("Html");
    std::vector<QString> opened;
    const ShellOpener previous = SetShellOpener([&](const QString& a) { opened.push_back(a); });
    Tfrm_Grid2Html window(&grid, QStringLiteral("Ügyfelek"));
    EXPECT_EQ(window.fileEdit()->text(), m_data.filePath("Html/_gyfelek.htm"));
    EXPECT_TRUE(window.openAfter()->isChecked());
    window.show();
    Shoot(&window, QStringLiteral("Tfrm_Grid2Html"));
    {
        // A folder that does not exist: said so, the window stays.
        ScriptedDialogs dialogs;
        window.accept();
        EXPECT_TRUE(window.isVisible());
        ASSERT_EQ(dialogs.calls().size(), 1u);
        EXPECT_TRUE(dialogs.lastCall().text.startsWith(QStringLiteral("Hiba: ")));
    }
    QDir().mkpath(m_data.filePath("masik"));
    window.fileEdit()->setText(m_data.filePath("masik/lista.htm"));
    window.accept();
    SetShellOpener(previous);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(Beall().htmlUt, m_data.filePath("masik"));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(m_data.filePath("masik/lista.htm")).toString());
    EXPECT_EQ(customers.row(), 1);
    QFile page(m_data.filePath("masik/lista.htm"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray bytes = page.readAll();
    EXPECT_TRUE(bytes.contains("<th width=\"48%\" bgcolor=\"#C0C0C0\" >N\xE9v</th>"))
        << bytes.left(800).toStdString();
}

TEST(ExchangeRouting, MainWindowActionsAreWired) {
    MainRoutes routes;
    RegisterExchangeRoutes(routes);
    for (const char* action : {"aCsv", "aHtml", "aLevelkuld", "aExcelbe"})
        for (const MainTab tab : {MainTab::WorkSheets, MainTab::Customers, MainTab::Devices})
            EXPECT_NE(routes.handler(QString::fromLatin1(action), tab), nullptr) << action;
}

} // namespace kml
