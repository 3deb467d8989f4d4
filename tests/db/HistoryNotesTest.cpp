// A record's history and notes against the private server: the work-sheet
// browser's colours and search, the item history banded by sheet, the
// rights its printing and export need, and the notes' attachments: which
// files are opened, which paths are refused, how old Windows paths are
// found.
#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "components/Table.h"
#include "exchange/DatasetExport.h"
#include "foundation/IniFile.h"
#include "foundation/Settings.h"
#include "patterns/ListController.h"
#include "reports/ReportWindows.h"
#include "reports/WorkSheetPrint.h"
#include "worksheets/Notes.h"
#include "worksheets/WorkSheetBrowsers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kml;
using kml::test::TestDatabase;

namespace {

class History : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("history"));
        Connection& c = s_db->connection();
        c.exec(QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev) VALUES (501, 'Bongész Béla'), "
                              "(502, 'Más Mária')"));
        c.exec(QStringLiteral("INSERT INTO keszulek (keszulek, ugyfel, gysz) VALUES (601, 501, 'GY-601'), "
                              "(602, 502, 'GY-602')"));
        c.exec(QStringLiteral("INSERT INTO tetel (tetel, tetel_kod, tetel_nev) VALUES (701, 'T1', 'Szűrő'), "
                              "(702, 'T2', 'Tömítés'), (703, 'T3', 'Munkadíj')"));
        // Device 601: sheet 801 (two lines, started), sheet 802 (three lines,
        // ready but cancelled); device 602: sheet 803 ready.
        c.exec(QStringLiteral("INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, datum, dat_kesz, "
                              "statusz, storno) VALUES "
                              "(801, 1, 501, 601, '2024-03-05', NULL, 2, 'N'), "
                              "(802, 1, 501, 601, '2024-04-10', '2024-05-02', 3, 'I'), "
                              "(803, 1, 502, 602, '2024-06-01', '2024-06-03', 3, 'N')"));
        // Lines written out of sheet order, as another workstation might.
        c.exec(QStringLiteral(
            "INSERT INTO munkalap_tetel (munkalap_tetel, munkalap, tetel, db, ar_teljes) VALUES "
            "(901, 802, 701, 1, 10), (902, 801, 702, 2, 20), (903, 802, 702, 1, 30), "
            "(904, 801, 703, 1, 40), (905, 802, 703, 3, 50), (906, 803, 701, 1, 60)"));
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override { m_saved = Beall(); }
    void TearDown() override { Beall() = m_saved; }

    static inline TestDatabase* s_db = nullptr;
    TBeall m_saved;
};

QStringList Column(ListController& list, const QString& field) {
    QStringList values;
    Query& q = list.query();
    for (int r = 0; r < q.recordCount(); ++r) {
        q.moveTo(r);
        values << q.asString(field);
    }
    return values;
}

} // namespace

TEST_F(History, SheetColoursFollowStatusAndCancellation) {
    struct Case {
        int status;
        const char* storno;
        QColor background;
        QColor text;
    } const cases[] = {
        {1, "N", QColor(), QColor()},
        {2, "N", StartedSheetColor, QColor()},
        {3, "N", ReadySheetColor, QColor()},
        {3, "I", QColor(255, 221, 221), QColor(128, 0, 0)},
        {2, "I", QColor(255, 221, 221), QColor(128, 0, 0)},
        {4, "N", QColor(), QColor()},
    };
    for (const Case& c : cases) {
        const RowStyle style = SheetBrowserRowStyle(c.status, QString::fromLatin1(c.storno));
        EXPECT_EQ(style.background, c.background) << c.status << c.storno;
        EXPECT_EQ(style.foreground, c.text) << c.status << c.storno;
    }
}

TEST_F(History, SheetBrowserConditionsHeadingsAndSearch) {
    EXPECT_EQ(SheetBrowserCondition(-1, -1), QStringLiteral("(1 = 1)"));
    EXPECT_EQ(SheetBrowserCondition(501, 601), QStringLiteral("(ugyfel = 501) AND (keszulek = 601)"));
    EXPECT_EQ(SheetBrowserHeading(-1), QStringLiteral("Munkalapok  "));
    EXPECT_EQ(SheetBrowserHeading(501), QString::fromUtf8("Bongész Béla  "));

    ListController customer(SheetBrowserDefinition(501, -1));
    customer.open();
    EXPECT_EQ(Column(customer, QStringLiteral("munkalap")), (QStringList{"801", "802"}));
    // yyyy.mm finds sheets that arrived or were finished in that month.
    customer.search(QStringLiteral("2024.05"));
    EXPECT_EQ(Column(customer, QStringLiteral("munkalap")), QStringList{"802"});
    customer.search(QStringLiteral("2024.03"));
    EXPECT_EQ(Column(customer, QStringLiteral("munkalap")), QStringList{"801"});

    ListController all(SheetBrowserDefinition(-1, -1));
    all.open();
    EXPECT_EQ(all.rowCount(), 3);
    all.search(QString::fromUtf8("más mária"));
    EXPECT_EQ(Column(all, QStringLiteral("munkalap")), QStringList{"803"});
    ListController device(SheetBrowserDefinition(-1, 602));
    device.open();
    EXPECT_EQ(Column(device, QStringLiteral("munkalap")), QStringList{"803"});
}

