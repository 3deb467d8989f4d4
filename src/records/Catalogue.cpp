#include "records/Catalogue.h"

#include "components/Query.h"
#include "components/Table.h"
#include "exchange/DatasetExport.h"
#include "foundation/Conversions.h"
#include "foundation/FieldLimits.h"
#include "foundation/Flags.h"
#include "foundation/QueryHelpers.h"
#include "patterns/Palette.h"
#include "patterns/RowDeletion.h"
#include "records/CatalogueWindows.h"
#include "records/DeletedRecords.h"

#include <cmath>

namespace kml {
namespace {

const QString Code = QStringLiteral("tetel_kod");
const QString PurchasePrice = QStringLiteral("ar_besz");
const QString SalePrice = QStringLiteral("ar_elad");
const QString ListPrice = QStringLiteral("ar_teljes");
const QString Remark = QStringLiteral("megjegyzes");

double Price(const Table& item, const QString& field) {
    return VarFloat(item.value(field));
}

} // namespace

RowStyle ItemRowStyle(bool serviceLine, bool selected) {
    RowStyle style;
    if (serviceLine && !selected) {
        style.background = palette::Started;
        style.foreground = palette::BlueText;
    }
    return style;
}

RowStyle ServiceLineStyle(const Query& query, int row, bool selected) {
    return ItemRowStyle(IsFlagSet(ValueAt(query, row, QStringLiteral("ezszolg"))), selected);
}

ListDefinition CatalogueListDefinition() {
    ListDefinition d;
    d.maintenanceNeedsRight = true;
    d.name = QStringLiteral("frm_TorzsTetel");
    d.caption = catalogue_text::ListCaption;
    d.heading = catalogue_text::ListHeading;
    d.sql = QStringLiteral("SELECT * FROM vw_tetel\nWHERE (tetel > 0)\nORDER BY tetel_kod;");
    d.baseCondition = QStringLiteral("(torolve = 'N')");
    d.sortField = QStringLiteral("tetel_kod");
    d.searchFields = QStringLiteral("tetel_kod;tetel_nev");
    d.keyField = QStringLiteral("tetel");
    d.nameField = QStringLiteral("tetel_nev");
    d.memoField = Remark;
    d.columns = {ColumnOf("tetel_kod", "Tétel kód", 20), ColumnOf("tetel_nev", "Tétel neve", 50),
                 ColumnOf("ar_besz", "Beszerzési ár", 15), ColumnOf("ar_elad", "Eladási ár", 15)};
    d.widthReserve = 36;
    d.colouring.style = &ServiceLineStyle;
    d.colouring.reach = ColourReach::TextEverywhere;
    d.hooks.create = [](ListController&) { return EditCatalogueItem(std::nullopt); };
    d.hooks.edit = [](ListController&, qlonglong item) { return EditCatalogueItem(item); };
    d.hooks.remove = CatalogueItemDeleteHook();
    return d;
}

ItemEditorPage ItemEditorPageFor(int programType) {
    switch (programType) {
    case 1:
        return {QStringLiteral("Klíma szerviz tétel"), false, true};
    case 2:
        return {QStringLiteral("Autószerelő tétel"), true, true};
    case 3:
        return {QStringLiteral("Grafika stúdió tétel"), false, false};
    case 4:
        return {QStringLiteral("Gázszerelő tétel"), false, false};
    case 5:
        return {QStringLiteral("Ügyfélszolgálat"), false, false};
    default:
        return {QStringLiteral("Tétel"), false, false};
    }
}

void SetItemLimits(FieldLimits& limits) {
    limits.setRange(QStringLiteral("kedv_kap"), 0, 100, QStringLiteral("Kapott kedv%"));
    limits.setRange(QStringLiteral("kedv_ad"), 0, 100, QStringLiteral("Adott kedv%"));
}

QString StartNewItem(Table& item, bool automaticCode) {
    item.setValue(QStringLiteral("torolve"), FlagText(false));
    item.setValue(QStringLiteral("ezszolg"), FlagText(false));
    if (!automaticCode)
        return {};
    const QString proposed = NextItemCode();
    item.setValue(Code, proposed);
    return proposed;
}

void LeaveCodeToServer(Table& item, const QString& proposedCode) {
    if (item.isNew() && !proposedCode.isEmpty() && VarStr(item.value(Code)) == proposedCode)
        item.setValue(Code, QVariant());
}

QString ItemRemarkProblem(const Table& item) {
    const int width = item.maxLength(Remark);
    if (width > 0 && VarStr(item.value(Remark)).size() > width)
        return catalogue_text::RemarkTooLong.arg(width);
    return {};
}

double GrossUp(double value, double vatPercent) {
    // nearbyint in the default rounding mode sends halves to the even
    // neighbour, as the line editor's gross-up does (std::round would not).
    return std::nearbyint(value * (vatPercent / 100 + 1));
}

double DiscountedPrice(double listPrice, double discountPercent) {
    return listPrice * (1 - discountPercent / 100);
}

void ApplyReceivedDiscount(Table& item) {
    item.setValue(PurchasePrice,
                  DiscountedPrice(Price(item, ListPrice), Price(item, QStringLiteral("kedv_kap"))));
}

void ApplyGivenDiscount(Table& item) {
    item.setValue(SalePrice, DiscountedPrice(Price(item, ListPrice), Price(item, QStringLiteral("kedv_ad"))));
}

void GrossUpPrices(Table& item, double vatPercent) {
    for (const QString& field : {ListPrice, PurchasePrice, SalePrice})
        item.setValue(field, GrossUp(Price(item, field), vatPercent));
}

void ExportCatalogue() {
    Query items;
    items.setSql(QStringLiteral("SELECT * FROM vw_tetelexp\nORDER BY 1;"));
    items.open();
    ExportDataset(items, QString());
    items.close();
}

} // namespace kml
