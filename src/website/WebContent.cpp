#include "website/WebContent.h"

#include "components/Connection.h"
#include "components/FtpFiles.h"
#include "components/Query.h"
#include "components/Table.h"
#include "components/Transaction.h"
#include "exchange/PictureUpload.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/Flags.h"
#include "foundation/Settings.h"
#include "patterns/RowDeletion.h"
#include "records/DeviceTypes.h"
#include "website/WebsiteWindows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace kml {
namespace {

// The hooks of a list whose rows an editor creates and edits; the
// placeholder row (key 0 or less) is never edited or deleted.
ListHooks EditedWith(const WindowOperation<std::optional<qlonglong>(std::optional<qlonglong>)>& edit,
                     bool (*remove)(qlonglong)) {
    ListHooks hooks;
    hooks.create = [&edit](ListController&) { return edit(std::nullopt); };
    hooks.edit = [&edit](ListController&, qlonglong key) -> std::optional<qlonglong> {
        if (key <= 0)
            return std::nullopt;
        return edit(key);
    };
    hooks.remove = [remove](ListController&, qlonglong key) { return remove(key); };
    return hooks;
}

bool DeleteRow(const QString& table, qlonglong key) {
    if (key <= 0)
        return false;
    return DeleteAsked(HardDeleteSql(table, key));
}

ListActionCaptions WebListActions(bool refresh) {
    ListActionCaptions actions;
    actions.create = QStringLiteral("Új sor");
    actions.remove = QStringLiteral("Töröl");
    if (refresh)
        actions.refresh = QStringLiteral("Frissít");
    return actions;
}

} // namespace

// ---- Lists ------------------------------------------------------------------

ListDefinition WebTextListDefinition() {
    ListDefinition d;
    d.name = QStringLiteral("frm_TorzsWebSzoveg");
    d.caption = web_text::WebTextListCaption;
    d.sql = QStringLiteral("SELECT * FROM web_szoveg\nWHERE (web_szoveg <> 0)\nORDER BY kulcs;");
    d.baseCondition = QStringLiteral("(web_szoveg <> 0)");
    d.sortField = QStringLiteral("kulcs");
    d.searchFields = QStringLiteral("kulcs;cim;szoveg");
    d.searchKind = SearchKind::Words;
    d.keyField = QStringLiteral("web_szoveg");
    d.nameField = QStringLiteral("kulcs");
    d.columns = {ColumnOf("kulcs", "Kulcs", 30), ColumnOf("cim", "Cím", 55),
                 ColumnOf("ezfooter", "Lábléc", 15)};
    d.colouring.style = [](const Query& query, int row, bool selected) {
        RowStyle style;
        if (!selected && IsFlagSet(ValueAt(query, row, QStringLiteral("ezfooter"))))
            style.background = FooterRowColour;
        return style;
    };
    d.colouring.reach = ColourReach::RowOnly;
    // A footer item: a green tick; any other: a faint dash.
    d.colouring.icon = FlagPictures(QStringLiteral("ezfooter"), CellIcon::Paid, CellIcon::NoAttachment);
    d.hooks = EditedWith(EditWebText, &DeleteWebText);
    d.actions = WebListActions(true);
    return d;
}

ListDefinition BannerListDefinition() {
    ListDefinition d;
    d.name = QStringLiteral("frm_TorzsBanner");
    d.caption = web_text::BannerListCaption;
    d.sql = QStringLiteral("SELECT * FROM vw_banner\nWHERE 1=1\nORDER BY banner;");
    d.baseCondition = QStringLiteral("(1=1)");
    d.sortField = QStringLiteral("banner");
    d.searchFields = QStringLiteral("banner_nev;link;szoveg");
    d.searchKind = SearchKind::Like;
    d.keyField = QStringLiteral("banner");
    d.nameField = QStringLiteral("banner_nev");
    d.columns = {ColumnOf("banner", "Sorszám", 10), ColumnOf("banner_nev", "Címsor", 30),
                 ColumnOf("link", "Link", 25), ColumnOf("szovegstr", "Szöveg", 35)};
    d.hooks = EditedWith(EditBanner, &DeleteBanner);
    d.actions = WebListActions(false);
    return d;
}

