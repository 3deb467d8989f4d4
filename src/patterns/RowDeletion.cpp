#include "patterns/RowDeletion.h"

#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"

namespace kml {

QString SoftDeleteSql(const QString& table, qlonglong key) {
    return QStringLiteral("UPDATE %1 SET torolve = 'I' WHERE %1 = %2;").arg(table).arg(key);
}

QString HardDeleteSql(const QString& table, qlonglong key) {
    return QStringLiteral("DELETE FROM %1 WHERE %1 = %2;").arg(table).arg(key);
}

bool DeleteAsked(const QString& sql) {
    if (!AskYesNo(dialog_text::DeleteRowQuestion, dialog_text::ConfirmCaption))
        return false;
    ExecSql(sql);
    return true;
}

std::function<bool(ListController&, qlonglong)> SoftDeleteHook(const QString& table) {
    return [table](ListController&, qlonglong key) { return DeleteAsked(SoftDeleteSql(table, key)); };
}

std::function<bool(ListController&, qlonglong)> HardDeleteHook(const QString& table) {
    return [table](ListController&, qlonglong key) { return DeleteAsked(HardDeleteSql(table, key)); };
}

} // namespace kml
