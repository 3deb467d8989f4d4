// Our .xls writer, read back by two independent readers (libfreexl and
// python3-xlrd): cell types, Hungarian and other non-Latin-1 letters, texts
// that span several shared-string records, several sheets, and a workbook
// large enough to need the compound file's extra allocation sectors.

#include "components/xls/XlsWorkbook.h"

#include "SpreadsheetReaders.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace kml;
using namespace kml::xls;
using namespace kml::test;

namespace {

QString Save(const QTemporaryDir& dir, const XlsWorkbook& book, const QString& name) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(book.toBytes());
    return path;
}

} // namespace

TEST(XlsWorkbook, CellsKeepTheirTypesAndLettersInBothReaders) {
    QTemporaryDir dir;
    // Spans three shared-string records.
    const QString longText =
        QString(5000, QChar(0x0151)) + QStringLiteral("x") + QString(9000, QLatin1Char('a'));
    XlsWorkbook book;
    book.addSheet(QStringLiteral("Ügyfelek"));
    book.setColumnWidth(0, 30);
    book.writeText(0, 0, u"Név", CellStyle::Header);
    book.writeText(0, 1, u"Összeg", CellStyle::Header);
    book.writeText(0, 2, u"Dátum", CellStyle::Header);
    book.writeText(0, 3, u"Rögzítve", CellStyle::Header);
    book.writeText(1, 0, u"Kovács Ődön – „Űrhajó” 5 €");
    book.writeNumber(1, 1, -1234.5);
    book.writeDate(1, 2, QDateTime(QDate(2024, 3, 5), QTime(0, 0)), CellStyle::Date);
    book.writeDate(1, 3, QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58)), CellStyle::DateTime);
    book.writeText(2, 0, u"=1+1"); // a text, never a formula
    book.writeNumber(2, 1, 42);
    book.writeDate(2, 2, QDateTime(QDate(1899, 1, 1), QTime(0, 0)), CellStyle::Date); // before day numbers
    // Many texts, so that the string table spans several records and texts
    // break across their boundaries.
    for (int i = 0; i < 400; ++i)
        book.writeText(3 + i / 10, 5 + i % 10, QStringLiteral("szöveg %1 ").arg(i).repeated(4 + i % 7));
    book.writeText(4, 0, u"Kovács Ődön – „Űrhajó” 5 €"); // shared string reused
    book.writeText(4, 1, u"");
    const QString path = Save(dir, book, QStringLiteral("cells.xls"));

    for (const auto& [reader, read] :
         {std::pair{"freexl", &ReadXlsWithFreexl}, std::pair{"xlrd", &ReadXlsWithXlrd}}) {
        SCOPED_TRACE(reader);
        const ReadBook read_ = read(path);
        ASSERT_EQ(read_.size(), 1u);
        const ReadSheet& s = read_[0];
        EXPECT_EQ(s.name, QStringLiteral("Ügyfelek"));
        EXPECT_EQ(s.at(0, 0).text, QStringLiteral("Név"));
        EXPECT_EQ(s.at(0, 3).text, QStringLiteral("Rögzítve"));
        EXPECT_EQ(s.at(1, 0).type, QStringLiteral("text"));
        EXPECT_EQ(s.at(1, 0).text, QStringLiteral("Kovács Ődön – „Űrhajó” 5 €"));
        EXPECT_EQ(s.at(1, 1).type, QStringLiteral("number"));
        EXPECT_DOUBLE_EQ(s.at(1, 1).number, -1234.5);
        EXPECT_EQ(s.at(1, 2).type, QStringLiteral("date"));
        EXPECT_EQ(s.at(1, 2).text, QStringLiteral("2024-03-05"));
        EXPECT_EQ(s.at(1, 3).type, QStringLiteral("date"));
        EXPECT_EQ(s.at(1, 3).text, QStringLiteral("2024-12-31 23:59:58"));
        EXPECT_EQ(s.at(2, 0).text, QStringLiteral("=1+1"));
        EXPECT_DOUBLE_EQ(s.at(2, 1).number, 42);
        EXPECT_EQ(s.at(2, 2).text, QStringLiteral("1899.01.01"));
        for (int i = 0; i < 400; i += 7)
            EXPECT_EQ(s.at(3 + i / 10, 5 + i % 10).text,
                      QStringLiteral("szöveg %1 ").arg(i).repeated(4 + i % 7));
        EXPECT_EQ(s.at(4, 0).text, s.at(1, 0).text);
        EXPECT_EQ(s.at(2, 3).type, QStringLiteral("empty"));
    }

    XlsWorkbook withLongText;
    withLongText.writeText(0, 0, longText);
    withLongText.writeText(0, 1, QString(XlsWorkbook::MaxTextLength + 10, QLatin1Char('z')));
    // libfreexl 1.0.6 returns texts longer than one record cut short, so
    // xlrd alone reads these back.
    const ReadBook read = ReadXlsWithXlrd(Save(dir, withLongText, QStringLiteral("long.xls")));
    EXPECT_EQ(read[0].at(0, 0).text, longText);
    EXPECT_EQ(read[0].at(0, 1).text.size(), XlsWorkbook::MaxTextLength); // cut to what a cell holds
}