ListDefinition IntroListDefinition() {
    ListDefinition d;
    d.name = QStringLiteral("frm_TorzsWebIntro");
    d.caption = web_text::IntroListCaption;
    d.sql = QStringLiteral("SELECT * FROM webintro\nWHERE (webintro<>-1)\nORDER BY webintro;");
    d.baseCondition = QStringLiteral("(webintro<>-1)");
    d.sortField = QStringLiteral("webintro_nev");
    d.searchFields = QStringLiteral("webintro_nev;szoveg");
    d.searchKind = SearchKind::Words;
    d.keyField = QStringLiteral("webintro");
    d.nameField = QStringLiteral("webintro_nev");
    d.columns = {ColumnOf("webintro", "Sorszám", 15), ColumnOf("webintro_nev", "Cím", 85)};
    d.memoField = QStringLiteral("szoveg");
    d.hooks = EditedWith(EditIntroSlide, &DeleteIntroSlide);
    d.actions = WebListActions(true);
    return d;
}

bool DeleteWebText(qlonglong text) {
    return DeleteRow(QStringLiteral("web_szoveg"), text);
}

bool DeleteBanner(qlonglong banner) {
    return DeleteRow(QStringLiteral("banner"), banner);
}

bool DeleteIntroSlide(qlonglong slide) {
    return DeleteRow(QStringLiteral("webintro"), slide);
}

// ---- Editors ----------------------------------------------------------------

void SetNewWebTextDefaults(Table& row) {
    row.setValue(QStringLiteral("ezhtml"), FlagText(false));
    row.setValue(QStringLiteral("ezfooter"), FlagText(false));
}

bool CheckWebText(const Table& row, QWidget* owner) {
    if (!VarStr(row.value(QStringLiteral("kulcs"))).trimmed().isEmpty())
        return true;
    ErrorT(web_text::KeyRequired, owner);
    return false;
}

// ---- Pictures ---------------------------------------------------------------

QString WebPictureFolder() {
    return TypePictureFolder();
}

QString BannerPictureColumn(BannerPicture kind) {
    return kind == BannerPicture::Background ? QStringLiteral("hatterkep") : QStringLiteral("kiskep");
}

QString BannerPictureName(qlonglong banner, BannerPicture kind) {
    return QStringLiteral("banner%1%2")
        .arg(banner)
        .arg(kind == BannerPicture::Background ? QStringLiteral(".jpg") : QStringLiteral("-k.png"));
}

QString IntroPictureName(qlonglong slide) {
    return QStringLiteral("intro%1.jpg").arg(slide);
}

QString IntroPicturePath(const QString& folder, qlonglong slide) {
    return QDir(folder).filePath(IntroPictureName(slide));
}

bool UploadBannerPicture(Table& row, BannerPicture kind, QWidget* owner) {
    const qlonglong banner = row.post().toLongLong();
    const QString source =
        ChooseWebPicture(kind == BannerPicture::Background ? web_text::JpegFilter : web_text::PngFilter);
    if (source.isEmpty())
        return false;
    const QString folder = WebPictureFolder();
    QDir().mkpath(folder);
    const QString name = BannerPictureName(banner, kind);
    if (!CopyAndUploadPicture(source, QDir(folder).filePath(name), owner))
        return false;
    row.setValue(BannerPictureColumn(kind), name);
    row.post();
    return true;
}

bool UploadIntroPicture(Table& row, QWidget* owner) {
    const qlonglong slide = row.post().toLongLong();
    const QString source = ChooseWebPicture(web_text::JpegFilter);
    if (source.isEmpty())
        return false;
    const QString folder = WebPictureFolder();
    QDir().mkpath(folder);
    return ResizeAndUploadPicture(source, IntroPicturePath(folder, slide), owner);
}

// ---- Moving a slide -----------------------------------------------------------

std::vector<std::pair<QString, QString>> SwapRenames(const QString& a, bool aExists, const QString& b,
                                                     bool bExists, const QString& temporary) {
    if (aExists && bExists)
        return {{a, temporary}, {b, a}, {temporary, b}};
    if (aExists)
        return {{a, b}};
    if (bExists)
        return {{b, a}};
    return {};
}

