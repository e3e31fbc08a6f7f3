// SPDX-License-Identifier: MIT
#include "images/png_scanner.h"

#include <QtEndian>

namespace orin {

const QByteArray kPngSignature("\x89PNG\r\n\x1A\n", 8);

namespace {

constexpr qint64 kHeaderBytes = 8; // length and type
constexpr qint64 kCrcBytes = 4;
constexpr quint32 kMaxLength = 0x7FFFFFFFu; // the PNG standard's limit: below 2^31
constexpr qint64 kCopyBlock = 64 * 1024;

} // namespace

bool CPngScanner::ReadSignature()
{
    return m_device.seek(0) && m_device.read(8) == kPngSignature;
}

bool CPngScanner::NextChunk(PngChunkHeader &chunk)
{
    const qint64 start = m_device.pos();
    const QByteArray head = m_device.read(kHeaderBytes);
    if (head.size() != kHeaderBytes)
        return false;
    chunk.length = qFromBigEndian<quint32>(reinterpret_cast<const uchar *>(head.constData()));
    chunk.type = head.mid(4, 4);
    chunk.dataPos = start + kHeaderBytes;
    if (chunk.length >= kMaxLength)
        return false;
    return chunk.dataPos + qint64(chunk.length) + kCrcBytes <= m_device.size();
}

QByteArray CPngScanner::ReadData(const PngChunkHeader &chunk, qint64 count)
{
    if (!m_device.seek(chunk.dataPos))
        return {};
    return m_device.read(std::min<qint64>(count, chunk.length));
}

bool CPngScanner::SkipChunk(const PngChunkHeader &chunk)
{
    return m_device.seek(chunk.dataPos + qint64(chunk.length) + kCrcBytes);
}

bool CPngScanner::CopyChunk(const PngChunkHeader &chunk, QIODevice &out)
{
    const qint64 start = chunk.dataPos - kHeaderBytes;
    if (!m_device.seek(start))
        return false;
    qint64 remaining = kHeaderBytes + qint64(chunk.length) + kCrcBytes;
    while (remaining > 0) {
        const QByteArray block = m_device.read(std::min(remaining, kCopyBlock));
        if (block.isEmpty() || out.write(block) != block.size())
            return false;
        remaining -= block.size();
    }
    return true;
}

} // namespace orin
