#include "worksheets/Notes.h"

#include "components/Cp1250.h"
#include "components/Table.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "patterns/RowDeletion.h"

#include <QFileInfo>

namespace kml {

QString NotesCondition(int id, int kind) {
    return QStringLiteral("(id=") + QString::number(id) + QStringLiteral(") AND (megjtipus = ") +
           QString::number(kind) + u')';
}

QString NotesOrderExpression(const QString& field) {
    if (field == u"datum")
        return QStringLiteral("datum DESC");
    return field + QStringLiteral(",megj");
}

ListDefinition NotesDefinition(int id, int kind) {
    ListDefinition d;
    d.name = QStringLiteral("frm_Megjegyzes");
    d.caption = note_text::BrowseCaption;
    d.heading = NoteHeading(id, kind);
    d.sql = QStringLiteral("SELECT * FROM megj\nWHERE megjtipus>0\nORDER BY megj DESC;");
    d.baseCondition = NotesCondition(id, kind);
    d.sortField = QStringLiteral("datum");
    d.searchFields = QStringLiteral("rovid;megjegyzes;felhasznalo");
    d.orderExpression = &NotesOrderExpression;
    d.keyField = QStringLiteral("megj");
    d.nameField = QStringLiteral("rovid");
    d.columns = {ColumnOf("datum", "Dátum", 20), ColumnOf("rovid", "Rövid", 60),
                 ColumnOf("felhasznalo", "Felhasználó", 20), ColumnOf("link", "File", 0)};
    d.widthReserve = 76;
    d.colouring.icon = [](const QString& field, const QVariant& value) {
        if (field != u"link")
            return CellIcon::None;
        return value.toString().trimmed().isEmpty() ? CellIcon::NoAttachment : CellIcon::Attachment;
    };
    d.hooks.create = [id, kind](ListController&) { return EditNote(std::nullopt, kind, id); };
    d.hooks.edit = [kind, id](ListController&, qlonglong key) { return EditNote(key, kind, id); };
    d.hooks.remove = HardDeleteHook(QStringLiteral("megj"));
    d.actions.create = QStringLiteral("Új");
    d.actions.remove = QStringLiteral("Töröl");
    d.size = QSize(760, 560);
    return d;
}

std::vector<PathPrefix> AttachmentPrefixes() {
    std::vector<PathPrefix> prefixes;
    for (int n = 1; n <= 20; ++n) {
        const QString entry = IniReadStr(QStringLiteral("Csatolmanyok"), QStringLiteral("Eleres%1").arg(n));
        const qsizetype bar = entry.indexOf(QLatin1Char('|'));
        if (bar <= 0)
            continue;
        prefixes.push_back({entry.left(bar).trimmed(), entry.mid(bar + 1).trimmed()});
    }
    return prefixes;
}

bool IsWindowsPath(const QString& link) {
    if (link.startsWith(QLatin1String("\\\\")))
        return true;
    return link.size() >= 3 && link.at(0).isLetter() && link.at(1) == QLatin1Char(':') &&
           (link.at(2) == QLatin1Char('\\') || link.at(2) == QLatin1Char('/'));
}

QString LocalAttachmentPath(const QString& link, const std::vector<PathPrefix>& prefixes) {
    if (!IsWindowsPath(link))
        return link;
    const auto slashes = [](QString path) { return path.replace(QLatin1Char('\\'), QLatin1Char('/')); };
    const QString path = slashes(link);
    for (const PathPrefix& prefix : prefixes) {
        QString from = slashes(prefix.windowsPrefix);
        while (from.endsWith(QLatin1Char('/')))
            from.chop(1);
        if (from.isEmpty() || !path.startsWith(from, Qt::CaseInsensitive))
            continue;
        const QString rest = path.mid(from.size());
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char('/')))
            continue; // C:\Dok must not match C:\Dokumentumok
        QString to = prefix.localFolder;
        while (to.endsWith(QLatin1Char('/')))
            to.chop(1);
        return to + rest;
    }
    return {};
}

AttachmentCheck CheckAttachment(const QString& localPath) {
    if (localPath.trimmed().isEmpty())
        return AttachmentCheck::Missing;
    const QFileInfo info(localPath);
    if (!info.exists())
        return AttachmentCheck::Missing;
    // A symbolic link counts as what it points to.
    if (!info.isFile())
        return AttachmentCheck::NotAFile;
    if (info.suffix().compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0)
        return AttachmentCheck::DesktopEntry;
    if (info.isExecutable())
        return AttachmentCheck::Executable;
    return AttachmentCheck::Ok;
}

QString AttachmentMessage(AttachmentCheck check, const QString& link) {
    switch (check) {
    case AttachmentCheck::Ok:
        return {};
    case AttachmentCheck::Empty:
        return note_text::NoAttachment;
    case AttachmentCheck::Missing:
        return note_text::MissingFile + link;
    case AttachmentCheck::NotAFile:
        return note_text::NotAFile + link;
    case AttachmentCheck::Executable:
        return note_text::Executable + link;
    case AttachmentCheck::DesktopEntry:
        return note_text::DesktopEntry + link;
    }
    return {};
}

bool OpenNoteAttachment(const QString& link) {
    if (link.trimmed().isEmpty()) {
        ShowError(note_text::NoAttachment);
        return false;
    }
    const QString local = LocalAttachmentPath(link, AttachmentPrefixes());
    const AttachmentCheck check = CheckAttachment(local);
    if (check != AttachmentCheck::Ok) {
        ShowError(AttachmentMessage(check, link));
        return false;
    }
    OpenAttachmentFile(QFileInfo(local).canonicalFilePath());
    return true;
}

bool IsPreviewPicture(const QString& localPath) {
    if (localPath.isEmpty())
        return false;
    const QFileInfo info(localPath);
    static const QStringList pictures{QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("bmp"),
                                      QStringLiteral("wmf"), QStringLiteral("ico")};
    return info.isFile() && pictures.contains(info.suffix().toLower());
}

std::optional<QString> LinkProblem(const QString& link) {
    if (link.size() > NoteLinkMaxLength)
        return note_text::LinkTooLong;
    QString bad;
    for (const QChar c : link)
        if (UnicodeToCp1250(c.unicode()) < 0 && !bad.contains(c))
            bad += c;
    if (!bad.isEmpty())
        return note_text::LinkNotStorable + bad;
    return std::nullopt;
}

bool PrepareNote(Table& row, int note, int kind, int id) {
    if (note != -1)
        return row.load(note);
    row.startNew();
    row.setValue(QStringLiteral("id"), id);
    row.setValue(QStringLiteral("megjtipus"), kind);
    const QString user = Beall().felhasznaloNev.isEmpty() ? note_text::DefaultUser : Beall().felhasznaloNev;
    row.setValue(QStringLiteral("felhasznalo"), user);
    return true;
}

QString NoteHeading(int id, int kind) {
    return CaptionOf(id, kind);
}

} // namespace kml
