// The device-type list with its pictures, the type editor, and the one
// lookup window with its row editor, as real windows (offscreen) on a
// fixture of their own: the operations' results, the chooser offered to a
// user without the master-data right, every row action on an empty list,
// the picture actions, the focus after the editor's buttons, and
// screenshots.
#include "records/TypeWindows.h"

#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "foundation/LastAction.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/ShellOpener.h"
#include "foundation/gui/PictureView.h"
#include "gui/ModalDriver.h"
#include "gui/WindowTesting.h"
#include "patterns/gui/FormEditor.h"
#include "records/DeviceTypes.h"
#include "records/LookupTables.h"
#include "records/gui/Tfrm_TorzsTipus.h"
#include "records/gui/Tfrm_TorzsTipus_Szerkeszt.h"
#include "records/gui/Tfrm_Torzsadat.h"
#include "records/gui/Tfrm_Torzsadat_Szerkeszt.h"
#include "shell/gui/Windows.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace kml;
using kml::test::Activate;
using kml::test::SaveScreenshot;
using kml::test::TestDatabase;
using kml::test::TypeInto;
using kml::test::WhenModal;

namespace {

QStringList VisibleActions(const ListWindow& w) {
    QStringList names;
    for (QAction* action : w.grid()->actions())
        if (action->isVisible() && action->isEnabled())
            names << action->objectName();
    return names;
}

QImage Picture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0x30, 0x80, 0xC0));
    return image;
}

class TypeWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallWindows();
        db = new TestDatabase(QStringLiteral("typeui"), TestDatabase::Contents::Schema);
        for (const char* sql :
             {"INSERT INTO gyarto (gyarto, gyarto_nev) VALUES (1, ' Bosch '), (2, 'Electrolux'), (3, "
              "'Whirlpool');",
              "INSERT INTO keszulektipus (keszulektipus, keszulektipus_nev) VALUES (1, 'Mosógép'), (2, "
              "'Hűtő');",
              "INSERT INTO tipus (tipus, gyarto, tipus_nev, keszulektipus) VALUES (7, 1, 'WTX 3000', 1), "
              "(8, 2, 'EW6F 348', 1), (9, 3, 'W7X 94', 2);",
              "INSERT INTO dolgozo (dolgozo, dolgozo_nev, torolve) VALUES (1, 'Aktív Anna', 'N'), "
              "(2, 'Kilépett Kálmán', 'I');"})
            ExecSql(QString::fromUtf8(sql));
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        Beall().kepek = m_dir.filePath(QStringLiteral("Kepek"));
        Beall().torzsszerkeszt = true;
        m_previousOpener = SetShellOpener([this](const QString& a) { m_opened << a; });
    }
    void TearDown() override {
        SetShellOpener(m_previousOpener);
        Beall() = TBeall{};
    }
    QString pictureOf(int type) const { return Beall().kepek + QStringLiteral("/") + TypePictureName(type); }

    static inline TestDatabase* db = nullptr;
    QTemporaryDir m_dir;
    QStringList m_opened;
    ShellOpener m_previousOpener;
};

TEST_F(TypeWindows, ChooserReturnsTheTypeWithItsTextOrMinusOne) {
    WhenModal<Tfrm_TorzsTipus>([](Tfrm_TorzsTipus* w) {
        ASSERT_TRUE(Activate(w));
        EXPECT_EQ(w->windowTitle(), "Típusok");
        EXPECT_EQ(w->heading()->text(), "Típusok  ");
        EXPECT_EQ(w->currentKey(), 8) << "opened on the type to select first";
        // Enter in the search box moves into the grid; Enter there accepts.
        w->searchBox()->setFocus();
        QTest::keyClicks(w->searchBox(), QStringLiteral("bosch  wtx"));
        QTest::keyClick(w->searchBox(), Qt::Key_Return);
        EXPECT_TRUE(w->grid()->hasFocus());
        EXPECT_TRUE(w->isVisible());
        QTest::keyClick(w->grid(), Qt::Key_Return);
    });
    ChosenRow chosen = OpenDeviceTypeList(8, true);
    EXPECT_EQ(chosen.key, 7);
    EXPECT_EQ(chosen.name, "Bosch WTX 3000");

    WhenModal<Tfrm_TorzsTipus>([](Tfrm_TorzsTipus* w) {
        ASSERT_TRUE(Activate(w));
        EXPECT_TRUE(w->pictureView()->showsPlaceholder());
        SaveScreenshot(w, QStringLiteral("type_chooser.png"));
        QTest::keyClick(w->grid(), Qt::Key_Escape);
    });
    chosen = OpenDeviceTypeList(std::nullopt, true);
    EXPECT_EQ(chosen.key, std::nullopt);
    EXPECT_EQ(chosen.name, "");
    WhenModal<Tfrm_TorzsTipus>([](Tfrm_TorzsTipus* w) { QTest::keyClick(w->grid(), Qt::Key_Escape); });
    EXPECT_EQ(ChooseDeviceType(std::nullopt, false), std::nullopt);
}