TEST(XlsWorkbook, SheetsLimitsAndEmptyBooks) {
    QTemporaryDir dir;
    XlsWorkbook empty;
    const ReadBook none = ReadXlsWithXlrd(Save(dir, empty, QStringLiteral("empty.xls")));
    ASSERT_EQ(none.size(), 1u); // a workbook always has a sheet
    EXPECT_TRUE(none[0].rows.empty());

    // The last row and the last column (in sheets of their own, so that the
    // readers need not fill a 65,536 x 256 grid).
    XlsWorkbook book;
    book.addSheet(QStringLiteral("Munka1"));
    book.writeNumber(XlsWorkbook::MaxRows - 1, 0, 7);
    EXPECT_THROW(book.writeNumber(XlsWorkbook::MaxRows, 0, 1), std::out_of_range);
    EXPECT_THROW(book.writeNumber(0, XlsWorkbook::MaxColumns, 1), std::out_of_range);
    book.addSheet(QStringLiteral("a/b:c*d?e[f]g\\ and a name longer than thirty-one"));
    book.writeText(0, 0, u"második");
    book.writeNumber(0, XlsWorkbook::MaxColumns - 1, 8);
    const QString path = Save(dir, book, QStringLiteral("two.xls"));
    for (const ReadBook& read : {ReadXlsWithFreexl(path), ReadXlsWithXlrd(path)}) {
        ASSERT_EQ(read.size(), 2u);
        EXPECT_DOUBLE_EQ(read[0].at(XlsWorkbook::MaxRows - 1, 0).number, 7);
        EXPECT_EQ(read[1].name, QStringLiteral("a_b_c_d_e_f_g_ and a name longe"));
        EXPECT_EQ(read[1].at(0, 0).text, QStringLiteral("második"));
        EXPECT_DOUBLE_EQ(read[1].at(0, XlsWorkbook::MaxColumns - 1).number, 8);
    }
}

// 65,536 rows of ten numbers and a text make a stream of about 13 MB: more
// allocation-table sectors than the compound file's header can list.
TEST(XlsWorkbook, FullSheetNeedsExtraAllocationSectors) {
    QTemporaryDir dir;
    XlsWorkbook book;
    book.addSheet(QStringLiteral("Munka1"));
    for (int row = 0; row < XlsWorkbook::MaxRows; ++row) {
        for (int col = 0; col < 10; ++col)
            book.writeNumber(row, col, row * 10 + col);
        book.writeText(row, 10, QStringLiteral("sor %1 ű").arg(row));
    }
    const QByteArray bytes = book.toBytes();
    ASSERT_GT(bytes.size(), 109 * 128 * 512);
    const quint32 difatSectors = qFromLittleEndian<quint32>(bytes.constData() + 72);
    EXPECT_GT(difatSectors, 0u);
    const QString path = Save(dir, book, QStringLiteral("full.xls"));
    for (const ReadBook& read : {ReadXlsWithFreexl(path), ReadXlsWithXlrd(path)}) {
        ASSERT_EQ(read.size(), 1u);
        ASSERT_EQ(read[0].rows.size(), size_t(XlsWorkbook::MaxRows));
        EXPECT_DOUBLE_EQ(read[0].at(65535, 9).number, 655359);
        EXPECT_EQ(read[0].at(65535, 10).text, QStringLiteral("sor 65535 ű"));
        EXPECT_EQ(read[0].at(40000, 10).text, QStringLiteral("sor 40000 ű"));
    }
}