TEST_F(History, ItemHistoryIsBandedBySheetInSheetAndLineOrder) {
    EXPECT_EQ(ItemHistoryHeading(601), QString::fromUtf8("Felhasznált anyagok   - GY-601"));
    ListDefinition definition = ItemHistoryDefinition(601);
    ListController list(definition);
    list.open();
    EXPECT_EQ(Column(list, QStringLiteral("munkalap")), (QStringList{"801", "801", "802", "802", "802"}));
    EXPECT_EQ(Column(list, QStringLiteral("tetel_kod")), (QStringList{"T2", "T3", "T1", "T2", "T3"}));
    EXPECT_EQ(Column(list, QStringLiteral("munkalapstr")).first(), QStringLiteral("00801J"));
    std::vector<bool> tinted;
    for (int r = 0; r < list.rowCount(); ++r)
        tinted.push_back(definition.colouring.style(list.query(), r, false).background == ItemBandColor);
    EXPECT_EQ(tinted, (std::vector<bool>{false, false, true, true, true}));
    EXPECT_FALSE(definition.colouring.style(list.query(), 3, true).background.isValid());

    list.search(QString::fromUtf8("tömítés"));
    EXPECT_EQ(Column(list, QStringLiteral("munkalap")), (QStringList{"801", "802"}));
    list.search(QStringLiteral("00802"));
    EXPECT_EQ(list.rowCount(), 3);
}

TEST_F(History, PrintingAndExportNeedTheirRights) {
    ListController sheets(SheetBrowserDefinition(501, -1));
    sheets.open();
    {
        // "Lista" without the printing right: refused, nothing printed.
        Beall().nyomtathat = false;
        ScriptedDialogs dialogs;
        ScriptedWindows windows;
        windows.script(ShowReportPreview).script(AskPrintMode);
        dialogs.answerChoice(1);
        PrintFromSheetBrowser(801, sheets.query());
        EXPECT_EQ(dialogs.lastCall().text, NoRightMessage);
        EXPECT_TRUE(windows.calls().empty());
    }
    {
        // "Munkalap" previews the sheet whatever the rights.
        ScriptedDialogs dialogs;
        ScriptedWindows windows;
        windows.answer(PrintWorkSheet, true);
        dialogs.answerChoice(0);
        PrintFromSheetBrowser(801, sheets.query());
        ASSERT_EQ(windows.calls(QStringLiteral("PrintWorkSheet")).size(), 1u);
        EXPECT_EQ(windows.calls(QStringLiteral("PrintWorkSheet")).at(0).args, (QVariantList{801, false}));
    }
    {
        // With the printing right the list is laid out over the browser's rows.
        Beall().nyomtathat = true;
        Beall().excelbe = false;
        ScriptedDialogs dialogs;
        ScriptedWindows windows;
        windows.answer(AskPrintMode, 0).act(ShowReportPreview, [](const report::Document&, const QString&) {
        });
        dialogs.answerChoice(1);
        PrintFromSheetBrowser(801, sheets.query());
        EXPECT_EQ(windows.calls(QStringLiteral("ShowReportPreview")).size(), 1u);
    }
    {
        // The list's export choice needs the export right.
        ScriptedDialogs dialogs;
        ScriptedWindows windows;
        windows.answer(AskPrintMode, 2).script(ExportDataset);
        dialogs.answerChoice(1);
        PrintFromSheetBrowser(801, sheets.query());
        EXPECT_EQ(dialogs.lastCall().text, NoRightMessage);
    }
    ListController items(ItemHistoryDefinition(601));
    items.open();
    {
        ScriptedDialogs dialogs;
        ScriptedWindows windows;
        windows.script(ExportDataset);
        ExportItemHistory(items.query());
        EXPECT_EQ(dialogs.lastCall().text, NoRightMessage);
        Beall().excelbe = true;
        windows.act(ExportDataset, [](Query& data, const QString& name) {
            EXPECT_EQ(data.recordCount(), 5);
            EXPECT_TRUE(name.isEmpty());
        });
        ExportItemHistory(items.query());
        EXPECT_EQ(windows.calls(QStringLiteral("ExportDataset")).size(), 1u);
    }
}

// ---- Notes ---------------------------------------------------------------------------

