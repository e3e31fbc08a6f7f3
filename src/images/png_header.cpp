// SPDX-License-Identifier: MIT
#include "images/png_header.h"

#include "images/png_scanner.h"

#include <QFile>
#include <QtEndian>

#include <limits>

namespace orin {

namespace {

constexpr int kIhdrBytes = 13;
constexpr int kIndexedColour = 3;

} // namespace

bool ReadPngHeader(const QString &path, PngHeader &header)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return ReadPngHeader(file, header);
}

bool ReadPngHeader(QIODevice &file, PngHeader &header)
{
    CPngScanner scanner(file);
    PngChunkHeader chunk;
    if (!scanner.ReadSignature() || !scanner.NextChunk(chunk) || chunk.type != "IHDR")
        return false;
    const QByteArray data = scanner.ReadData(chunk, kIhdrBytes);
    if (data.size() < kIhdrBytes)
        return false;
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    constexpr quint32 kMax = std::numeric_limits<int>::max();
    header.width = static_cast<int>(std::min(qFromBigEndian<quint32>(bytes), kMax));
    header.height = static_cast<int>(std::min(qFromBigEndian<quint32>(bytes + 4), kMax));
    header.bitDepth = bytes[8];
    header.colourType = bytes[9];
    return true;
}

int IsColourMapPng(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return kNotPngFile;
    CPngScanner scanner(file);
    if (!scanner.ReadSignature())
        return kNotPngFile;
    bool indexed = false;
    PngChunkHeader chunk;
    while (scanner.NextChunk(chunk)) {
        if (chunk.type == "IHDR") {
            const QByteArray data = scanner.ReadData(chunk, kIhdrBytes);
            if (data.size() < kIhdrBytes || data.at(9) != kIndexedColour)
                return kOtherPng;
            indexed = true;
        } else if (chunk.type == "sRGB" || chunk.type == "PLTE") {
            return kOtherPng;
        } else if (chunk.type == "IEND") {
            return indexed ? kColourMapPng : kOtherPng;
        }
        if (!scanner.SkipChunk(chunk))
            return kOtherPng;
    }
    return kOtherPng;
}

bool HasWholePngChunks(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    CPngScanner scanner(file);
    if (!scanner.ReadSignature())
        return false;
    PngChunkHeader chunk;
    while (scanner.NextChunk(chunk)) {
        if (chunk.type == "IEND")
            return true;
        if (!scanner.SkipChunk(chunk))
            return false;
    }
    return false;
}

} // namespace orin