// Opened from another window by a user without the master-data right, the
// type and lookup lists only choose.
TEST_F(TypeWindows, ChoosersOfferEditingOnlyWithTheMasterDataRight) {
    const QStringList typeEditing{"aUj", "aSzerkeszt", "aTorol", "aUjKep", "aKepTorol"};
    const QStringList lookupEditing{"aUj", "aSzerkeszt", "aTorol"};
    struct Case {
        bool chooser;
        bool right;
        bool editing;
    } cases[] = {{true, false, false}, {true, true, true}, {false, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "chooser " << c.chooser << ", right " << c.right);
        Beall().torzsszerkeszt = c.right;
        Tfrm_TorzsTipus types;
        types.setChooser(c.chooser);
        const QStringList shown = VisibleActions(types);
        for (const QString& action : typeEditing)
            EXPECT_EQ(shown.contains(action), c.editing) << action.toStdString();
        EXPECT_TRUE(shown.contains("aMegnez"));
        Tfrm_Torzsadat employees(lookup::Employees.table, true, lookup::Employees.caption);
        employees.setChooser(c.chooser);
        for (const QString& action : lookupEditing)
            EXPECT_EQ(VisibleActions(employees).contains(action), c.editing) << action.toStdString();
    }
    // A hidden action's key does nothing either.
    Beall().torzsszerkeszt = false;
    ScriptedWindows windows;
    windows.script(EditDeviceType).script(OpenLookupTable);
    Tfrm_TorzsTipus types;
    types.setChooser(true);
    types.openAt(7);
    types.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&types));
    QTest::keyClick(types.grid(), Qt::Key_F2);
    QTest::keyClick(types.grid(), Qt::Key_Insert);
    EXPECT_TRUE(windows.calls().empty());
    types.reject();
}

