// SPDX-License-Identifier: MIT
#include "images/png_palette.h"

#include "images/png_crc.h"
#include "images/png_scanner.h"
#include "model/safe_file.h"

#include <QFile>
#include <QSaveFile>

namespace orin {

namespace {

constexpr int kIndexedColour = 3;

void SetWhy(QString *why, const QString &text)
{
    if (why)
        *why = text;
}

} // namespace

ColourEntry PaletteColourOf(const ColourEntry &entry)
{
    if (entry.a == 255)
        return entry;
    const int k = 5 - entry.a / 64;
    auto shift = [k](quint8 v) { return quint8(v <= 5 ? k : v - k); };
    return {shift(entry.r), shift(entry.g), shift(entry.b), entry.a};
}

namespace {

// Copies the chunks of the PNG read by `scanner` to `out`, inserting the palette where it
// belongs; false (with `why`) when the chunks break off or a write fails.
bool WritePalettedPng(CPngScanner &scanner, QIODevice &out, const QString &source,
                      const CColourMap &map, QString *why)
{
    out.write(kPngSignature);

    int bitDepth = 0;
    int colourType = 0;
    bool hasPalette = false;
    // Only the first chunk is the header, and a palette goes before the first image data: a
    // later IHDR or IDAT (a damaged or spliced file) must not put a PLTE after image data.
    bool firstChunk = true;
    bool seenImageData = false;
    PngChunkHeader chunk;
    for (;;) {
        if (!scanner.NextChunk(chunk)) {
            SetWhy(why, source + QStringLiteral(": the PNG chunks break off before IEND"));
            return false;
        }
        if (chunk.type == "IHDR" && firstChunk) {
            const QByteArray data = scanner.ReadData(chunk, 13);
            if (data.size() == 13) {
                bitDepth = static_cast<uchar>(data.at(8));
                colourType = static_cast<uchar>(data.at(9));
            }
        } else if (chunk.type == "PLTE") {
            hasPalette = true;
        } else if (chunk.type == "IDAT" && !seenImageData && !hasPalette && bitDepth <= 8
                   && colourType == kIndexedColour) {
            const int count = 1 << bitDepth;
            QByteArray plte;
            QByteArray trns;
            for (int i = 0; i < count; ++i) {
                const ColourEntry entry = map.ColourOf(i);
                const ColourEntry colour = PaletteColourOf(entry);
                plte.append(char(colour.r)).append(char(colour.g)).append(char(colour.b));
                trns.append(char(entry.a));
            }
            out.write(PngChunk("PLTE", plte));
            out.write(PngChunk("tRNS", trns));
            hasPalette = true;
        }
        if (!scanner.CopyChunk(chunk, out)) {
            SetWhy(why, QStringLiteral("cannot copy a chunk of ") + source);
            return false;
        }
        if (chunk.type == "IEND")
            return true;
        firstChunk = false;
        if (chunk.type == "IDAT")
            seenImageData = true;
    }
}

bool OpenPng(QFile &in, CPngScanner &scanner, QString *why)
{
    if (!in.open(QIODevice::ReadOnly)) {
        SetWhy(why, in.fileName() + QStringLiteral(": ") + in.errorString());
        return false;
    }
    if (!scanner.ReadSignature()) {
        SetWhy(why, in.fileName() + QStringLiteral(": not a PNG file"));
        return false;
    }
    return true;
}

} // namespace

bool InsertPalette(const QString &source, const QString &destination, const CColourMap &map,
                   QString *why)
{
    QFile in(source);
    CPngScanner scanner(in);
    if (!OpenPng(in, scanner, why))
        return false;
    // Written beside the destination and renamed at the end: a failure leaves no part-copy.
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly)) {
        SetWhy(why, destination + QStringLiteral(": ") + out.errorString());
        return false;
    }
    if (!WritePalettedPng(scanner, out, source, map, why)) {
        out.cancelWriting();
        return false;
    }
    QString reason;
    if (!CommitSaveFile(out, &reason)) {
        SetWhy(why, destination + QStringLiteral(": ") + reason);
        return false;
    }
    return true;
}

bool InsertPaletteIntoWorkCopy(const QString &source, const QString &destination,
                               const CColourMap &map, QString *why)
{
    QFile in(source);
    CPngScanner scanner(in);
    if (!OpenPng(in, scanner, why))
        return false;
    QFile out(destination);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        SetWhy(why, destination + QStringLiteral(": ") + out.errorString());
        return false;
    }
    bool written = WritePalettedPng(scanner, out, source, map, why);
    if (written && (!out.flush() || out.error() != QFileDevice::NoError)) {
        SetWhy(why, destination + QStringLiteral(": ") + out.errorString());
        written = false;
    }
    out.close();
    if (!written)
        QFile::remove(destination);
    return written;
}

} // namespace orin
