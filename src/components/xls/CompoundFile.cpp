#include "components/xls/CompoundFile.h"

#include <QtEndian>
#include <cstring>
#include <stdexcept>

namespace kml::xls {
namespace {

constexpr quint32 kSectorSize = 512;
constexpr quint32 kIdsPerSector = kSectorSize / 4;
constexpr quint32 kHeaderDifatEntries = 109;
constexpr quint32 kMiniStreamCutoff = 4096;
constexpr quint32 kFreeSect = 0xFFFFFFFF;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFatSect = 0xFFFFFFFD;
constexpr quint32 kDifSect = 0xFFFFFFFC;
constexpr quint32 kNoStream = 0xFFFFFFFF;

quint32 SectorsFor(quint64 bytes) {
    return quint32((bytes + kSectorSize - 1) / kSectorSize);
}

void Put16(char* p, quint16 v) {
    qToLittleEndian(v, p);
}
void Put32(char* p, quint32 v) {
    qToLittleEndian(v, p);
}

// One 128-byte directory entry.
void PutEntry(char* p, const QString& name, quint8 type, quint32 child, quint32 start, quint64 size) {
    std::memset(p, 0, 128);
    const QString cut = name.left(31);
    for (qsizetype i = 0; i < cut.size(); ++i)
        Put16(p + 2 * i, cut.at(i).unicode());
    Put16(p + 64, quint16(type == 0 ? 0 : 2 * (cut.size() + 1))); // name length with its terminator
    p[66] = char(type);
    p[67] = type == 0 ? 0 : 1; // black
    Put32(p + 68, kNoStream);  // left sibling
    Put32(p + 72, kNoStream);  // right sibling
    Put32(p + 76, child);
    Put32(p + 116, start);
    Put32(p + 120, quint32(size));
    Put32(p + 124, quint32(size >> 32));
}

} // namespace

QByteArray CompoundFile(const QString& streamName, QByteArray stream) {
    if (quint64(stream.size()) >= 0x7FFFFE00ull)
        throw std::length_error("compound file stream too large");
    if (quint32(stream.size()) < kMiniStreamCutoff)
        stream.append(QByteArray(qsizetype(kMiniStreamCutoff) - stream.size(), '\0'));

    // Sectors: the stream, one directory sector, the allocation table (FAT),
    // then the DIFAT sectors that list FAT sectors beyond the header's 109.
    const quint32 dataSectors = SectorsFor(quint64(stream.size()));
    quint32 fatSectors = 1;
    quint32 difatSectors = 0;
    for (;;) {
        difatSectors = fatSectors > kHeaderDifatEntries
                           ? (fatSectors - kHeaderDifatEntries + kIdsPerSector - 2) / (kIdsPerSector - 1)
                           : 0;
        const quint32 total = dataSectors + 1 + fatSectors + difatSectors;
        const quint32 needed = (total + kIdsPerSector - 1) / kIdsPerSector;
        if (needed <= fatSectors)
            break;
        fatSectors = needed;
    }
    const quint32 dirSector = dataSectors;
    const quint32 firstFat = dirSector + 1;
    const quint32 firstDifat = firstFat + fatSectors;
    const quint32 totalSectors = firstDifat + difatSectors;

    QByteArray file(qsizetype(kSectorSize) * (1 + totalSectors), '\0');
    char* header = file.data();
    char* sectors = header + kSectorSize;
    auto sector = [&](quint32 index) { return sectors + qsizetype(index) * kSectorSize; };

    // Header.
    static const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(header, signature, 8);
    Put16(header + 24, 0x003E); // minor version
    Put16(header + 26, 0x0003); // major version 3
    Put16(header + 28, 0xFFFE); // little-endian
    Put16(header + 30, 9);      // sector size 2^9
    Put16(header + 32, 6);      // mini sector size 2^6
    Put32(header + 44, fatSectors);
    Put32(header + 48, dirSector);
    Put32(header + 56, kMiniStreamCutoff);
    Put32(header + 60, kEndOfChain); // no mini FAT
    Put32(header + 64, 0);
    Put32(header + 68, difatSectors ? firstDifat : kEndOfChain);
    Put32(header + 72, difatSectors);
    for (quint32 i = 0; i < kHeaderDifatEntries; ++i)
        Put32(header + 76 + 4 * i, i < fatSectors ? firstFat + i : kFreeSect);

    // The stream.
    std::memcpy(sectors, stream.constData(), size_t(stream.size()));

    // Directory: the root storage and the stream; the other two entries empty.
    char* dir = sector(dirSector);
    PutEntry(dir, QStringLiteral("Root Entry"), 5, 1, kEndOfChain, 0);
    PutEntry(dir + 128, streamName, 2, kNoStream, dataSectors ? 0 : kEndOfChain, quint64(stream.size()));
    PutEntry(dir + 256, QString(), 0, kNoStream, 0, 0);
    PutEntry(dir + 384, QString(), 0, kNoStream, 0, 0);

    // Allocation table.
    auto setFat = [&](quint32 index, quint32 value) {
        Put32(sector(firstFat + index / kIdsPerSector) + 4 * (index % kIdsPerSector), value);
    };
    for (quint32 i = 0; i < fatSectors * kIdsPerSector; ++i)
        setFat(i, kFreeSect);
    for (quint32 i = 0; i < dataSectors; ++i)
        setFat(i, i + 1 < dataSectors ? i + 1 : kEndOfChain);
    setFat(dirSector, kEndOfChain);
    for (quint32 i = 0; i < fatSectors; ++i)
        setFat(firstFat + i, kFatSect);
    for (quint32 i = 0; i < difatSectors; ++i)
        setFat(firstDifat + i, kDifSect);

    // DIFAT sectors: 127 FAT sector numbers each, then the next DIFAT sector.
    for (quint32 d = 0; d < difatSectors; ++d) {
        char* p = sector(firstDifat + d);
        for (quint32 k = 0; k < kIdsPerSector - 1; ++k) {
            const quint32 fat = kHeaderDifatEntries + d * (kIdsPerSector - 1) + k;
            Put32(p + 4 * k, fat < fatSectors ? firstFat + fat : kFreeSect);
        }
        Put32(p + 4 * (kIdsPerSector - 1), d + 1 < difatSectors ? firstDifat + d + 1 : kEndOfChain);
    }
    return file;
}

} // namespace kml::xls