TEST_F(TypeWindows, RowActionsOnAnEmptyListSayThereIsNoRow) {
    ScriptedWindows windows;
    windows.script(EditDeviceType).script(ChoosePictureFile).script(EditLookupRow);
    ScriptedDialogs dialogs;
    Tfrm_TorzsTipus types;
    types.setChooser(true);
    types.openAt(std::nullopt);
    types.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&types));
    types.searchBox()->setText(QStringLiteral("nincs ilyen"));
    ASSERT_EQ(types.list().rowCount(), 0);
    EXPECT_TRUE(types.pictureView()->showsPlaceholder());
    for (int key : {Qt::Key_F2, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9}) {
        QTest::keyClick(types.grid(), Qt::Key(key));
        EXPECT_EQ(dialogs.lastCall().text, "Nincs sor kiválasztva.") << key;
    }
    QTest::keyClick(types.grid(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(dialogs.calls().size(), 5u);
    QTest::keyClick(types.grid(), Qt::Key_Return);
    EXPECT_EQ(dialogs.lastCall().text, "Nincs kiválasztott sor.");
    EXPECT_TRUE(types.isVisible());
    types.reject();
    EXPECT_TRUE(windows.calls().empty());
    EXPECT_FALSE(QFile::exists(pictureOf(0)));

    // The lookup list: "Elfogad" keeps the window open; the others do nothing.
    dialogs.clear();
    WhenModal<Tfrm_Torzsadat>([](Tfrm_Torzsadat* w) {
        ASSERT_TRUE(Activate(w));
        w->searchBox()->setText(QStringLiteral("senki"));
        QTest::keyClick(w->grid(), Qt::Key_Return);
        EXPECT_TRUE(w->isVisible());
        QTest::keyClick(w->grid(), Qt::Key_F2);
        QTest::keyClick(w->grid(), Qt::Key_Delete, Qt::ControlModifier);
        w->reject();
    });
    EXPECT_EQ(OpenLookup(lookup::Employees, std::nullopt, true).key, std::nullopt);
    EXPECT_EQ(dialogs.texts(),
              (QStringList{"Nincs kiválasztott sor.", "Nincs sor kiválasztva.", "Nincs sor kiválasztva."}));
    EXPECT_TRUE(windows.calls().empty());
}

TEST_F(TypeWindows, PicturesAreAddedReplacedShownAndRemoved) {
    ScriptedWindows windows;
    ScriptedDialogs dialogs;
    Tfrm_TorzsTipus types;
    types.openAt(7);
    types.resize(900, 520);
    types.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&types));
    PictureView* view = types.pictureView();

    // No picture yet, no folder yet: the placeholder; "Megnéz" does nothing.
    EXPECT_TRUE(view->showsPlaceholder());
    QTest::keyClick(types.grid(), Qt::Key_F9);
    EXPECT_TRUE(m_opened.isEmpty());

    // "Kép hozzáadás": the dialog starts in the picture folder, which now exists.
    const QString big = m_dir.filePath(QStringLiteral("nagy.JPG"));
    ASSERT_TRUE(Picture(1600, 1200).save(big, "JPEG"));
    windows.act(ChoosePictureFile, [](const QString& folder) {
        EXPECT_TRUE(QDir(folder).exists());
        return QString();
    });
    QTest::keyClick(types.grid(), Qt::Key_F7);
    EXPECT_FALSE(QFile::exists(pictureOf(7))) << "cancelled";
    windows.answer(ChoosePictureFile, big);
    QTest::keyClick(types.grid(), Qt::Key_F7);
    ASSERT_TRUE(QFile::exists(pictureOf(7)));
    EXPECT_FALSE(view->showsPlaceholder());
    EXPECT_EQ(view->picture().size(), QSize(1600, 1200));
    // Larger than the panel: fitted by the smaller ratio, centred below the gap.
    const QRect drawn = view->pictureRect();
    EXPECT_TRUE(drawn.width() == view->width() || drawn.height() == view->height() - 10);
    EXPECT_GE(drawn.top(), 10);
    EXPECT_EQ(LastAction(), "frm_TorzsTipus.aUjKep");
    SaveScreenshot(&types, QStringLiteral("type_list.png"));

    // Choosing the picture file itself keeps it whole; a smaller one replaces it at once.
    windows.answer(ChoosePictureFile, pictureOf(7));
    QTest::keyClick(types.grid(), Qt::Key_F7);
    EXPECT_EQ(view->picture().size(), QSize(1600, 1200));
    const QString small = m_dir.filePath(QStringLiteral("kicsi.jpeg"));
    ASSERT_TRUE(Picture(80, 60).save(small, "JPEG"));
    windows.answer(ChoosePictureFile, small);
    QTest::keyClick(types.grid(), Qt::Key_F7);
    EXPECT_EQ(view->picture().size(), QSize(80, 60));
    EXPECT_EQ(view->pictureRect().size(), QSize(80, 60)) << "a small picture keeps its size";

    QTest::keyClick(types.grid(), Qt::Key_F9);
    EXPECT_EQ(m_opened, QStringList{QUrl::fromLocalFile(pictureOf(7)).toString()});

    // Moving to another type shows its picture or the placeholder; a broken
    // file shows the placeholder without a message.
    QFile broken(pictureOf(8));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("nem JPEG");
    broken.close();
    types.list().locate(8);
    EXPECT_TRUE(view->showsPlaceholder());
    types.list().locate(7);
    EXPECT_FALSE(view->showsPlaceholder());

    // "Kép törlés": asked; No keeps it, Yes removes it.
    dialogs.answer(DialogAnswer::No).answer(DialogAnswer::Yes);
    QTest::keyClick(types.grid(), Qt::Key_F8);
    EXPECT_TRUE(QFile::exists(pictureOf(7)));
    QTest::keyClick(types.grid(), Qt::Key_F8);
    EXPECT_EQ(dialogs.lastCall().text, "Valóban törlöd a képet?");
    EXPECT_EQ(dialogs.lastCall().caption, "Megerősítés");
    EXPECT_FALSE(QFile::exists(pictureOf(7)));
    EXPECT_TRUE(view->showsPlaceholder());
    EXPECT_EQ(dialogs.calls().size(), 2u) << "nothing but the two questions";
    types.reject();
}

