// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

namespace orin {

// The CRC-32 of PNG chunks (polynomial 0xEDB88320), over `bytes` continued from `crc`.
quint32 PngCrc32(const QByteArray &bytes, quint32 crc = 0);

// A complete chunk: big-endian length, the 4-character type, the data and the CRC over type
// and data.
QByteArray PngChunk(const char type[4], const QByteArray &data);

} // namespace orin
