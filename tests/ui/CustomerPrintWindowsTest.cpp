// The customer printouts and the maker's services as the windows reach them:
// the main window's customer tab prints the list it shows after a search
// (with the printing right only), the envelope of the current customer, the
// maker's message at the bottom of the main window with the checks' timers
// started, and the notes window's "Nyomtat" (nothing on an empty list).
#include "PdfText.h"
#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "components/Query.h"
#include "components/gui/ReportPreview.h"
#include "components/report/Report.h"
#include "components/report/RowSource.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "gui/MainWindowOnDemo.h"
#include "reports/ReportWindows.h"
#include "services/MakerServices.h"
#include "services/gui/MakerMessagePanel.h"
#include "shell/gui/Tfrm_Main.h"
#include "worksheets/gui/Tfrm_Megjegyzes.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

class CustomerPrintWindows : public test::MainWindowOnDemo {
protected:
    static void SetUpTestSuite() { StartDemo(QStringLiteral("customerprintwindows")); }
};

TEST_F(CustomerPrintWindows, CustomerTabPrintsTheListItShowsWithThePrintingRight) {
    Tfrm_Main& w = open();
    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    settle();
    w.Edit1->setText(QStringLiteral("Budapest"));
    settle();
    Query& qryU = w.session().list(MainTab::Customers).query();
    ASSERT_GT(qryU.recordCount(), 3);
    QStringList shown;
    for (int r = 0; r < qryU.recordCount(); ++r) {
        qryU.moveTo(r);
        shown << qryU.asString(QStringLiteral("ugyfel_nev"));
    }

    ScriptedWindows windows;
    windows.answer(InstalledPrinterNames, QStringList{});
    QString printed;
    windows.act(ShowReportPreviewPages, [&](report::PageStream& pages, const QString&) {
        report::Document doc = pages.document();
        report::Page page;
        int index = 0;
        while (pages.next(page, index))
            doc.pages.push_back(page);
        for (int p = 0; p < doc.pageCount(); ++p)
            printed += doc.pageText(p) + QLatin1Char('\n');
    });
    Beall().nyomtathat = true;
    w.action(QStringLiteral("aNyomtatKep"))->trigger();
    ASSERT_EQ(windows.calls(QStringLiteral("ShowReportPreviewPages")).size(), 1u);
    qsizetype at = 0;
    for (const QString& name : shown) {
        const qsizetype found = printed.indexOf(name, at);
        ASSERT_GE(found, 0) << "missing or out of order: " << name.toStdString();
        at = found + name.size();
    }

    // Without the printing right: the message, and nothing printed.
    Beall().nyomtathat = false;
    w.action(QStringLiteral("aNyomtat"))->trigger();
    EXPECT_EQ(m_dialogs.lastCall().text, QStringLiteral("Nincs jogosultság a művelethez."));
    EXPECT_EQ(windows.calls().size(), 2u);

    // The envelope of the current customer needs no right.
    QString envelope;
    windows.act(PrintReport, [&](const report::Document& doc, const QString& printer) {
        EXPECT_TRUE(printer.isEmpty());
        envelope = doc.pageText(0);
    });
    w.action(QStringLiteral("aBoritek"))->trigger();
    EXPECT_TRUE(envelope.contains(qryU.asString(QStringLiteral("ugyfel_nev")))) << envelope.toStdString();
    EXPECT_TRUE(envelope.contains(QStringLiteral("részére")));
}

