#pragma once

#include <QByteArray>
#include <QString>

namespace kml::xls {

// A compound file (the OLE2 container of .xls workbooks, version 3: 512-byte
// sectors) holding one stream under the root storage. Streams shorter than
// the 4096-byte mini-stream cut-off are padded with zero bytes up to it, so
// that no mini stream is needed; the stream's recorded size includes the
// padding (readers of a record stream stop at its last end-of-file record).
// Any size up to the format's 2 GiB is laid out, with extra DIFAT sectors
// once the allocation table outgrows the header's 109 entries.
QByteArray CompoundFile(const QString& streamName, QByteArray stream);

} // namespace kml::xls
