// The export window and the buyer window on screen (offscreen): their
// controls and initial state, the column ticks reaching the export, a long
// export that "Megállít" stops within a second while the window refuses to
// close, and the buyer window's keys. Screenshots go to build/screenshots/.

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "exchange/DatasetExport.h"
#include "exchange/gui/ExchangeWindows.h"
#include "exchange/gui/Tfrm_Hatarolt.h"
#include "exchange/gui/Tfrm_SzlaKeszitXML.h"
#include "foundation/Folders.h"
#include "gui/ModalDriver.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kml;
using namespace kml::test;

namespace {

void SaveScreenshot(QWidget* window, const QString& name) {
    const QString path = BuildPath(QStringLiteral("screenshots/") + name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
}

QPushButton* Button(QWidget* window, const QString& text) {
    for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

class ExportWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new TestDatabase(QStringLiteral("exportui"), TestDatabase::Contents::Schema);
        InstallExchangeWindows();
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    static inline TestDatabase* db = nullptr;
    QTemporaryDir dir;
};

TEST_F(ExportWindows, ExportWindowStartsAsDesignedAndPassesTheChoicesOn) {
    Query q;
    q.setSql(
        QStringLiteral("SELECT seq AS sorszam, CONCAT('név ', seq) AS nev, 'x' AS megj FROM seq_1_to_5"));
    q.open();
    Tfrm_Hatarolt w(q, QString());
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Határolt szöveg export"));
    auto* file = w.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->text(), QDir(DocumentsFolder()).absoluteFilePath(QStringLiteral("File001.csv")));
    auto* columns = w.findChild<QListWidget*>(QStringLiteral("CheckListBox1"));
    ASSERT_EQ(columns->count(), 3);
    EXPECT_EQ(columns->item(1)->text(), QStringLiteral("nev"));

    QStringList separators, quotes;
    for (QRadioButton* r :
         w.findChild<QGroupBox*>(QStringLiteral("RadioGroup1"))->findChildren<QRadioButton*>())
        separators << r->text() + (r->isChecked() ? QStringLiteral("*") : QString());
    for (QRadioButton* r :
         w.findChild<QGroupBox*>(QStringLiteral("RadioGroup2"))->findChildren<QRadioButton*>())
        quotes << r->text() + (r->isChecked() ? QStringLiteral("*") : QString());
    EXPECT_EQ(separators, QStringList({"Pontosvessző (;)*", "Tabulátor", "Vessző (,)", "Cső (|)"}));
    EXPECT_EQ(quotes, QStringList({"Idézőjel (\")", "Aposztróf (')", "Semmi*"}));
    EXPECT_TRUE(Button(&w, QStringLiteral("Export indítás"))->isDefault());
    EXPECT_FALSE(Button(&w, QStringLiteral("Megállít"))->isEnabled());

    DelimitedOptions o = w.options();
    EXPECT_EQ(o.separator, ';');
    EXPECT_EQ(o.quote, 0);
    EXPECT_TRUE(o.memos && !o.fieldNames && o.header);
    EXPECT_EQ(o.ticked, std::vector<bool>({true, true, true}));
    SaveScreenshot(&w, QStringLiteral("export_window.png"));

    Button(&w, QStringLiteral("Egyik sem"))->click();
    columns->item(1)->setCheckState(Qt::Checked);
    w.findChild<QGroupBox*>(QStringLiteral("RadioGroup1"))->findChildren<QRadioButton*>().at(3)->click();
    w.findChild<QGroupBox*>(QStringLiteral("RadioGroup2"))->findChildren<QRadioButton*>().at(0)->click();
    w.findChild<QCheckBox*>(QStringLiteral("CheckBox3"))->click();
    o = w.options();
    EXPECT_EQ(o.separator, '|');
    EXPECT_EQ(o.quote, '"');
    EXPECT_FALSE(o.header);
    EXPECT_EQ(o.ticked, std::vector<bool>({false, true, false}));

    ScriptedDialogs dialogs;
    const QString path = dir.filePath(QStringLiteral("nevek.txt"));
    file->setText(path);
    Button(&w, QStringLiteral("Export indítás"))->click();
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(),
              QByteArray("\"n\xE9v 1\"\r\n\"n\xE9v 2\"\r\n\"n\xE9v 3\"\r\n\"n\xE9v 4\"\r\n\"n\xE9v 5\"\r\n"));
    EXPECT_EQ(dialogs.lastCall().text, path + QStringLiteral(" file kész."));
    EXPECT_TRUE(w.isVisible());
    Button(&w, QStringLiteral("Összes"))->click();
    EXPECT_EQ(w.options().ticked, std::vector<bool>({true, true, true}));
}