namespace {

QString TemporaryPictureName() {
    return QStringLiteral(".intro-csere-%1-%2.jpg")
        .arg(QCoreApplication::applicationPid())
        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

} // namespace

QString SwapLocalIntroPictures(const QString& folder, qlonglong a, qlonglong b) {
    const QDir dir(folder);
    const QString nameA = IntroPictureName(a), nameB = IntroPictureName(b);
    const auto renames =
        SwapRenames(nameA, dir.exists(nameA), nameB, dir.exists(nameB), TemporaryPictureName());
    std::vector<std::pair<QString, QString>> done;
    for (const auto& [from, to] : renames) {
        if (QFile::rename(dir.filePath(from), dir.filePath(to))) {
            done.emplace_back(from, to);
            continue;
        }
        // Back as it was, so that no picture is left under the wrong name.
        for (auto it = done.rbegin(); it != done.rend(); ++it)
            QFile::rename(dir.filePath(it->second), dir.filePath(it->first));
        return QStringLiteral("%1 -> %2").arg(QDir::toNativeSeparators(dir.filePath(from)), to);
    }
    return {};
}

QString SwapRemoteIntroPictures(qlonglong a, qlonglong b) {
    if (!Beall().kepftp)
        return {};
    const FtpTarget target = PictureFtpTarget();
    const QString nameA = IntroPictureName(a), nameB = IntroPictureName(b);
    const QString temporary = TemporaryPictureName();
    try {
        const QStringList names = FtpListNames(target);
        FtpRename(target, SwapRenames(nameA, names.contains(nameA), nameB, names.contains(nameB), temporary));
    } catch (const FtpError& e) {
        // A picture stopped half-way under the temporary name goes back to
        // the name that is free again (best effort: the error is told anyway).
        try {
            const QStringList names = FtpListNames(target);
            if (names.contains(temporary))
                FtpRename(target, {{temporary, names.contains(nameA) ? nameB : nameA}});
        } catch (const FtpError&) {
        }
        return e.message();
    }
    return {};
}

SlideMove MoveSlide(Connection& db, const SeenSlide& seen, SlideDirection direction) {
    SlideMove move;
    const qlonglong n = seen.number;
    if (n <= 0 || (direction == SlideDirection::Up && n <= 1))
        return move;
    const qlonglong to = direction == SlideDirection::Up ? n - 1 : n + 1;
    const auto exec = [&db](const QString& sql) {
        db.exec(sql);
        return db.affectedRows();
    };
    RunTransaction(db, [&]() -> bool {
        move = SlideMove{};
        if (direction == SlideDirection::Down) {
            const QVariant highest =
                db.query(QStringLiteral("SELECT MAX(webintro) FROM webintro;")).value(0, 0);
            if (highest.isNull() || n >= highest.toLongLong())
                return false;
        }
        // The neighbour steps aside first, onto a number below every slide.
        const qlonglong aside =
            std::min<qlonglong>(
                0, db.query(QStringLiteral("SELECT MIN(webintro) FROM webintro;")).value(0, 0).toLongLong()) -
            1000;
        move.swapped =
            exec(QStringLiteral("UPDATE webintro SET webintro=%1 WHERE (webintro=%2);").arg(aside).arg(to)) ==
            1;
        // The slide must still be the one the user saw.
        const ResultSet slide = db.query(
            QStringLiteral("SELECT webintro_nev, szoveg FROM webintro WHERE (webintro=%1) FOR UPDATE;")
                .arg(n));
        if (slide.rowCount() != 1 || VarStr(slide.value(0, 0)) != VarStr(seen.title) ||
            VarStr(slide.value(0, 1)) != VarStr(seen.text)) {
            move.outcome = SlideMove::Outcome::Changed;
            return false;
        }
        exec(QStringLiteral("UPDATE webintro SET webintro=%1 WHERE (webintro=%2);").arg(to).arg(n));
        if (move.swapped)
            exec(QStringLiteral("UPDATE webintro SET webintro=%1 WHERE (webintro=%2);").arg(n).arg(aside));
        move.outcome = SlideMove::Outcome::Moved;
        move.to = to;
        return true;
    });
    if (move.outcome != SlideMove::Outcome::Moved)
        move.swapped = false;
    return move;
}

SlideMove MoveSlideWithPictures(const SeenSlide& seen, SlideDirection direction, QWidget* owner) {
    const SlideMove move = MoveSlide(SharedConnection(), seen, direction);
    if (move.outcome == SlideMove::Outcome::Changed) {
        ShowWarning(web_text::SlideChanged, owner);
        return move;
    }
    if (move.outcome != SlideMove::Outcome::Moved)
        return move;
    if (const QString error = SwapLocalIntroPictures(WebPictureFolder(), seen.number, move.to);
        !error.isEmpty())
        ShowError(web_text::LocalPicturesNotSwapped.arg(error), owner);
    else if (const QString remote = SwapRemoteIntroPictures(seen.number, move.to); !remote.isEmpty())
        ShowError(web_text::RemotePicturesNotSwapped.arg(remote), owner);
    return move;
}

} // namespace kml
