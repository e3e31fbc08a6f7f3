// SPDX-License-Identifier: MIT
#pragma once

#include "test_files.h"

#include "images/png_crc.h"

#include <QImage>
#include <QtEndian>

// Image files for the import tests: JPEGs of a given pixel size (padded after their end marker
// to an exact byte count when asked) and indexed PNGs without a palette.

namespace orin::test {

inline bool WriteJpeg(const QString &path, int width, int height, qint64 bytes = 0)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 200));
    if (!image.save(path, "JPEG"))
        return false;
    if (bytes <= 0)
        return true;
    QByteArray data = ReadBytes(path);
    if (data.size() > bytes)
        return false;
    data.append(QByteArray(bytes - data.size(), '\0')); // decoders stop at the end marker
    return WriteBytes(path, data);
}

// An 8-bit indexed PNG without PLTE (a colour-map PNG), every pixel index 1.
inline QByteArray ColourMapPng(int width, int height)
{
    QByteArray raw;
    for (int y = 0; y < height; ++y)
        raw += '\0' + QByteArray(width, '\1');
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(width, ihdr.data());
    qToBigEndian<quint32>(height, ihdr.data() + 4);
    ihdr[8] = 8;
    ihdr[9] = 3;
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", ihdr)
           + PngChunk("IDAT", qCompress(raw).mid(4)) + PngChunk("IEND", QByteArray());
}

inline bool WriteGeneralPng(const QString &path, int width, int height, qint64 bytes = 0)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(200, 30, 30, 128));
    if (!image.save(path, "PNG"))
        return false;
    if (bytes <= 0)
        return true;
    QByteArray data = ReadBytes(path);
    data.append(QByteArray(bytes - data.size(), '\0'));
    return WriteBytes(path, data);
}

} // namespace orin::test
