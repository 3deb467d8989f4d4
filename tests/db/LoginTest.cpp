// Login against table felhasznalo: the exact comparison, the rights record,
// the password change, the guard of the rights, and the login window.

#include "shell/Login.h"

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "shell/Rights.h"
#include "shell/gui/Tfrm_Login.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;

const QString Invalid = QStringLiteral("Érvénytelen felhasználó, vagy jelszó");

class LoginFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("login"));
        s_db->connection().exec(
            QStringLiteral("INSERT INTO felhasznalo (felhasznalo, felhasznalo_nev, jelszomd5, rendszergazda, "
                           "torzsszerkeszt, canins, "
                           "canedit, candel, nyomtathat, nyeresegnezhet, excelbe) VALUES "
                           "('admin', 'Admin Aladár', MD5('titok'), 'I', 'I', 'I', 'I', 'I', 'I', 'I', 'I'), "
                           "('pult', 'Pult Piroska', MD5('pult1'), 'N', 'I', 'N', 'I', 'N', 'I', 'N', 'I'), "
                           "('kisbetu', 'Kis Betű', MD5('kb'), 'i', 'i', 'i', 'i', 'i', 'i', 'i', 'i'), "
                           "('ures', 'Üres Ödön', NULL, 'I', 'I', 'I', 'I', 'I', 'I', 'I', 'I')"));
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void TearDown() override { Beall() = TBeall{}; }

    static TestDatabase* s_db;
    ScriptedDialogs m_dialogs;
};

TestDatabase* LoginFixture::s_db = nullptr;

struct LoginCase {
    const char* name;
    QString user, password;
    bool accepted;
};

void PrintTo(const LoginCase& c, std::ostream* os) {
    *os << c.name;
}

class CheckLoginCases : public LoginFixture, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(CheckLoginCases, AcceptsExactlyTheStoredNameAndPassword) {
    const LoginCase& c = GetParam();
    EXPECT_EQ(CheckLogin(c.user, c.password), c.accepted);
    if (c.accepted) {
        EXPECT_TRUE(m_dialogs.calls().empty());
    } else {
        ASSERT_EQ(m_dialogs.calls().size(), 1u);
        EXPECT_EQ(m_dialogs.calls()[0].kind, DialogKind::Error);
        EXPECT_EQ(m_dialogs.calls()[0].text, Invalid);
        EXPECT_EQ(Beall().felhasznaloNev, QString()) << "no rights loaded";
    }
}

