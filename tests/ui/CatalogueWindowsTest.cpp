// The items catalogue's windows for real, offscreen, on the demo shop: the
// chooser's results and guards, the export, the editor's page in every
// program type (with a screenshot each), prices at full precision, the
// discount buttons and the gross-up once per opening, and the automatic
// code a new item gets when another workstation took the proposed one.
#include "records/CatalogueWindows.h"

#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "exchange/DatasetExport.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "gui/ModalDriver.h"
#include "records/gui/Tfrm_TorzsTetel.h"
#include "records/gui/Tfrm_TorzsTetel_Szerkeszt.h"
#include "shell/gui/Windows.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;
using test::WhenModal;

// Typing as a user does, accented letters included (QTest::keyClicks takes
// ASCII only).
void Keys(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void Shoot(QWidget* window, const QString& name) {
    QTest::qWait(20);
    const QString path = test::BuildPath(QStringLiteral("screenshots/") + name + QStringLiteral(".png"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
}

QLineEdit* Edit(QWidget* w, const char* field) {
    return w->findChild<QLineEdit*>(QLatin1String(field));
}

void Type(QWidget* w, const char* field, const QString& text) {
    QLineEdit* edit = Edit(w, field);
    edit->setFocus();
    edit->selectAll();
    Keys(edit, text);
}

class CatalogueWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallWindows();
        s_db = new TestDatabase(QStringLiteral("cataloguewindows"), TestDatabase::Contents::Demo);
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        Beall().torzsszerkeszt = true;
        Beall().prgtipus = 2;
        Beall().afakulcs = 27;
    }
    void TearDown() override { Beall() = TBeall{}; }
    static QString Row(int item, const char* columns) {
        return QueryStr(QStringLiteral("SELECT CONCAT_WS('|', %1) FROM tetel WHERE tetel = %2;")
                            .arg(QLatin1String(columns))
                            .arg(item));
    }
    static TestDatabase* s_db;
    ScriptedDialogs m_dialogs;
};

TestDatabase* CatalogueWindows::s_db = nullptr;

TEST_F(CatalogueWindows, ChooserReturnsTheItemAndGuardsTheEmptyList) {
    WhenModal<Tfrm_TorzsTetel>([](Tfrm_TorzsTetel* w) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        EXPECT_EQ(w->windowTitle(), "Tételek");
        EXPECT_EQ(w->heading()->text(), "Rendelhető tételek  ");
        EXPECT_EQ(*w->currentKey(), 3) << "opened on the item to select first";
        EXPECT_EQ(w->memoBox()->toPlainText(), "Beltéri és kültéri egység, szűrőmosás, nyomásmérés");
        EXPECT_EQ(w->model()->index(1, 3).data().toString(), "240") << "prices in the money format";
        Shoot(w, QStringLiteral("catalogue_list"));
        QTest::keyClick(w->grid(), Qt::Key_Return);
    });
    ChosenRow chosen = ChooseCatalogueItem(3, true);
    EXPECT_EQ(chosen.key, 3);
    EXPECT_EQ(chosen.name, "Klíma karbantartás, tisztítás, fertőtlenítés");

    // A search that finds nothing: Enter adds no line with item 0.
    WhenModal<Tfrm_TorzsTetel>([this](Tfrm_TorzsTetel* w) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        w->searchBox()->setText(QStringLiteral("nincs ilyen tétel"));
        QTest::keyClick(w->grid(), Qt::Key_Return);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(m_dialogs.lastCall().text, "Nincs kiválasztott sor.");
        QTest::keyClick(w->grid(), Qt::Key_Escape);
    });
    chosen = ChooseCatalogueItem(std::nullopt, true);
    EXPECT_EQ(chosen.key, std::nullopt);
    EXPECT_EQ(chosen.name, "");

    // The line editor's chooser for a user without the master-data right.
    Beall().torzsszerkeszt = false;
    WhenModal<Tfrm_TorzsTetel>([](Tfrm_TorzsTetel* w) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        for (const char* action : {"aUj", "aSzerkeszt", "aTorol"})
            EXPECT_FALSE(w->listAction(QLatin1String(action))->isVisible()) << action;
        EXPECT_TRUE(w->listAction(QStringLiteral("aExport"))->isVisible());
        w->reject();
    });
    ChooseCatalogueItem(std::nullopt, true);
}