TEST_F(CustomerPrintWindows, MainWindowShowsTheMakersMessageAndStartsTheChecks) {
    Tfrm_Main& w = open();
    ASSERT_NE(w.pUzenet, nullptr);
    EXPECT_TRUE(w.pUzenet->isVisible());
    EXPECT_EQ(w.pUzenet->shownMessage(), 2) << "the lowest unread message of the demo shop";
    EXPECT_EQ(w.pUzenet->palette().color(QPalette::Window), MakerMessagePanel::DismissableColour());
    EXPECT_TRUE(w.pUzenet->okForGoodButton()->isVisible());
    ASSERT_NE(w.makerChecks(), nullptr);
    EXPECT_TRUE(w.makerChecks()->timerVerzio().isActive());
    EXPECT_EQ(w.makerChecks()->timerVerzio().interval(), 2000);
    EXPECT_TRUE(w.makerChecks()->timerHirek().isActive());
    EXPECT_EQ(w.makerChecks()->timerHirek().interval(), 10000);
    shoot(QStringLiteral("maker-message"));
    w.pUzenet->okForGoodButton()->click();
    EXPECT_FALSE(w.pUzenet->isVisible());
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT olvasva FROM uzenet WHERE uzenet = 2;")), QStringLiteral("I"));
    ExecSql(QStringLiteral("UPDATE uzenet SET olvasva = 'N', dat_olvasva = NULL WHERE uzenet = 2;"));
}

TEST_F(CustomerPrintWindows, NotesWindowPrintsNothingFromAnEmptyList) {
    open();
    ScriptedWindows windows;
    windows.script(AskPrintModeIndex);
    {
        Tfrm_Megjegyzes notes(999999, 1);
        notes.openAt(std::nullopt);
        notes.show();
        QAction* print = notes.listAction(QStringLiteral("aNyomtat"));
        ASSERT_NE(print, nullptr);
        EXPECT_EQ(print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        print->trigger();
        EXPECT_EQ(m_dialogs.lastCall().text, QStringLiteral("Nincs sor kiválasztva."));
        EXPECT_TRUE(windows.calls().empty());
    }
    ExecSql(QStringLiteral(
        "INSERT INTO megj (id, megjtipus, rovid, megjegyzes) VALUES (1, 1, 'Teszt', 'szöveg');"));
    Tfrm_Megjegyzes notes(1, 1);
    notes.openAt(std::nullopt);
    notes.show();
    int proposed = 0;
    windows.act(AskPrintModeIndex, [&](int& index) {
        proposed = index;
        return -1; // cancelled: nothing
    });
    notes.listAction(QStringLiteral("aNyomtat"))->trigger();
    EXPECT_EQ(proposed, -1);
    EXPECT_EQ(windows.calls().size(), 1u);
}

TEST_F(CustomerPrintWindows, PreviewShowsTheFirstPageAtOnceAndLaysOutTheRestWhileOpen) {
    report::Report layout(QStringLiteral("Hosszú lista"));
    layout.band(report::BandKind::PageHeader, 8).label({0, 0, 100, 6}, QStringLiteral("Fejléc"));
    layout.band(report::BandKind::Detail, 5).field({0, 0, 100, 5}, QStringLiteral("nev"));
    report::MemoryRows rows({QStringLiteral("nev")});
    for (int i = 0; i < 3000; ++i)
        rows.add({QStringLiteral("Ügyfél %1").arg(i)});
    const int whole = report::Paginate(layout, rows).pageCount();
    ASSERT_GT(whole, 20);

    report::PageStream pages(layout, rows);
    report::Document document = pages.document();
    const auto layOutMore = [&] {
        report::Page page;
        int index = 0;
        if (!pages.next(page, index))
            return false;
        document.pages.push_back(std::move(page));
        return true;
    };
    ASSERT_TRUE(layOutMore());
    report::ReportPreview preview(document, {});
    preview.setPageSource(layOutMore);
    preview.show();
    auto* label = preview.findChild<QLabel*>(QStringLiteral("lblPage"));
    EXPECT_EQ(document.pageCount(), 1) << "shown before the other pages are laid out";
    EXPECT_TRUE(QTest::qWaitFor([&] { return document.pageCount() == whole; }, 20000));
    QTest::qWait(50);
    EXPECT_EQ(label->text(), QStringLiteral("1 / %1").arg(whole));
    EXPECT_EQ(document.pageText(whole - 1), report::Paginate(layout, rows).pageText(whole - 1));
    QTest::keyClick(&preview, Qt::Key_End);
    EXPECT_EQ(preview.currentPage(), whole - 1);
}

} // namespace
} // namespace kml
