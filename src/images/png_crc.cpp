// SPDX-License-Identifier: MIT
#include "images/png_crc.h"

#include <QtEndian>

#include <array>

namespace orin {
namespace {

std::array<quint32, 256> MakeTable()
{
    std::array<quint32, 256> table{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

} // namespace

quint32 PngCrc32(const QByteArray &bytes, quint32 crc)
{
    static const std::array<quint32, 256> table = MakeTable();
    quint32 c = crc ^ 0xFFFFFFFFu;
    for (const char byte : bytes)
        c = table[(c ^ static_cast<uchar>(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

QByteArray PngChunk(const char type[4], const QByteArray &data)
{
    QByteArray chunk;
    chunk.reserve(data.size() + 12);
    uchar word[4];
    qToBigEndian<quint32>(static_cast<quint32>(data.size()), word);
    chunk.append(reinterpret_cast<const char *>(word), 4);
    const QByteArray typeAndData = QByteArray(type, 4) + data;
    chunk.append(typeAndData);
    qToBigEndian<quint32>(PngCrc32(typeAndData), word);
    chunk.append(reinterpret_cast<const char *>(word), 4);
    return chunk;
}

} // namespace orin
