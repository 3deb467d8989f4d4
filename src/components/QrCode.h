#pragma once

// QR codes (libqrencode) as a matrix of modules, for printouts that draw
// them as filled squares.

#include <QByteArray>
#include <stdexcept>
#include <vector>

namespace kml {

// A QR symbol: size × size modules, row by row, true for a dark module. The
// quiet zone (four light modules on every side) is not part of the matrix;
// whoever draws the symbol leaves it free.
struct QrMatrix {
    int size = 0;
    std::vector<bool> dark;

    bool at(int x, int y) const { return dark[size_t(y) * size_t(size) + size_t(x)]; }
};

// The width of the quiet zone in modules.
inline constexpr int QrQuietZone = 4;

// The data too long for a QR symbol, or the library failed.
class QrError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The smallest symbol holding the bytes in 8-bit mode with error correction
// level M (15 % of the symbol may be damaged and it still reads). Texts go
// in as UTF-8, which phones and scanners read without an encoding marker.
// Throws QrError.
QrMatrix EncodeQr(const QByteArray& data);

} // namespace kml
