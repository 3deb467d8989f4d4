// The period window offscreen (presets, keys, focus colour, caption, the
// operation's answers), the preview of each period report on the demo shop
// (screenshots under build/screenshots/), and the main window's six report
// actions: routed, guarded by their rights, and run through to the preview.

#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "components/gui/ReportPreview.h"
#include "foundation/IniFile.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "gui/ModalDriver.h"
#include "patterns/gui/EditWindow.h"
#include "reports/PeriodReports.h"
#include "reports/ReportWindows.h"
#include "reports/gui/Tfrm_Idoszak.h"
#include "shell/gui/Tfrm_Main.h"
#include "shell/gui/Windows.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

using test::TestDatabase;

QString Shot(const QString& name) {
    QDir().mkpath(test::BuildPath(QStringLiteral("screenshots")));
    return test::BuildPath(QStringLiteral("screenshots/") + name);
}

template <typename T> T* Child(QWidget* parent, const QString& name) {
    T* child = parent->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << "no " << name.toStdString();
    return child;
}

class PeriodReportWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("periodwindows"), TestDatabase::Contents::Demo);
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        m_oldHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
        QDir().mkpath(m_home.filePath(QStringLiteral("KoravelML")));
        InstallWindows();
        Beall() = TBeall{};
    }
    void TearDown() override {
        if (m_window)
            m_window->close();
        m_window.reset();
        qputenv("XDG_DATA_HOME", m_oldHome);
        Beall() = TBeall{};
        SetSharedConnection(&s_db->connection());
    }

    // The main window on the demo shop.
    Tfrm_Main& openMain() {
        IniFile ini(m_home.filePath(QStringLiteral("KoravelML/KoravelML.ini")));
        ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"),
                        ScramblePassword(QStringLiteral("%1;127.0.0.1;%2;root;;Demo szerviz")
                                             .arg(s_db->name())
                                             .arg(s_db->options().port)));
        ini.writeString(QStringLiteral("Alapertek"), QStringLiteral("TeljesKep"), QStringLiteral("0"));
        ini.save();
        m_window = std::make_unique<Tfrm_Main>();
        EXPECT_FALSE(m_window->startupFailed())
            << m_dialogs.texts().join(QStringLiteral(" | ")).toStdString();
        m_window->show();
        m_window->resize(1280, 800);
        QApplication::setActiveWindow(m_window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        return *m_window;
    }

    static TestDatabase* s_db;
    QTemporaryDir m_home;
    QByteArray m_oldHome;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<Tfrm_Main> m_window;
};

TestDatabase* PeriodReportWindows::s_db = nullptr;

