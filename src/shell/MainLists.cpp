#include "shell/MainLists.h"

#include "components/Query.h"

#include <algorithm>

namespace kml {

MainListDef MainListDefinition(MainTab tab) {
    switch (tab) {
    case MainTab::WorkSheets:
        return {
            StatusTabCondition(0), QStringLiteral("munkalapstr"),
            QStringLiteral("panasz;vegzett_munka;megjegyzes;CONVERT(munkalapstr USING latin2);"
                           "mlaptipus_nev;CONVERT(DATE_FORMAT(datum,'%Y.%m.%d') USING latin2);"
                           "CONVERT(DATE_FORMAT(dat_hatid,'%Y.%m.%d') USING latin2);"
                           "CONVERT(tipusstr2 USING latin2);"
                           "CONVERT(DATE_FORMAT(dat_kesz,'%Y.%m.%d') USING latin2);ugyfel_nev;telefon;"
                           "CONVERT(irszvaroscim USING latin2);statusz_nev;CONVERT(tipusstr USING latin2);"
                           "gysz"),
            QStringLiteral("munkalap")};
    case MainTab::Customers:
        return {QStringLiteral("(ugyfel > 0)"), QStringLiteral("ugyfel_nev"),
                QStringLiteral("ugyfel_nev;kapcsolat;telefon;emil;irszvaroscim;gyszstr;"
                               "CONVERT(DATE_FORMAT(dat_figyelmeztet,'%Y.%m.%d') USING latin2)"),
                QStringLiteral("ugyfel")};
    case MainTab::Planner:
        return {QStringLiteral("torolve = 'N'"), QStringLiteral("dolgozo_nev"), QStringLiteral("dolgozo_nev"),
                QStringLiteral("dolgozo")};
    case MainTab::Devices:
        return {QStringLiteral("(keszulek > 0)"), QStringLiteral("gysz"),
                QStringLiteral("gysz;gysz2;gysz3;ugyfel_nev;CONVERT(tipusstr USING latin2)"),
                QStringLiteral("keszulek")};
    }
    return {};
}

QStringList StatusTabCaptions() {
    return {QStringLiteral("Folyamatban"), QStringLiteral("Összes"),     QStringLiteral("Beérkezett"),
            QStringLiteral("Megkezdve"),   QStringLiteral("Készen van"), QStringLiteral("Számlázva"),
            QStringLiteral("Árajánlat")};
}

QString StatusTabCondition(int statusTab) {
    switch (statusTab) {
    case 1:
        return QStringLiteral("(statusz > 0)");
    case 2:
    case 3:
    case 4:
    case 5:
        return QStringLiteral("(statusz = ") + QString::number(statusTab - 1) + QLatin1Char(')');
    case QuotationStatusTab:
        return QStringLiteral("(statusz = 0)");
    default:
        return QStringLiteral("(statusz BETWEEN 1 AND 2)");
    }
}

bool ReadyActionOnStatusTab(int statusTab) {
    return statusTab != QuotationStatusTab;
}

QString WorkSheetOrder(const QString& field) {
    if (field.compare(QLatin1String("munkalapstr"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("munkalap DESC");
    return field + QStringLiteral(",munkalap");
}

QString WorkSheetDetailCondition(qlonglong workSheet) {
    return QStringLiteral("munkalap = ") + QString::number(workSheet);
}

QString WorkSheetTotalsCondition(qlonglong workSheet) {
    return WorkSheetDetailCondition(workSheet) + QLatin1Char(';');
}

QString CustomerDevicesCondition(qlonglong customer) {
    return QStringLiteral("ugyfel = ") + QString::number(customer);
}

qlonglong CurrentKey(const Query& query, const QString& keyField) {
    if (!query.isActive() || query.row() < 0 || query.fieldIndex(keyField) < 0)
        return 0;
    return query.value(keyField).toLongLong();
}

WorkSheetGrid WorkSheetGridFor(int programType) {
    switch (programType) {
    case 1:
    case 4:
        return WorkSheetGrid::Grid2;
    case 2:
        return WorkSheetGrid::Grid22;
    case 3:
    case 5:
        return WorkSheetGrid::Grid23;
    default:
        return WorkSheetGrid::None;
    }
}

QStringList ItemColumnFields() {
    return {QStringLiteral("tetel_nev"), QStringLiteral("megjegyzes"), QStringLiteral("egyeb"),
            QStringLiteral("db"),        QStringLiteral("ar_teljes"),  QStringLiteral("kedv_kap"),
            QStringLiteral("beszar"),    QStringLiteral("kedv_ad"),    QStringLiteral("egysar"),
            QStringLiteral("osszar")};
}

QStringList HiddenItemColumns(int programType) {
    if (programType == 2)
        return {};
    return {QStringLiteral("egyeb"), QStringLiteral("kedv_kap"), QStringLiteral("beszar"),
            QStringLiteral("kedv_ad")};
}

DeviceWording DeviceWordingFor(const QString& keszulekstr) {
    DeviceWording w;
    w.panelCaption = keszulekstr;
    w.recordCaption = keszulekstr;
    w.recordHint = keszulekstr + QStringLiteral(" adatlap");
    w.newDeviceCaption = QStringLiteral("Új ") + keszulekstr;
    w.typesCaption = keszulekstr + QStringLiteral(" típusok");
    return w;
}

QString ConnectionLabel(const QString& connectionName) {
    return QStringLiteral("Koravel.ML: ") + connectionName + QStringLiteral("  ");
}

// ---- Row colouring ------------------------------------------------------------

RowStyle WorkSheetRowStyle(int statusz, bool storno, bool kuldve, bool sentMark, bool selected) {
    RowStyle style;
    if (selected)
        return style;
    switch (statusz) {
    case 2:
        style.background = StartedColor;
        break;
    case 3:
        style.background = ReadyColor;
        break;
    case 4:
        style.background = InvoicedColor;
        break;
    default:
        break;
    }
    if (storno) {
        style.background = WarningBackColor;
        style.foreground = CancelledTextColor;
    }
    if (sentMark && kuldve) {
        style.background = SentColor;
        style.foreground = QColor(Qt::black);
    }
    return style;
}

RowStyle CustomerRowStyle(const QVariant& warningDate, const QDate& today, bool selected) {
    RowStyle style;
    if (!warningDate.isValid() || warningDate.isNull())
        return style;
    const QDate date = warningDate.toDate();
    if (!date.isValid() || date > today)
        return style;
    if (selected) {
        style.foreground = SelectedWarningTextColor;
    } else {
        style.background = WarningBackColor;
        style.foreground = BlueTextColor;
    }
    return style;
}

RowStyle ItemRowStyle(bool serviceLine, bool selected) {
    RowStyle style;
    if (serviceLine && !selected) {
        style.background = StartedColor;
        style.foreground = BlueTextColor;
    }
    return style;
}

RowStyle DeviceRowStyle(const QVariant& daysLeft, bool selected) {
    RowStyle style;
    if (selected || !daysLeft.isValid() || daysLeft.isNull())
        return style;
    if (daysLeft.toLongLong() < 30)
        style.background = WarningBackColor;
    return style;
}

RowStyle CellStyle(ColourReach reach, const RowStyle& row, bool highlightedColumn) {
    if (!highlightedColumn)
        return row;
    RowStyle cell;
    if (reach == ColourReach::TextEverywhere)
        cell.foreground = row.foreground;
    return cell;
}

ColourReach ReachOf(ColouredGrid grid) {
    switch (grid) {
    case ColouredGrid::Customers:
    case ColouredGrid::Items:
        return ColourReach::TextEverywhere;
    default:
        return ColourReach::RowOnly;
    }
}

QVariant ValueAt(const Query& query, int row, const QString& field) {
    if (!query.isActive() || row < 0 || row >= query.recordCount())
        return {};
    const int col = query.fieldIndex(field);
    if (col < 0)
        return {};
    return query.result().value(row, col);
}

namespace {

bool FlagAt(const Query& query, int row, const char* field) {
    return ValueAt(query, row, QLatin1String(field)).toString() == QLatin1String("I");
}

} // namespace

RowStyle RowStyleAt(ColouredGrid grid, const Query& query, int row, bool selected, const QDate& today) {
    switch (grid) {
    case ColouredGrid::WorkSheets:
    case ColouredGrid::WorkSheetsSent:
        return WorkSheetRowStyle(ValueAt(query, row, QStringLiteral("statusz")).toInt(),
                                 FlagAt(query, row, "storno"), FlagAt(query, row, "kuldve"),
                                 grid == ColouredGrid::WorkSheetsSent, selected);
    case ColouredGrid::Customers:
        return CustomerRowStyle(ValueAt(query, row, QStringLiteral("dat_figyelmeztet")), today, selected);
    case ColouredGrid::Items:
        return ItemRowStyle(FlagAt(query, row, "ezszolg"), selected);
    case ColouredGrid::Devices:
        return DeviceRowStyle(ValueAt(query, row, QStringLiteral("hatravan")), selected);
    case ColouredGrid::History:
        return {};
    }
    return {};
}

CellIcon FlagIcon(const QString& field, const QVariant& value) {
    const bool on = value.toString() == QLatin1String("I");
    if (field.compare(QLatin1String("fizetve"), Qt::CaseInsensitive) == 0)
        return on ? CellIcon::Paid : CellIcon::Unpaid;
    if (field.compare(QLatin1String("maganszemely"), Qt::CaseInsensitive) == 0)
        return on ? CellIcon::Private : CellIcon::Company;
    return CellIcon::None;
}

// ---- Layout -------------------------------------------------------------------

int ItemsPanelHeight(int workSheetAreaHeight) {
    return std::max(workSheetAreaHeight / 3, 240);
}

bool DevicePanelHeightAccepted(int height, int customerPanelHeight) {
    return height > 200 && height < customerPanelHeight / 2;
}

int SteppedFontSize(int size, int step) {
    return std::clamp(size + step, 8, 10);
}

} // namespace kml