TEST_F(CatalogueWindows, ExportHandsOverEveryLiveItem) {
    ScriptedWindows windows;
    int rows = -1;
    windows.act(ExportDataset, [&rows](Query& data, const QString& fileName) {
        EXPECT_EQ(fileName, "");
        EXPECT_EQ(data.sql().join(QLatin1Char(' ')), "SELECT * FROM vw_tetelexp ORDER BY 1;");
        rows = data.recordCount();
    });
    Tfrm_TorzsTetel w;
    w.openAt(std::nullopt);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(w.grid(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(rows,
              QueryInt(QStringLiteral("SELECT COUNT(*) FROM tetel WHERE torolve = 'N' AND tetel > 0;")));
    w.reject();
}

TEST_F(CatalogueWindows, EditorShowsThePageOfTheProgramType) {
    const struct {
        int programType;
        const char* page;
        bool listPrices, unit;
    } cases[] = {{1, "Klíma szerviz tétel", false, true},   {2, "Autószerelő tétel", true, true},
                 {3, "Grafika stúdió tétel", false, false}, {4, "Gázszerelő tétel", false, false},
                 {5, "Ügyfélszolgálat", false, false},      {0, "Tétel", false, false}};
    for (const auto& c : cases) {
        Tfrm_TorzsTetel_Szerkeszt w(c.programType);
        ASSERT_TRUE(w.startEdit(5));
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        auto* pages = w.findChild<QTabWidget*>();
        ASSERT_EQ(pages->count(), 1);
        EXPECT_EQ(pages->tabText(0), QString::fromUtf8(c.page));
        for (const char* field : {"ar_teljes", "kedv_kap", "kedv_ad", "egyeb"})
            EXPECT_EQ(Edit(&w, field) != nullptr, c.listPrices) << field << " " << c.programType;
        EXPECT_EQ(w.findChild<QPushButton*>(QStringLiteral("btnBrutto")) != nullptr, c.listPrices);
        EXPECT_EQ(Edit(&w, "mert") != nullptr, c.unit) << c.programType;
        EXPECT_TRUE(Edit(&w, "tetel_kod")->hasFocus());
        EXPECT_EQ(Edit(&w, "tetel_kod")->maxLength(), 15);
        Shoot(&w, QStringLiteral("catalogue_editor_type%1").arg(c.programType));
        w.reject();
    }
}

// Prices keep every decimal typed ("," or "."); the buttons compute from the
// list price; "Bruttósítás" adds the tax once per opening.
TEST_F(CatalogueWindows, PricesDiscountsAndGrossUp) {
    ExecSql(QStringLiteral("INSERT INTO tetel (tetel_kod, tetel_nev, ar_besz, ar_elad, ar_teljes) "
                           "VALUES ('T-1', 'Tört ár', 1234.5678, 2000, 1000);"));
    const int item = QueryInt(QStringLiteral("SELECT tetel FROM tetel WHERE tetel_kod = 'T-1';"));
    WhenModal<Tfrm_TorzsTetel_Szerkeszt>([this](Tfrm_TorzsTetel_Szerkeszt* w) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        EXPECT_EQ(Edit(w, "ar_besz")->text(), "1234,5678") << "full precision, not the money format";
        Type(w, "kedv_kap", QStringLiteral("150"));
        w->findChild<QPushButton*>(QStringLiteral("kedv_kapButton"))->click();
        EXPECT_EQ(m_dialogs.lastCall().text, "Kapott kedv%: az érték 0 és 100 között lehet.");
        EXPECT_EQ(Edit(w, "ar_besz")->text(), "1234,5678");
        Type(w, "kedv_kap", QStringLiteral("12.5"));
        w->findChild<QPushButton*>(QStringLiteral("kedv_kapButton"))->click();
        EXPECT_EQ(Edit(w, "ar_besz")->text(), "875");
        EXPECT_TRUE(Edit(w, "ar_besz")->hasFocus());
        Type(w, "kedv_ad", QStringLiteral("2,5"));
        w->findChild<QPushButton*>(QStringLiteral("kedv_adButton"))->click();
        EXPECT_EQ(Edit(w, "ar_elad")->text(), "975");
        EXPECT_TRUE(Edit(w, "ar_elad")->hasFocus());

        auto* gross = w->findChild<QPushButton*>(QStringLiteral("btnBrutto"));
        gross->click();
        EXPECT_EQ(Edit(w, "ar_teljes")->text(), "1270");
        EXPECT_EQ(Edit(w, "ar_besz")->text(), "1111"); // 1111.25
        EXPECT_EQ(Edit(w, "ar_elad")->text(), "1238"); // 1238.25
        EXPECT_FALSE(gross->isEnabled()) << "a second press would add the tax again";
        EXPECT_TRUE(w->findChild<QPushButton*>(QStringLiteral("Button1"))->hasFocus());
        Type(w, "ar_elad", QStringLiteral("1 238,75"));
        QTest::keyClick(Edit(w, "ar_elad"), Qt::Key_Return, Qt::ControlModifier);
    });
    EXPECT_EQ(EditCatalogueItem(item), item);
    EXPECT_EQ(Row(item, "ar_teljes, ar_besz, ar_elad, kedv_kap, kedv_ad"), "1270|1111|1238.75|12.5|2.5");

    // The next opening may gross up again: the button is for this opening.
    WhenModal<Tfrm_TorzsTetel_Szerkeszt>([](Tfrm_TorzsTetel_Szerkeszt* w) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        EXPECT_TRUE(w->findChild<QPushButton*>(QStringLiteral("btnBrutto"))->isEnabled());
        w->reject();
    });
    EXPECT_EQ(EditCatalogueItem(item), std::nullopt);
}