INSTANTIATE_TEST_SUITE_P(Login, CheckLoginCases,
                         ::testing::Values(LoginCase{"Right", "admin", "titok", true},
                                           LoginCase{"WrongPassword", "admin", "Titok", false},
                                           LoginCase{"EmptyPassword", "admin", "", false},
                                           // The server finds the row whatever the case, but the
                                           // stored name must be typed exactly.
                                           LoginCase{"NameInOtherCase", "Admin", "titok", false},
                                           LoginCase{"UnknownUser", "senki", "titok", false},
                                           LoginCase{"NullPasswordNeverLogsIn", "ures", "", false},
                                           LoginCase{"QuoteInName", "admin' OR '1'='1", "titok", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoginFixture, RightsComeFromTheUsersRowAndOnlyUpperCaseICounts) {
    ASSERT_TRUE(CheckLogin(QStringLiteral("pult"), QStringLiteral("pult1")));
    const TBeall& s = Beall();
    EXPECT_EQ(s.felhasznaloNev, QStringLiteral("Pult Piroska"));
    EXPECT_FALSE(s.rendszergazda);
    EXPECT_TRUE(s.torzsszerkeszt);
    EXPECT_FALSE(s.canins);
    EXPECT_TRUE(s.canedit);
    EXPECT_FALSE(s.candel);
    EXPECT_TRUE(s.nyomtathat);
    EXPECT_FALSE(s.nyeresegnezhet);
    EXPECT_TRUE(s.excelbe);

    ASSERT_TRUE(CheckLogin(QStringLiteral("kisbetu"), QStringLiteral("kb")));
    EXPECT_EQ(s.felhasznaloNev, QStringLiteral("Kis Betű"));
    EXPECT_FALSE(s.rendszergazda || s.torzsszerkeszt || s.canins || s.canedit || s.candel || s.nyomtathat ||
                 s.nyeresegnezhet || s.excelbe);
}

TEST_F(LoginFixture, WithoutLoginEveryRightAsRendszergazda) {
    GrantAllRights();
    const TBeall& s = Beall();
    EXPECT_EQ(s.felhasznaloNev, QStringLiteral("rendszergazda"));
    EXPECT_TRUE(s.rendszergazda && s.torzsszerkeszt && s.nyomtathat && s.nyeresegnezhet && s.excelbe &&
                s.canins && s.canedit && s.candel);
}

TEST_F(LoginFixture, RequireRightGuardsWithTheMissingRightMessage) {
    EXPECT_TRUE(RequireRight(true));
    EXPECT_TRUE(m_dialogs.calls().empty());
    EXPECT_FALSE(RequireRight(false));
    ASSERT_EQ(m_dialogs.calls().size(), 1u);
    EXPECT_EQ(m_dialogs.calls()[0].kind, DialogKind::Error);
    EXPECT_EQ(m_dialogs.calls()[0].text, QStringLiteral("Nincs jogosultság a művelethez."));
}

class PasswordChange : public LoginFixture {
protected:
    void SetUp() override {
        s_db->connection().exec(
            QStringLiteral("UPDATE felhasznalo SET jelszomd5 = MD5('régi') WHERE felhasznalo = "
                           "'pult';"));
    }
    QString storedMd5() {
        return QueryStr(QStringLiteral("SELECT jelszomd5 FROM felhasznalo WHERE felhasznalo = 'pult';"));
    }
};

TEST_F(PasswordChange, MatchingEntriesStoreTheNewPassword) {
    m_dialogs.answerText(QStringLiteral("új jelszó")).answerText(QStringLiteral("új jelszó"));
    EXPECT_TRUE(ChangePassword(QStringLiteral("pult"), QStringLiteral("régi")));

    ASSERT_EQ(m_dialogs.calls().size(), 3u);
    EXPECT_EQ(m_dialogs.calls()[0].kind, DialogKind::Masked);
    EXPECT_EQ(m_dialogs.calls()[0].caption, QStringLiteral("Jelszó megadása"));
    EXPECT_EQ(m_dialogs.calls()[0].text, QStringLiteral("Add meg az új jelszót"));
    EXPECT_EQ(m_dialogs.calls()[0].mask, QString());
    EXPECT_EQ(m_dialogs.calls()[1].caption, QStringLiteral("Megerősítés"));
    EXPECT_EQ(m_dialogs.calls()[1].text, QStringLiteral("Add újra az új jelszót"));
    EXPECT_EQ(m_dialogs.calls()[2].kind, DialogKind::Info);
    EXPECT_EQ(m_dialogs.calls()[2].text, QStringLiteral("Jelszó változtatás kész."));

    EXPECT_EQ(storedMd5(), ServerMd5(QStringLiteral("új jelszó")));
    m_dialogs.clear();
    EXPECT_TRUE(CheckLogin(QStringLiteral("pult"), QStringLiteral("új jelszó")));
    EXPECT_FALSE(CheckLogin(QStringLiteral("pult"), QStringLiteral("régi")));
}

TEST_F(PasswordChange, MismatchingEntriesStoreNothing) {
    const QString before = storedMd5();
    m_dialogs.answerText(QStringLiteral("egyik")).answerText(QStringLiteral("másik"));
    EXPECT_FALSE(ChangePassword(QStringLiteral("pult"), QStringLiteral("régi")));
    EXPECT_EQ(m_dialogs.lastCall().kind, DialogKind::Error);
    EXPECT_EQ(m_dialogs.lastCall().text, QStringLiteral("A megadott jelszavak nem egyezőek"));
    EXPECT_EQ(storedMd5(), before);
}

TEST_F(PasswordChange, WrongCurrentPasswordAsksNothingFurther) {
    const QString before = storedMd5();
    EXPECT_FALSE(ChangePassword(QStringLiteral("pult"), QStringLiteral("rossz")));
    ASSERT_EQ(m_dialogs.calls().size(), 1u);
    EXPECT_EQ(m_dialogs.calls()[0].text, Invalid);
    EXPECT_EQ(storedMd5(), before);
}

TEST_F(PasswordChange, CancelledSecondEntryStoresNothing) {
    const QString before = storedMd5();
    m_dialogs.answerText(QStringLiteral("új")).answer(DialogAnswer::Cancel);
    EXPECT_FALSE(ChangePassword(QStringLiteral("pult"), QStringLiteral("régi")));
    EXPECT_EQ(m_dialogs.calls().size(), 2u);
    EXPECT_EQ(storedMd5(), before);
}

TEST_F(PasswordChange, EmptyNewPasswordIsAccepted) {
    m_dialogs.answerText(QString()).answerText(QString());
    EXPECT_TRUE(ChangePassword(QStringLiteral("pult"), QStringLiteral("régi")));
    EXPECT_EQ(storedMd5(), ServerMd5(QString()));
}

// The real window, driven through its widgets once it is open.
void WhenLoginWindowOpens(const std::function<void(Tfrm_Login&)>& act) {
    QTimer::singleShot(0, [act] {
        auto* window = qobject_cast<Tfrm_Login*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        act(*window);
    });
}

void Type(Tfrm_Login& window, const char* field, const QString& text) {
    window.findChild<QLineEdit*>(QLatin1String(field))->setText(text);
}

void Click(Tfrm_Login& window, const char* button) {
    window.findChild<QPushButton*>(QLatin1String(button))->click();
}

TEST_F(LoginFixture, LoginWindowStaysOpenAfterRefusalAndClosesOnSuccess) {
    WhenLoginWindowOpens([](Tfrm_Login& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Belépés azonosítás"));
        Type(w, "edtUser", QStringLiteral("admin"));
        Type(w, "edtPassword", QStringLiteral("rossz"));
        Click(w, "btnOk");
        EXPECT_TRUE(w.isVisible()) << "a refused try keeps the window open";
        Type(w, "edtPassword", QStringLiteral("titok"));
        Click(w, "btnOk");
    });
    EXPECT_TRUE(ShowLoginWindow());
    EXPECT_EQ(m_dialogs.texts(), QStringList{Invalid});
    EXPECT_EQ(Beall().felhasznaloNev, QStringLiteral("Admin Aladár"));
}

TEST_F(LoginFixture, CancelledLoginWindowGivesFalse) {
    WhenLoginWindowOpens([](Tfrm_Login& w) { Click(w, "btnCancel"); });
    EXPECT_FALSE(ShowLoginWindow());
    EXPECT_TRUE(m_dialogs.calls().empty());
}

TEST_F(LoginFixture, ServerErrorInTheWindowEndsItAndIsRaisedAgain) {
    s_db->connection().exec(QStringLiteral("RENAME TABLE felhasznalo TO felhasznalo_regi;"));
    WhenLoginWindowOpens([](Tfrm_Login& w) {
        Type(w, "edtUser", QStringLiteral("admin"));
        Click(w, "btnOk");
    });
    EXPECT_ANY_THROW(ShowLoginWindow());
    s_db->connection().exec(QStringLiteral("RENAME TABLE felhasznalo_regi TO felhasznalo;"));
}

} // namespace
} // namespace kml
