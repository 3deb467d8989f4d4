// The main window's lists, tabs, search, sorting, colours, detail panels and
// actions, started for real against the demo shop, offscreen; with
// screenshots of every tab and of the work-sheet tab in three program types.

#include "ScriptedDialogs.h"
#include "ScriptedSettingsWindow.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/DatasetModel.h"
#include "exchange/DatasetExport.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/ShellOpener.h"
#include "foundation/TextHelpers.h"
#include "gui/MainWindowOnDemo.h"
#include "patterns/ListDefinition.h"
#include "patterns/gui/GridPainter.h"
#include "records/CatalogueWindows.h"
#include "records/CustomerWindows.h"
#include "records/TextWindows.h"
#include "reports/WorkSheetPrint.h"
#include "shell/AppError.h"
#include "shell/Beallit.h"
#include "shell/MainActions.h"
#include "shell/MainLists.h"
#include "shell/StartupWindows.h"
#include "shell/gui/Tfrm_Main.h"
#include "shell/gui/Tfrm_Nevjegy.h"
#include "shell/gui/Windows.h"
#include "worksheets/WorkSheetLists.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;

// The line of a query's SQL that begins with the word.
QString LineOf(const Query& q, const char* word) {
    for (const QString& line : q.sql())
        if (line.startsWith(QLatin1String(word)))
            return line;
    return {};
}

// The row of an open query whose field holds value (without moving it); -1.
int RowOf(const Query& q, const char* field, const QVariant& value) {
    for (int r = 0; r < q.recordCount(); ++r)
        if (ValueAt(q, r, QString::fromLatin1(field)) == value)
            return r;
    return -1;
}

// The background painted in a cell, away from its text.
QColor CellBack(QTableView* grid, int row, int column) {
    const QImage image = grid->viewport()->grab().toImage();
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    return image.pixelColor(cell.left() + 2, cell.top() + 2);
}

// The darkest pixel of a cell: the colour its text is drawn in.
QColor CellText(QTableView* grid, int row, int column) {
    const QImage image = grid->viewport()->grab().toImage();
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QColor darkest = Qt::white;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.lightness() < darkest.lightness())
                darkest = c;
        }
    return darkest;
}