// A new item proposes the next code; when another workstation stores an
// item with it first, this one is saved with the code after it.
TEST_F(CatalogueWindows, NewItemGetsTheCodeFreeWhenItIsStored) {
    Beall().autocikkszam = true;
    ExecSql(QStringLiteral("UPDATE beallit SET autocikkszam = 'I', autocikkszamhossz = 5;"));
    const QString next = NextItemCode();
    const auto other = s_db->connect();
    WhenModal<Tfrm_TorzsTetel_Szerkeszt>([&](Tfrm_TorzsTetel_Szerkeszt* w) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        EXPECT_EQ(Edit(w, "tetel_kod")->text(), next);
        Type(w, "tetel_nev", QStringLiteral("olajszűrő"));
        EXPECT_EQ(Edit(w, "tetel_nev")->text(), "Olajszűrő");
        w->findChild<QCheckBox*>(QStringLiteral("ezszolg"))->click();
        other->exec(QStringLiteral("INSERT INTO tetel (tetel_nev) VALUES ('máshol felvett');"));
        w->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    const int saved = int(EditCatalogueItem(std::nullopt).value_or(-1));
    EXPECT_EQ(saved, QueryInt(QStringLiteral("SELECT MAX(tetel) FROM tetel;")));
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT tetel_kod FROM tetel WHERE tetel_nev = 'máshol felvett';")),
              next);
    const QString after = QStringLiteral("%1").arg(next.toInt() + 1, 5, 10, QLatin1Char('0'));
    EXPECT_EQ(Row(saved, "tetel_kod, tetel_nev, ezszolg, torolve").toStdString(),
              (after + QStringLiteral("|Olajszűrő|I|N")).toStdString());
}

} // namespace
} // namespace kml
