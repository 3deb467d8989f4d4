#include "exchange/SavedExports.h"

#include "components/Connection.h"
#include "components/Cp1250.h"
#include "components/Query.h"
#include "components/Table.h"
#include "exchange/ExportRows.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/Folders.h"
#include "foundation/IniFile.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "patterns/RowDeletion.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <mysql.h>

namespace kml {
namespace {

std::optional<ExportDefinition> DefinitionOf(const ResultSet& rows) {
    if (rows.rowCount() == 0)
        return std::nullopt;
    const auto text = [&rows](const char* name) {
        return rows.text(0, rows.columnIndex(QString::fromLatin1(name)));
    };
    const auto number = [&rows](const char* name) {
        return VarInt(rows.value(0, rows.columnIndex(QString::fromLatin1(name))), 0);
    };
    ExportDefinition d;
    d.id = number("csvexp");
    d.name = text("csvexp_nev");
    d.sql = text("szoveg_sql");
    d.fileLocal = text("file_local");
    d.separator = number("hatarolo");
    d.quote = number("szovegjelolo");
    d.ftp = text("ftp_kell") == QLatin1String("I");
    d.host = text("host_ftp");
    d.folder = text("file_ftp");
    d.user = text("ftp_user");
    d.password = text("ftp_jelszo");
    return d;
}

const QString kDefinitionColumns =
    QStringLiteral("SELECT csvexp, csvexp_nev, szoveg_sql, file_local, hatarolo, szovegjelolo, ftp_kell, "
                   "host_ftp, file_ftp, ftp_user, ftp_jelszo FROM csvexp ");

void AppendValue(QByteArray& line, QByteArrayView value, char separator, char quote) {
    if (quote)
        line += quote;
    line += value;
    if (quote)
        line += quote;
    line += separator;
}

// One row's line appended to out. Texts and whole numbers go out as the
// server sent them, without a copy of their own.
void AppendLine(QByteArray& out, const ResultSet& rows, int row, char separator, char quote) {
    for (int col = 0; col < rows.columnCount(); ++col) {
        const FieldKind kind = rows.column(col).kind;
        switch (kind) {
        case FieldKind::Memo:
            AppendValue(out, "BLOB", separator, quote);
            break;
        case FieldKind::Float:
        case FieldKind::Date:
        case FieldKind::DateTime:
            AppendValue(out, ExportCellText(kind, rows.raw(row, col), rows.isNull(row, col)), separator,
                        quote);
            break;
        default:
            AppendValue(out, rows.isNull(row, col) ? QByteArrayView() : rows.raw(row, col), separator, quote);
        }
    }
}

// Writes the lines into a file beside the target that replaces it only when
// complete.
void WriteFile(const ResultSet& rows, const QString& path, char separator, char quote,
               const SavedExportProgress& progress, SavedExportResult& result) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ExportError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    QByteArray buffer = SavedExportHeader(rows, separator, quote) + "\r\n";
    buffer.reserve(1 << 20);
    for (int row = 0; row < rows.rowCount(); ++row) {
        AppendLine(buffer, rows, row, separator, quote);
        buffer += "\r\n";
        if (buffer.size() >= (1 << 20)) {
            if (file.write(buffer) != buffer.size())
                throw ExportError(
                    QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
            buffer.clear();
        }
        if ((row & 1023) == 1023 && progress.rows && !progress.rows(row + 1))
            throw ExportError(QStringLiteral("Az export megszakítva."));
    }
    if (file.write(buffer) != buffer.size() || !file.commit())
        throw ExportError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    result.rows = rows.rowCount();
}

} // namespace

std::optional<ExportDefinition> LoadExportDefinition(qlonglong id) {
    return DefinitionOf(SharedConnection().query(kDefinitionColumns + QStringLiteral("WHERE csvexp = ") +
                                                 QString::number(id) + QLatin1Char(';')));
}

std::optional<ExportDefinition> FindExportDefinition(const QString& name) {
    return DefinitionOf(SharedConnection().query(kDefinitionColumns + QStringLiteral("WHERE csvexp_nev = ") +
                                                 SqlStr(name) + QStringLiteral(" ORDER BY csvexp LIMIT 1;")));
}

char SavedExportSeparator(int hatarolo) {
    switch (hatarolo) {
    case 1:
        return '\t';
    case 2:
        return ',';
    case 3:
        return '|';
    default:
        return ';';
    }
}

char SavedExportQuote(int szovegjelolo) {
    switch (szovegjelolo) {
    case 0:
        return '"';
    case 1:
        return '\'';
    default:
        return 0;
    }
}

QByteArray SavedExportHeader(const ResultSet& rows, char separator, char quote) {
    QByteArray line;
    for (const ColumnInfo& column : rows.columns())
        AppendValue(line, ToCp1250(column.name), separator, quote);
    return line;
}

QByteArray SavedExportLine(const ResultSet& rows, int row, char separator, char quote) {
    QByteArray line;
    AppendLine(line, rows, row, separator, quote);
    return line;
}

QString SavedExportPath(const QString& fileLocal) {
    QString name = fileLocal.trimmed();
    if (name.isEmpty())
        return {};
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(QDir(DataFolder()).absoluteFilePath(name));
}

QString SavedExportRemoteName(const QString& fileLocal) {
    QString name = fileLocal.trimmed();
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
}

bool FtpActiveModeSetting() {
    return IniReadStr(QStringLiteral("Alapertek"), QStringLiteral("FtpAktiv"), QStringLiteral("0"))
               .trimmed() == QLatin1String("1");
}

SavedExportResult RunSavedExport(const ExportDefinition& definition, ExportDestination destination,
                                 const SavedExportProgress& progress) {
    SavedExportResult result;
    try {
        const char separator = SavedExportSeparator(definition.separator);
        const char quote = SavedExportQuote(definition.quote);
        if (destination != ExportDestination::Clipboard) {
            result.path = SavedExportPath(definition.fileLocal);
            if (result.path.isEmpty())
                throw ExportError(csvexp_text::NoLocalFile);
        }
        if (destination == ExportDestination::Ftp && definition.host.trimmed().isEmpty())
            throw ExportError(csvexp_text::NoFtp);

        const ResultSet rows = SharedConnection().query(definition.sql);
        if (destination == ExportDestination::Clipboard) {
            QByteArray text = SavedExportHeader(rows, separator, quote) + "\r\n";
            for (int row = 0; row < rows.rowCount(); ++row)
                text += SavedExportLine(rows, row, separator, quote) + "\r\n";
            result.clipboardText = FromCp1250(text);
            result.rows = rows.rowCount();
        } else {
            WriteFile(rows, result.path, separator, quote, progress, result);
        }

        if (destination == ExportDestination::Ftp) {
            FtpTarget target;
            target.host = definition.host;
            target.user = definition.user;
            target.password = definition.password;
            target.folder = definition.folder;
            target.activeMode = FtpActiveModeSetting();
            FtpUpload(target, result.path, SavedExportRemoteName(definition.fileLocal), progress.upload);
        }
        result.ok = true;
    } catch (const ExportError& e) {
        result.error = e.message();
    } catch (const FtpError& e) {
        result.error = e.message();
    } catch (const DbError& e) {
        result.error = e.message();
    }
    return result;
}

SavedExportResult RunStoredExport(qlonglong id, ExportDestination destination,
                                  const SavedExportProgress& progress) {
    std::optional<ExportDefinition> definition;
    try {
        definition = LoadExportDefinition(id);
    } catch (const DbError& e) {
        SavedExportResult result;
        result.error = e.message();
        return result;
    }
    if (!definition) {
        SavedExportResult result;
        result.error = csvexp_text::NoDefinition;
        return result;
    }
    return RunSavedExport(*definition, destination, progress);
}

bool ReportSavedExport(const SavedExportResult& result, ExportDestination destination) {
    if (!result.ok) {
        ShowError(csvexp_text::ErrorPrefix + result.error);
        return false;
    }
    if (destination == ExportDestination::Clipboard) {
        if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            app->clipboard()->setText(result.clipboardText);
        ShowInfo(csvexp_text::ClipboardDone);
    } else {
        ShowInfo(csvexp_text::Done);
    }
    return true;
}

bool RunExportDefinition(qlonglong id, ExportDestination destination, const SavedExportProgress& progress) {
    return ReportSavedExport(RunStoredExport(id, destination, progress), destination);
}

ListDefinition ExportDefinitionList() {
    ListDefinition d;
    d.name = QStringLiteral("frm_TorzsCsvExp");
    d.caption = csvexp_text::ListCaption;
    d.sql = QStringLiteral("SELECT * FROM csvexp\nWHERE 1=1\nORDER BY csvexp_nev;");
    d.baseCondition = QStringLiteral("(1=1)");
    d.sortField = QStringLiteral("csvexp_nev");
    d.searchFields = QStringLiteral("csvexp_nev;kategoria;csopmezok;summezok");
    d.searchKind = SearchKind::Words;
    d.keyField = QStringLiteral("csvexp");
    d.nameField = QStringLiteral("csvexp_nev");
    d.titleClickSorts = false;
    d.widthReserve = 44;
    d.columns = {ColumnOf("csvexp_nev", "Export neve", 35), ColumnOf("kategoria", "Kategória", 20),
                 ColumnOf("csopmezok", "Csoportosítás", 20), ColumnOf("summezok", "Összegzés", 25)};
    d.size = QSize(760, 460);
    d.hooks.create = [](ListController&) -> std::optional<qlonglong> {
        if (!RequireRight(Beall().rendszergazda))
            return std::nullopt;
        return EditExportDefinition(std::nullopt);
    };
    d.hooks.edit = [](ListController&, qlonglong key) -> std::optional<qlonglong> {
        if (!RequireRight(Beall().rendszergazda))
            return std::nullopt;
        return EditExportDefinition(key);
    };
    d.hooks.remove = [](ListController&, qlonglong key) {
        if (!RequireRight(Beall().rendszergazda))
            return false;
        return DeleteAsked(ExportDefinitionDeleteSql(key));
    };
    return d;
}

QString ExportDefinitionDeleteSql(qlonglong id) {
    return HardDeleteSql(QStringLiteral("csvexp"), id);
}

void SetNewExportDefaults(Table& row) {
    row.setValue(QStringLiteral("ftp_kell"), QStringLiteral("N"));
    row.setValue(QStringLiteral("ezgrafikon"), QStringLiteral("N"));
    row.setValue(QStringLiteral("hatarolo"), 0);
    row.setValue(QStringLiteral("szovegjelolo"), 0);
    row.setValue(QStringLiteral("kordexa"), QStringLiteral("N"));
}

QStringList StatementFieldNames(const QString& sql) {
    Connection& connection = SharedConnection();
    connection.ensureAlive();
    MYSQL* mysql = connection.handle();
    if (!mysql)
        throw DbError(QStringLiteral("Nincs adatbázis kapcsolat"), 2006);
    MYSQL_STMT* statement = mysql_stmt_init(mysql);
    if (!statement)
        throw DbError(QStringLiteral("Out of memory"), 2008);
    const std::unique_ptr<MYSQL_STMT, decltype(&mysql_stmt_close)> guard(statement, &mysql_stmt_close);
    const QByteArray text = ToCp1250(sql);
    if (mysql_stmt_prepare(statement, text.constData(), text.size()) != 0)
        throw DbError(FromCp1250(QByteArray(mysql_stmt_error(statement))), mysql_stmt_errno(statement));
    QStringList names;
    if (MYSQL_RES* meta = mysql_stmt_result_metadata(statement)) {
        for (const ColumnInfo& column : ResultColumns(meta))
            names << column.name;
        mysql_free_result(meta);
    }
    return names;
}

QString AppendFieldName(const QString& current, const QString& name) {
    return current.isEmpty() ? name : current + QLatin1Char(',') + name;
}

QStringList ExportCategories() {
    const ResultSet rows =
        SharedConnection().query(QStringLiteral("SELECT DISTINCT kategoria FROM csvexp ORDER BY 1;"));
    QStringList categories;
    for (int row = 0; row < rows.rowCount(); ++row)
        if (!rows.isNull(row, 0))
            categories << rows.text(row, 0);
    return categories;
}

} // namespace kml
