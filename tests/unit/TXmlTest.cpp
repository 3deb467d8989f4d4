// The invoice XML writer: what each operation appends, escaping and the
// trailing-mark rule of text values, numbers without exponents, characters
// XML cannot hold, the saved bytes, and reading elements back.

#include "exchange/TXml.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

using namespace kml;

namespace {

// The one line a single element call appends at depth 1.
QString LineOf(const std::function<void(TXml&)>& add) {
    TXml xml;
    xml.AddNode(QStringLiteral("a"));
    add(xml);
    return xml.lines().size() > 1 ? xml.lines().at(1) : QStringLiteral("<none>");
}

} // namespace

TEST(TXml, NodesIndentByDepthAndCloseInReverseOrder) {
    TXml xml;
    xml.AddHeader(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    xml.AddNode(QStringLiteral("szamlak"));
    xml.AddNode(QStringLiteral("szamla"), QStringLiteral("id=\"1\""));
    xml.AddNode(QStringLiteral("ures"));
    xml.FinishNode();
    xml.AddInt(QStringLiteral("n"), -42);
    xml.FinishNode();
    xml.FinishNode();
    EXPECT_EQ(xml.lines(),
              QStringList({"<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<szamlak>", "\t<szamla id=\"1\">",
                           "\t\t<ures>", "\t\t</ures>", "\t\t<n>-42</n>", "\t</szamla>", "</szamlak>"}));
    EXPECT_EQ(xml.depth(), 0);
    EXPECT_THROW(xml.FinishNode(), std::logic_error);
}

TEST(TXml, TextValues) {
    struct Case {
        const char* value;
        const char* line; // "<none>": no element
    } cases[] = {
        {"Kovács & Fia <Kft>", "\t<s>Kovács &amp; Fia &lt;Kft&gt;</s>"},
        {"O'Brien \"X\"", "\t<s>O&apos;Brien &quot;X&quot;</s>"},
        {"Mester Kft.", "\t<s>Mester Kft</s>"}, // one trailing full stop goes
        {"x.,", "\t<s>x.</s>"},                 // only the comma
        {"x,.", "\t<s>x</s>"},                  // the full stop, then the comma
        {"12..", "\t<s>12.</s>"},
        {"  körte  ", "\t<s>körte</s>"},
        {"", "<none>"},
        {"a\vb\x01"
         "c\td",
         "\t<s>abc\td</s>"},             // vertical tab and SOH dropped, TAB kept
        {"&amp;", "\t<s>&amp;amp;</s>"}, // escaped once, as a text
    };
    for (const Case& c : cases)
        EXPECT_EQ(LineOf([&](TXml& x) { x.AddStr(QStringLiteral("s"), QString::fromUtf8(c.value)); }),
                  QString::fromUtf8(c.line))
            << c.value;
    const QString unpaired = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b") + QChar(0xFFFF);
    EXPECT_EQ(TXml::XmlLegal(unpaired), QStringLiteral("ab"));
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    EXPECT_EQ(TXml::XmlLegal(emoji), emoji);
}

TEST(TXml, NumbersBooleansAndDates) {
    struct Case {
        double value;
        const char* format;
        const char* text;
    } cases[] = {
        {12.5, "", "12.5"},
        {1000, "", "1000"},
        {0, "", "0"},
        {-0.0, "", "0"},
        {-1234.25, "", "-1234.25"},
        {1.0 / 3, "", "0.333333333333333"},
        {0.00001, "", "0.00001"},
        {1e15, "", "1000000000000000"},
        {1234567.891, "### ### ##0.00", "1 234 567.89"},
        {2.5, "0.00", "2.50"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LineOf([&](TXml& x) { x.AddFloat(QStringLiteral("f"), QLatin1String(c.format), c.value); }),
                  QStringLiteral("\t<f>%1</f>").arg(QLatin1String(c.text)))
            << c.value;
    EXPECT_EQ(LineOf([](TXml& x) {
                  x.AddFloat(QStringLiteral("f"), {}, std::numeric_limits<double>::quiet_NaN());
              }),
              QStringLiteral("\t<f>0</f>"));

    EXPECT_EQ(LineOf([](TXml& x) { x.AddBool(QStringLiteral("b"), true); }), QStringLiteral("\t<b>true</b>"));
    EXPECT_EQ(LineOf([](TXml& x) { x.AddBool(QStringLiteral("b"), false); }), QStringLiteral("<none>"));
    EXPECT_EQ(LineOf([](TXml& x) { x.AddDate(QStringLiteral("d"), QDate(2024, 3, 5)); }),
              QStringLiteral("\t<d>2024-03-05</d>"));
    EXPECT_EQ(LineOf([](TXml& x) { x.AddDate(QStringLiteral("d"), QDate()); }), QStringLiteral("<none>"));
    EXPECT_EQ(LineOf([](TXml& x) {
                  x.AddDateTime(QStringLiteral("t"), QDateTime(QDate(2024, 3, 5), QTime(9, 7, 3, 45)));
              }),
              QStringLiteral("\t<t>2024-03-05T09:07:03.045Z</t>"));
    EXPECT_EQ(LineOf([](TXml& x) { x.AddDateTime(QStringLiteral("t"), QDateTime()); }),
              QStringLiteral("<none>"));
}

TEST(TXml, SavesUtf8WithCrLfAndLoadsItBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.xml"));
    TXml xml;
    xml.AddHeader(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    xml.AddNode(QStringLiteral("v"));
    xml.AddStr(QStringLiteral("nev"), QStringLiteral("Őrült Űrhajó € „x”"));
    xml.FinishNode();
    xml.Save(path);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes, QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<v>\r\n\t<nev>") +
                         QStringLiteral("Őrült Űrhajó € „x”").toUtf8() + QByteArray("</nev>\r\n</v>\r\n"));
    EXPECT_TRUE(bytes.contains("\xC5\x90") && bytes.contains("\xC5\xB0")); // Ő and Ű in UTF-8

    TXml loaded;
    loaded.Load(path);
    EXPECT_EQ(loaded.lines(), xml.lines());
    EXPECT_THROW(xml.Save(dir.filePath(QStringLiteral("missing/a.xml"))), std::runtime_error);
    EXPECT_THROW(loaded.Load(dir.filePath(QStringLiteral("missing.xml"))), std::runtime_error);
}

TEST(TXml, ReadsElementsBack) {
    TXml xml;
    xml.AddNode(QStringLiteral("valasz"));
    xml.AddStr(QStringLiteral("szamlaszam"), QStringLiteral("HL-2024/0001"));
    xml.FinishNode();
    EXPECT_EQ(xml.GetXml(),
              QStringLiteral("<valasz>\r\n\t<szamlaszam>HL-2024/0001</szamlaszam>\r\n</valasz>"));
    EXPECT_EQ(xml.GetXml(true), QStringLiteral("<valasz><szamlaszam>HL-2024/0001</szamlaszam></valasz>"));
    EXPECT_TRUE(xml.ExistsNode(QStringLiteral("szamlaszam")));
    EXPECT_EQ(xml.GetNode(QStringLiteral("szamlaszam")), QStringLiteral("HL-2024/0001"));
    EXPECT_FALSE(xml.ExistsNode(QStringLiteral("hiba")));
    EXPECT_EQ(xml.GetNode(QStringLiteral("hiba")), QString());

    const QString answer = QStringLiteral("<NS2:valasz><base:kod>7</base:kod><ns5:x>y</ns5:x></NS2:valasz>");
    EXPECT_TRUE(xml.ExistsNode(QStringLiteral("kod"), answer));
    EXPECT_EQ(xml.GetNode(QStringLiteral("kod"), answer), QStringLiteral("7"));
    EXPECT_EQ(xml.GetNode(QStringLiteral("x"), answer), QStringLiteral("y"));
    EXPECT_FALSE(xml.ExistsNode(QStringLiteral("szamlaszam"), answer));
}
