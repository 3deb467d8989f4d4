// Values out of range typed into the real windows: OK shows a Hungarian
// message naming the field, the window stays open with what was typed, and
// nothing is stored. One table of cases per window.

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "gui/ModalDriver.h"
#include "records/CustomerWindows.h"
#include "records/gui/Tfrm_Szerkeszt.h"
#include "shell/Beallit.h"
#include "shell/gui/Tfrm_Beallit.h"
#include "shell/gui/Windows.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

using test::TestDatabase;
using test::WhenModal;

struct ValueCase {
    const char* name;
    const char* field; // the edit's object name
    const char* typed;
    QString message;
};

// Types into a field as a user does (its page brought to the front first),
// presses OK, and gives what was shown; the window must still be open with
// the typed text, and is then cancelled with Esc (the changes given up).
QStringList TypeAndPressOk(QDialog* w, const ValueCase& c, const char* okButton) {
    auto* edit = w->findChild<QLineEdit*>(QLatin1String(c.field));
    EXPECT_NE(edit, nullptr) << c.field;
    if (!edit)
        return {};
    if (auto* pages = w->findChild<QTabWidget*>())
        for (int i = 0; i < pages->count(); ++i)
            if (pages->widget(i)->isAncestorOf(edit))
                pages->setCurrentIndex(i);
    edit->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, c.typed);
    ScriptedDialogs dialogs;
    QTest::mouseClick(w->findChild<QPushButton*>(QLatin1String(okButton)), Qt::LeftButton);
    QStringList shown;
    for (const DialogCall& call : dialogs.calls())
        shown << call.text;
    EXPECT_TRUE(w->isVisible()) << "the window stays open";
    EXPECT_EQ(edit->text(), QString::fromUtf8(c.typed)) << "with what was typed";
    dialogs.answer(DialogAnswer::Yes); // an editor asks before dropping the typed text
    QTest::keyClick(w, Qt::Key_Escape);
    return shown;
}

class ValueLimits : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallWindows();
        s_db = new TestDatabase(QStringLiteral("valuelimits"));
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        SetIniFilePath(m_home.filePath(QStringLiteral("KoravelML.ini")));
        Beall() = TBeall{};
    }
    void TearDown() override {
        SetIniFilePath({});
        Beall() = TBeall{};
    }
    static inline TestDatabase* s_db = nullptr;
    QTemporaryDir m_home;
};

class SettingsValueLimits : public ValueLimits, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(SettingsValueLimits, OkRefusesAndNothingIsStored) {
    const ValueCase& c = GetParam();
    const QString before = QueryStr(QStringLiteral(
        "SELECT CONCAT_WS('|', mlaphatid, autocikkszamhossz, afakulcs, kepport, prgtipus) FROM beallit;"));
    QStringList shown;
    WhenModal<Tfrm_Beallit>([&](Tfrm_Beallit* w) { shown = TypeAndPressOk(w, c, "btnOK"); });
    EXPECT_FALSE(EditSettings());
    EXPECT_EQ(shown, QStringList{c.message});
    EXPECT_EQ(QueryStr(QStringLiteral("SELECT CONCAT_WS('|', mlaphatid, autocikkszamhossz, afakulcs, "
                                      "kepport, prgtipus) FROM beallit;")),
              before);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsValueLimits,
    ::testing::Values(
        ValueCase{"DeadlineNegative", "mlaphatid", "-1",
                  QStringLiteral("Munkalap hatidő (nap): az érték 0 és 3650 között lehet.")},
        ValueCase{"DeadlineFraction", "mlaphatid", "1,5",
                  QStringLiteral("Munkalap hatidő (nap): csak egész szám adható meg.")},
        ValueCase{"DeadlineNotANumber", "mlaphatid", "-",
                  QStringLiteral("Munkalap hatidő (nap): a megadott érték nem szám.")},
        ValueCase{"CodeLengthZero", "autocikkszamhossz", "0",
                  QStringLiteral("Cikkszám hossza (max 15): az érték 1 és 15 között lehet.")},
        ValueCase{"CodeLengthSixteen", "autocikkszamhossz", "16",
                  QStringLiteral("Cikkszám hossza (max 15): az érték 1 és 15 között lehet.")},
        ValueCase{"VatAboveHundred", "afakulcs", "100,5",
                  QStringLiteral("Áfa kulcs: az érték 0 és 100 között lehet.")},
        ValueCase{"PortZero", "kepport", "0", QStringLiteral("Port: az érték 1 és 65535 között lehet.")},
        ValueCase{"PortAbove", "kepport", "65536", QStringLiteral("Port: az érték 1 és 65535 között lehet.")},
        // Beyond what the column holds: refused, not stored as 0.
        ValueCase{"PortHuge", "kepport", "99999999999",
                  QStringLiteral("Port: az érték 1 és 65535 között lehet.")}),
    [](const auto& info) { return std::string(info.param.name); });

class CustomerValueLimits : public ValueLimits, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(CustomerValueLimits, OkRefusesAndNothingIsStored) {
    const ValueCase& c = GetParam();
    const int before = QueryInt(QStringLiteral("SELECT COUNT(*) FROM ugyfel;"));
    QStringList shown;
    WhenModal<Tfrm_Szerkeszt>([&](Tfrm_Szerkeszt* w) {
        QTest::keyClicks(w->findChild<QLineEdit*>(QStringLiteral("DBEdit2")), "Hatar Kft");
        shown = TypeAndPressOk(w, c, "Button1");
    });
    EXPECT_EQ(EditCustomer(std::nullopt), std::nullopt);
    EXPECT_EQ(shown, QStringList{c.message});
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT COUNT(*) FROM ugyfel;")), before);
}

INSTANTIATE_TEST_SUITE_P(
    Customer, CustomerValueLimits,
    ::testing::Values(ValueCase{"DiscountAboveHundred", "DBEdit3", "101",
                                QStringLiteral("Kedv.%: az érték 0 és 100 között lehet.")},
                      ValueCase{"DiscountNegative", "DBEdit3", "-5",
                                QStringLiteral("Kedv.%: az érték 0 és 100 között lehet.")}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kml
