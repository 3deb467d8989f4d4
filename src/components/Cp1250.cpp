#include "components/Cp1250.h"

#include <QStringDecoder>
#include <array>
#include <stdexcept>

namespace kml {
namespace {

struct Cp1250Tables {
    std::array<char16_t, 256> toUnicode{};
    std::array<qint16, 65536> fromUnicode{};

    Cp1250Tables() {
        fromUnicode.fill(-1);
        QStringDecoder decoder("windows-1250", QStringDecoder::Flag::Stateless);
        if (!decoder.isValid())
            throw std::runtime_error("windows-1250 codec is not available");
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString ch = decoder.decode(QByteArrayView(&byte, 1));
            // Bytes that cp1250 leaves undefined (0x81, 0x83, ...) map to
            // U+FFFD in ICU; keep them as the C1 control of the same value so
            // that every byte survives a round trip.
            char16_t u = ch.size() == 1 ? ch.at(0).unicode() : char16_t(0xFFFD);
            if (u == 0xFFFD)
                u = char16_t(b);
            toUnicode[b] = u;
            if (fromUnicode[u] < 0)
                fromUnicode[u] = qint16(b);
        }
    }
};

const Cp1250Tables& Tables() {
    static const Cp1250Tables tables;
    return tables;
}

} // namespace

char16_t Cp1250ToUnicode(unsigned char byte) {
    return Tables().toUnicode[byte];
}

int UnicodeToCp1250(char16_t ch) {
    return Tables().fromUnicode[ch];
}

QString FromCp1250(const char* data, qsizetype size) {
    const auto& table = Tables().toUnicode;
    QString result(size, Qt::Uninitialized);
    auto* out = reinterpret_cast<char16_t*>(result.data());
    for (qsizetype i = 0; i < size; ++i)
        out[i] = table[static_cast<unsigned char>(data[i])];
    return result;
}

QByteArray ToCp1250(QStringView text) {
    const auto& table = Tables().fromUnicode;
    QByteArray result(text.size(), Qt::Uninitialized);
    char* out = result.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = table[text[i].unicode()];
        out[i] = b < 0 ? '?' : char(b);
    }
    return result;
}

QString CharactersOutsideCp1250(QStringView text) {
    const auto& table = Tables().fromUnicode;
    QString missing;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (table[text[i].unicode()] >= 0)
            continue;
        qsizetype length = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            length = 2;
        const QStringView ch = text.mid(i, length);
        if (!missing.contains(ch))
            missing += ch;
        i += length - 1;
    }
    return missing;
}

} // namespace kml