void ClickTitle(QTableView* grid, int column) {
    QHeaderView* header = grid->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

class MainWindowLists : public test::MainWindowOnDemo {
protected:
    static void SetUpTestSuite() { StartDemo(QStringLiteral("mainlists")); }
};

TEST_F(MainWindowLists, SearchBoxRewritesTheWhereLineOfTheCurrentList) {
    Tfrm_Main& w = open();
    Query& qryU = w.session().list(MainTab::Customers).query();

    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    settle();
    EXPECT_TRUE(w.pUgyfel->isVisible());
    EXPECT_FALSE(w.session().list(MainTab::WorkSheets).query().isActive())
        << "switching tabs closes the other lists";
    w.Edit1->setText(QStringLiteral("kov"));
    settle();
    // The WHERE line searches through the customers' search table, and the
    // rows are those of the LIKE filter over the seven fields.
    EXPECT_EQ(LineOf(qryU, "WHERE"), "WHERE " + w.list(MainTab::Customers).condition(QStringLiteral("kov")));
    EXPECT_TRUE(LineOf(qryU, "WHERE")
                    .startsWith(QStringLiteral("WHERE (ugyfel > 0) AND (ugyfel IN (SELECT k.ugyfel "
                                               "FROM ugyfel_kereses k WHERE ")));
    const QString like = QStringLiteral(" LIKE '%kov%')");
    const ResultSet likeRows = s_db->connection().query(
        "SELECT ugyfel FROM vw_ugyfel WHERE (ugyfel > 0) AND ((ugyfel_nev" + like + " OR (kapcsolat" + like +
        " OR (telefon" + like + " OR (emil" + like + " OR (irszvaroscim" + like + " OR (gyszstr" + like +
        " OR (CONVERT(DATE_FORMAT(dat_figyelmeztet,'%Y.%m.%d') USING latin2)" + like +
        ") ORDER BY ugyfel_nev");
    ASSERT_TRUE(qryU.isActive());
    ASSERT_GT(qryU.recordCount(), 0);
    ASSERT_EQ(qryU.recordCount(), likeRows.rowCount());
    for (int r = 0; r < likeRows.rowCount(); ++r)
        EXPECT_EQ(ValueAt(qryU, r, QStringLiteral("ugyfel")).toString(), likeRows.text(r, 0)) << r;
    // Quick-locate: the first row whose name begins with the text.
    EXPECT_TRUE(
        qryU.asString(QStringLiteral("ugyfel_nev")).startsWith(QStringLiteral("kov"), Qt::CaseInsensitive));
    EXPECT_EQ(w.StatusPanel0->text(), QStringLiteral("%1: %2").arg(qryU.recordCount()).arg(qryU.recNo()));

    // The text stays when the tab changes, and the new tab's list shows what it finds.
    w.TabControl1->setCurrentIndex(int(MainTab::Devices));
    settle();
    EXPECT_EQ(w.Edit1->text(), QStringLiteral("kov"));
    EXPECT_TRUE(
        LineOf(w.session().list(MainTab::Devices).query(), "WHERE")
            .startsWith(QStringLiteral("WHERE (keszulek > 0) AND (keszulek IN (SELECT k.keszulek FROM "
                                       "keszulek_kereses k WHERE ")));
    EXPECT_FALSE(qryU.isActive());

    // The planner searches the employees by name only; arrows stay in the box.
    w.TabControl1->setCurrentIndex(int(MainTab::Planner));
    settle();
    w.Edit1->setText(QStringLiteral("a"));
    settle();
    EXPECT_EQ(LineOf(w.session().list(MainTab::Planner).query(), "WHERE"),
              "WHERE torolve = 'N' AND ((dolgozo_nev LIKE '%a%'))");
    w.Edit1->setFocus();
    QTest::keyClick(w.Edit1, Qt::Key_Down);
    EXPECT_TRUE(w.Edit1->hasFocus());

    // An empty box leaves every list its fixed condition alone.
    const struct {
        int tab;
        Query* query;
        const char* where;
    } lists[] = {
        {int(MainTab::WorkSheets), &w.session().list(MainTab::WorkSheets).query(),
         "WHERE (statusz BETWEEN 1 AND 2)"},
        {int(MainTab::Customers), &w.session().list(MainTab::Customers).query(), "WHERE (ugyfel > 0)"},
        {int(MainTab::Planner), &w.session().list(MainTab::Planner).query(), "WHERE torolve = 'N'"},
        {int(MainTab::Devices), &w.session().list(MainTab::Devices).query(), "WHERE (keszulek > 0)"}};
    for (const auto& l : lists) {
        w.TabControl1->setCurrentIndex(l.tab);
        settle();
        w.Edit1->setText(QStringLiteral("x"));
        settle();
        w.Edit1->clear();
        settle();
        EXPECT_EQ(LineOf(*l.query, "WHERE"), QString::fromLatin1(l.where)) << l.tab;
        EXPECT_TRUE(l.query->isActive());
    }
}

TEST_F(MainWindowLists, QuotationTabShowsOnlyQuotationsAndHidesReady) {
    Tfrm_Main& w = open();
    Query& mlap = w.session().list(MainTab::WorkSheets).query();
    QAction* ready = w.action(QStringLiteral("aKesz"));
    EXPECT_TRUE(ready->isVisible());
    w.Edit1->setText(QStringLiteral("Kovács"));
    settle();

    w.TabControl2->setCurrentIndex(QuotationStatusTab);
    settle();
    EXPECT_TRUE(w.Edit1->text().isEmpty()) << "the status tab empties the search box";
    EXPECT_EQ(LineOf(mlap, "WHERE"), "WHERE (statusz = 0)");
    ASSERT_GT(mlap.recordCount(), 0);
    for (int r = 0; r < mlap.recordCount(); ++r)
        EXPECT_EQ(ValueAt(mlap, r, QStringLiteral("statusz")).toInt(), 0);
    EXPECT_FALSE(ready->isVisible());
    EXPECT_FALSE(ready->isEnabled());

    w.TabControl2->setCurrentIndex(3);
    settle();
    EXPECT_EQ(LineOf(mlap, "WHERE"), "WHERE (statusz = 2)");
    EXPECT_TRUE(ready->isVisible());
    // The condition survives a tab switch.
    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    settle();
    w.TabControl1->setCurrentIndex(int(MainTab::WorkSheets));
    settle();
    EXPECT_EQ(LineOf(mlap, "WHERE"), "WHERE (statusz = 2)");
}

TEST_F(MainWindowLists, RowColoursAndFlagPictures) {
    Tfrm_Main& w = open();
    QTableView* grid = w.workSheetGrid();
    ASSERT_EQ(grid, w.DBGrid2);
    Query& mlap = w.session().list(MainTab::WorkSheets).query();

    // A cancelled invoiced work sheet: dark red on light red, except in the
    // highlighted (sort) column.
    w.TabControl2->setCurrentIndex(1);
    settle();
    const int cancelled =
        QueryInt(QStringLiteral("SELECT MAX(munkalap) FROM munkalap WHERE statusz = 4 AND storno = 'I';"));
    ASSERT_GT(cancelled, 0);
    const int row = RowOf(mlap, "munkalap", cancelled);
    ASSERT_GE(row, 0);
    mlap.moveTo(row == 0 ? 1 : 0);
    grid->scrollTo(grid->model()->index(row, 0));
    EXPECT_EQ(CellBack(grid, row, 1), QColor(0xFF, 0xDD, 0xDD));
    const QColor text = CellText(grid, row, 1);
    EXPECT_GT(text.red(), 0x60);
    EXPECT_LT(text.green(), 0x30);
    EXPECT_LT(text.blue(), 0x30);
    EXPECT_EQ(CellBack(grid, row, 0), QColor(0xFF, 0xFF, 0xB9)) << "the sort column keeps its colour";
    // The selected row is drawn in the selection colours.
    mlap.moveTo(row);
    EXPECT_NE(CellBack(grid, row, 1), QColor(0xFF, 0xDD, 0xDD));

    // An invoiced one that is not cancelled.
    const int invoiced = RowOf(mlap, "statusz", 4);
    ASSERT_GE(invoiced, 0);
    if (ValueAt(mlap, invoiced, QStringLiteral("storno")).toString() == QLatin1String("N")) {
        grid->scrollTo(grid->model()->index(invoiced, 0));
        EXPECT_EQ(CellBack(grid, invoiced, 2), QColor(0xC1, 0xFF, 0xE0));
    }

    // Customers: a warning date of today colours the row, tomorrow's does not.
    Connection& c = s_db->connection();
    const int today =
        QueryInt(QStringLiteral("SELECT MIN(ugyfel) FROM ugyfel WHERE ugyfel > 0 AND torolve = 'N';"));
    const int tomorrow = QueryInt(
        QStringLiteral("SELECT MIN(ugyfel) FROM ugyfel WHERE ugyfel > %1 AND torolve = 'N';").arg(today));
    c.exec(QStringLiteral("UPDATE ugyfel SET dat_figyelmeztet = CURDATE() WHERE ugyfel = %1;").arg(today));
    c.exec(
        QStringLiteral("UPDATE ugyfel SET dat_figyelmeztet = CURDATE() + INTERVAL 1 DAY WHERE ugyfel = %1;")
            .arg(tomorrow));
    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    settle();
    Query& u = w.session().list(MainTab::Customers).query();
    const int todayRow = RowOf(u, "ugyfel", today);
    const int tomorrowRow = RowOf(u, "ugyfel", tomorrow);
    ASSERT_GE(todayRow, 0);
    ASSERT_GE(tomorrowRow, 0);
    for (int r = 0; r < u.recordCount(); ++r)
        if (r != todayRow && r != tomorrowRow) {
            u.moveTo(r);
            break;
        }
    for (int r : {todayRow, tomorrowRow}) {
        w.DBGrid1->scrollTo(w.DBGrid1->model()->index(r, 0));
        const bool warned = r == todayRow;
        EXPECT_EQ(CellBack(w.DBGrid1, r, 1) == QColor(0xFF, 0xDD, 0xDD), warned) << r;
        // The text colour reaches the highlighted column too.
        const QColor ink = CellText(w.DBGrid1, r, 0);
        EXPECT_EQ(ink.blue() > ink.red() + 80, warned) << ink.name().toStdString();
    }

    // The flag columns show a picture instead of I or N.
    ASSERT_NE(qobject_cast<GridPainter*>(grid->itemDelegate()), nullptr);
    EXPECT_FALSE(CellIconPicture(CellIcon::Paid).isNull());
    EXPECT_NE(CellIconPicture(CellIcon::Paid).pixmap(16).toImage(),
              CellIconPicture(CellIcon::Unpaid).pixmap(16).toImage());
    EXPECT_NE(CellIconPicture(CellIcon::Private).pixmap(16).toImage(),
              CellIconPicture(CellIcon::Company).pixmap(16).toImage());
}

TEST_F(MainWindowLists, KeysMoveBetweenSearchBoxAndGrids) {
    Tfrm_Main& w = open(1);
    w.Edit1->setFocus();
    QTest::keyClick(w.Edit1, Qt::Key_Down);
    EXPECT_TRUE(w.DBGrid2->hasFocus()) << "program type 1 shows DBGrid2";

    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    settle();
    w.DBGrid1->setFocus();
    QTest::keyClick(w.DBGrid1, 'A');
    EXPECT_TRUE(w.Edit1->hasFocus());
    EXPECT_EQ(w.Edit1->text(), QStringLiteral("a"));
    EXPECT_EQ(w.Edit1->cursorPosition(), 1);
    settle();
    EXPECT_EQ(LineOf(w.session().list(MainTab::Customers).query(), "WHERE"),
              "WHERE " + w.list(MainTab::Customers).condition(QStringLiteral("a")));
    QTest::keyClick(w.Edit1, Qt::Key_PageDown);
    EXPECT_TRUE(w.DBGrid1->hasFocus());
    QTest::sendKeyEvent(QTest::Click, w.DBGrid1, Qt::Key_Odiaeresis, QStringLiteral("Ö"), Qt::ShiftModifier);
    EXPECT_EQ(w.Edit1->text(), QStringLiteral("ö"));
    w.DBGrid1->setFocus();
    QTest::keyClick(w.DBGrid1, '+');
    EXPECT_TRUE(w.DBGrid1->hasFocus()) << "other keys stay in the grid";

    // The wheel turns into arrow keys for the focused grid, except while
    // the week planner is open.
    w.Edit1->clear();
    settle();
    w.DBGrid1->setFocus();
    Query& u = w.session().list(MainTab::Customers).query();
    u.first();
    auto wheel = [&](int delta) {
        const QPointF at(20, 20);
        QWheelEvent event(at, w.DBGrid1->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.DBGrid1->viewport(), &event);
    };
    wheel(-120);
    EXPECT_EQ(u.row(), 1) << "a backward turn is Down";
    wheel(120);
    EXPECT_EQ(u.row(), 0) << "a forward turn is Up";
    w.setPlannerOpen(true);
    wheel(-120);
    EXPECT_EQ(u.row(), 0);
    w.setPlannerOpen(false);
}

TEST_F(MainWindowLists, TitleClicksSortAndHighlight) {
    Tfrm_Main& w = open();
    Query& mlap = w.session().list(MainTab::WorkSheets).query();
    auto* model = qobject_cast<DatasetModel*>(w.DBGrid2->model());
    const int customerColumn = model->columnOfField(QStringLiteral("ugyfel_nev"));
    ClickTitle(w.DBGrid2, customerColumn);
    settle();
    EXPECT_EQ(LineOf(mlap, "ORDER"), "ORDER BY ugyfel_nev,munkalap;");
    EXPECT_EQ(model->highlightColumn(), customerColumn);
    EXPECT_TRUE(w.Edit1->hasFocus());
    EXPECT_TRUE(mlap.isActive());
    // Quick-locate now looks in the sorted column.
    const QString later =
        ValueAt(mlap, mlap.recordCount() - 1, QStringLiteral("ugyfel_nev")).toString().left(4);
    w.Edit1->setText(later);
    settle();
    EXPECT_TRUE(mlap.asString(QStringLiteral("ugyfel_nev")).startsWith(later, Qt::CaseInsensitive))
        << later.toStdString();
    w.Edit1->clear();
    settle();
    ClickTitle(w.DBGrid2, 0);
    settle();
    EXPECT_EQ(LineOf(mlap, "ORDER"), "ORDER BY munkalap DESC;");
    EXPECT_EQ(model->highlightColumn(), 0);

    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    settle();
    ClickTitle(w.DBGrid1, 2);
    settle();
    EXPECT_EQ(LineOf(w.session().list(MainTab::Customers).query(), "ORDER"), "ORDER BY telefon;");

    w.TabControl1->setCurrentIndex(int(MainTab::Devices));
    settle();
    ClickTitle(w.DBGrid5, 1);
    settle();
    EXPECT_EQ(LineOf(w.session().list(MainTab::Devices).query(), "ORDER"), "ORDER BY ugyfel_nev;");
    const QStringList history = w.session().deviceHistory().sql();
    ClickTitle(w.DBGrid51, 1);
    settle();
    EXPECT_EQ(w.session().deviceHistory().sql(), history) << "the history grid does not sort";
}

TEST_F(MainWindowLists, DetailPanelsFollowTheCurrentRow) {
    Tfrm_Main& w = open();
    Query& mlap = w.session().list(MainTab::WorkSheets).query();
    EXPECT_FALSE(w.Panel7->isVisible());
    EXPECT_TRUE(w.Panel11->isVisible());
    EXPECT_FALSE(w.session().detail(MainDetail::SheetEmployees).query().isActive());
    const auto key = [&] { return mlap.value(QStringLiteral("munkalap")).toLongLong(); };
    EXPECT_EQ(LineOf(w.session().detail(MainDetail::SheetLines).query(), "WHERE"),
              QStringLiteral("WHERE munkalap = %1").arg(key()));
    mlap.moveTo(2);
    EXPECT_EQ(LineOf(w.session().detail(MainDetail::SheetLines).query(), "WHERE"),
              QStringLiteral("WHERE munkalap = %1").arg(key()));
    EXPECT_EQ(LineOf(w.session().sheetTotals(), "WHERE"), QStringLiteral("WHERE munkalap = %1;").arg(key()));
    EXPECT_EQ(w.PanelTotals->findChild<QLabel*>(QStringLiteral("felhasznalo"))->text(),
              mlap.asString(QStringLiteral("felhasznalo")));
    // The items grid shows six columns outside the car workshop.
    EXPECT_TRUE(w.DBGrid6->isColumnHidden(2));
    EXPECT_FALSE(w.DBGrid6->isColumnHidden(3));

    w.action(QStringLiteral("aMLapDolgozo"))->trigger();
    EXPECT_TRUE(w.Panel7->isVisible());
    EXPECT_TRUE(w.session().detail(MainDetail::SheetEmployees).query().isActive());
    EXPECT_EQ(LineOf(w.session().detail(MainDetail::SheetEmployees).query(), "WHERE"),
              QStringLiteral("WHERE munkalap = %1").arg(key()));
    mlap.moveTo(3);
    EXPECT_EQ(LineOf(w.session().detail(MainDetail::SheetEmployees).query(), "WHERE"),
              QStringLiteral("WHERE munkalap = %1").arg(key()));
    w.action(QStringLiteral("aMLapDolgozo"))->trigger();
    EXPECT_FALSE(w.Panel7->isVisible());
    EXPECT_FALSE(w.session().detail(MainDetail::SheetEmployees).query().isActive());

    // The items panel: a third of the work-sheet area, at least 240 pixels.
    auto* split = qobject_cast<QSplitter*>(w.pMunkalap);
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(split->sizes().at(1), ItemsPanelHeight(split->height()));
    w.action(QStringLiteral("aMLapTetel"))->trigger();
    EXPECT_FALSE(w.Panel11->isVisible());
    EXPECT_FALSE(w.session().detail(MainDetail::SheetLines).query().isActive());
    w.action(QStringLiteral("aMLapTetel"))->trigger();
    EXPECT_TRUE(w.session().detail(MainDetail::SheetLines).query().isActive());

    // Columns keep their shares of the grid's width.
    int total = 0;
    for (int c = 0; c < w.DBGrid2->model()->columnCount(); ++c)
        total += w.DBGrid2->columnWidth(c);
    EXPECT_NEAR(total, w.DBGrid2->viewport()->width(), w.DBGrid2->model()->columnCount());
    w.resize(1000, 700);
    QTest::qWait(20);
    EXPECT_NEAR(w.DBGrid2->columnWidth(3), w.DBGrid2->viewport()->width() * 16 / 100, 1)
        << "the customer column keeps its sixteen percent";

    // Customers show their devices; the device tab the device's history.
    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    settle();
    Query& u = w.session().list(MainTab::Customers).query();
    const int owner = QueryInt(QStringLiteral("SELECT MIN(k.ugyfel) FROM vw_keszulek k JOIN vw_ugyfel u ON "
                                              "u.ugyfel = k.ugyfel WHERE k.ugyfel > 0;"));
    u.locate(QStringLiteral("ugyfel"), owner);
    EXPECT_EQ(LineOf(w.session().detail(MainDetail::CustomerDevices).query(), "WHERE"),
              QStringLiteral("WHERE ugyfel = %1").arg(owner));
    EXPECT_GT(w.session().detail(MainDetail::CustomerDevices).query().recordCount(), 0);
    w.TabControl1->setCurrentIndex(int(MainTab::Devices));
    settle();
    Query& k = w.session().list(MainTab::Devices).query();
    k.moveTo(1);
    EXPECT_EQ(w.session().deviceHistory().param(QStringLiteral("pkeszulek")).toLongLong(),
              k.value(QStringLiteral("keszulek")).toLongLong());
    EXPECT_TRUE(w.session().deviceHistory().isActive());
}

// The items grid under the work sheets shows a fractional quantity with its
// decimals (the workstation's format has none), whole ones as before.
TEST_F(MainWindowLists, FractionalQuantitiesShowTheirDecimalsInTheItemsGrid) {
    Tfrm_Main& w = open();
    Query& mlap = w.session().list(MainTab::WorkSheets).query();
    Query& lines = w.session().detail(MainDetail::SheetLines).query();
    int row = 0;
    while (lines.recordCount() < 2 && row + 1 < mlap.recordCount())
        mlap.moveTo(++row);
    ASSERT_GE(lines.recordCount(), 2);
    const qlonglong sheet = mlap.value(QStringLiteral("munkalap")).toLongLong();
    s_db->connection().exec(QStringLiteral("UPDATE munkalap_tetel SET db = 1.5 WHERE munkalap = %1 ORDER BY "
                                           "munkalap_tetel LIMIT 1;")
                                .arg(sheet));
    s_db->connection().exec(
        QStringLiteral(
            "UPDATE munkalap_tetel SET db = 2 WHERE munkalap = %1 ORDER BY munkalap_tetel DESC LIMIT 1;")
            .arg(sheet));
    mlap.moveTo(row == 0 ? 1 : 0);
    mlap.moveTo(row);
    settle();
    QAbstractItemModel* model = w.DBGrid6->model();
    int column = -1;
    for (int c = 0; c < model->columnCount(); ++c)
        if (model->headerData(c, Qt::Horizontal).toString() == QStringLiteral("Mennyiség"))
            column = c;
    ASSERT_GE(column, 0);
    EXPECT_EQ(model->data(model->index(0, column)).toString(), QStringLiteral("1,5"));
    EXPECT_EQ(model->data(model->index(model->rowCount() - 1, column)).toString(), QStringLiteral("2"));
    shoot(QStringLiteral("items-fractional-quantity"));
}

// On the planner tab the record actions that do nothing there are disabled.
TEST_F(MainWindowLists, PlannerTabDisablesWhatDoesNotApply) {
    Tfrm_Main& w = open();
    w.TabControl1->setCurrentIndex(int(MainTab::Planner));
    settle();
    for (const char* name :
         {"aMlapjai", "aMegjegyzes", "aNyomtatKep", "aNyomtat", "aKeszulekAdatlap", "aMLapNeki"})
        EXPECT_FALSE(w.action(QString::fromLatin1(name))->isEnabled()) << name;
    w.TabControl1->setCurrentIndex(int(MainTab::WorkSheets));
    settle();
    EXPECT_TRUE(w.action(QStringLiteral("aNyomtat"))->isEnabled());
    EXPECT_FALSE(w.action(QStringLiteral("aMLapNeki"))->isEnabled()) << "F4 does nothing on the work sheets";
}

TEST_F(MainWindowLists, DevicePanelSplitterKeepsItsLimits) {
    Tfrm_Main& w = open();
    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    settle();
    QTest::qWait(20);
    QSplitter* split = w.Splitter16;
    const int h = split->height();
    ASSERT_TRUE(DevicePanelHeightAccepted(split->sizes().at(1), h)) << split->sizes().at(1) << " of " << h;

    QWidget* handle = split->handle(1);
    auto drag = [&](int dy) {
        const QPoint from(handle->width() / 2, handle->height() / 2);
        const QPoint to = from + QPoint(0, dy);
        QMouseEvent press(QEvent::MouseButtonPress, from, handle->mapToGlobal(from), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(handle, &press);
        QMouseEvent move(QEvent::MouseMove, to, handle->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(handle, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, to, handle->mapToGlobal(to), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(handle, &release);
    };
    // Dragging the device panel to 150 pixels stops it at 201; beyond half
    // the panel, just below half; in between, where it was dragged.
    drag(split->sizes().at(1) - 150);
    EXPECT_EQ(split->sizes().at(1), 201);
    drag(split->sizes().at(1) - (h / 2 + 40));
    EXPECT_EQ(split->sizes().at(1), h / 2 - 1);
    const int target = (201 + h / 2) / 2;
    drag(split->sizes().at(1) - target);
    EXPECT_NEAR(split->sizes().at(1), target, 2);
}

TEST_F(MainWindowLists, DeviceSettingsReshapeTheWindow) {
    Tfrm_Main& w = open(1);
    ScriptedSettingsWindow settings;
    const auto chooseType = [&](int type) {
        settings.pressOk([type](Table&, SettingsValues& values) { values.programType = type - 1; });
        w.action(QStringLiteral("aBeallit"))->trigger();
    };
    QAction* newDevice = w.action(QStringLiteral("aUjKeszulek"));

    chooseType(3); // the graphics studio keeps no devices
    EXPECT_EQ(LastAction(), QStringLiteral("frm_Main.aBeallit"));
    EXPECT_EQ(w.TabControl1->count(), 3);
    for (const char* name : {"aKeszulekAdatlap", "aUjKeszulek", "aTipus", "aGyarto"}) {
        EXPECT_FALSE(w.action(QString::fromLatin1(name))->isVisible()) << name;
        EXPECT_FALSE(w.action(QString::fromLatin1(name))->isEnabled()) << name;
    }
    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    settle();
    EXPECT_FALSE(w.Panel16->isVisible());
    EXPECT_EQ(w.workSheetGrid(), w.DBGrid23);
    w.TabControl1->setCurrentIndex(int(MainTab::WorkSheets));
    settle();
    shoot(QStringLiteral("type3"));

    chooseType(2);
    EXPECT_EQ(w.TabControl1->count(), 4);
    EXPECT_EQ(w.TabControl1->tabText(3), QStringLiteral("Készülék"));
    EXPECT_TRUE(newDevice->isVisible());
    EXPECT_EQ(newDevice->text(), QStringLiteral("Új Gépjármű"));
    EXPECT_EQ(w.action(QStringLiteral("aTipus"))->text(), QStringLiteral("Gépjármű típusok"));
    EXPECT_EQ(w.action(QStringLiteral("aKeszulekAdatlap"))->text(), QStringLiteral("Gépjármű"));
    EXPECT_EQ(w.Panel16Header->text(), QStringLiteral("Gépjármű"));
    EXPECT_EQ(w.workSheetGrid(), w.DBGrid22);
    EXPECT_FALSE(w.DBGrid6->isColumnHidden(2)) << "the car workshop sees all ten item columns";
    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    settle();
    EXPECT_TRUE(w.Panel16->isVisible());
    EXPECT_EQ(w.action(QStringLiteral("aKeszulekAdatlap"))->statusTip(), QStringLiteral("Gépjármű adatlap"));
    EXPECT_EQ(w.action(QStringLiteral("aKeszulekAdatlap"))->toolTip(), QStringLiteral("Gépjármű adatlap"))
        << "on the customer tab it does nothing, and says what it is";
    EXPECT_EQ(w.DBGrid3->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Rendszám"));
    w.TabControl1->setCurrentIndex(int(MainTab::Devices));
    settle();
    EXPECT_EQ(w.DBGrid5->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Rendszám"));
    EXPECT_EQ(w.DBGrid5->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Műszaki vizsga"));
    w.TabControl1->setCurrentIndex(int(MainTab::WorkSheets));
    settle();
    shoot(QStringLiteral("type2"));

    chooseType(1);
    EXPECT_EQ(newDevice->text(), QStringLiteral("Új Készülék"));
    EXPECT_EQ(settings.pendingAnswers(), 0);

    // The invoice action shows with the invoicing program.
    EXPECT_FALSE(w.action(QStringLiteral("aSzla"))->isVisible());
    Beall().vanPennart = true;
    w.applyShopSettings();
    EXPECT_TRUE(w.action(QStringLiteral("aSzla"))->isVisible());
    EXPECT_EQ(w.action(QStringLiteral("aSzla"))->toolTip(), QStringLiteral("Számláz"));
}

TEST_F(MainWindowLists, RightsAndTheLastAction) {
    Tfrm_Main& w = open();
    ScriptedSettingsWindow settings; // no answer: opening it would fail the test
    Beall().rendszergazda = false;
    w.action(QStringLiteral("aBeallit"))->trigger();
    EXPECT_EQ(LastAction(), QStringLiteral("frm_Main.aBeallit"));
    ASSERT_EQ(m_dialogs.calls().size(), 1u);
    EXPECT_EQ(m_dialogs.calls()[0].kind, DialogKind::Error);
    EXPECT_EQ(m_dialogs.calls()[0].text, QStringLiteral("Nincs jogosultság a művelethez."));
    EXPECT_TRUE(settings.shown().empty());

    // The history, notes, the console and the website windows are there.
    for (const char* name :
         {"aMlapjai", "aMegjegyzes", "aSQL", "aWebSzoveg", "aWebBanner", "aWebIntro", "aWebUzenet"})
        EXPECT_TRUE(w.action(QString::fromLatin1(name))->isEnabled()) << name;
    // The work sheets' own actions are ready.
    for (const char* name : {"aUj", "aStatusz", "aKifizet"})
        EXPECT_TRUE(w.action(QString::fromLatin1(name))->isEnabled()) << name;
    // The window's own actions are ready on every tab.
    for (MainTab tab : {MainTab::Planner, MainTab::Devices, MainTab::Customers}) {
        w.TabControl1->setCurrentIndex(int(tab));
        settle();
        for (const char* always : {"aBezar", "aBeallit", "aSugo", "aHonlap", "aLevel", "aNevjegy", "aNovel",
                                   "aCsokkent", "aMLapDolgozo", "aMLapTetel"})
            EXPECT_TRUE(w.action(QString::fromLatin1(always))->isEnabled()) << always << int(tab);
    }
    EXPECT_TRUE(w.action(QStringLiteral("aUj"))->isEnabled());
    EXPECT_EQ(w.action(QStringLiteral("aUj"))->toolTip(), QStringLiteral("Új"));

    // The menus carry the table's actions.
    QStringList menus;
    for (QAction* m : w.menuBar()->actions())
        menus << m->text();
    EXPECT_EQ(menus,
              (QStringList{"Rekordok", "Törzsadatok", "Nézet", "Nyomtatások", "Honlap", "Rendszer", "Súgó"}));
    EXPECT_EQ(w.action(QStringLiteral("aFrissit"))->shortcut(), QKeySequence(Qt::Key_F5));
    w.action(QStringLiteral("aFrissit"))->trigger();
    EXPECT_EQ(LastAction(), QStringLiteral("frm_Main.aFrissit"));
}

TEST_F(MainWindowLists, HelpFontAndAboutActions) {
    Tfrm_Main& w = open();
    for (const char* name : {"aSugo", "aHonlap", "aLevel"})
        w.action(QString::fromLatin1(name))->trigger();
    EXPECT_EQ(m_opened, (QStringList{HelpAddress, HomeAddress, MailAddress}));
    EXPECT_EQ(MailAddress, QStringLiteral("mailto:info@tarnova.hu?subject=Koravel.ML%20program"));

    EXPECT_EQ(w.font().pointSize(), 9);
    w.action(QStringLiteral("aNovel"))->trigger();
    EXPECT_EQ(Beall().betumeret, 10);
    EXPECT_EQ(w.font().pointSize(), 10);
    EXPECT_EQ(w.DBGrid1->font().pointSize(), 10);
    EXPECT_EQ(w.Panel7Header->font().pointSize(), 10);
    EXPECT_TRUE(w.Panel7Header->font().bold());
    w.action(QStringLiteral("aNovel"))->trigger();
    EXPECT_EQ(Beall().betumeret, 10);
    for (int i = 0; i < 3; ++i)
        w.action(QStringLiteral("aCsokkent"))->trigger();
    EXPECT_EQ(Beall().betumeret, 8);
    EXPECT_EQ(w.PanelTotals->findChild<QLabel*>(QStringLiteral("lblHaszon"))->font().pointSize(), 8);

    QString shownTitle;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<Tfrm_Nevjegy*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->windowTitle(), QStringLiteral("Névjegy"));
        shownTitle = about->findChild<QLabel*>(QStringLiteral("lblTitle"))->text();
        EXPECT_EQ(about->findChild<QLabel*>(QStringLiteral("lblProduct"))->text(),
                  QStringLiteral("Koravel.ML"));
        EXPECT_EQ(about->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
                  QStringLiteral("V24.0.0.111"));
        about->setGeometry(QRect(QPoint(120, 90), about->size())); // positions are the client area's
        about->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    });
    w.action(QStringLiteral("aNevjegy"))->trigger();
    EXPECT_EQ(shownTitle, QStringLiteral("Koravel.ML - Munkalap nyilvántartás"));
    const IniFile ini(m_home.filePath(QStringLiteral("KoravelML/KoravelML.ini")));
    EXPECT_EQ(ini.readString(QStringLiteral("frm_Nevjegy"), QStringLiteral("Left")), QStringLiteral("120"));
}

// The exports take the list the user sees; printing takes the current work
// sheet.
TEST_F(MainWindowLists, ExportAndPrintActionsTakeTheCurrentList) {
    Tfrm_Main& w = open();
    {
        ScriptedWindows printing;
        printing.answer(PrintWorkSheet, true).answer(PrintWorkSheet, true);
        w.action(QStringLiteral("aNyomtat"))->trigger();
        w.action(QStringLiteral("aNyomtatKep"))->trigger();
        const int sheet = w.session().list(MainTab::WorkSheets).query().asInt(QStringLiteral("munkalap"));
        ASSERT_EQ(printing.calls().size(), 2u);
        EXPECT_EQ(printing.calls()[0].args, (QVariantList{sheet, true}));
        EXPECT_EQ(printing.calls()[1].args, (QVariantList{sheet, false}));
    }
    Beall().excelbe = true;
    ScriptedWindows windows;
    std::vector<const Query*> exported;
    const auto record = [&exported](Query& data, const QString& name) {
        EXPECT_EQ(name, QStringLiteral("KoravelML.csv"));
        exported.push_back(&data);
    };
    windows.act(ExportDataset, record).act(ExportDataset, record);
    w.action(QStringLiteral("aExcelbe"))->trigger();
    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    settle();
    w.action(QStringLiteral("aExcelbe"))->trigger();
    EXPECT_EQ(exported, (std::vector<const Query*>{&w.session().list(MainTab::WorkSheets).query(),
                                                   &w.session().list(MainTab::Customers).query()}));

    Beall().excelbe = false;
    w.action(QStringLiteral("aExcelbe"))->trigger();
    EXPECT_EQ(m_dialogs.lastCall().text, QStringLiteral("Nincs jogosultság a művelethez."));
    EXPECT_EQ(exported.size(), 2u);
}

TEST_F(MainWindowLists, CustomerActionsEditRefreshAndLocate) {
    Tfrm_Main& w = open();
    ScriptedWindows customers;
    Connection& c = s_db->connection();
    Query& u = w.session().list(MainTab::Customers).query();

    // aUgyfelAdatlap on the work-sheet tab edits the sheet's customer.
    const int sheetCustomer =
        w.session().list(MainTab::WorkSheets).query().value(QStringLiteral("ugyfel")).toInt();
    customers.answer(EditCustomer, sheetCustomer);
    QTest::keyClick(w.DBGrid2, Qt::Key_F6);
    ASSERT_EQ(customers.calls().size(), 1u);
    EXPECT_EQ(customers.calls()[0].args.at(0).toInt(), sheetCustomer);
    EXPECT_EQ(LastAction(), QStringLiteral("frm_Main.aUgyfelAdatlap"));

    // aUj: the new customer is in the list and current.
    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    settle();
    c.exec(QStringLiteral(
        "INSERT INTO ugyfel (ugyfel_nev, torolve, maganszemely) VALUES ('Aranyos Ödön', 'N', 'I');"));
    const int created = int(c.lastInsertId());
    customers.answer(EditCustomer, created);
    w.action(QStringLiteral("aUj"))->trigger();
    EXPECT_FALSE(customers.calls().back().args.at(0).isValid()); // nothing: a new customer
    EXPECT_EQ(u.value(QStringLiteral("ugyfel")).toInt(), created);

    // F2 and a double-click edit the current customer.
    u.moveTo(3);
    const int third = u.value(QStringLiteral("ugyfel")).toInt();
    customers.answer(EditCustomer, third);
    w.DBGrid1->setFocus();
    QTest::keyClick(w.DBGrid1, Qt::Key_F2);
    EXPECT_EQ(customers.calls().back().args.at(0).toInt(), third);
    EXPECT_EQ(u.value(QStringLiteral("ugyfel")).toInt(), third);
    const QRect second = w.DBGrid1->visualRect(w.DBGrid1->model()->index(1, 1));
    const int secondKey = ValueAt(u, 1, QStringLiteral("ugyfel")).toInt();
    customers.answer(EditCustomer, std::nullopt);
    QTest::mouseClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(customers.calls().back().args.at(0).toInt(), secondKey);
    EXPECT_EQ(customers.pendingAnswers(), 0);

    // aTorol marks the customer deleted after the question.
    u.locate(QStringLiteral("ugyfel"), created);
    m_dialogs.answer(DialogAnswer::Yes);
    w.action(QStringLiteral("aTorol"))->trigger();
    EXPECT_EQ(m_dialogs.calls().back().text, QStringLiteral("Valóban töröljem a sort?"));
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT torolve FROM ugyfel WHERE ugyfel = %1;").arg(created)), "I");
    EXPECT_EQ(RowOf(u, "ugyfel", created), -1);
}

TEST_F(MainWindowLists, DeviceDeletionAndRefreshKeepingThePlace) {
    Tfrm_Main& w = open();
    Query& mlap = w.session().list(MainTab::WorkSheets).query();

    // aFrissit recalculates the current work sheet and stays on it.
    mlap.moveTo(2);
    const int sheet = mlap.value(QStringLiteral("munkalap")).toInt();
    const double total = mlap.value(QStringLiteral("ar_ossz")).toDouble();
    s_db->connection().exec(
        QStringLiteral("UPDATE munkalap SET ar_ossz = 1 WHERE munkalap = %1;").arg(sheet));
    QTest::keyClick(w.Edit1, Qt::Key_F5);
    EXPECT_EQ(mlap.value(QStringLiteral("munkalap")).toInt(), sheet);
    EXPECT_DOUBLE_EQ(mlap.value(QStringLiteral("ar_ossz")).toDouble(), total);

    // The device panel's delete, then the device tab's.
    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    settle();
    const int owner = QueryInt(QStringLiteral("SELECT MAX(k.ugyfel) FROM vw_keszulek k JOIN vw_ugyfel u ON "
                                              "u.ugyfel = k.ugyfel WHERE k.ugyfel > 0;"));
    w.session().list(MainTab::Customers).query().locate(QStringLiteral("ugyfel"), owner);
    Query& devices = w.session().detail(MainDetail::CustomerDevices).query();
    ASSERT_GT(devices.recordCount(), 0);
    const int panelDevice = devices.value(QStringLiteral("keszulek")).toInt();
    const int before = devices.recordCount();
    m_dialogs.answer(DialogAnswer::No).answer(DialogAnswer::Yes);
    w.action(QStringLiteral("aTorolKeszulek"))->trigger();
    EXPECT_EQ(devices.recordCount(), before);
    w.action(QStringLiteral("aTorolKeszulek"))->trigger();
    EXPECT_EQ(devices.recordCount(), before - 1);
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT torolve FROM keszulek WHERE keszulek = %1;").arg(panelDevice)),
              "I");

    w.TabControl1->setCurrentIndex(int(MainTab::Devices));
    settle();
    Query& k = w.session().list(MainTab::Devices).query();
    k.moveTo(4);
    const int device = k.value(QStringLiteral("keszulek")).toInt();
    // Ctrl+Del runs the action with the focus in the search box too.
    m_dialogs.answer(DialogAnswer::Yes);
    w.Edit1->setFocus();
    QTest::keyClick(w.Edit1, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT torolve FROM keszulek WHERE keszulek = %1;").arg(device)), "I");
    EXPECT_EQ(RowOf(k, "keszulek", device), -1);
    EXPECT_EQ(k.row(), 4) << "the list stays where it was";
}

TEST_F(MainWindowLists, WorkSheetActionsOnTheCurrentSheet) {
    Tfrm_Main& w = open();
    Query& mlap = w.session().list(MainTab::WorkSheets).query();
    w.TabControl2->setCurrentIndex(1); // "Összes": the sheet stays listed whatever its status
    settle();
    const int sheet =
        QueryInt(QStringLiteral("SELECT MIN(munkalap) FROM munkalap WHERE statusz = 2 AND storno = 'N' "
                                "AND fizetve = 'N';"));
    ASSERT_TRUE(mlap.locate(QStringLiteral("munkalap"), sheet));

    // Shift+F3 "Készen van!", with the focus in the search box: ready at once.
    w.Edit1->setFocus();
    QTest::keyClick(w.Edit1, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT statusz FROM munkalap WHERE munkalap = %1;").arg(sheet)), 3);
    EXPECT_EQ(mlap.value(QStringLiteral("munkalap")).toInt(), sheet);
    EXPECT_EQ(mlap.value(QStringLiteral("statusz")).toInt(), 3) << "the list was read again";

    // "Kifizet", then "Töröl": paid and cancelled, still listed.
    m_dialogs.answer(DialogAnswer::Yes);
    w.action(QStringLiteral("aKifizet"))->trigger();
    w.action(QStringLiteral("aTorol"))->trigger();
    EXPECT_TRUE(m_dialogs.texts().last().startsWith(QStringLiteral("Valóban töröljem a sort?")));
    EXPECT_TRUE(m_dialogs.texts()
                    .at(m_dialogs.texts().size() - 2)
                    .startsWith(QStringLiteral("Munkalap kifizetés (")));
    EXPECT_EQ(mlap.value(QStringLiteral("munkalap")).toInt(), sheet);
    EXPECT_EQ(mlap.value(QStringLiteral("fizetve")).toString(), "I");
    EXPECT_EQ(mlap.value(QStringLiteral("storno")).toString(), "I");
    // F3 on the cancelled sheet: refused.
    QTest::keyClick(w.Edit1, Qt::Key_F3);
    EXPECT_EQ(m_dialogs.texts().last(), QStringLiteral("Sztornó munkalap"));
    s_db->connection().exec(QStringLiteral("UPDATE munkalap SET statusz = 2, storno = 'N', fizetve = 'N', "
                                           "dat_fizetve = NULL WHERE munkalap = %1;")
                                .arg(sheet));
}

// The master-data menu opens the lists for maintenance; the work-sheet
// types need the master-data right, the texts do not.
TEST_F(MainWindowLists, MasterDataActionsOpenTheirLists) {
    Tfrm_Main& w = open();
    ScriptedWindows windows;
    windows.answer(ChooseDictionaryText, DictionaryText{})
        .answer(ChooseWorkSheetType, ChosenRow{})
        .answer(ChooseLetterText, LetterText{})
        .answer(ChooseCatalogueItem, ChosenRow{});
    Beall().torzsszerkeszt = false;
    w.action(QStringLiteral("aMLapTipus"))->trigger();
    w.action(QStringLiteral("aTetel"))->trigger();
    EXPECT_EQ(m_dialogs.texts(), QStringList(2, QStringLiteral("Nincs jogosultság a művelethez.")));
    EXPECT_TRUE(windows.calls().empty());
    w.action(QStringLiteral("aSzotar"))->trigger();
    w.action(QStringLiteral("aTorzslevelSzoveg"))->trigger();
    Beall().torzsszerkeszt = true;
    w.action(QStringLiteral("aMLapTipus"))->trigger();
    w.action(QStringLiteral("aTetel"))->trigger();
    EXPECT_EQ(LastAction(), QStringLiteral("frm_Main.aTetel"));
    const std::vector<WindowCall>& calls = windows.calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].operation, "ChooseDictionaryText");
    EXPECT_EQ(calls[0].args, (QVariantList{QString(), false}));
    EXPECT_EQ(calls[1].operation, "ChooseLetterText");
    EXPECT_EQ(calls[1].args, (QVariantList{QVariant(), false}));
    EXPECT_EQ(calls[2].operation, "ChooseWorkSheetType");
    EXPECT_EQ(calls[2].args.mid(0, 2), (QVariantList{QVariant(), false}));
    EXPECT_EQ(calls[3].operation, "ChooseCatalogueItem");
    EXPECT_EQ(calls[3].args.mid(0, 2), (QVariantList{QVariant(), false}));
}

TEST_F(MainWindowLists, ScreenshotsOfEveryTab) {
    Tfrm_Main& w = open(1);
    shoot(QStringLiteral("worksheets-type1"));
    w.action(QStringLiteral("aMLapDolgozo"))->trigger();
    shoot(QStringLiteral("worksheets-employees"));
    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    settle();
    shoot(QStringLiteral("customers"));
    w.TabControl1->setCurrentIndex(int(MainTab::Planner));
    settle();
    shoot(QStringLiteral("planner"));
    w.TabControl1->setCurrentIndex(int(MainTab::Devices));
    settle();
    shoot(QStringLiteral("devices"));
}

} // namespace
} // namespace kml