TEST_F(TypeWindows, LookupWindowServesEachTableAndItsEditorReturnsTheInsertedKey) {
    // The employee chooser: live employees only, the name given back.
    WhenModal<Tfrm_Torzsadat>([](Tfrm_Torzsadat* w) {
        ASSERT_TRUE(Activate(w));
        EXPECT_EQ(w->windowTitle(), "Dolgozó");
        EXPECT_EQ(w->heading()->text(), "Dolgozó  ");
        EXPECT_EQ(w->list().rowCount(), 1);
        EXPECT_EQ(w->model()->headerData(0, Qt::Horizontal).toString(), "Dolgozó");
        SaveScreenshot(w, QStringLiteral("lookup_employees.png"));
        QTest::keyClick(w->grid(), Qt::Key_Return);
    });
    ChosenRow chosen = OpenLookup(lookup::Employees, std::nullopt, true);
    EXPECT_EQ(chosen.key, 1);
    EXPECT_EQ(chosen.name, "Aktív Anna");

    // A new manufacturer through the real row editor: the first letter in
    // capitals, the key the insert gave, and the list on it.
    WhenModal<Tfrm_Torzsadat>([](Tfrm_Torzsadat* w) {
        ASSERT_TRUE(Activate(w));
        EXPECT_EQ(w->list().rowCount(), 3);
        WhenModal<Tfrm_Torzsadat_Szerkeszt>([](Tfrm_Torzsadat_Szerkeszt* e) {
            ASSERT_TRUE(Activate(e));
            EXPECT_EQ(e->windowTitle(), "Gyártó");
            auto* edit = qobject_cast<QLineEdit*>(e->control(QStringLiteral("gyarto_nev")));
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->maxLength(), 50);
            QTest::keyClicks(edit, QStringLiteral("zanussi"));
            SaveScreenshot(e, QStringLiteral("lookup_editor.png"));
            QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
        });
        QTest::keyClick(w->grid(), Qt::Key_Insert);
        EXPECT_EQ(w->currentValue(QStringLiteral("gyarto_nev")).toString(), "Zanussi");
        ASSERT_TRUE(Activate(w));
        QTest::keyClick(w->grid(), Qt::Key_Return);
    });
    chosen = OpenLookup(lookup::Manufacturers, std::nullopt, true);
    EXPECT_EQ(chosen.key,
              QueryInt(QStringLiteral("SELECT gyarto FROM gyarto WHERE gyarto_nev = 'Zanussi';")));
    EXPECT_EQ(chosen.name, "Zanussi");

    // Editing a kind of device, cancelled, and then saved.
    WhenModal<FormEditor>([](FormEditor* e) { e->reject(); });
    EXPECT_EQ(EditLookupRow(2, lookup::DeviceKinds.table, lookup::DeviceKinds.caption), std::nullopt);
    WhenModal<FormEditor>([](FormEditor* e) {
        ASSERT_TRUE(Activate(e));
        auto* edit = qobject_cast<QLineEdit*>(e->control(QStringLiteral("keszulektipus_nev")));
        edit->selectAll();
        TypeInto(edit, QStringLiteral("Hűtőszekrény"));
        e->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    EXPECT_EQ(EditLookupRow(2, lookup::DeviceKinds.table, lookup::DeviceKinds.caption), 2);
    EXPECT_EQ(LookupName(2, QStringLiteral("keszulektipus")), "Hűtőszekrény");
}

TEST_F(TypeWindows, TypeEditorChoosesManufacturerAndKindAndMovesTheFocusOn) {
    ScriptedWindows windows;
    windows.answer(OpenLookupTable, ChosenRow{3}).answer(OpenLookupTable, ChosenRow{});
    Tfrm_TorzsTipus_Szerkeszt w(2);
    w.startNew();
    w.definition().newRow(w.table());
    w.showValues();
    w.showLookups();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.windowTitle(), "Típus szerkesztés");
    auto* name = qobject_cast<QLineEdit*>(w.control(QStringLiteral("tipus_nev")));
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(name->hasFocus());
    QTest::keyClicks(name, QStringLiteral("mini 5"));
    EXPECT_EQ(name->text(), "Mini 5");
    // A lookup's text box sits beside its button.
    const auto shown = [&w](const char* field) {
        return w.control(QString::fromLatin1(field))->parentWidget()->findChild<QLineEdit*>()->text();
    };
    EXPECT_EQ(shown("gyarto"), "Electrolux");

    // The manufacturer button: chosen, shown, the focus back on "Típus".
    qobject_cast<QToolButton*>(w.control(QStringLiteral("gyarto")))->click();
    EXPECT_EQ(windows.calls().at(0).args.mid(0, 5), (QVariantList{2, true, "gyarto", false, "Gyártó"}));
    EXPECT_EQ(shown("gyarto"), "Whirlpool");
    EXPECT_TRUE(name->hasFocus());
    // The kind-of-device button, cancelled: the focus moves on to OK.
    qobject_cast<QToolButton*>(w.control(QStringLiteral("keszulektipus")))->click();
    EXPECT_EQ(windows.calls().at(1).args.at(2), "keszulektipus");
    EXPECT_EQ(w.focusWidget(), w.findChild<QPushButton*>(QStringLiteral("Button1")));
    SaveScreenshot(&w, QStringLiteral("type_editor.png"));

    w.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    const int saved = int(w.savedKey().value_or(0));
    EXPECT_EQ(saved, QueryInt(QStringLiteral("SELECT tipus FROM tipus WHERE tipus_nev = 'Mini 5';")));
    EXPECT_EQ(QueryInt(QStringLiteral("SELECT gyarto FROM tipus WHERE tipus = %1;").arg(saved)), 3);
}

} // namespace
