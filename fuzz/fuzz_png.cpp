// SPDX-License-Identifier: MIT
// The PNG toolkit on any file: the chunk scanner, the header and colour-map tests, and
// InsertPalette. The scanner stays inside the file; the answers agree with each other; a copy
// holds the source's chunks unchanged, with at most a whole PLTE and tRNS before the first IDAT.

#include "fuzz_check.h"

#include "images/colour_map.h"
#include "images/png_crc.h"
#include "images/png_header.h"
#include "images/png_palette.h"
#include "images/png_scanner.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QList>
#include <QtEndian>

#include <unistd.h>

using namespace orin;

namespace {

QString TempPath(const char *what)
{
    return FuzzScratchDir()
           + QStringLiteral("/orin-fuzz-png-%1-%2").arg(::getpid()).arg(QLatin1String(what));
}

struct Walk {
    QList<QByteArray> chunks; // each whole: header, data, CRC
    bool reachedEnd = false;  // an IEND was met
};

// Walks the chunks of a PNG's bytes with the scanner, up to IEND or the first broken chunk.
Walk WalkChunks(const QByteArray &bytes)
{
    Walk walk;
    QByteArray copy = bytes;
    QBuffer device(&copy);
    device.open(QIODevice::ReadOnly);
    CPngScanner scanner(device);
    if (!scanner.ReadSignature())
        return walk;
    PngChunkHeader chunk;
    qint64 lastPos = 0;
    while (scanner.NextChunk(chunk)) {
        // Every step moves forward, and a whole chunk lies inside the file.
        ORIN_FUZZ_CHECK(chunk.dataPos > lastPos);
        lastPos = chunk.dataPos;
        ORIN_FUZZ_CHECK(chunk.type.size() == 4);
        ORIN_FUZZ_CHECK(chunk.length < 0x80000000u);
        ORIN_FUZZ_CHECK(chunk.dataPos + qint64(chunk.length) + 4 <= bytes.size());
        const QByteArray data = scanner.ReadData(chunk, 64);
        ORIN_FUZZ_CHECK(data.size() == qMin<qint64>(64, chunk.length));
        QByteArray whole;
        QBuffer out(&whole);
        out.open(QIODevice::WriteOnly);
        ORIN_FUZZ_CHECK(scanner.CopyChunk(chunk, out));
        ORIN_FUZZ_CHECK(whole == bytes.mid(chunk.dataPos - 8, qint64(chunk.length) + 12));
        walk.chunks.append(whole);
        if (chunk.type == "IEND") {
            walk.reachedEnd = true;
            break;
        }
    }
    return walk;
}

QByteArray TypeOf(const QByteArray &chunk)
{
    return chunk.mid(4, 4);
}

// A chunk the copy added: the right type, `entries` bytes per entry, and a valid CRC.
void CheckAdded(const QByteArray &chunk, const char *type, int entryBytes, int entries)
{
    ORIN_FUZZ_CHECK(TypeOf(chunk) == type);
    const auto *bytes = reinterpret_cast<const uchar *>(chunk.constData());
    const quint32 length = qFromBigEndian<quint32>(bytes);
    ORIN_FUZZ_CHECK(length == quint32(entryBytes * entries));
    ORIN_FUZZ_CHECK(chunk.size() == qsizetype(length) + 12);
    ORIN_FUZZ_CHECK(qFromBigEndian<quint32>(bytes + 8 + length)
                    == PngCrc32(chunk.mid(4, qsizetype(length) + 4)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString source = TempPath("in.png");
    const QString destination = TempPath("out.png");
    {
        QFile file(source);
        ORIN_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ORIN_FUZZ_CHECK(file.write(bytes) == bytes.size());
    }
    QFile::remove(destination);

    const Walk walk = WalkChunks(bytes);
    const bool isPng = bytes.startsWith(kPngSignature);
    ORIN_FUZZ_CHECK(HasWholePngChunks(source) == walk.reachedEnd);

    PngHeader header;
    if (ReadPngHeader(source, header)) {
        ORIN_FUZZ_CHECK(isPng && !walk.chunks.isEmpty() && TypeOf(walk.chunks.first()) == "IHDR");
        ORIN_FUZZ_CHECK(header.width >= 0 && header.height >= 0);
        ORIN_FUZZ_CHECK(header.bitDepth == uchar(bytes.at(24)));
        ORIN_FUZZ_CHECK(header.colourType == uchar(bytes.at(25)));
    }
    const int kind = IsColourMapPng(source);
    ORIN_FUZZ_CHECK(kind == kNotPngFile || kind == kOtherPng || kind == kColourMapPng);
    ORIN_FUZZ_CHECK((kind == kNotPngFile) == !isPng);
    if (kind == kColourMapPng)
        ORIN_FUZZ_CHECK(walk.reachedEnd);

    static const CColourMap map;
    QString why;
    const bool copied = InsertPalette(source, destination, map, &why);
    ORIN_FUZZ_CHECK(copied == walk.reachedEnd);
    if (!copied) {
        ORIN_FUZZ_CHECK(!why.isEmpty());
        ORIN_FUZZ_CHECK(!QFile::exists(destination));
        return 0;
    }
    QFile out(destination);
    ORIN_FUZZ_CHECK(out.open(QIODevice::ReadOnly));
    const Walk copy = WalkChunks(out.readAll());
    ORIN_FUZZ_CHECK(copy.reachedEnd);
    if (copy.chunks == walk.chunks)
        return 0;
    // Otherwise exactly a PLTE and a tRNS were added, right before the first IDAT.
    ORIN_FUZZ_CHECK(copy.chunks.size() == walk.chunks.size() + 2);
    qsizetype at = 0;
    while (at < walk.chunks.size() && copy.chunks.at(at) == walk.chunks.at(at))
        ++at;
    ORIN_FUZZ_CHECK(at < walk.chunks.size() && TypeOf(walk.chunks.at(at)) == "IDAT");
    for (qsizetype i = 0; i < at; ++i)
        ORIN_FUZZ_CHECK(TypeOf(walk.chunks.at(i)) != "IDAT" && TypeOf(walk.chunks.at(i)) != "PLTE");
    ORIN_FUZZ_CHECK(copy.chunks.mid(at + 2) == walk.chunks.mid(at));
    const QByteArray plte = copy.chunks.at(at);
    const int entries = int((qFromBigEndian<quint32>(plte.constData()) / 3));
    ORIN_FUZZ_CHECK(entries == 2 || entries == 4 || entries == 16 || entries == 256
                    || entries == 1 || entries == 8 || entries == 32 || entries == 64
                    || entries == 128);
    CheckAdded(plte, "PLTE", 3, entries);
    CheckAdded(copy.chunks.at(at + 1), "tRNS", 1, entries);
    return 0;
}
