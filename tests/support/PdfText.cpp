#include "PdfText.h"

#include <QProcess>
#include <QRegularExpression>
#include <stdexcept>

namespace kml::test {
namespace {

QString Run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        throw std::runtime_error((program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) +
                                  QStringLiteral(": ") + QString::fromUtf8(process.readAllStandardError()))
                                     .toStdString());
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

PdfInfo ReadPdfInfo(const QString& path) {
    PdfInfo info;
    for (const QString& line : Run(QStringLiteral("pdfinfo"), {path}).split(QLatin1Char('\n'))) {
        const QString value = line.section(QLatin1Char(':'), 1).trimmed();
        if (line.startsWith(QLatin1String("Pages:")))
            info.pages = value.toInt();
        else if (line.startsWith(QLatin1String("Title:")))
            info.title = value;
        else if (line.startsWith(QLatin1String("Page size:")))
            info.pageSize = value;
    }
    return info;
}

QStringList ReadPdfPages(const QString& path) {
    QStringList pages = Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                                          QStringLiteral("UTF-8"), path, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QString Squeezed(const QString& text) {
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    QString out = text;
    return out.replace(blanks, QStringLiteral(" "));
}

} // namespace kml::test