// A million rows take long enough to press "Megállít" in the middle.
TEST_F(ExportWindows, StopAnswersWithinASecondAndTheWindowStaysUntilTheExportEnds) {
    Query q;
    q.setSql(
        QStringLiteral("SELECT seq AS sorszam, CONCAT('Ügyfél ', seq, ' ; Győr') AS nev, seq / 7 AS ertek "
                       "FROM seq_1_to_1000000"));
    q.open();
    Tfrm_Hatarolt w(q, dir.filePath(QStringLiteral("sok.csv")));
    w.show();
    ScriptedDialogs dialogs;

    QElapsedTimer sinceStop;
    bool runningWhenPressed = false, stillOpen = false, closeDisabled = false;
    int progressWhenPressed = 0;
    QTimer::singleShot(300, &w, [&] {
        runningWhenPressed = w.isRunning();
        progressWhenPressed = w.findChild<QProgressBar*>()->value();
        closeDisabled = !Button(&w, QStringLiteral("Bezár"))->isEnabled();
        QTest::keyClick(&w, Qt::Key_Escape); // refused while running
        w.close();
        stillOpen = w.isVisible();
        sinceStop.start();
        Button(&w, QStringLiteral("Megállít"))->click();
    });
    Button(&w, QStringLiteral("Export indítás"))->click();
    const qint64 answeredIn = sinceStop.elapsed();

    ASSERT_TRUE(runningWhenPressed) << "the export ended before the stop";
    EXPECT_GT(progressWhenPressed, 0);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(closeDisabled);
    EXPECT_LT(answeredIn, 1000);
    ASSERT_FALSE(dialogs.calls().empty());
    const QString message = dialogs.lastCall().text;
    EXPECT_TRUE(message.startsWith(QStringLiteral("Az exportot megállította"))) << message.toStdString();
    EXPECT_FALSE(w.isRunning());
    EXPECT_TRUE(Button(&w, QStringLiteral("Bezár"))->isEnabled());
    EXPECT_LT(q.row(), q.recordCount() - 1); // on the first row not written
    SaveScreenshot(&w, QStringLiteral("export_window_stopped.png"));
    w.reject();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(ExportWindows, ExportDatasetOpensTheWindowModally) {
    Query q;
    q.setSql(QStringLiteral("SELECT 1 AS a"));
    q.open();
    bool seen = false;
    WhenModal<Tfrm_Hatarolt>([&](Tfrm_Hatarolt* w) {
        seen = w->findChild<QLineEdit*>(QStringLiteral("Edit1"))
                   ->text()
                   .endsWith(QStringLiteral("/KoravelML.csv"));
        Button(w, QStringLiteral("Bezár"))->click();
    });
    ExportDataset(q, QStringLiteral("KoravelML.csv"));
    EXPECT_TRUE(seen);
}

TEST_F(ExportWindows, BuyerWindowShowsTheRecordAndTakesCtrlEnter) {
    InvoiceBuyer buyer;
    buyer.nev = QStringLiteral("Kovács & Fia Kft.");
    buyer.adoszam = QStringLiteral("12345678-2-13");
    buyer.maganszemely = false;
    buyer.iranyitoszam = QStringLiteral("1011");
    buyer.telepules = QStringLiteral("Budapest");
    buyer.kozterulet_neve = QStringLiteral("Fő");
    buyer.kozterulet_jellege = QStringLiteral("utca");
    buyer.hazszam = QStringLiteral("12. 3. em. 4.");
    {
        Tfrm_SzlaKeszitXML w(buyer);
        w.show();
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Számla készítés"));
        SaveScreenshot(&w, QStringLiteral("invoice_buyer_window.png"));
    }

    WhenModal<Tfrm_SzlaKeszitXML>([](Tfrm_SzlaKeszitXML* w) {
        auto* name = w->findChild<QLineEdit*>(QStringLiteral("nev"));
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Return); // Enter moves on
        EXPECT_EQ(QApplication::focusWidget(), w->findChild<QLineEdit*>(QStringLiteral("adoszam")));
        name->setText(QStringLiteral("Kovács és Fia Kft."));
        w->findChild<QCheckBox*>(QStringLiteral("maganszemely"))->setChecked(true);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
    });
    ASSERT_TRUE(AskInvoiceBuyer(buyer));
    EXPECT_EQ(buyer.nev, QStringLiteral("Kovács és Fia Kft."));
    EXPECT_TRUE(buyer.maganszemely);
    EXPECT_EQ(buyer.hazszam, QStringLiteral("12. 3. em. 4."));

    WhenModal<Tfrm_SzlaKeszitXML>([](Tfrm_SzlaKeszitXML* w) {
        w->findChild<QLineEdit*>(QStringLiteral("nev"))->setText(QStringLiteral("elvetett"));
        w->close(); // the close box cancels
    });
    EXPECT_FALSE(AskInvoiceBuyer(buyer));
    EXPECT_EQ(buyer.nev, QStringLiteral("Kovács és Fia Kft."));
}

} // namespace
