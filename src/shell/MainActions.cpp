#include "shell/MainActions.h"

#include "foundation/Settings.h"
#include "patterns/ListController.h"
#include "worksheets/WorkSheetLists.h"

#include <stdexcept>

namespace kml {
namespace {

QStringList Names(std::initializer_list<const char*> names) {
    QStringList list;
    for (const char* name : names)
        list << QString::fromLatin1(name);
    return list;
}

using T = MainTab;
using R = MainRight;
using V = MainVisibility;
using H = ListHook;

} // namespace

const std::vector<MainActionDefinition>& MainActionTable() {
    static const std::vector<MainActionDefinition> table = [] {
        const TabSet all = TabSet::all();
        const TabSet records{T::WorkSheets, T::Customers, T::Devices};
        struct Row {
            const char* name;
            const char* caption;
            const char* shortcut;
            R right = R::None;
            TabSet rightTabs = TabSet::all();
            V visibility = V::Always;
            TabSet tabs = TabSet::all();
            H hook = H::None;
            std::optional<MainDetail> detail = std::nullopt;
        };
        const Row rows[] = {
            {"aUj", "Új", "Ins", R::None, all, V::Always, all, H::Create},
            {"aSzerkeszt", "Szerkeszt", "F2", R::None, all, V::Always, records, H::Edit},
            {"aTorol", "Töröl", "Ctrl+Del", R::None, all, V::Always, all, H::Remove},
            {"aNyomtatKep",
             "Nyom.kép",
             "Ctrl+K",
             R::Printing,
             {T::Customers},
             V::Always,
             {T::WorkSheets, T::Customers}},
            {"aNyomtat",
             "Nyomtat",
             "Ctrl+P",
             R::Printing,
             {T::Customers},
             V::Always,
             {T::WorkSheets, T::Customers}},
            {"aBezar", "Bezár", ""},
            {"aBeallit", "Beállítások", "Alt+Return", R::Administrator},
            {"aSQL", "Szabad lekérdezés", "", R::Administrator},
            {"aSugo", "Súgó", "F1"},
            {"aHonlap", "Tarnova honlapja", ""},
            {"aLevel", "Levélküldés Tarnovanak", ""},
            {"aNevjegy", "Névjegy", ""},
            {"aExcelbe", "Excelbe... (CSV)", "Ctrl+E", R::Export},
            {"aHtml", "Html export", "Ctrl+H", R::Export},
            {"aBoritek", "Boríték", "Ctrl+I", R::None, all, V::Always, {T::Customers}},
            {"aAjanlott",
             "Ajánlott postai szelvény kitöltés",
             "Shift+Ctrl+I",
             R::None,
             all,
             V::Always,
             {T::Customers}},
            {"aStatusz", "Köv.státusz", "F3", R::None, all, V::Always, {T::WorkSheets}},
            {"aKesz", "Készen van!", "Shift+F3", R::None, all, V::NotOnQuotationTab, {T::WorkSheets}},
            {"aKifizet", "Kifizet", "", R::None, all, V::Always, {T::WorkSheets}},
            {"aSzla", "Számláz", "", R::None, all, V::WithInvoicing, {T::WorkSheets}},
            {"aMLapLista", "Munkalapok listája", "", R::Printing},
            {"aMLapListaDolg", "Dolgozónként", "", R::Printing},
            {"aMLapListaGyarto", "Gyártónként", "", R::Printing},
            {"aArbevetel", "Árbevétel", "", R::ProfitView},
            {"aNyereseg", "Nyereség számítás", "", R::ProfitView},
            {"aFogyas", "Fogyások", "", R::Printing},
            {"aVisszatero", "Visszatérő javítások", "", R::ProfitView},
            {"aEsedekes", "Esedékes", "Ctrl+D"},
            {"aCsv", "Adat export", "", R::Export},
            {"aGyarto", "Gyártók", "", R::RecordMaintenance, all, V::WithDevices},
            {"aTipus", "Készülék típusok", "", R::RecordMaintenance, all, V::WithDevices},
            {"aMLapTipus", "Munkalap típusok", "", R::RecordMaintenance},
            {"aDolgozo", "Dolgozók", "", R::RecordMaintenance},
            {"aTetel", "Munkalap tételek (Cikktörzs)", "", R::RecordMaintenance},
            {"aToroltRekordok", "Törölt rekordok", "", R::RecordMaintenance},
            {"aSzotar", "Előre megírt szövegek (Szótár)", ""},
            {"aTorzslevelSzoveg", "Értesítés levél szövegek", ""},
            {"aLevelkuld", "Levél küldés", ""},
            {"aNovel", "Betűméret növelése", "F11"},
            {"aCsokkent", "Betűméret csökkentése", "F12"},
            {"aFrissit", "Frissít", "F5", R::None, all, V::Always, records, H::Refresh},
            {"aFelhasznalo", "Felhasználók", "", R::Administrator},
            {"aAdatbazis", "Adatbázisok", "", R::Administrator},
            {"aMLapNeki", "Mlap.neki", "F4", R::None, all, V::Always, {T::Customers, T::Devices}},
            {"aUgyfelAdatlap", "Ügyfél", "F6", R::None, all, V::Always, records},
            {"aMlapjai", "Előzmény", "F9", R::None, all, V::Always, records},
            {"aKeszulekAdatlap", "Készülék", "", R::None, all, V::WithDevices, {T::WorkSheets}},
            {"aUjKeszulek",
             "Új készülék",
             "",
             R::None,
             all,
             V::WithDevices,
             {T::Customers},
             H::Create,
             MainDetail::CustomerDevices},
            {"aSzerkesztKeszulek",
             "Szerkeszt",
             "",
             R::None,
             all,
             V::Always,
             {T::Customers},
             H::Edit,
             MainDetail::CustomerDevices},
            {"aTorolKeszulek",
             "Töröl",
             "",
             R::None,
             all,
             V::Always,
             {T::Customers},
             H::Remove,
             MainDetail::CustomerDevices},
            {"aMLapKeszulek", "Munkalap erre", "F8", R::None, all, V::Always, {T::Customers}},
            {"aMLapDolgozo", "Dolgozók", ""},
            {"aMLapTetel", "Tételek", ""},
            {"aUjDolgozo", "Új dolgozó", "", R::None, all, V::Always, {T::WorkSheets}},
            {"aTorolDolgozo", "Törlés", "", R::None, all, V::Always, {T::WorkSheets}},
            {"aMegjegyzes", "Megjegyzés", "", R::None, all, V::Always, records},
            {"aAnyagok", "Anyagok", "", R::None, all, V::Always, {T::Devices}},
            {"aTegnap", "Tegnap", "Ctrl+Left", R::None, all, V::Always, {T::Planner}},
            {"aMa", "Ma", "Ctrl+Space", R::None, all, V::Always, {T::Planner}},
            {"aHolnap", "Holnap", "Ctrl+Right", R::None, all, V::Always, {T::Planner}},
            {"aNaptarba", "Naptárba", "F7", R::None, all, V::Always, records},
            {"aWebSzoveg", "Honlap szövegezése", "", R::RecordMaintenance},
            {"aWebBanner", "Bannerek kezelése", "", R::RecordMaintenance},
            {"aWebIntro", "Intro beállítása", "", R::RecordMaintenance},
            {"aWebUzenet", "Webes üzenetek", ""},
        };
        std::vector<MainActionDefinition> definitions;
        for (const Row& row : rows)
            definitions.push_back({QString::fromLatin1(row.name), QString::fromUtf8(row.caption),
                                   QString::fromLatin1(row.shortcut), row.right, row.rightTabs,
                                   row.visibility, row.tabs, row.hook, row.detail});
        return definitions;
    }();
    return table;
}

const MainActionDefinition& MainActionByName(const QString& name) {
    for (const MainActionDefinition& definition : MainActionTable())
        if (definition.name == name)
            return definition;
    throw std::out_of_range("no main-window action " + name.toStdString());
}

const std::vector<MainMenuDefinition>& MainMenus() {
    static const std::vector<MainMenuDefinition> menus{
        {QStringLiteral("Rekordok"), Names({"aUj", "aSzerkeszt", "aTorol", "", "aEsedekes", "", "aNyomtatKep",
                                            "aNyomtat", "", "aBezar"})},
        {QStringLiteral("Törzsadatok"), Names({"aGyarto", "aTipus", "aMLapTipus", "aDolgozo", "aTetel", "",
                                               "aSzotar", "aTorzslevelSzoveg", "", "aToroltRekordok"})},
        {QStringLiteral("Nézet"), Names({"aNovel", "aCsokkent"})},
        {QStringLiteral("Nyomtatások"),
         Names({"aMLapLista", "aMLapListaDolg", "aMLapListaGyarto", "", "aArbevetel", "aNyereseg", "aFogyas",
                "aVisszatero", "", "aCsv"})},
        {QStringLiteral("Honlap"), Names({"aWebSzoveg", "aWebBanner", "aWebIntro", "", "aWebUzenet"})},
        {QStringLiteral("Rendszer"), Names({"aFelhasznalo", "aSQL", "aAdatbazis", "", "aBeallit"})},
        {QStringLiteral("Súgó"), Names({"aSugo", "aHonlap", "aLevel", "", "aNevjegy"})},
    };
    return menus;
}

QStringList MainToolBarActions() {
    return Names({"aUj",
                  "aSzerkeszt",
                  "aTorol",
                  "aFrissit",
                  "",
                  "aStatusz",
                  "aKesz",
                  "aKifizet",
                  "aSzla",
                  "",
                  "aMLapNeki",
                  "aUgyfelAdatlap",
                  "aKeszulekAdatlap",
                  "aMlapjai",
                  "aMegjegyzes",
                  "aEsedekes",
                  "",
                  "aNyomtatKep",
                  "aNyomtat",
                  "",
                  "aLevelkuld",
                  "",
                  "aBezar"});
}

QStringList ContextMenuActions(MainContextMenu menu) {
    switch (menu) {
    case MainContextMenu::Customers:
        return Names({"aUj", "aSzerkeszt", "aTorol", "", "aMLapNeki", "aNaptarba", "", "aNyomtat",
                      "aNyomtatKep", "aExcelbe", "aBoritek", "aAjanlott"});
    case MainContextMenu::WorkSheets:
        return Names({"aUj", "aSzerkeszt", "aTorol", "", "aNyomtat", "aNyomtatKep", "", "aStatusz",
                      "aUgyfelAdatlap", "aMlapjai", "aKifizet", "aSzla", "", "aNaptarba"});
    case MainContextMenu::CustomerDevices:
        return Names({"aUjKeszulek", "aSzerkesztKeszulek", "aTorolKeszulek"});
    case MainContextMenu::Devices:
        return Names(
            {"aUj", "aSzerkeszt", "aTorol", "", "aMLapNeki", "aMlapjai", "aAnyagok", "", "aNaptarba"});
    }
    return {};
}

MainRight RequiredRight(const QString& action, MainTab tab) {
    const MainActionDefinition& definition = MainActionByName(action);
    return definition.rightTabs.contains(tab) ? definition.right : MainRight::None;
}

bool HasRight(const TBeall& s, MainRight right) {
    switch (right) {
    case MainRight::None:
        return true;
    case MainRight::Administrator:
        return s.rendszergazda;
    case MainRight::RecordMaintenance:
        return s.torzsszerkeszt;
    case MainRight::Printing:
        return s.nyomtathat;
    case MainRight::ProfitView:
        return s.nyeresegnezhet;
    case MainRight::Export:
        return s.excelbe;
    }
    return false;
}

namespace {

// The list an action's hook runs on, as registered; null when there is none.
const ListDefinition* HookList(const MainActionDefinition& action, MainTab tab, const MainRoutes& routes) {
    if (action.detail)
        return routes.hasDetail(*action.detail) ? &routes.detail(*action.detail).list : nullptr;
    return routes.hasList(tab) ? &routes.list(tab).list : nullptr;
}

bool HasHook(const ListDefinition& list, ListHook hook) {
    switch (hook) {
    case ListHook::Create:
        return bool(list.hooks.create);
    case ListHook::Edit:
        return bool(list.hooks.edit);
    case ListHook::Remove:
        return bool(list.hooks.remove);
    case ListHook::Refresh:
        return true; // reading again needs no hook
    case ListHook::None:
        break;
    }
    return false;
}

} // namespace

bool ActionReady(const MainActionDefinition& action, MainTab tab, const MainRoutes& routes) {
    if (!action.tabs.contains(tab) || routes.handler(action.name, tab))
        return true;
    const ListDefinition* list = HookList(action, tab, routes);
    return list && HasHook(*list, action.hook);
}

MainActionState ActionStateFor(const QString& action, const MainActionContext& context,
                               const MainRoutes& routes) {
    const MainActionDefinition& definition = MainActionByName(action);
    MainActionState state;
    switch (definition.visibility) {
    case MainVisibility::Always:
        break;
    case MainVisibility::WithDevices:
        state.visible = context.vankeszulek;
        break;
    case MainVisibility::WithInvoicing:
        state.visible = context.vanPennart;
        break;
    case MainVisibility::NotOnQuotationTab:
        state.visible = ReadyActionOnStatusTab(context.statusTab);
        break;
    }
    state.soon = state.visible && !ActionReady(definition, context.tab, routes);
    // An action that does nothing on the current tab is not offered there.
    state.enabled = state.visible && !state.soon && definition.tabs.contains(context.tab);
    return state;
}

void RunMainAction(const QString& action, MainContext& main, const MainRoutes& routes) {
    const MainTab tab = main.currentTab();
    const MainActionDefinition& definition = MainActionByName(action);
    if (!definition.tabs.contains(tab))
        return;
    if (const MainHandler* handler = routes.handler(action, tab)) {
        (*handler)(main);
        return;
    }
    if (definition.hook == ListHook::None || !HookList(definition, tab, routes))
        return;
    ListController& list = definition.detail ? main.detail(*definition.detail) : main.list(tab);
    switch (definition.hook) {
    case ListHook::Create:
        list.createRow();
        break;
    case ListHook::Edit:
        list.editCurrent();
        break;
    case ListHook::Remove:
        list.removeCurrent();
        break;
    case ListHook::Refresh:
        list.refresh();
        break;
    case ListHook::None:
        break;
    }
}

} // namespace kml
