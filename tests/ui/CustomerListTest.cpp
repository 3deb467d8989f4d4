// The list-window and editing-window patterns, tested once through the real
// customer windows (offscreen, over the demo shop plus five customers of the
// test's own): search, locate, title-click sorting and the
// sort colour, the keyboard between grid and search box, the wheel, the
// counter, the chooser's results, and the editor's focus colour, Enter,
// first capital, postcode lookup and checks. Screenshots of both windows go
// to the build folder.
#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/DatasetModel.h"
#include "components/Query.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "gui/ModalDriver.h"
#include "gui/WindowTesting.h"
#include "patterns/gui/EditWindow.h"
#include "patterns/gui/ListKeys.h"
#include "records/CustomerWindows.h"
#include "records/Customers.h"
#include "records/gui/Tfrm_Szerkeszt.h"
#include "records/gui/Tfrm_TorzsUgyfel.h"
#include "shell/AppError.h"
#include "shell/gui/Windows.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace kml;
using kml::test::TestDatabase;

namespace {

const QColor kSortColor(0xFF, 0xFF, 0xB9);

using kml::test::Activate;
using kml::test::WhenModal;

// A double-click as a user makes it: the press selects the row the second
// click lands on.
void DoubleClickRow(QTableView* grid, int row) {
    const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

void SaveScreenshot(QWidget* window, const QString& name) {
    const QString path = kml::test::BuildPath(QStringLiteral("screenshots/") + name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
}

void SendWheel(QWidget* target, int delta) {
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

class CustomerWindowsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallWindows();
        db = new TestDatabase(QStringLiteral("customerui"), TestDatabase::Contents::Demo);
        ExecSql(QStringLiteral("INSERT IGNORE INTO irsz (irsz, varos) VALUES ('1011', 'Budapest');"));
        ExecSql(QStringLiteral("INSERT INTO ugyfel (ugyfel_nev, kapcsolat, telefon, emil, cim_irsz, "
                               "cim_varos, cim_cim, maganszemely) "
                               "VALUES ('Kovács Béla', 'UI-proba', '06-30-111', 'bela@pelda.hu', '6720', "
                               "'Szeged', 'Fő u. 1.', 'I'), "
                               "('Kovalik Anna', 'UI-proba', '06-20-222', NULL, NULL, 'Vác', NULL, 'I'), "
                               "('Nagy Ödön', 'UI-proba', '06-70-333', NULL, NULL, NULL, NULL, 'I'), "
                               "('Ábrahám Ágnes', 'UI-proba', '06-1-444', NULL, NULL, NULL, NULL, 'I'), "
                               "('Zsoldos Zita', 'UI-proba', '06-30-555', NULL, NULL, NULL, NULL, 'I');"));
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    void SetUp() override { Beall().alapVaros = QStringLiteral("Szeged"); }

    static int CustomerId(const QString& name) {
        return QueryInt(QStringLiteral("SELECT ugyfel FROM ugyfel WHERE ugyfel_nev = '%1';").arg(name));
    }
    static int LiveCustomers() {
        return QueryInt(QStringLiteral("SELECT COUNT(*) FROM vw_ugyfel WHERE ugyfel > 0;"));
    }
    static QString CurrentName(const ListWindow& w) {
        return w.currentValue(QStringLiteral("ugyfel_nev")).toString();
    }

    static inline TestDatabase* db = nullptr;
};

TEST_F(CustomerWindowsTest, ListSearchesTheCustomersWithTheirFixedCondition) {
    Tfrm_TorzsUgyfel w;
    w.openAt(std::nullopt);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.windowTitle(), "Ügyfelek");
    EXPECT_EQ(w.counter()->text(), QStringLiteral("%1: 1").arg(LiveCustomers()));
    EXPECT_EQ(w.model()->headerData(3, Qt::Horizontal).toString(), "Cím");
    // The name column is the sort column, painted light yellow.
    EXPECT_EQ(w.model()->index(1, 0).data(Qt::BackgroundRole).value<QColor>(), kSortColor);
    EXPECT_FALSE(w.model()->index(1, 1).data(Qt::BackgroundRole).isValid());
    w.query().moveTo(3);
    SaveScreenshot(&w, QStringLiteral("customer_list.png"));

    w.searchBox()->setFocus();
    QTest::keyClicks(w.searchBox(), QStringLiteral("kov"));
    EXPECT_EQ(w.query().sql().at(1),
              "WHERE (ugyfel > 0) AND ((ugyfel_nev LIKE '%kov%') OR (kapcsolat LIKE '%kov%') OR "
              "(irszvaroscim LIKE '%kov%') OR (emil LIKE '%kov%') OR (telefon LIKE '%kov%'))");
    EXPECT_EQ(w.query().recordCount(),
              QueryInt(QStringLiteral("SELECT COUNT(*) FROM vw_ugyfel WHERE ugyfel > 0 AND "
                                      "CONCAT_WS('|', ugyfel_nev, kapcsolat, irszvaroscim, emil, telefon) "
                                      "LIKE '%kov%';")));
    EXPECT_TRUE(CurrentName(w).startsWith("kov", Qt::CaseInsensitive));
    w.reject();
}

// The pattern itself, on the test's own five customers (a list with a fixed
// condition of its own, as the device list limited to one customer has).
TEST_F(CustomerWindowsTest, ListSearchesLocatesSortsAndCounts) {
    Tfrm_TorzsUgyfel w;
    w.setBaseCondition(QStringLiteral("(ugyfel > 0) AND (kapcsolat = 'UI-proba')"));
    w.openAt(CustomerId(QStringLiteral("Nagy Ödön")));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTableView* grid = w.grid();
    QLineEdit* search = w.searchBox();

    // Opened on the customer to select first, sorted by name.
    EXPECT_EQ(CurrentName(w), "Nagy Ödön");
    EXPECT_EQ(w.counter()->text(), "5: 4");
    EXPECT_EQ(grid->currentIndex().row(), 3);
    EXPECT_FALSE(w.listAction(QStringLiteral("aElfogad"))->isVisible());

    // Every change of the search text filters; the sort column is located.
    search->setFocus();
    QTest::keyClicks(search, QStringLiteral("kov"));
    EXPECT_EQ(w.query().sql().at(1),
              "WHERE (ugyfel > 0) AND (kapcsolat = 'UI-proba') AND ((ugyfel_nev LIKE '%kov%') OR "
              "(kapcsolat LIKE '%kov%') OR (irszvaroscim LIKE '%kov%') OR (emil LIKE '%kov%') OR "
              "(telefon LIKE '%kov%'))");
    EXPECT_EQ(w.query().recordCount(), 2);
    EXPECT_EQ(CurrentName(w), "Kovács Béla");
    EXPECT_EQ(w.counter()->text(), "2: 1");

    search->setText(QStringLiteral("n"));
    EXPECT_EQ(w.query().recordCount(), 3); // Ábrahám Ágnes, Kovalik Anna, Nagy Ödön
    EXPECT_EQ(CurrentName(w), "Nagy Ödön");
    EXPECT_EQ(grid->currentIndex().row(), 2);
    EXPECT_EQ(w.counter()->text(), "3: 3");

    // No name begins with a phone number: the locate fails and is ignored.
    search->setText(QStringLiteral("06-3"));
    EXPECT_EQ(w.query().recordCount(), 2);
    EXPECT_EQ(CurrentName(w), "Kovács Béla");

    search->clear();
    EXPECT_EQ(w.query().sql().at(1), "WHERE (ugyfel > 0) AND (kapcsolat = 'UI-proba')");
    EXPECT_EQ(w.query().recordCount(), 5);

    // A title click sorts by that column, paints it and focuses the search box.
    grid->setFocus();
    QHeaderView* header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    EXPECT_EQ(w.query().sql().at(2), "ORDER BY telefon;");
    EXPECT_EQ(w.sortField(), "telefon");
    EXPECT_EQ(CurrentName(w), "Ábrahám Ágnes"); // 06-1-444
    EXPECT_EQ(w.model()->index(0, 1).data(Qt::BackgroundRole).value<QColor>(), kSortColor);
    EXPECT_FALSE(w.model()->index(0, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_TRUE(search->hasFocus());
    // ... and the search now locates in the phone numbers.
    QTest::keyClicks(search, QStringLiteral("06-7"));
    EXPECT_EQ(CurrentName(w), "Nagy Ödön");
    w.reject();
}

TEST_F(CustomerWindowsTest, KeyboardAndWheelMoveBetweenGridAndSearchBox) {
    Tfrm_TorzsUgyfel w;
    w.openAt(std::nullopt);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTableView* grid = w.grid();
    QLineEdit* search = w.searchBox();

    // An accented capital typed in the grid starts a new search in lower case.
    grid->setFocus();
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_Aacute, Qt::ShiftModifier, QStringLiteral("Á"));
    QApplication::sendEvent(grid, &typed);
    EXPECT_TRUE(search->hasFocus());
    EXPECT_EQ(search->text(), "á");
    EXPECT_EQ(search->cursorPosition(), 1);
    EXPECT_TRUE(w.query().sql().at(1).contains("LIKE '%á%'"));

    // Arrow and page keys in the search box hand the focus back.
    for (int key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp}) {
        search->setFocus();
        QTest::keyClick(search, Qt::Key(key));
        EXPECT_TRUE(grid->hasFocus()) << key;
    }
    // Digits too start a search; Ctrl+letter does not.
    QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_0);
    EXPECT_TRUE(search->hasFocus());
    EXPECT_EQ(search->text(), "0");

    // The wheel: backward is Down, forward is Up, for the focused grid.
    search->clear();
    grid->setFocus();
    ASSERT_EQ(w.query().row(), 0);
    SendWheel(grid->viewport(), -120);
    EXPECT_EQ(w.query().row(), 1);
    EXPECT_EQ(w.counter()->text(), QStringLiteral("%1: 2").arg(LiveCustomers()));
    SendWheel(grid->viewport(), 120);
    EXPECT_EQ(w.query().row(), 0);

    // A list whose Enter hands over from the search box (the device types):
    // Enter there focuses the grid even in chooser mode; in the grid it accepts.
    w.setChooser(true);
    w.keys()->setEnterHandsOver(true);
    search->setFocus();
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_TRUE(w.isVisible());
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(LastAction(), "frm_TorzsUgyfel.aElfogad");
}

TEST_F(CustomerWindowsTest, ActionsRunTheOperationsAndReread) {
    const int extra = [] {
        ExecSql(QStringLiteral("INSERT INTO ugyfel (ugyfel_nev) VALUES ('Törlendő Tamás');"));
        return CustomerId(QStringLiteral("Törlendő Tamás"));
    }();
    ScriptedWindows editors;
    ScriptedDialogs dialogs;
    Tfrm_TorzsUgyfel w;
    w.openAt(std::nullopt);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTableView* grid = w.grid();
    grid->setFocus();

    QStringList menu;
    for (QAction* action : grid->actions())
        menu << action->objectName();
    EXPECT_EQ(menu, (QStringList{"aFrissit", "aUj", "aSzerkeszt", "aTorol", "aElfogad", "aBezar"}));

    // "Új sor" (Insert): the list moves to the customer the editor saved.
    editors.answer(EditCustomer, extra);
    QTest::keyClick(grid, Qt::Key_Insert);
    EXPECT_FALSE(editors.calls().back().args.at(0).isValid()); // nothing: a new customer
    EXPECT_EQ(int(*w.currentKey()), extra);
    EXPECT_EQ(LastAction(), "frm_TorzsUgyfel.aUj");

    // "Szerkeszt" (F2) edits the current row; cancelled, nothing moves.
    editors.answer(EditCustomer, std::nullopt);
    QTest::keyClick(grid, Qt::Key_F2);
    EXPECT_EQ(editors.calls().back().args.at(0).toInt(), extra);
    EXPECT_EQ(int(*w.currentKey()), extra);

    // "Sor törlése" (Ctrl+Del): asked, marked deleted, gone from the list.
    const int rows = w.query().recordCount();
    dialogs.answer(DialogAnswer::Yes);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(dialogs.lastCall().text, "Valóban töröljem a sort?");
    EXPECT_EQ(w.query().recordCount(), rows - 1);
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT torolve FROM ugyfel WHERE ugyfel = %1;").arg(extra)), "I");
    EXPECT_EQ(LastAction(), "frm_TorzsUgyfel.aTorol");
    EXPECT_EQ(editors.pendingAnswers(), 0);
    w.reject();
}

TEST_F(CustomerWindowsTest, SearchStartKeys) {
    struct Case {
        QString typed;
        QString expected;
    };
    const Case cases[] = {
        {"a", "a"}, {"Z", "z"}, {"7", "7"}, {"Ő", "ő"}, {"ű", "ű"}, {"É", "é"},
        {" ", ""},  {"-", ""},  {"ä", ""},  {"ab", ""}, {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SearchStartText(c.typed), c.expected) << c.typed.toStdString();
}

TEST_F(CustomerWindowsTest, ChooserReturnsMinusOneOnEscAndTheRowOnDoubleClick) {
    // The real list window, with an editor that only records that it was asked.
    ScriptedWindows windows;
    windows.script(EditCustomer);

    WhenModal<Tfrm_TorzsUgyfel>([](Tfrm_TorzsUgyfel* w) {
        EXPECT_EQ(w->windowTitle(), "Ügyfél választás");
        EXPECT_TRUE(w->listAction(QStringLiteral("aElfogad"))->isVisible());
        ASSERT_TRUE(Activate(w)) << "keys reach the active window only";
        QTest::keyClick(w->grid(), Qt::Key_Escape);
    });
    ChosenRow chosen = OpenCustomerList(std::nullopt, true, CustomerChooserCaption);
    EXPECT_EQ(chosen.key, std::nullopt);
    EXPECT_EQ(chosen.name, "");

    int clicked = -1;
    WhenModal<Tfrm_TorzsUgyfel>([&clicked](Tfrm_TorzsUgyfel* w) {
        w->query().moveTo(2);
        clicked = int(*w->currentKey());
        w->query().first();
        DoubleClickRow(w->grid(), 2);
    });
    chosen = OpenCustomerList(std::nullopt, true, CustomerChooserCaption);
    EXPECT_EQ(chosen.key, clicked);
    EXPECT_EQ(chosen.name,
              QueryStr(QStringLiteral("SELECT ugyfel_nev FROM ugyfel WHERE ugyfel = %1;").arg(clicked)));
    EXPECT_TRUE(windows.calls().empty());

    // Enter accepts the row the search located.
    WhenModal<Tfrm_TorzsUgyfel>([](Tfrm_TorzsUgyfel* w) {
        w->searchBox()->setText(QStringLiteral("zsoldos"));
        ASSERT_TRUE(Activate(w));
        QTest::keyClick(w->searchBox(), Qt::Key_Return);
    });
    EXPECT_EQ(ChooseCustomer(std::nullopt, true), CustomerId(QStringLiteral("Zsoldos Zita")));

    // Outside chooser mode a double-click edits and Enter does not close.
    WhenModal<Tfrm_TorzsUgyfel>([&clicked, &windows](Tfrm_TorzsUgyfel* w) {
        QTableView* grid = w->grid();
        QTest::keyClick(grid, Qt::Key_Return);
        EXPECT_TRUE(w->isVisible());
        w->query().moveTo(1);
        clicked = int(*w->currentKey());
        w->query().first();
        windows.answer(EditCustomer, std::nullopt);
        DoubleClickRow(grid, 1);
        w->reject();
    });
    EXPECT_EQ(OpenCustomerList(std::nullopt, false, QStringLiteral("Ügyfelek")).key, std::nullopt);
    EXPECT_EQ(windows.calls("EditCustomer").at(0).args, QVariantList{clicked});
}

TEST_F(CustomerWindowsTest, EditorPaintsFocusMovesOnEnterAndChecksTheTaxNumber) {
    ScriptedDialogs dialogs;
    Tfrm_Szerkeszt w;
    w.startNew();
    SetNewCustomerDefaults(w.table(), Beall().alapVaros, QDate::currentDate());
    w.showValues();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* name = w.findChild<QLineEdit*>(QStringLiteral("DBEdit2"));
    auto* discount = w.findChild<QLineEdit*>(QStringLiteral("DBEdit3"));
    auto* postcode = w.findChild<QLineEdit*>(QStringLiteral("DBEdit8"));
    auto* town = w.findChild<QLineEdit*>(QStringLiteral("DBEdit9"));
    auto* isPrivate = w.findChild<QCheckBox*>(QStringLiteral("DBCheckBox1"));
    auto* taxNumber = w.findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
    auto* remarks = w.findChild<QPlainTextEdit*>(QStringLiteral("DBMemo2"));
    auto* ok = w.findChild<QPushButton*>(QStringLiteral("Button1"));
    ASSERT_TRUE(name && discount && postcode && town && isPrivate && taxNumber && remarks && ok);

    EXPECT_EQ(w.windowTitle(), "Szerkesztés");
    EXPECT_EQ(town->text(), "Szeged");
    EXPECT_TRUE(isPrivate->isChecked());
    EXPECT_EQ(name->maxLength(), 75);

    // The focused field is light blue; a first small letter becomes a capital.
    EXPECT_TRUE(name->hasFocus());
    EXPECT_EQ(name->palette().color(QPalette::Base), kFocusColor);
    QTest::keyClicks(name, QStringLiteral("kiss kft."));
    EXPECT_EQ(name->text(), "Kiss kft.");
    EXPECT_EQ(w.table().value(QStringLiteral("ugyfel_nev")).toString(), "Kiss kft.");

    // Enter moves on and takes the colour along.
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_TRUE(discount->hasFocus());
    EXPECT_EQ(discount->palette().color(QPalette::Base), kFocusColor);
    EXPECT_NE(name->palette().color(QPalette::Base), kFocusColor);
    QTest::keyClicks(discount, QStringLiteral("12,5"));
    EXPECT_DOUBLE_EQ(w.table().value(QStringLiteral("kedvezmeny")).toDouble(), 12.5);

    // Leaving a known postcode replaces the default town.
    postcode->setFocus();
    QTest::keyClicks(postcode, QStringLiteral("1011"));
    QTest::keyClick(postcode, Qt::Key_Return);
    EXPECT_TRUE(town->hasFocus());
    EXPECT_EQ(town->text(), "Budapest");

    // Enter stays a line break in the remarks.
    remarks->setFocus();
    QTest::keyClicks(remarks, QStringLiteral("elso"));
    QTest::keyClick(remarks, Qt::Key_Return);
    QTest::keyClicks(remarks, QStringLiteral("masodik"));
    EXPECT_TRUE(remarks->hasFocus());
    EXPECT_EQ(remarks->toPlainText(), "elso\nmasodik");

    // Enter on the check box moves to the tax number, which takes the mask.
    isPrivate->setFocus();
    QTest::keyClick(isPrivate, Qt::Key_Return);
    EXPECT_TRUE(taxNumber->hasFocus());
    QTest::keyClicks(taxNumber, QStringLiteral("12345678112"));
    EXPECT_EQ(taxNumber->text(), "12345678-1-12");

    SaveScreenshot(&w, QStringLiteral("customer_editor.png"));

    // A tax number on a private person: the message, and the window stays.
    QTest::mouseClick(ok, Qt::LeftButton);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.lastCall().text, "Ha adószám meg van adva, akkor az ügyfél nem magánszemély.");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(taxNumber->text(), "12345678-1-12");

    QTest::mouseClick(isPrivate, Qt::LeftButton);
    EXPECT_FALSE(isPrivate->isChecked());
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
    const int id = int(w.savedKey().value_or(0));
    ASSERT_GT(id, 0);
    EXPECT_EQ(QueryStr(QStringLiteral(
                           "SELECT CONCAT_WS('|', ugyfel_nev, cim_irsz, cim_varos, adoszam, maganszemely, "
                           "kedvezmeny, megjegyzes) FROM ugyfel WHERE ugyfel = %1;")
                           .arg(id)),
              "Kiss kft.|1011|Budapest|12345678-1-12|N|12.5|elso\nmasodik");
}

TEST_F(CustomerWindowsTest, EditorKeepsATypedTownAndCancelChangesNothing) {
    const int id = CustomerId(QStringLiteral("Kovalik Anna"));
    Tfrm_Szerkeszt w;
    ASSERT_TRUE(w.startEdit(id));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* postcode = w.findChild<QLineEdit*>(QStringLiteral("DBEdit8"));
    auto* town = w.findChild<QLineEdit*>(QStringLiteral("DBEdit9"));
    postcode->setFocus();
    QTest::keyClicks(postcode, QStringLiteral("1011"));
    QTest::keyClick(postcode, Qt::Key_Tab);
    EXPECT_EQ(town->text(), "Vác");
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::Yes); // the changes given up when asked
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT IFNULL(cim_irsz, '-') FROM ugyfel WHERE ugyfel = %1;").arg(id)),
              "-");
}

