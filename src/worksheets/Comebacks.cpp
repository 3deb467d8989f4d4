#include "worksheets/Comebacks.h"

#include "components/Connection.h"
#include "components/DbError.h"
#include "components/Query.h"
#include "components/ResultSet.h"
#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"
#include "reports/WorkSheetPrint.h"

namespace kml {
namespace {

const char* const kSheetNumber =
    "CONCAT(LEFT(LPAD(m.munkalap, GREATEST(CHAR_LENGTH(m.munkalap), 5), '0'), 10), "
    "COALESCE(mt.betujel, ''))";

QString OneLine(const QString& text, int length) {
    QString line = text.simplified();
    if (line.size() > length)
        line = line.left(length - 3) + QStringLiteral("...");
    return line;
}

} // namespace

QString LastFinishedSheetSql(int device, int days) {
    return QStringLiteral(
               "SELECT m.munkalap, %1 AS munkalapstr, m.dat_kesz, DATEDIFF(CURDATE(), m.dat_kesz) AS "
               "napja, m.panasz, m.vegzett_munka\n"
               "FROM munkalap m LEFT JOIN mlaptipus mt ON mt.mlaptipus = m.mlaptipus\n"
               "WHERE m.keszulek = %2 AND m.storno = 'N' AND m.dat_kesz IS NOT NULL\n"
               " AND m.dat_kesz >= CURDATE() - INTERVAL %3 DAY\n"
               "ORDER BY m.dat_kesz DESC, m.munkalap DESC LIMIT 1;")
        .arg(QLatin1String(kSheetNumber))
        .arg(device)
        .arg(days);
}

std::optional<EarlierSheet> FindComebackCandidate(int device, int days) {
    if (device <= 0 || days <= 0)
        return std::nullopt;
    const ResultSet rs = SharedConnection().query(LastFinishedSheetSql(device, days));
    if (rs.rowCount() == 0)
        return std::nullopt;
    EarlierSheet earlier;
    earlier.sheet = int(rs.value(0, 0).toLongLong());
    earlier.number = rs.text(0, 1);
    earlier.finished = rs.value(0, 2).toDate();
    earlier.daysAgo = int(rs.value(0, 3).toLongLong());
    earlier.complaint = rs.text(0, 4);
    earlier.work = rs.text(0, 5);
    return earlier;
}

int ComebackDays() {
    try {
        return QueryInt(
            QStringLiteral("SELECT COALESCE(visszateres_nap, 30) FROM beallit ORDER BY beallit LIMIT 1;"),
            30);
    } catch (const DbError& e) {
        constexpr unsigned kUnknownColumn = 1054;
        if (e.code() == kUnknownColumn)
            return 0;
        throw;
    }
}

QString ComebackMessage(const EarlierSheet& earlier) {
    QString text =
        QStringLiteral("A készülék előző munkalapja (%1) %2 készült el, %3.")
            .arg(earlier.number, earlier.finished.toString(QStringLiteral("yyyy.MM.dd.")),
                 earlier.daysAgo == 0 ? QStringLiteral("ma")
                                      : QString::number(earlier.daysAgo) + QStringLiteral(" napja"));
    if (!earlier.complaint.trimmed().isEmpty())
        text += QStringLiteral("\nPanasz: ") + OneLine(earlier.complaint, 200);
    if (!earlier.work.trimmed().isEmpty())
        text += QStringLiteral("\nElvégzett munka: ") + OneLine(earlier.work, 200);
    return text;
}

int AskComeback(int device) {
    const std::optional<EarlierSheet> earlier =
        FindComebackCandidate(device, device > 0 ? ComebackDays() : 0);
    if (!earlier)
        return 0;
    const QString message = ComebackMessage(*earlier);
    if (AskYesNo(message + QStringLiteral("\n\n") + comeback_text::ViewQuestion, comeback_text::Caption))
        PrintWorkSheet(earlier->sheet, false);
    return AskYesNo(message + QStringLiteral("\n\n") + comeback_text::MarkQuestion.arg(earlier->number),
                    comeback_text::Caption)
               ? earlier->sheet
               : 0;
}

QString MarkComebackSql(int sheet, int earlier) {
    return QStringLiteral("UPDATE munkalap SET visszatero_munkalap = %1 WHERE munkalap = %2;")
        .arg(earlier)
        .arg(sheet);
}

QString ComebackReferenceText(int sheet) {
    return QueryStr(
        QStringLiteral("SELECT %1 FROM munkalap s JOIN munkalap m ON m.munkalap = s.visszatero_munkalap "
                       "LEFT JOIN mlaptipus mt ON mt.mlaptipus = m.mlaptipus WHERE s.munkalap = %2;")
            .arg(QLatin1String(kSheetNumber))
            .arg(sheet));
}

} // namespace kml
