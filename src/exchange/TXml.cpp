#include "exchange/TXml.h"

#include "components/NumberFormat.h"
#include "foundation/TextHelpers.h"

#include <QFile>
#include <QSaveFile>
#include <cmath>
#include <stdexcept>

namespace kml {

void TXml::AddHeader(const QString& line) {
    m_lines << line;
}

void TXml::AddNode(const QString& name, const QString& attributes) {
    m_lines << indent() + QLatin1Char('<') + name +
                   (attributes.isEmpty() ? QString() : QLatin1Char(' ') + attributes) + QLatin1Char('>');
    m_open << name;
}

void TXml::FinishNode() {
    if (m_open.isEmpty())
        throw std::logic_error("TXml::FinishNode with no open element");
    const QString name = m_open.takeLast();
    m_lines << indent() + QStringLiteral("</") + name + QLatin1Char('>');
}

void TXml::addElement(const QString& name, const QString& content) {
    m_lines << indent() + QLatin1Char('<') + name + QLatin1Char('>') + content + QStringLiteral("</") + name +
                   QLatin1Char('>');
}

QString TXml::XmlLegal(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            out += text.at(i);
            out += text.at(++i);
            continue;
        }
        const bool legal =
            c == 0x09 || c == 0x0A || c == 0x0D || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD);
        if (legal)
            out += QChar(c);
    }
    return out;
}

void TXml::AddStr(const QString& name, const QString& value) {
    if (value.isEmpty())
        return;
    addElement(name, XmlText(XmlLegal(value)));
}

void TXml::AddBool(const QString& name, bool value) {
    if (value)
        addElement(name, QStringLiteral("true"));
}

QString TXml::FloatText(double value) {
    if (!std::isfinite(value) || value == 0)
        return QStringLiteral("0");
    QString text = QString::number(value, 'g', 15);
    if (text.contains(QLatin1Char('e'))) {
        // Fixed notation with the same 15 significant digits.
        const int exponent = int(std::floor(std::log10(std::fabs(value))));
        text = QString::number(value, 'f', std::max(0, 14 - exponent));
        if (text.contains(QLatin1Char('.'))) {
            while (text.endsWith(QLatin1Char('0')))
                text.chop(1);
            if (text.endsWith(QLatin1Char('.')))
                text.chop(1);
        }
    }
    return text;
}

void TXml::AddFloat(const QString& name, const QString& format, double value) {
    QString text = format.isEmpty() ? FloatText(value) : FormatNumber(format, value);
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    addElement(name, text);
}

void TXml::AddInt(const QString& name, qlonglong value) {
    addElement(name, QString::number(value));
}

void TXml::AddDate(const QString& name, const QDate& value) {
    if (value.isValid())
        addElement(name, value.toString(QStringLiteral("yyyy-MM-dd")));
}

void TXml::AddDateTime(const QString& name, const QDateTime& value) {
    if (value.isValid())
        addElement(name, value.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz'Z'")));
}

void TXml::Save(const QString& fileName) const {
    QByteArray bytes;
    for (const QString& line : m_lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(QStringLiteral("%1: %2").arg(fileName, file.errorString()).toStdString());
}

void TXml::Load(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("%1: %2").arg(fileName, file.errorString()).toStdString());
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_lines = text.split(QLatin1Char('\n'));
    if (!m_lines.isEmpty() && m_lines.constLast().isEmpty())
        m_lines.removeLast();
    m_open.clear();
}

QString TXml::GetXml(bool compact) const {
    QString text = m_lines.join(QStringLiteral("\r\n")).trimmed();
    if (compact) {
        text.remove(QLatin1Char('\t'));
        text.remove(QLatin1Char('\n'));
        text.remove(QLatin1Char('\r'));
    }
    return text;
}

QString TXml::withoutPrefixes(const QString& xml) const {
    QString plain = xml;
    for (const char* prefix : {"ns2:", "ns3:", "ns4:", "ns5:", "base:"})
        plain.remove(QLatin1String(prefix), Qt::CaseInsensitive);
    return plain.isEmpty() ? GetXml() : plain;
}

bool TXml::ExistsNode(const QString& name, const QString& xml) const {
    return withoutPrefixes(xml).contains(QLatin1Char('<') + name + QLatin1Char('>'));
}

QString TXml::GetNode(const QString& name, const QString& xml) const {
    return XmlElementText(name, withoutPrefixes(xml));
}

} // namespace kml
