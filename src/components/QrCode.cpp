#include "components/QrCode.h"

#include <cerrno>
#include <memory>
#include <qrencode.h>

namespace kml {

QrMatrix EncodeQr(const QByteArray& data) {
    if (data.isEmpty())
        throw QrError("QR: no data to encode");
    errno = 0;
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeData(int(data.size()), reinterpret_cast<const unsigned char*>(data.constData()), 0,
                          QR_ECLEVEL_M),
        &QRcode_free);
    if (!code)
        throw QrError(errno == ERANGE ? "QR: the text is too long for a QR code" : "QR: encoding failed");
    QrMatrix m;
    m.size = code->width;
    m.dark.resize(size_t(m.size) * size_t(m.size));
    for (size_t i = 0; i < m.dark.size(); ++i)
        m.dark[i] = (code->data[i] & 1) != 0;
    return m;
}

} // namespace kml
