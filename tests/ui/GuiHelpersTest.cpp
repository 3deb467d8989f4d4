// Widget helpers: the sort-column highlight, first-letter upper-casing and
// window bounds kept in the ini file.
#include "components/DatasetModel.h"
#include "components/Query.h"
#include "foundation/IniFile.h"
#include "foundation/WindowPlacement.h"
#include "foundation/gui/WidgetHelpers.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kml;

namespace {

TEST(GuiHelpers, HighlightSortColumnMarksOneColumn) {
    Query query;
    DatasetModel model(&query);
    QTableView grid;
    grid.setModel(&model);
    HighlightSortColumn(&grid, 2);
    EXPECT_EQ(model.highlightColumn(), 2);
    HighlightSortColumn(&grid, 0);
    EXPECT_EQ(model.highlightColumn(), 0);

    // Through a proxy model as well.
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    QTableView proxied;
    proxied.setModel(&proxy);
    HighlightSortColumn(&proxied, 3);
    EXPECT_EQ(model.highlightColumn(), 3);
    EXPECT_EQ(kHighlightColor, QColor(0xFF, 0xFF, 0xB9));
    EXPECT_NO_THROW(HighlightSortColumn(nullptr, 1));
}

TEST(GuiHelpers, UpcaseFirstKeyOnlyInEmptyFields) {
    QLineEdit edit;
    EXPECT_EQ(UpcaseFirstKey(&edit, 'k'), QChar('K'));
    EXPECT_EQ(UpcaseFirstKey(&edit, QChar(0xE1)), QChar(0xE1)); // á stays
    EXPECT_EQ(UpcaseFirstKey(&edit, '1'), QChar('1'));
    edit.setText("K");
    EXPECT_EQ(UpcaseFirstKey(&edit, 'k'), QChar('k'));

    QComboBox combo;
    combo.setEditable(true);
    EXPECT_EQ(UpcaseFirstKey(&combo, 'b'), QChar('B'));
    combo.setEditText("Bu");
    EXPECT_EQ(UpcaseFirstKey(&combo, 'b'), QChar('b'));

    QPlainTextEdit other; // any other control counts as empty
    other.setPlainText("szöveg");
    EXPECT_EQ(UpcaseFirstKey(&other, 'a'), QChar('A'));
}

TEST(GuiHelpers, WindowBoundsThroughTheIniFile) {
    QTemporaryDir dir;
    SetIniFilePath(dir.filePath("KoravelML.ini"));
    SetWorkArea(QRect(0, 0, 1280, 1000));
    QWidget window;
    window.resize(400, 300);
    LoadWindowBounds(&window, "frm_Proba");
    EXPECT_EQ(window.pos(), QPoint(439, 349)); // nothing remembered: centred in the work area
    {
        // A window that belongs to another opens over it.
        QWidget owner;
        owner.setGeometry(100, 100, 800, 600);
        owner.show();
        QWidget child(&owner, Qt::Dialog);
        child.resize(200, 100);
        LoadWindowPos(&child, "frm_Gyerek");
        const QPoint centre = owner.frameGeometry().center();
        EXPECT_EQ(child.pos(), QPoint(centre.x() - 100, centre.y() - 50));
    }
    EXPECT_EQ(window.size(), QSize(400, 300));
    window.move(2000, 20); // closed on a second monitor
    window.resize(500, 350);
    SaveWindowBounds(&window, "frm_Proba");
    QWidget again;
    again.resize(100, 100);
    LoadWindowBounds(&again, "frm_Proba");
    EXPECT_EQ(again.pos(), QPoint(0, 20));
    EXPECT_EQ(again.size(), QSize(500, 350));

    SaveWindowPos(&again, "frm_Inp");
    QWidget dialog;
    LoadWindowPos(&dialog, "frm_Inp");
    EXPECT_EQ(dialog.pos(), QPoint(0, 20));
    SetIniFilePath({});
}

} // namespace
