#include "shell/MainActions.h"

#include "foundation/Settings.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <stdexcept>

namespace kml {
namespace {

QStringList Names(std::initializer_list<const char*> names) {
    QStringList list;
    for (const char* name : names)
        list << QString::fromLatin1(name);
    return list;
}

bool OneOf(const QString& name, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (name == QLatin1String(n))
            return true;
    return false;
}

// Whether an action cannot run on a tab yet because the window or flow it
// opens there is still to come.
bool PendingOn(const QString& action, MainTab tab) {
    // Actions that work on some tabs already (on the tabs where they do
    // nothing they count as ready).
    static const std::map<QString, std::vector<MainTab>> perTab{
        {QStringLiteral("aUj"), {MainTab::WorkSheets, MainTab::Planner, MainTab::Devices}},
        {QStringLiteral("aSzerkeszt"), {MainTab::WorkSheets, MainTab::Devices}},
        {QStringLiteral("aTorol"), {MainTab::WorkSheets, MainTab::Planner}},
    };
    // Windows and flows still to come: pending on every tab.
    static const QStringList everywhere =
        QStringLiteral(
            "aNyomtatKep aNyomtat aMLapNeki aMLapKeszulek aKeszulekAdatlap aUjKeszulek "
            "aSzerkesztKeszulek aMegjegyzes aSQL aExcelbe aHtml aBoritek aAjanlott aStatusz aKesz "
            "aKifizet aSzla aMLapLista aMLapListaDolg aMLapListaGyarto aArbevetel aNyereseg aFogyas "
            "aCsv aGyarto aTipus aMLapTipus aDolgozo aTetel aSzotar aTorzslevelSzoveg aLevelkuld "
            "aFelhasznalo aAdatbazis aMlapjai aUjDolgozo aTorolDolgozo aAnyagok aTegnap aMa aHolnap "
            "aNaptarba aWebSzoveg aWebBanner aWebIntro aWebUzenet")
            .split(QLatin1Char(' '));
    const auto tabs = perTab.find(action);
    if (tabs != perTab.end())
        return std::find(tabs->second.begin(), tabs->second.end(), tab) != tabs->second.end();
    return everywhere.contains(action);
}

} // namespace

const std::vector<MainActionSpec>& MainActionTable() {
    static const std::vector<MainActionSpec> table = [] {
        struct Row {
            const char* name;
            const char* caption;
            const char* shortcut;
        };
        const Row rows[] = {
            {"aUj", "Új", "Ins"},
            {"aSzerkeszt", "Szerkeszt", "F2"},
            {"aTorol", "Töröl", "Ctrl+Del"},
            {"aNyomtatKep", "Nyom.kép", "Ctrl+K"},
            {"aNyomtat", "Nyomtat", "Ctrl+P"},
            {"aBezar", "Bezár", ""},
            {"aBeallit", "Beállítások", "Alt+Return"},
            {"aSQL", "Szabad lekérdezés", ""},
            {"aSugo", "Súgó", "F1"},
            {"aHonlap", "Tarnova honlapja", ""},
            {"aLevel", "Levélküldés Tarnovanak", ""},
            {"aNevjegy", "Névjegy", ""},
            {"aExcelbe", "Excelbe... (CSV)", "Ctrl+E"},
            {"aHtml", "Html export", "Ctrl+H"},
            {"aBoritek", "Boríték", "Ctrl+I"},
            {"aAjanlott", "Ajánlott postai szelvény kitöltés", "Shift+Ctrl+I"},
            {"aStatusz", "Köv.státusz", "F3"},
            {"aKesz", "Készen van!", "Shift+F3"},
            {"aKifizet", "Kifizet", ""},
            {"aSzla", "Számláz", ""},
            {"aMLapLista", "Munkalapok listája", ""},
            {"aMLapListaDolg", "Dolgozónként", ""},
            {"aMLapListaGyarto", "Gyártónként", ""},
            {"aArbevetel", "Árbevétel", ""},
            {"aNyereseg", "Nyereség számítás", ""},
            {"aFogyas", "Fogyások", ""},
            {"aCsv", "Adat export", ""},
            {"aGyarto", "Gyártók", ""},
            {"aTipus", "Készülék típusok", ""},
            {"aMLapTipus", "Munkalap típusok", ""},
            {"aDolgozo", "Dolgozók", ""},
            {"aTetel", "Munkalap tételek (Cikktörzs)", ""},
            {"aSzotar", "Előre megírt szövegek (Szótár)", ""},
            {"aTorzslevelSzoveg", "Értesítés levél szövegek", ""},
            {"aLevelkuld", "Levél küldés", ""},
            {"aNovel", "Betűméret növelése", "F11"},
            {"aCsokkent", "Betűméret csökkentése", "F12"},
            {"aFrissit", "Frissít", "F5"},
            {"aFelhasznalo", "Felhasználók", ""},
            {"aAdatbazis", "Adatbázisok", ""},
            {"aMLapNeki", "Mlap.neki", "F4"},
            {"aUgyfelAdatlap", "Ügyfél", "F6"},
            {"aMlapjai", "Előzmény", "F9"},
            {"aKeszulekAdatlap", "Készülék", ""},
            {"aUjKeszulek", "Új készülék", ""},
            {"aSzerkesztKeszulek", "Szerkeszt", ""},
            {"aTorolKeszulek", "Töröl", ""},
            {"aMLapKeszulek", "Munkalap erre", "F8"},
            {"aMLapDolgozo", "Dolgozók", ""},
            {"aMLapTetel", "Tételek", ""},
            {"aUjDolgozo", "Új dolgozó", ""},
            {"aTorolDolgozo", "Törlés", ""},
            {"aMegjegyzes", "Megjegyzés", ""},
            {"aAnyagok", "Anyagok", ""},
            {"aTegnap", "Tegnap", "Ctrl+Left"},
            {"aMa", "Ma", "Ctrl+Space"},
            {"aHolnap", "Holnap", "Ctrl+Right"},
            {"aNaptarba", "Naptárba", "F7"},
            {"aWebSzoveg", "Honlap szövegezése", ""},
            {"aWebBanner", "Bannerek kezelése", ""},
            {"aWebIntro", "Intro beállítása", ""},
            {"aWebUzenet", "Webes üzenetek", ""},
        };
        std::vector<MainActionSpec> specs;
        for (const Row& row : rows)
            specs.push_back({QString::fromLatin1(row.name), QString::fromUtf8(row.caption),
                             QString::fromLatin1(row.shortcut)});
        return specs;
    }();
    return table;
}

const MainActionSpec& MainActionByName(const QString& name) {
    for (const MainActionSpec& definition : MainActionTable())
        if (definition.name == name)
            return definition;
    throw std::out_of_range("no main-window action " + name.toStdString());
}

const std::vector<MainMenuSpec>& MainMenus() {
    static const std::vector<MainMenuSpec> menus{
        {QStringLiteral("Rekordok"),
         Names({"aUj", "aSzerkeszt", "aTorol", "", "aNyomtatKep", "aNyomtat", "", "aBezar"})},
        {QStringLiteral("Törzsadatok"), Names({"aGyarto", "aTipus", "aMLapTipus", "aDolgozo", "aTetel", "",
                                               "aSzotar", "aTorzslevelSzoveg"})},
        {QStringLiteral("Nézet"), Names({"aNovel", "aCsokkent"})},
        {QStringLiteral("Nyomtatások"), Names({"aMLapLista", "aMLapListaDolg", "aMLapListaGyarto", "",
                                               "aArbevetel", "aNyereseg", "aFogyas", "", "aCsv"})},
        {QStringLiteral("Honlap"), Names({"aWebSzoveg", "aWebBanner", "aWebIntro", "", "aWebUzenet"})},
        {QStringLiteral("Rendszer"), Names({"aFelhasznalo", "aSQL", "aAdatbazis", "", "aBeallit"})},
        {QStringLiteral("Súgó"), Names({"aSugo", "aHonlap", "aLevel", "", "aNevjegy"})},
    };
    return menus;
}

QStringList MainToolBarActions() {
    return Names({"aUj",       "aSzerkeszt",     "aTorol",           "aFrissit", "",
                  "aStatusz",  "aKesz",          "aKifizet",         "aSzla",    "",
                  "aMLapNeki", "aUgyfelAdatlap", "aKeszulekAdatlap", "aMlapjai", "aMegjegyzes",
                  "",          "aNyomtatKep",    "aNyomtat",         "",         "aLevelkuld",
                  "",          "aBezar"});
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
    if (OneOf(action, {"aBeallit", "aSQL", "aFelhasznalo", "aAdatbazis"}))
        return MainRight::Administrator;
    if (OneOf(action, {"aTipus", "aGyarto", "aMLapTipus", "aDolgozo", "aTetel", "aWebSzoveg", "aWebBanner",
                       "aWebIntro"}))
        return MainRight::RecordMaintenance;
    if (OneOf(action, {"aNyomtat", "aNyomtatKep"}))
        return tab == MainTab::Customers ? MainRight::Printing : MainRight::None;
    if (OneOf(action, {"aMLapLista", "aMLapListaDolg", "aMLapListaGyarto", "aFogyas"}))
        return MainRight::Printing;
    if (OneOf(action, {"aArbevetel", "aNyereseg"}))
        return MainRight::ProfitView;
    if (OneOf(action, {"aExcelbe", "aHtml", "aCsv"}))
        return MainRight::Export;
    return MainRight::None;
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

bool ActionReady(const QString& action, MainTab tab) {
    return !PendingOn(action, tab);
}

MainActionState ActionStateFor(const QString& action, const MainActionContext& context) {
    MainActionState state;
    if (OneOf(action, {"aKeszulekAdatlap", "aUjKeszulek", "aTipus", "aGyarto"}))
        state.visible = context.vankeszulek;
    else if (action == QLatin1String("aSzla"))
        state.visible = context.vanPennart;
    else if (action == QLatin1String("aKesz"))
        state.visible = ReadyActionOnStatusTab(context.statusTab);
    state.soon = state.visible && !ActionReady(action, context.tab);
    state.enabled = state.visible && !state.soon;
    return state;
}

} // namespace kml
