#include "records/Texts.h"

#include "components/Table.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/Flags.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "patterns/RowDeletion.h"
#include "records/TextWindows.h"

namespace kml {
namespace {

// The hooks of a list whose maintenance needs the master-data right; the
// editor takes nothing for a new row.
ListHooks MaintainedWithRight(RowKey (*edit)(RowKey), std::function<bool(qlonglong)> remove) {
    ListHooks hooks;
    hooks.create = [edit](ListController&) -> RowKey {
        if (!RequireRight(Beall().torzsszerkeszt))
            return std::nullopt;
        return edit(std::nullopt);
    };
    hooks.edit = [edit](ListController&, qlonglong key) -> RowKey {
        if (!RequireRight(Beall().torzsszerkeszt))
            return std::nullopt;
        return edit(key);
    };
    hooks.remove = [remove = std::move(remove)](ListController&, qlonglong key) {
        return RequireRight(Beall().torzsszerkeszt) && remove(key);
    };
    return hooks;
}

// The actions of the three lists: "Töröl" where the catalogue says "Sor
// törlése", and the jump into the search box.
ListActionCaptions TextListActions() {
    ListActionCaptions actions;
    actions.remove = QStringLiteral("Töröl");
    actions.find = QStringLiteral("Kereső");
    return actions;
}

} // namespace

// ---- Dictionary --------------------------------------------------------------

ListDefinition DictionaryListDefinition() {
    ListDefinition d;
    d.maintenanceNeedsRight = true;
    d.name = QStringLiteral("frm_TorzsSzotar");
    d.caption = texts_text::DictionaryCaption;
    d.sql = QStringLiteral("SELECT * FROM szotar\nWHERE cim <> ''\nORDER BY 1;");
    d.baseCondition = QStringLiteral("(cim <> '')");
    d.sortField = QStringLiteral("cim");
    d.searchFields = QStringLiteral("cim;szoveg");
    d.titleClickSorts = false;
    d.keyField = QStringLiteral("cim");
    d.nameField = QStringLiteral("cim");
    d.memoField = QStringLiteral("szoveg");
    d.columns = {ColumnOf("cim", "Cím", 100)};
    d.widthReserve = 44;
    d.actions = TextListActions();
    return d;
}

QString DictionaryTitleProblem(const QString& title, const QString& original) {
    if (title.trimmed().isEmpty())
        return texts_text::BlankTitle;
    // Compared on the server: its collation decides which titles are one key.
    QString sql = QStringLiteral("SELECT COUNT(*) FROM szotar WHERE cim = ") + SqlStr(title);
    if (!original.isEmpty())
        sql += QStringLiteral(" AND NOT (cim = ") + SqlStr(original) + QLatin1Char(')');
    if (QueryInt(sql + QLatin1Char(';')) > 0)
        return texts_text::DuplicateTitle.arg(title.trimmed());
    return {};
}

EditorDefinition DictionaryEditorDefinition(const QString& original) {
    EditorDefinition d;
    d.name = QStringLiteral("frm_TorzsSzotar_Szerkeszt");
    d.caption = texts_text::DictionaryCaption;
    d.table = QStringLiteral("szotar");
    d.keyField = QStringLiteral("cim");
    d.fields = {
        FieldOf(QStringLiteral("cim"), QStringLiteral("Cím"), EditorFieldKind::Text, {.upcaseFirst = true}),
        FieldOf(QStringLiteral("szoveg"), QStringLiteral("Szöveg"), EditorFieldKind::Memo, {})};
    d.validate = [original](const Table& row) {
        const QString problem = DictionaryTitleProblem(VarStr(row.value(QStringLiteral("cim"))), original);
        if (problem.isEmpty())
            return true;
        ShowError(problem);
        return false;
    };
    return d;
}

QString DictionaryDeleteSql(const QString& title) {
    return QStringLiteral("DELETE FROM szotar WHERE cim = ") + SqlStr(title) + QLatin1Char(';');
}

bool DeleteDictionaryText(const QString& title) {
    return DeleteAsked(DictionaryDeleteSql(title));
}

// ---- Work-sheet types ----------------------------------------------------------

QString WorkSheetTypeCondition(int programType) {
    return QStringLiteral("(prgtipus = %1)").arg(programType);
}

int WorkSheetTypeUsage(qlonglong type) {
    return QueryInt(QStringLiteral("SELECT COUNT(*) FROM munkalap WHERE mlaptipus = %1;").arg(type));
}

bool DeleteWorkSheetType(qlonglong type) {
    if (const int sheets = WorkSheetTypeUsage(type); sheets > 0) {
        ShowError(texts_text::TypeInUse.arg(sheets));
        return false;
    }
    return DeleteAsked(QStringLiteral("DELETE FROM mlaptipus WHERE mlaptipus = %1 AND NOT EXISTS "
                                      "(SELECT 1 FROM munkalap WHERE mlaptipus = %1);")
                           .arg(type));
}

ListDefinition WorkSheetTypeListDefinition(int programType) {
    ListDefinition d;
    d.maintenanceNeedsRight = true;
    d.name = QStringLiteral("frm_TorzsMlapTipus");
    d.caption = texts_text::WorkSheetTypesCaption;
    d.sql = QStringLiteral("SELECT * FROM mlaptipus\nWHERE (prgtipus = 1)\nORDER BY betujel;");
    d.baseCondition = WorkSheetTypeCondition(programType);
    d.sortField = QStringLiteral("betujel");
    d.searchFields = QStringLiteral("mlaptipus_nev;megjegyzes");
    d.titleClickSorts = false;
    d.keyField = QStringLiteral("mlaptipus");
    d.nameField = QStringLiteral("mlaptipus_nev");
    d.memoField = QStringLiteral("megjegyzes");
    d.columns = {ColumnOf("betujel", "Betűjel", 15), ColumnOf("mlaptipus_nev", "Munkalap típus", 85)};
    d.widthReserve = 36;
    d.hooks = MaintainedWithRight([](RowKey type) { return EditWorkSheetType(type); }, &DeleteWorkSheetType);
    d.actions = TextListActions();
    return d;
}

EditorDefinition WorkSheetTypeEditorDefinition(int programType) {
    EditorDefinition d;
    d.name = QStringLiteral("frm_TorzsMlapTipus_Szerkeszt");
    d.caption = texts_text::WorkSheetTypeEditorCaption;
    d.table = QStringLiteral("mlaptipus");
    const FieldOptions capital{.upcaseFirst = true};
    d.fields = {
        FieldOf(QStringLiteral("mlaptipus_nev"), QStringLiteral("Munkalap típus"), EditorFieldKind::Text,
                capital),
        FieldOf(QStringLiteral("betujel"), QStringLiteral("Betűjel"), EditorFieldKind::Text, capital),
        FieldOf(QStringLiteral("megjegyzes"), QStringLiteral("Megjegyzés"), EditorFieldKind::Memo, {})};
    d.newRow = [programType](Table& row) { row.setValue(QStringLiteral("prgtipus"), programType); };
    return d;
}

// ---- Letter texts ---------------------------------------------------------------

ListDefinition LetterListDefinition() {
    ListDefinition d;
    d.maintenanceNeedsRight = true;
    d.name = QStringLiteral("frm_TorzsLevelSzoveg");
    d.caption = texts_text::LettersCaption;
    d.sql = QStringLiteral("SELECT * FROM levelszoveg\nWHERE 1=1\nORDER BY levelszoveg_nev;");
    d.baseCondition = QStringLiteral("(1=1)");
    d.sortField = QStringLiteral("levelszoveg_nev");
    d.searchFields = QStringLiteral("levelszoveg_nev;targysor;szoveg");
    d.searchKind = SearchKind::Words;
    d.keyField = QStringLiteral("levelszoveg");
    d.nameField = QStringLiteral("levelszoveg_nev");
    d.memoField = QStringLiteral("szoveg");
    d.columns = {ColumnOf("levelszoveg_nev", "Cím", 50), ColumnOf("targysor", "Tárgysor", 50)};
    d.widthReserve = 44;
    d.hooks = MaintainedWithRight(
        [](RowKey letter) { return EditLetterText(letter); },
        [](qlonglong letter) { return DeleteAsked(HardDeleteSql(QStringLiteral("levelszoveg"), letter)); });
    d.actions = TextListActions();
    return d;
}

void SetNewLetterDefaults(Table& letter) {
    letter.setValue(QStringLiteral("ezhtml"), FlagText(false));
}

} // namespace kml
