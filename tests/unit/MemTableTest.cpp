// The in-memory table: typed fields, appending and posting rows.
#include "components/MemTable.h"

#include <QDate>
#include <gtest/gtest.h>

using namespace kml;

namespace {

TEST(MemTable, AppendPostCancelAndTypedValues) {
    MemTable t;
    t.addField("adatbazis", FieldKind::Text, 50);
    t.addField("port", FieldKind::Integer);
    t.addField("ar", FieldKind::Float);
    t.addField("datum", FieldKind::Date);
    EXPECT_EQ(t.fieldIndex("PORT"), 1);
    EXPECT_EQ(t.fieldIndex("nincs"), -1);
    EXPECT_THROW(t.addField("Port", FieldKind::Text), std::logic_error);
    EXPECT_THROW(t.setValue("port", 1), std::logic_error); // no row being appended

    t.append();
    t.setValue("adatbazis", "koravelml");
    t.setValue("port", "3306");
    t.setValue("ar", 12.5);
    EXPECT_EQ(t.post(), 0);
    t.append();
    t.setValue("port", 1);
    t.cancel();
    EXPECT_EQ(t.rowCount(), 1);

    EXPECT_EQ(t.value(0, "adatbazis").toString(), "koravelml");
    EXPECT_EQ(t.value(0, "port").typeId(), QMetaType::LongLong);
    EXPECT_EQ(t.value(0, "port").toLongLong(), 3306);
    EXPECT_DOUBLE_EQ(t.value(0, "ar").toDouble(), 12.5);
    EXPECT_TRUE(t.value(0, "datum").isNull());

    t.append();
    EXPECT_THROW(t.setValue("port", "abc"), std::invalid_argument);
    EXPECT_THROW(t.setValue("nincs", 1), std::out_of_range);
    t.setValue("datum", QDate(2024, 3, 5));
    t.post();
    EXPECT_THROW(t.addField("uj", FieldKind::Text), std::logic_error);

    t.setValue(1, 0, "teszt");
    EXPECT_EQ(t.value(1, 0).toString(), "teszt");
    t.removeRow(0);
    EXPECT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.value(0, "datum").toDate(), QDate(2024, 3, 5));
    t.clear();
    EXPECT_EQ(t.rowCount(), 0);
    EXPECT_EQ(t.fieldCount(), 4);
}

} // namespace
