// SPDX-License-Identifier: MIT
#include "images/png_header.h"

#include <QFile>
#include <QtEndian>

#include <limits>

namespace orin {

bool ReadPngHeader(const QString &path, PngHeader &header)
{
    static const char kSignature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1A', '\n'};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Signature (8), chunk length (4), type (4), width, height (4 each), depth, colour type.
    const QByteArray head = file.read(26);
    if (head.size() < 26 || memcmp(head.constData(), kSignature, 8) != 0
        || head.mid(12, 4) != "IHDR")
        return false;
    const auto *bytes = reinterpret_cast<const uchar *>(head.constData());
    const quint32 width = qFromBigEndian<quint32>(bytes + 16);
    const quint32 height = qFromBigEndian<quint32>(bytes + 20);
    constexpr quint32 kMax = std::numeric_limits<int>::max();
    header.width = static_cast<int>(std::min(width, kMax));
    header.height = static_cast<int>(std::min(height, kMax));
    header.bitDepth = bytes[24];
    header.colourType = bytes[25];
    return true;
}

} // namespace orin
