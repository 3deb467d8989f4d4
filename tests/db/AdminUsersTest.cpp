// The users window's core: a new user logs in with the initial password and
// has only the rights ticked; duplicate codes (letter case, trailing blank)
// are refused; the last administrator can be neither deleted nor demoted.

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "admin/Users.h"
#include "foundation/Settings.h"
#include "shell/Login.h"

#include <QSet>
#include <gtest/gtest.h>

namespace kml {
namespace {

using test::TestDatabase;

class Users : public ::testing::Test {
protected:
    void SetUp() override {
        m_db = std::make_unique<TestDatabase>(QStringLiteral("users"));
        m_db->connection().exec("DELETE FROM felhasznalo");
        m_db->connection().exec(
            "INSERT INTO felhasznalo (felhasznalo, felhasznalo_nev, jelszomd5, rendszergazda) "
            "VALUES ('admin', 'Admin', MD5('titok'), 'I')");
    }
    Connection& c() { return m_db->connection(); }
    std::unique_ptr<TestDatabase> m_db;
};

UserRecord User(const QString& code, std::array<bool, 5> rights = {}) {
    UserRecord u;
    u.code = code;
    u.name = code + QStringLiteral(" neve");
    u.rights = rights;
    return u;
}

TEST_F(Users, ANewUserLogsInWithItsInitialPasswordAndOnlyTheTickedRights) {
    ScriptedDialogs dialogs;
    const QString password = RandomInitialPassword();
    EXPECT_EQ(password.size(), 10);
    EXPECT_NE(RandomInitialPassword(), password);
    EXPECT_EQ(SaveUser(c(), {}, User("pult", {false, true, false, true, false}), password), "");
    ASSERT_TRUE(CheckLogin("pult", password));
    const TBeall& s = Beall();
    EXPECT_FALSE(s.rendszergazda);
    EXPECT_TRUE(s.torzsszerkeszt);
    EXPECT_FALSE(s.nyomtathat);
    EXPECT_TRUE(s.nyeresegnezhet);
    EXPECT_FALSE(s.excelbe);
    EXPECT_FALSE(CheckLogin("pult", "vidrafa"));

    // Saved without a new password, the old one stays ("Visszaállítás" then "Mégsem" stores nothing).
    EXPECT_EQ(SaveUser(c(), "pult", User("pult", {true, true, true, true, true}), std::nullopt), "");
    EXPECT_TRUE(CheckLogin("pult", password));
    EXPECT_TRUE(Beall().excelbe);
    // A reset stores the new one.
    EXPECT_EQ(SaveUser(c(), "pult", User("pult"), QStringLiteral("új jelszó")), "");
    EXPECT_TRUE(CheckLogin("pult", QStringLiteral("új jelszó")));
    // A flag stored as a lower-case i reads as not set.
    c().exec("UPDATE felhasznalo SET nyomtathat = 'i' WHERE felhasznalo = 'pult'");
    EXPECT_FALSE(ReadUser(c(), "pult")->rights[2]);
}

TEST_F(Users, DuplicateOrEmptyCodesAreIncomplete) {
    ASSERT_EQ(SaveUser(c(), {}, User("kati"), QStringLiteral("x")), "");
    for (const char* code : {"kati", "KATI", "Kati ", ""})
        EXPECT_EQ(SaveUser(c(), {}, User(code), QStringLiteral("x")), IncompleteUserMessage) << code;
    EXPECT_EQ(SaveUser(c(), "admin", User("Kati", {true}), std::nullopt), IncompleteUserMessage);
    EXPECT_EQ(SaveUser(c(), {}, User("nagyonhosszubelepokodamitnemfer"), QStringLiteral("x")),
              IncompleteUserMessage);
    // Renaming a user to its own code in another case is no duplicate.
    EXPECT_EQ(SaveUser(c(), "kati", User("Kati"), std::nullopt), "");
    EXPECT_EQ(c().query("SELECT COUNT(*) FROM felhasznalo").text(0, 0), "2");
    // A row another workstation deleted meanwhile.
    EXPECT_EQ(SaveUser(c(), "nincs", User("nincs"), std::nullopt), UserChangedMessage);
}

TEST_F(Users, TheLastAdministratorStays) {
    EXPECT_EQ(DeleteUser(c(), "admin"), LastAdministratorMessage);
    EXPECT_EQ(SaveUser(c(), "admin", User("admin"), std::nullopt), LastAdministratorMessage);
    EXPECT_EQ(c().query("SELECT rendszergazda FROM felhasznalo WHERE felhasznalo = 'admin'").text(0, 0), "I");
    // With a second administrator the first may go, even the one logged in.
    ASSERT_EQ(SaveUser(c(), {}, User("masik", {true}), QStringLiteral("x")), "");
    EXPECT_EQ(SaveUser(c(), "admin", User("admin"), std::nullopt), "");
    EXPECT_EQ(DeleteUser(c(), "masik"), LastAdministratorMessage);
    ASSERT_EQ(SaveUser(c(), "admin", User("admin", {true}), std::nullopt), "");
    EXPECT_EQ(DeleteUser(c(), "admin"), "");
    EXPECT_EQ(c().query("SELECT GROUP_CONCAT(felhasznalo) FROM felhasznalo").text(0, 0), "masik");
    // Deleting a user who is not an administrator is always possible.
    ASSERT_EQ(SaveUser(c(), {}, User("pult"), QStringLiteral("x")), "");
    EXPECT_EQ(DeleteUser(c(), "pult"), "");
}

} // namespace
} // namespace kml
