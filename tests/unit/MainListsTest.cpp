// The main window's lists and actions without widgets: the conditions the
// status tabs and the search box produce, the sort expressions, the colouring
// rules with their exact colours, the layout numbers, and the action table
// (captions, shortcuts, menus, rights, what is ready).
#include "shell/MainLists.h"

#include "foundation/SearchFilter.h"
#include "foundation/Settings.h"
#include "patterns/ListController.h"
#include "patterns/ListSearch.h"
#include "patterns/RowDeletion.h"
#include "records/Catalogue.h"
#include "records/RecordRoutes.h"
#include "shell/MainActions.h"
#include "shell/MainSession.h"
#include "worksheets/WorkSheetLists.h"

#include <QKeySequence>
#include <QSet>
#include <gtest/gtest.h>

using namespace kml;

namespace {

TEST(MainLists, StatusTabsSelectTheirStatuses) {
    const QStringList captions = StatusTabCaptions();
    ASSERT_EQ(captions.size(), StatusTabCount);
    const struct {
        int tab;
        const char* caption;
        const char* condition;
    } cases[] = {
        {0, "Folyamatban", "(statusz BETWEEN 1 AND 2)"},
        {1, "Összes", "(statusz > 0)"},
        {2, "Beérkezett", "(statusz = 1)"},
        {3, "Megkezdve", "(statusz = 2)"},
        {4, "Készen van", "(statusz = 3)"},
        {5, "Számlázva", "(statusz = 4)"},
        {6, "Árajánlat", "(statusz = 0)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(captions[c.tab], QString::fromUtf8(c.caption));
        EXPECT_EQ(StatusTabCondition(c.tab), QString::fromUtf8(c.condition)) << c.tab;
        EXPECT_EQ(ReadyActionOnStatusTab(c.tab), c.tab != 6) << c.tab;
    }
    EXPECT_EQ(WorkSheetTabList().list.baseCondition, StatusTabCondition(0));
}

TEST(MainLists, SearchConditionsOfTheFourLists) {
    MainRoutes routes;
    RegisterMainRoutes(routes);
    // Customers: one LIKE per field joined by OR, the date searched in its
    // yyyy.mm.dd form; the search runs through the customers' search table,
    // which holds exactly these fields (the rows are the same: ListSearchTest).
    const ListDefinition& customerList = routes.list(MainTab::Customers).list;
    const QString like = QStringLiteral(" LIKE '%kov%')");
    EXPECT_EQ(LikeFilter(customerList.searchFields, "kov", true),
              " AND ((ugyfel_nev" + like + " OR (kapcsolat" + like + " OR (telefon" + like + " OR (emil" +
                  like + " OR (irszvaroscim" + like + " OR (gyszstr" + like +
                  " OR (CONVERT(DATE_FORMAT(dat_figyelmeztet,'%Y.%m.%d') USING latin2)" + like + ")");
    ListController customers(customerList);
    EXPECT_EQ(customers.condition("kov"),
              "(ugyfel > 0)" +
                  IndexedLikeFilter(customerList.searchIndex, customerList.searchFields, "kov", true));
    const struct {
        MainTab tab;
        const char* table;
    } indexed[] = {{MainTab::WorkSheets, "munkalap_kereses"},
                   {MainTab::Customers, "ugyfel_kereses"},
                   {MainTab::Devices, "keszulek_kereses"}};
    for (const auto& i : indexed) {
        const ListDefinition& d = routes.list(i.tab).list;
        EXPECT_EQ(d.searchIndex.table, QString::fromLatin1(i.table));
        EXPECT_EQ(d.searchIndex.fields, d.searchFields) << i.table;
        EXPECT_EQ(d.searchIndex.keyField, d.keyField) << i.table;
        EXPECT_TRUE(ListController(d).usesSearchIndex()) << i.table;
    }

    // The planner searches the employees by name only.
    ListController planner(routes.list(MainTab::Planner).list);
    EXPECT_FALSE(planner.usesSearchIndex());
    EXPECT_EQ(planner.condition("an"), "torolve = 'N' AND ((dolgozo_nev LIKE '%an%'))");

    // All fifteen work-sheet fields take part; the devices search five.
    const ListDefinition& sheets = routes.list(MainTab::WorkSheets).list;
    EXPECT_EQ(LikeFilter(sheets.searchFields, "x", false).count(QStringLiteral(" LIKE ")), 15);
    EXPECT_TRUE(sheets.searchFields.endsWith(QLatin1String(";gysz")));
    const ListDefinition& devices = routes.list(MainTab::Devices).list;
    EXPECT_EQ(LikeFilter(devices.searchFields, "x", false).count(QStringLiteral(" LIKE ")), 5);

    // An empty search leaves each list its fixed condition alone.
    for (MainTab tab : {MainTab::WorkSheets, MainTab::Customers, MainTab::Planner, MainTab::Devices}) {
        ListController list(routes.list(tab).list);
        EXPECT_EQ(list.condition(""), list.fixedCondition());
    }
    EXPECT_EQ(devices.baseCondition, "(keszulek > 0)");
    EXPECT_EQ(sheets.sortField, "munkalapstr");
    EXPECT_EQ(routes.list(MainTab::Customers).list.sortField, "ugyfel_nev");
    EXPECT_EQ(devices.sortField, "gysz");
}

TEST(MainLists, WorkSheetTitleClickOrders) {
    EXPECT_EQ(WorkSheetOrder("munkalapstr"), "munkalap DESC");
    EXPECT_EQ(WorkSheetOrder("ugyfel_nev"), "ugyfel_nev,munkalap");
    EXPECT_EQ(WorkSheetOrder("datum"), "datum,munkalap");
}

TEST(MainLists, DetailConditionsAndStatements) {
    EXPECT_EQ(WorkSheetDetailCondition(17), "munkalap = 17");
    EXPECT_EQ(WorkSheetTotalsCondition(17), "munkalap = 17;");
    EXPECT_EQ(CustomerDevicesCondition(0), "ugyfel = 0");
    EXPECT_EQ(SoftDeleteSql("keszulek", 5), "UPDATE keszulek SET torolve = 'I' WHERE keszulek = 5;");
    EXPECT_EQ(HardDeleteSql("gyarto", 5), "DELETE FROM gyarto WHERE gyarto = 5;");
    EXPECT_EQ(RecalculateWorkSheetSql(123), "CALL sp_arbeallit(123);");
}

TEST(MainLists, ProgramTypeChoosesGridsAndItemColumns) {
    // Each program type shows exactly one work-sheet grid; 0 and 6 none.
    const MainListRoute sheets = WorkSheetTabList();
    const auto shownFor = [&sheets](int type) {
        QStringList shown;
        for (const MainGridDefinition& grid : sheets.grids)
            if (std::find(grid.programTypes.begin(), grid.programTypes.end(), type) !=
                grid.programTypes.end())
                shown << grid.name;
        return shown;
    };
    EXPECT_EQ(shownFor(1), QStringList{"DBGrid2"});
    EXPECT_EQ(shownFor(4), QStringList{"DBGrid2"});
    EXPECT_EQ(shownFor(2), QStringList{"DBGrid22"});
    EXPECT_EQ(shownFor(3), QStringList{"DBGrid23"});
    EXPECT_EQ(shownFor(5), QStringList{"DBGrid23"});
    EXPECT_TRUE(shownFor(0).isEmpty());
    EXPECT_TRUE(shownFor(6).isEmpty());

    EXPECT_EQ(ItemColumnFields().size(), 10);
    EXPECT_TRUE(HiddenItemColumns(2).isEmpty());
    for (int type : {0, 1, 3, 4, 5})
        EXPECT_EQ(HiddenItemColumns(type), (QStringList{"egyeb", "kedv_kap", "beszar", "kedv_ad"})) << type;
    // The items grid hides exactly those columns (share 0).
    const MainGridDefinition items = SheetLinesList().grids.at(0);
    for (int type : {1, 2}) {
        const std::vector<int> shares = items.sharesFor(type);
        ASSERT_EQ(int(shares.size()), ItemColumnFields().size());
        for (int c = 0; c < ItemColumnFields().size(); ++c)
            EXPECT_EQ(shares[size_t(c)] == 0, HiddenItemColumns(type).contains(ItemColumnFields()[c]))
                << type << c;
    }
}

TEST(MainLists, DeviceWordingOfTheSettings) {
    const DeviceWording w = DeviceWordingFor(QStringLiteral("Gépjármű"));
    EXPECT_EQ(w.panelCaption, "Gépjármű");
    EXPECT_EQ(w.recordCaption, "Gépjármű");
    EXPECT_EQ(w.recordHint, "Gépjármű adatlap");
    EXPECT_EQ(w.newDeviceCaption, "Új Gépjármű");
    EXPECT_EQ(w.typesCaption, "Gépjármű típusok");
    EXPECT_EQ(ConnectionLabel("Demo"), "Koravel.ML: Demo  ");
}

// ---- Colouring ----------------------------------------------------------------

QString Name(const QColor& c) {
    return c.isValid() ? c.name().toUpper() : QStringLiteral("-");
}

TEST(MainColours, WorkSheetRows) {
    const struct {
        int statusz;
        bool storno, kuldve, sentMark, selected;
        const char* back;
        const char* text;
    } cases[] = {
        {0, false, false, false, false, "-", "-"},
        {1, false, false, false, false, "-", "-"},
        {2, false, false, false, false, "#C4E0FF", "-"},
        {3, false, false, false, false, "#FFD2FF", "-"},
        {4, false, false, false, false, "#C1FFE0", "-"},
        // Cancelled overrides the status colour, invoiced or not.
        {4, true, false, false, false, "#FFDDDD", "#800000"},
        {1, true, false, false, false, "#FFDDDD", "#800000"},
        // The sent mark counts only on the car workshop's grid, over both.
        {4, false, true, false, false, "#C1FFE0", "-"},
        {4, false, true, true, false, "#FFE1D5", "#000000"},
        {2, true, true, true, false, "#FFE1D5", "#000000"},
        // The selected row keeps the selection colours.
        {4, true, true, true, true, "-", "-"},
    };
    for (const auto& c : cases) {
        const RowStyle s = WorkSheetRowStyle(c.statusz, c.storno, c.kuldve, c.sentMark, c.selected);
        EXPECT_EQ(Name(s.background), QString::fromLatin1(c.back)) << c.statusz << c.storno << c.kuldve;
        EXPECT_EQ(Name(s.foreground), QString::fromLatin1(c.text)) << c.statusz << c.storno << c.kuldve;
    }
}

TEST(MainColours, CustomerWarningDate) {
    const QDate today(2024, 3, 15);
    const RowStyle due = CustomerRowStyle(QDate(2024, 3, 15), today, false);
    EXPECT_EQ(Name(due.background), "#FFDDDD");
    EXPECT_EQ(Name(due.foreground), "#0000FF");
    EXPECT_EQ(Name(CustomerRowStyle(QDate(2023, 1, 1), today, false).background), "#FFDDDD");
    const RowStyle tomorrow = CustomerRowStyle(QDate(2024, 3, 16), today, false);
    EXPECT_FALSE(tomorrow.background.isValid());
    EXPECT_FALSE(tomorrow.foreground.isValid());
    EXPECT_FALSE(CustomerRowStyle(QVariant(), today, false).background.isValid());
    const RowStyle selected = CustomerRowStyle(QDate(2024, 3, 15), today, true);
    EXPECT_FALSE(selected.background.isValid());
    EXPECT_EQ(Name(selected.foreground), "#FFFF00");
}

TEST(MainColours, ItemsDevicesAndTheHighlightedColumn) {
    EXPECT_EQ(Name(ItemRowStyle(true, false).background), "#C4E0FF");
    EXPECT_EQ(Name(ItemRowStyle(true, false).foreground), "#0000FF");
    EXPECT_FALSE(ItemRowStyle(true, true).foreground.isValid());
    EXPECT_FALSE(ItemRowStyle(false, false).background.isValid());

    EXPECT_EQ(Name(DeviceRowStyle(29, false).background), "#FFDDDD");
    EXPECT_EQ(Name(DeviceRowStyle(-400, false).background), "#FFDDDD");
    EXPECT_FALSE(DeviceRowStyle(30, false).background.isValid());
    EXPECT_FALSE(DeviceRowStyle(QVariant(), false).background.isValid());
    EXPECT_FALSE(DeviceRowStyle(3, true).background.isValid());

    // Work sheets and devices: nothing in the highlighted column; customers
    // and items: the text colour there too, but not the background.
    const RowStyle cancelled = WorkSheetRowStyle(4, true, false, false, false);
    EXPECT_EQ(Name(CellStyle(WorkSheetTabList().list.colouring.reach, cancelled, false).background),
              "#FFDDDD");
    const ColourReach sheets = WorkSheetTabList().list.colouring.reach;
    const RowStyle sortCell = CellStyle(sheets, cancelled, true);
    EXPECT_FALSE(sortCell.background.isValid());
    EXPECT_FALSE(sortCell.foreground.isValid());
    const RowStyle warned = CellStyle(CustomerTabList().list.colouring.reach,
                                      CustomerRowStyle(QDate(2024, 1, 1), QDate(2024, 1, 1), false), true);
    EXPECT_FALSE(warned.background.isValid());
    EXPECT_EQ(Name(warned.foreground), "#0000FF");
    EXPECT_EQ(SheetLinesList().list.colouring.reach, ColourReach::TextEverywhere);
    EXPECT_EQ(DeviceTabList().list.colouring.reach, ColourReach::RowOnly);
    EXPECT_EQ(WorkSheetTabList().grids.at(1).colouring.reach,
              ColourReach::RowOnly); // the car workshop's grid
}

TEST(MainColours, FlagColumnsArePictures) {
    const auto sheets = WorkSheetTabList().list.colouring.icon;
    const auto customers = CustomerTabList().list.colouring.icon;
    EXPECT_EQ(sheets("fizetve", "I"), CellIcon::Paid);
    EXPECT_EQ(sheets("fizetve", "N"), CellIcon::Unpaid);
    EXPECT_EQ(sheets("fizetve", QVariant()), CellIcon::Unpaid);
    EXPECT_EQ(customers("maganszemely", "I"), CellIcon::Private);
    EXPECT_EQ(customers("maganszemely", "N"), CellIcon::Company);
    EXPECT_EQ(sheets("storno", "I"), CellIcon::None);
    EXPECT_EQ(customers("fizetve", "I"), CellIcon::None);
}

TEST(MainLayout, PanelHeightsAndFontSteps) {
    EXPECT_EQ(ItemsPanelHeight(900), 300);
    EXPECT_EQ(ItemsPanelHeight(600), 240);
    EXPECT_EQ(ItemsPanelHeight(100), 240);
    EXPECT_TRUE(DevicePanelHeightAccepted(201, 600));
    EXPECT_FALSE(DevicePanelHeightAccepted(200, 600));
    EXPECT_TRUE(DevicePanelHeightAccepted(299, 600));
    EXPECT_FALSE(DevicePanelHeightAccepted(300, 600));
    EXPECT_FALSE(DevicePanelHeightAccepted(250, 400)) << "a low window accepts no height";

    EXPECT_EQ(SteppedFontSize(9, +1), 10);
    EXPECT_EQ(SteppedFontSize(10, +1), 10);
    EXPECT_EQ(SteppedFontSize(9, -1), 8);
    EXPECT_EQ(SteppedFontSize(8, -1), 8);

    // Every window's font size: the setting, 9 while unset, within 8 to 10.
    const int saved = Beall().betumeret;
    for (const auto& [setting, size] : {std::pair{0, 9}, {8, 8}, {10, 10}, {12, 10}, {5, 8}}) {
        Beall().betumeret = setting;
        EXPECT_EQ(WindowFontSize(), size) << setting;
    }
    Beall().betumeret = saved;
}

// ---- The action table ---------------------------------------------------------------

TEST(MainActionTable, NamesCaptionsAndShortcuts) {
    QSet<QString> names;
    for (const MainActionDefinition& definition : MainActionTable()) {
        EXPECT_FALSE(names.contains(definition.name)) << definition.name.toStdString();
        names.insert(definition.name);
        EXPECT_FALSE(definition.caption.isEmpty());
        if (!definition.shortcut.isEmpty()) {
            EXPECT_FALSE(QKeySequence(definition.shortcut, QKeySequence::PortableText).isEmpty())
                << definition.shortcut.toStdString();
        }
    }
    EXPECT_EQ(names.size(), 65);
    const struct {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
    } samples[] = {
        {"aUj", "Új", QKeySequence(Qt::Key_Insert)},
        {"aTorol", "Töröl", QKeySequence(Qt::CTRL | Qt::Key_Delete)},
        {"aBeallit", "Beállítások", QKeySequence(Qt::ALT | Qt::Key_Return)},
        {"aAjanlott", "Ajánlott postai szelvény kitöltés", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_I)},
        {"aKesz", "Készen van!", QKeySequence(Qt::SHIFT | Qt::Key_F3)},
        {"aMa", "Ma", QKeySequence(Qt::CTRL | Qt::Key_Space)},
        {"aNovel", "Betűméret növelése", QKeySequence(Qt::Key_F11)},
        {"aHonlap", "Tarnova honlapja", QKeySequence()},
        {"aEsedekes", "Esedékes", QKeySequence(Qt::CTRL | Qt::Key_D)},
    };
    for (const auto& s : samples) {
        const MainActionDefinition& definition = MainActionByName(QString::fromLatin1(s.name));
        EXPECT_EQ(definition.caption, QString::fromUtf8(s.caption));
        EXPECT_EQ(QKeySequence(definition.shortcut, QKeySequence::PortableText), s.shortcut) << s.name;
    }
    EXPECT_THROW(MainActionByName("aNincs"), std::out_of_range);

    // Every menu, tool bar and context-menu entry is an action of the table.
    QStringList used = MainToolBarActions();
    for (const MainMenuDefinition& menu : MainMenus())
        used += menu.actions;
    for (MainContextMenu m : {MainContextMenu::Customers, MainContextMenu::WorkSheets,
                              MainContextMenu::CustomerDevices, MainContextMenu::Devices})
        used += ContextMenuActions(m);
    for (const QString& name : used)
        if (!name.isEmpty()) {
            EXPECT_TRUE(names.contains(name)) << name.toStdString();
        }
    QStringList captions;
    for (const MainMenuDefinition& menu : MainMenus())
        captions << menu.caption;
    EXPECT_EQ(captions,
              (QStringList{"Rekordok", "Törzsadatok", "Nézet", "Nyomtatások", "Honlap", "Rendszer", "Súgó"}));
}

TEST(MainActionTable, RightsOfTheGuardedActions) {
    EXPECT_EQ(RequiredRight("aBeallit", MainTab::WorkSheets), MainRight::Administrator);
    EXPECT_EQ(RequiredRight("aSQL", MainTab::Customers), MainRight::Administrator);
    EXPECT_EQ(RequiredRight("aWebIntro", MainTab::Customers), MainRight::RecordMaintenance);
    EXPECT_EQ(RequiredRight("aArbevetel", MainTab::Planner), MainRight::ProfitView);
    EXPECT_EQ(RequiredRight("aCsv", MainTab::Planner), MainRight::Export);
    EXPECT_EQ(RequiredRight("aFogyas", MainTab::Planner), MainRight::Printing);
    // What falls due is read with the customer list's rights; the comebacks' cost is profit.
    EXPECT_EQ(RequiredRight("aEsedekes", MainTab::Devices), MainRight::None);
    EXPECT_EQ(RequiredRight("aVisszatero", MainTab::WorkSheets), MainRight::ProfitView);
    // Work sheets can always be printed; the customer list needs the right.
    EXPECT_EQ(RequiredRight("aNyomtat", MainTab::WorkSheets), MainRight::None);
    EXPECT_EQ(RequiredRight("aNyomtatKep", MainTab::Customers), MainRight::Printing);
    EXPECT_EQ(RequiredRight("aSzotar", MainTab::WorkSheets), MainRight::None);

    TBeall s;
    EXPECT_TRUE(HasRight(s, MainRight::None));
    EXPECT_FALSE(HasRight(s, MainRight::Administrator));
    s.rendszergazda = true;
    EXPECT_TRUE(HasRight(s, MainRight::Administrator));
    EXPECT_FALSE(HasRight(s, MainRight::Export));
}

TEST(MainActionTable, RecordActionsRouteThroughTheListHooks) {
    MainRoutes routes;
    RegisterMainRoutes(routes);
    MainActionContext ctx;
    ctx.vankeszulek = true;
    const auto state = [&](const char* action) { return ActionStateFor(action, ctx, routes); };

    // The customers and the devices have every hook.
    ctx.tab = MainTab::Customers;
    for (const char* action : {"aUj", "aSzerkeszt", "aTorol", "aFrissit", "aTorolKeszulek", "aUgyfelAdatlap"})
        EXPECT_TRUE(state(action).enabled) << action;
    ctx.tab = MainTab::Devices;
    for (const char* action : {"aUj", "aSzerkeszt", "aTorol", "aFrissit"})
        EXPECT_TRUE(state(action).enabled && !state(action).soon) << action;
    // On a tab where an action does nothing it is disabled, and not "to come".
    ctx.tab = MainTab::Planner;
    for (const char* action : {"aSzerkeszt", "aUgyfelAdatlap", "aMlapjai", "aMegjegyzes", "aNyomtatKep",
                               "aNyomtat", "aKeszulekAdatlap", "aMLapNeki"}) {
        EXPECT_FALSE(state(action).enabled) << action;
        EXPECT_FALSE(state(action).soon) << action;
    }
    ctx.tab = MainTab::WorkSheets;
    EXPECT_FALSE(state("aMLapNeki").enabled) << "F4 does nothing on the work sheets";
    EXPECT_TRUE(state("aKeszulekAdatlap").enabled);
}

// The mechanism, on actions of the table given handlers by the test: an
// action is ready where a handler or its list's hook exists, "Hamarosan"
// where it acts without one, and runs what is registered for the tab.
TEST(MainActionTable, StatesAndRunsFollowTheRoutes) {
    MainRoutes routes;
    MainActionContext ctx;
    ctx.vankeszulek = true;
    const auto state = [&](const char* action) { return ActionStateFor(action, ctx, routes); };

    ctx.tab = MainTab::WorkSheets;
    EXPECT_TRUE(state("aStatusz").soon);
    EXPECT_FALSE(state("aStatusz").enabled);
    EXPECT_TRUE(state("aSQL").soon) << "a window-wide action with no handler";
    int statusRuns = 0, everywhereRuns = 0;
    routes.on("aStatusz", MainTab::WorkSheets, [&](MainContext&) { ++statusRuns; });
    routes.on("aSQL", [&](MainContext&) { ++everywhereRuns; });
    EXPECT_TRUE(state("aStatusz").enabled);
    for (MainTab tab : {MainTab::WorkSheets, MainTab::Customers, MainTab::Planner, MainTab::Devices}) {
        ctx.tab = tab;
        EXPECT_TRUE(state("aSQL").enabled);
    }

    // A list's hook makes its record action ready on the list's tab only.
    ctx.tab = MainTab::Customers;
    EXPECT_TRUE(state("aUj").soon);
    MainListRoute customers;
    customers.list.keyField = QStringLiteral("ugyfel");
    customers.list.hooks.create = [](ListController&) { return std::optional<qlonglong>(); };
    routes.setList(MainTab::Customers, customers);
    EXPECT_TRUE(state("aUj").enabled);
    EXPECT_FALSE(state("aSzerkeszt").enabled);
    EXPECT_TRUE(state("aFrissit").enabled) << "reading again needs no hook";
    ctx.tab = MainTab::Devices;
    EXPECT_TRUE(state("aUj").soon);

    // Running goes to the handler of the current tab, nowhere else.
    struct Context final : MainContext {
        MainTab tab = MainTab::WorkSheets;
        MainTab currentTab() const override { return tab; }
        int statusTab() const override { return 0; }
        ListController& list(MainTab) override { throw std::logic_error("no list"); }
        ListController& detail(MainDetail) override { throw std::logic_error("no detail"); }
    } main;
    RunMainAction("aStatusz", main, routes);
    main.tab = MainTab::Customers;
    RunMainAction("aStatusz", main, routes); // acts only on work sheets
    RunMainAction("aSQL", main, routes);
    EXPECT_EQ(statusRuns, 1);
    EXPECT_EQ(everywhereRuns, 1);

    // "Készen van!" hides on the quotation tab.
    ctx.statusTab = QuotationStatusTab;
    EXPECT_FALSE(state("aKesz").visible);
    EXPECT_FALSE(state("aKesz").enabled);

    // Without devices the device actions go; the invoice action needs the
    // invoicing program.
    ctx.vankeszulek = false;
    for (const char* device : {"aKeszulekAdatlap", "aUjKeszulek", "aTipus", "aGyarto"}) {
        EXPECT_FALSE(state(device).visible) << device;
        EXPECT_FALSE(state(device).enabled) << device;
    }
    EXPECT_FALSE(state("aSzla").visible);
    ctx.vanPennart = true;
    EXPECT_TRUE(state("aSzla").visible);
}

// Every route names an action of the table, and a misspelt one is caught
// where it is registered instead of leaving its action "to come" for ever.
TEST(MainActionTable, RoutesNameOnlyActionsOfTheTable) {
    MainRoutes routes;
    RegisterMainRoutes(routes);
    EXPECT_TRUE(routes.unknownActions().empty()) << routes.unknownActions().front().toStdString();

    MainRoutes typo;
    typo.setKnownActions({QStringLiteral("aStatusz"), QStringLiteral("aSQL")});
    typo.on(QStringLiteral("aStatusz"), MainTab::WorkSheets, [](MainContext&) {});
    typo.on(QStringLiteral("aStatus"), MainTab::WorkSheets, [](MainContext&) {});
    typo.on(QStringLiteral("aSql"), [](MainContext&) {});
    EXPECT_EQ(typo.unknownActions(),
              (std::vector<QString>{QStringLiteral("aStatus"), QStringLiteral("aSql")}));
    EXPECT_NE(typo.handler(QStringLiteral("aStatusz"), MainTab::WorkSheets), nullptr);
    EXPECT_EQ(typo.handler(QStringLiteral("aStatus"), MainTab::WorkSheets), nullptr);
}

// Each detail list names the tab list it follows and builds its condition
// from that list's current key.
TEST(MainLists, DetailsFollowTheirTabLists) {
    MainRoutes routes;
    RegisterMainRoutes(routes);
    const struct {
        MainDetail detail;
        MainTab master;
        const char* shownWith;
        const char* condition;
    } cases[] = {
        {MainDetail::SheetEmployees, MainTab::WorkSheets, "aMLapDolgozo", "munkalap = 17"},
        {MainDetail::SheetLines, MainTab::WorkSheets, "aMLapTetel", "munkalap = 17"},
        {MainDetail::CustomerDevices, MainTab::Customers, "", "ugyfel = 17"},
    };
    for (const auto& c : cases) {
        const MainDetailLink& link = routes.detail(c.detail).link;
        EXPECT_EQ(link.master, c.master) << int(c.detail);
        EXPECT_EQ(link.shownWith, QString::fromLatin1(c.shownWith)) << int(c.detail);
        ASSERT_TRUE(link.condition) << int(c.detail);
        EXPECT_EQ(link.condition(17), QString::fromLatin1(c.condition)) << int(c.detail);
    }
}

} // namespace