TEST_F(History, NoteListSortsAndEditsItsRecordsNotes) {
    Connection& c = s_db->connection();
    c.exec(QStringLiteral("INSERT INTO megj (megj, id, megjtipus, rovid, datum) VALUES "
                          "(1, 501, 1, 'Bé', '2024-01-01 10:00'), (2, 501, 1, 'Alfa', '2024-02-01 10:00'), "
                          "(3, 501, 1, 'Bé', '2024-03-01 10:00'), (4, 501, 2, 'Másik fajta', NULL)"));
    ListDefinition definition = NotesDefinition(501, 1);
    EXPECT_EQ(definition.heading, QString::fromUtf8("Bongész Béla"));
    ListController notes(definition);
    notes.open();
    EXPECT_EQ(Column(notes, QStringLiteral("megj")), (QStringList{"3", "2", "1"}));
    notes.sortBy(QStringLiteral("rovid"));
    EXPECT_EQ(Column(notes, QStringLiteral("megj")), (QStringList{"2", "1", "3"}));
    notes.sortBy(QStringLiteral("datum"));
    EXPECT_EQ(Column(notes, QStringLiteral("megj")), (QStringList{"3", "2", "1"}));
    EXPECT_EQ(definition.colouring.icon(QStringLiteral("link"), QString()), CellIcon::NoAttachment);
    EXPECT_EQ(definition.colouring.icon(QStringLiteral("link"), QStringLiteral("/x")), CellIcon::Attachment);

    // A new note carries the record, its kind and the user's name.
    Beall().felhasznaloNev.clear();
    Table row(QStringLiteral("megj"));
    ASSERT_TRUE(PrepareNote(row, -1, 3, 601));
    row.setValue(QStringLiteral("rovid"), QStringLiteral("Új"));
    const int key = row.post().toInt();
    const ResultSet saved = c.query(
        QStringLiteral("SELECT id, megjtipus, felhasznalo, datum IS NOT NULL FROM megj WHERE megj = %1")
            .arg(key));
    EXPECT_EQ(saved.text(0, 0), QStringLiteral("601"));
    EXPECT_EQ(saved.text(0, 1), QStringLiteral("3"));
    EXPECT_EQ(saved.text(0, 2), QStringLiteral("rendszergazda"));
    EXPECT_EQ(saved.text(0, 3), QStringLiteral("1"));
    EXPECT_FALSE(PrepareNote(row, 999999, 1, 1));

    // Deleting a note asks, removes the row, and never the attached file.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("kept.pdf"));
    QFile(file).open(QIODevice::WriteOnly);
    c.exec(QStringLiteral("UPDATE megj SET link = ") + QuoteSqlText(file) +
           QStringLiteral(" WHERE megj = 3"));
    ScriptedDialogs dialogs;
    dialogs.answer(DialogAnswer::Yes);
    notes.open(3);
    EXPECT_TRUE(notes.removeCurrent());
    EXPECT_EQ(c.query(QStringLiteral("SELECT COUNT(*) FROM megj WHERE megj = 3")).text(0, 0),
              QStringLiteral("0"));
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(History, AttachmentsOpenOnlyAsPlainFiles) {
    QTemporaryDir dir;
    const auto make = [&](const QString& name, bool executable) {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("x");
        f.close();
        if (executable)
            f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
        return path;
    };
    const QString pdf = make(QStringLiteral("számla 1.pdf"), false);
    const QString script = make(QStringLiteral("run.sh"), true);
    const QString desktop = make(QStringLiteral("open.desktop"), false);
    QDir().mkpath(dir.filePath(QStringLiteral("folder")));
    QFile::link(script, dir.filePath(QStringLiteral("innocent.pdf")));

    struct Case {
        QString link;
        QString message; // "" when opened
    } const cases[] = {
        {pdf, QString()},
        {QString(), note_text::NoAttachment},
        {QStringLiteral("   "), note_text::NoAttachment},
        {dir.filePath(QStringLiteral("gone.pdf")),
         note_text::MissingFile + dir.filePath(QStringLiteral("gone.pdf"))},
        {script, note_text::Executable + script},
        {dir.filePath(QStringLiteral("innocent.pdf")),
         note_text::Executable + dir.filePath(QStringLiteral("innocent.pdf"))},
        {desktop, note_text::DesktopEntry + desktop},
        {dir.filePath(QStringLiteral("folder")),
         note_text::NotAFile + dir.filePath(QStringLiteral("folder"))},
        {QStringLiteral("C:\\Dokumentumok\\a.pdf"),
         note_text::MissingFile + QStringLiteral("C:\\Dokumentumok\\a.pdf")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link.toStdString());
        ScriptedDialogs dialogs;
        ScriptedWindows windows;
        if (c.message.isEmpty())
            windows.act(OpenAttachmentFile, [](const QString&) {});
        else
            windows.script(OpenAttachmentFile);
        EXPECT_EQ(OpenNoteAttachment(c.link), c.message.isEmpty());
        if (c.message.isEmpty()) {
            ASSERT_EQ(windows.calls(QStringLiteral("OpenAttachmentFile")).size(), 1u);
            EXPECT_EQ(windows.calls(QStringLiteral("OpenAttachmentFile")).at(0).args.at(0).toString(),
                      QFileInfo(pdf).canonicalFilePath());
            EXPECT_TRUE(dialogs.calls().empty());
        } else {
            EXPECT_EQ(dialogs.lastCall().text, c.message);
            EXPECT_EQ(dialogs.lastCall().caption, dialog_text::ErrorCaption);
        }
    }
}

TEST_F(History, WindowsPathsGoThroughThePrefixMap) {
    QTemporaryDir dir;
    const std::vector<PathPrefix> map{
        {QStringLiteral("C:\\Dok"), dir.path()},
        {QStringLiteral("\\\\szerver\\megosztas\\"), dir.path() + QStringLiteral("/m/")}};
    EXPECT_EQ(LocalAttachmentPath(QStringLiteral("c:\\dok\\a\\b.pdf"), map),
              dir.path() + QStringLiteral("/a/b.pdf"));
    EXPECT_EQ(LocalAttachmentPath(QStringLiteral("C:\\Dokumentumok\\b.pdf"), map), QString());
    EXPECT_EQ(LocalAttachmentPath(QStringLiteral("\\\\szerver\\megosztas\\x.jpg"), map),
              dir.path() + QStringLiteral("/m/x.jpg"));
    EXPECT_EQ(LocalAttachmentPath(QStringLiteral("D:\\x.pdf"), map), QString());
    EXPECT_EQ(LocalAttachmentPath(QStringLiteral("/home/a.pdf"), map), QStringLiteral("/home/a.pdf"));

    // From the ini file, all the way to the opener.
    const QString ini = dir.filePath(QStringLiteral("KoravelML.ini"));
    const QString previousIni = IniFilePath();
    SetIniFilePath(ini);
    IniWriteStr(QStringLiteral("Csatolmanyok"), QStringLiteral("Eleres1"),
                QStringLiteral("\\\\szerver\\megosztas|") + dir.path());
    QFile(dir.filePath(QStringLiteral("jegy.PDF"))).open(QIODevice::WriteOnly);
    ScriptedWindows windows;
    windows.act(OpenAttachmentFile, [](const QString&) {});
    EXPECT_TRUE(OpenNoteAttachment(QStringLiteral("\\\\szerver\\megosztas\\jegy.PDF")));
    EXPECT_EQ(windows.calls(QStringLiteral("OpenAttachmentFile")).at(0).args.at(0).toString(),
              QFileInfo(dir.filePath(QStringLiteral("jegy.PDF"))).canonicalFilePath());
    SetIniFilePath(previousIni);
}

TEST_F(History, LinksTheDatabaseCannotKeepAreRefused) {
    EXPECT_FALSE(LinkProblem(QString()));
    EXPECT_FALSE(LinkProblem(QString::fromUtf8("/srv/dok/Árvíztűrő tükörfúrógép „1”.pdf")));
    EXPECT_FALSE(LinkProblem(QString(150, QLatin1Char('a'))));
    EXPECT_EQ(LinkProblem(QString(151, QLatin1Char('a'))), note_text::LinkTooLong);
    EXPECT_EQ(LinkProblem(QString::fromUtf8("/srv/Фото.jpg")),
              note_text::LinkNotStorable + QString::fromUtf8("Фот")); // each character once
    EXPECT_EQ(LinkProblem(QString::fromUtf8("/srv/ñ😀.jpg"))
                  .value_or(QString())
                  .left(note_text::LinkNotStorable.size()),
              note_text::LinkNotStorable);
}

TEST_F(History, PicturesPreviewInAnyLetterCase) {
    QTemporaryDir dir;
    for (const char* name : {"a.jpg", "b.JPG", "c.Jpeg", "d.bmp", "e.pdf"})
        QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    EXPECT_TRUE(IsPreviewPicture(dir.filePath(QStringLiteral("a.jpg"))));
    EXPECT_TRUE(IsPreviewPicture(dir.filePath(QStringLiteral("b.JPG"))));
    EXPECT_TRUE(IsPreviewPicture(dir.filePath(QStringLiteral("c.Jpeg"))));
    EXPECT_TRUE(IsPreviewPicture(dir.filePath(QStringLiteral("d.bmp"))));
    EXPECT_FALSE(IsPreviewPicture(dir.filePath(QStringLiteral("e.pdf"))));
    EXPECT_FALSE(IsPreviewPicture(dir.filePath(QStringLiteral("missing.jpg"))));
    EXPECT_FALSE(IsPreviewPicture(QString()));
}