TEST_F(PeriodReportWindows, PeriodWindowPresetsKeysAndFocusColour) {
    Tfrm_Idoszak w;
    const Period march{QDate(2024, 3, 1), QDate(2024, 3, 31)};
    w.setPeriod(march);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Időszak megadása"));
    EXPECT_EQ(Child<QGroupBox>(&w, QStringLiteral("grpIdoszak"))->title(), QStringLiteral("Időszak"));
    EXPECT_EQ(Child<QGroupBox>(&w, QStringLiteral("grpIntervallum"))->title(), QStringLiteral("Intervallum"));
    auto* first = Child<QDateEdit>(&w, QStringLiteral("eAlso"));
    auto* last = Child<QDateEdit>(&w, QStringLiteral("eFelso"));
    EXPECT_EQ(first->date(), march.first);
    EXPECT_EQ(last->date(), march.last);
    EXPECT_TRUE(w.grab().save(Shot(QStringLiteral("period-window.png"))));

    // Each button sets both pickers.
    const QStringList captions = {QStringLiteral("Ez a hét"),       QStringLiteral("Ez a hónap"),
                                  QStringLiteral("Múlt hónap"),     QStringLiteral("Idén"),
                                  QStringLiteral("Csak a mai nap"), QStringLiteral("Tavaly")};
    int index = 0;
    for (const PeriodPreset preset : AllPeriodPresets) {
        auto* button = Child<QPushButton>(&w, QStringLiteral("btnPreset%1").arg(index));
        EXPECT_EQ(button->text(), captions.at(index));
        button->click();
        EXPECT_EQ(w.period(), PresetPeriod(preset, QDate::currentDate())) << captions.at(index).toStdString();
        ++index;
    }

    // The focused picker is light blue, and only while it has the focus;
    // Enter moves on to the next control.
    first->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(first->palette().color(QPalette::Base), kFocusColor);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(last->hasFocus() || last->isAncestorOf(QApplication::focusWidget()));
    EXPECT_NE(first->palette().color(QPalette::Base), kFocusColor);
    EXPECT_EQ(last->palette().color(QPalette::Base), kFocusColor);
    EXPECT_TRUE(w.isVisible()) << "Enter does not close the window";
    EXPECT_TRUE(w.grab().save(Shot(QStringLiteral("period-window-focus.png"))));

    // Ctrl+Enter confirms.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(PeriodReportWindows, AskPeriodAnswersWithTheConfirmedPeriodOrLeavesItOnCancel) {
    const Period given{QDate(2024, 2, 29), QDate(2024, 3, 31)};
    Period period = given;
    test::WhenModal<Tfrm_Idoszak>([&](Tfrm_Idoszak* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Lista időszaka")); // a caption of the caller's
        EXPECT_EQ(w->period(), given);
        Child<QDateEdit>(w, QStringLiteral("eFelso"))->setDate(QDate(2024, 4, 2));
        Child<QPushButton>(w, QStringLiteral("btnOk"))->click();
    });
    EXPECT_TRUE(AskPeriod(period, QStringLiteral("Lista időszaka")));
    EXPECT_EQ(period, (Period{given.first, QDate(2024, 4, 2)}));

    test::WhenModal<Tfrm_Idoszak>([](Tfrm_Idoszak* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Időszak megadása"));
        Child<QPushButton>(w, QStringLiteral("btnPreset5"))->click();
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_FALSE(AskPeriod(period, QString()));
    EXPECT_EQ(period, (Period{given.first, QDate(2024, 4, 2)})) << "cancelled: unchanged";
}

// The previews of the four reports (and of the list's groupings) over the
// demo shop's last month, for people to look at.
TEST_F(PeriodReportWindows, PreviewOfEveryReport) {
    const Period period = DefaultReportPeriod(QDate::currentDate());
    const std::tuple<PeriodReport, SheetListGrouping, QString> reports[] = {
        {PeriodReport::WorkSheetList, SheetListGrouping::ByType, QStringLiteral("qrMLapLista")},
        {PeriodReport::WorkSheetList, SheetListGrouping::ByEmployee, QStringLiteral("qrMLapLista-dolgozo")},
        {PeriodReport::WorkSheetList, SheetListGrouping::ByManufacturer,
         QStringLiteral("qrMLapLista-gyarto")},
        {PeriodReport::Revenue, SheetListGrouping::ByType, QStringLiteral("qrArbevetel")},
        {PeriodReport::Profit, SheetListGrouping::ByType, QStringLiteral("qrNyereseg")},
        {PeriodReport::Consumption, SheetListGrouping::ByType, QStringLiteral("qrFogyas")},
        {PeriodReport::Comebacks, SheetListGrouping::ByType, QStringLiteral("qrVisszatero")}};
    for (const auto& [kind, grouping, name] : reports) {
        SCOPED_TRACE(name.toStdString());
        PeriodReportRequest request;
        request.kind = kind;
        request.grouping = grouping;
        request.period = period;
        Query q;
        PreparePeriodQuery(q, request);
        OpenPeriodQuery(q, Beall().formatFt, Beall().formatDb);
        EXPECT_GT(q.recordCount(), 0) << "the demo shop has rows for the last month";
        const report::Document doc = MakePeriodReportDocument(request, q, ReadShopTexts(), Beall().formatFt);
        report::ReportPreview preview(doc, {});
        preview.resize(760, 1000);
        preview.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
        EXPECT_EQ(preview.windowTitle(), QStringLiteral("Nyomtatási kép - ") + PeriodReportTitle(kind));
        EXPECT_TRUE(preview.grab().save(Shot(QStringLiteral("preview-") + name + QStringLiteral(".png"))));
    }
}

TEST_F(PeriodReportWindows, MainWindowReportActionsAreRoutedAndGuardedByTheirRights) {
    Tfrm_Main& w = openMain();
    const QStringList actions = {QStringLiteral("aMLapLista"),       QStringLiteral("aMLapListaDolg"),
                                 QStringLiteral("aMLapListaGyarto"), QStringLiteral("aArbevetel"),
                                 QStringLiteral("aNyereseg"),        QStringLiteral("aFogyas"),
                                 QStringLiteral("aVisszatero")};
    // With every right: each action asks for the period, the last month
    // proposed; cancelling it ends the action.
    Beall().nyomtathat = Beall().nyeresegnezhet = true;
    {
        ScriptedWindows windows;
        windows.script(AskPrintMode);
        for (const QString& name : actions) {
            SCOPED_TRACE(name.toStdString());
            QAction* action = w.action(name);
            EXPECT_TRUE(action->isEnabled());
            EXPECT_NE(action->toolTip(), QStringLiteral("Hamarosan"));
            windows.act(AskPeriod, [](Period& period, const QString& caption) {
                EXPECT_EQ(period, DefaultReportPeriod(QDate::currentDate()));
                EXPECT_TRUE(caption.isEmpty());
                return false;
            });
            action->trigger();
        }
        EXPECT_EQ(windows.calls(QStringLiteral("AskPeriod")).size(), size_t(actions.size()));
        EXPECT_EQ(windows.pendingAnswers(), 0);
    }

    // Without the printing right the lists and the consumption are refused,
    // without the profit right the revenue and the profit.
    for (const bool printing : {false, true}) {
        Beall().nyomtathat = printing;
        Beall().nyeresegnezhet = !printing;
        ScriptedWindows windows;
        windows.script(AskPeriod);
        m_dialogs.clear();
        const QStringList refused =
            printing ? QStringList{QStringLiteral("aArbevetel"), QStringLiteral("aNyereseg"),
                                   QStringLiteral("aVisszatero")}
                     : QStringList{QStringLiteral("aMLapLista"), QStringLiteral("aMLapListaDolg"),
                                   QStringLiteral("aMLapListaGyarto"), QStringLiteral("aFogyas")};
        for (const QString& name : refused)
            w.action(name)->trigger();
        EXPECT_TRUE(windows.calls().empty());
        ASSERT_EQ(m_dialogs.calls().size(), size_t(refused.size()));
        for (const DialogCall& call : m_dialogs.calls()) {
            EXPECT_EQ(call.kind, DialogKind::Error);
            EXPECT_EQ(call.text, QStringLiteral("Nincs jogosultság a művelethez."));
        }
    }

    // All the way to the preview, from another tab.
    Beall().nyomtathat = true;
    w.TabControl1->setCurrentIndex(int(MainTab::Customers));
    ScriptedWindows windows;
    windows.act(AskPeriod, [](Period&, const QString&) { return true; });
    windows.answer(AskPrintMode, 0);
    QString title;
    int pages = 0;
    windows.act(ShowReportPreview, [&](const report::Document& doc, const QString&) {
        title = doc.title;
        pages = doc.pageCount();
    });
    w.action(QStringLiteral("aFogyas"))->trigger();
    EXPECT_EQ(title, QStringLiteral("Fogyások"));
    EXPECT_GE(pages, 1);
}

} // namespace
} // namespace kml