TEST_F(CustomerWindowsTest, CtrlEnterAcceptsWhereTheEditorAsksForIt) {
    const int id = CustomerId(QStringLiteral("Zsoldos Zita"));
    Tfrm_Szerkeszt w;
    ASSERT_TRUE(w.startEdit(id));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* remarks = w.findChild<QPlainTextEdit*>(QStringLiteral("DBMemo2"));
    remarks->setFocus();
    QTest::keyClicks(remarks, QStringLiteral("hivjuk"));

    // The customer editor does not: Ctrl+Enter is nothing special there.
    QTest::keyClick(remarks, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(w.isVisible());

    w.setCtrlEnterAccepts(true);
    QTest::keyClick(remarks, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(int(w.savedKey().value_or(0)), id);
    EXPECT_TRUE(QueryStr(QStringLiteral("SELECT megjegyzes FROM ugyfel WHERE ugyfel = %1;").arg(id))
                    .startsWith("hivjuk"));
}

// Another workstation deletes or edits the customer while the editor is open:
// OK says so, keeps the window open with what was typed, and writes nothing.
TEST_F(CustomerWindowsTest, EditorReportsARowChangedElsewhereAndKeepsTheInput) {
    ExecSql(QStringLiteral("INSERT INTO ugyfel (ugyfel_nev, maganszemely) VALUES ('Vitás Vilma', 'I');"));
    const int id = CustomerId(QStringLiteral("Vitás Vilma"));
    ScriptedDialogs dialogs;
    const auto other = db->connect();
    for (const char* change : {"UPDATE ugyfel SET telefon = '06-1-999' WHERE ugyfel = %1;",
                               "DELETE FROM ugyfel WHERE ugyfel = %1;"}) {
        Tfrm_Szerkeszt w;
        ASSERT_TRUE(w.startEdit(id));
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        auto* phone = w.findChild<QLineEdit*>(QStringLiteral("DBEdit7"));
        phone->setFocus();
        phone->selectAll();
        QTest::keyClicks(phone, QStringLiteral("06-20-123"));
        other->exec(QString::fromLatin1(change).arg(id));
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(phone->text(), "06-20-123");
        ASSERT_FALSE(dialogs.calls().empty());
        EXPECT_TRUE(
            dialogs.lastCall().text.startsWith(QStringLiteral("A sort közben egy másik munkaállomáson")))
            << dialogs.lastCall().text.toStdString();
        EXPECT_NE(
            QueryStr(QStringLiteral("SELECT IFNULL(telefon, '-') FROM ugyfel WHERE ugyfel = %1;").arg(id)),
            "06-20-123");
        w.reject();
    }
}

} // namespace
