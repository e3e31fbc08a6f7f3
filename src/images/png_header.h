// SPDX-License-Identifier: MIT
#pragma once

#include <QIODevice>
#include <QString>

namespace orin {

struct PngHeader {
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int colourType = 0;
};

// Reads the IHDR of a PNG file: the signature must be there and the first chunk must be a
// whole IHDR. False when the file cannot be opened or is not such a PNG.
bool ReadPngHeader(const QString &path, PngHeader &header);

// The same from a file already open for reading, from its start.
bool ReadPngHeader(QIODevice &file, PngHeader &header);

// What IsColourMapPng answers.
enum ColourMapPngAnswer : int {
    kNotPngFile = -1,   // cannot be opened, or no PNG signature
    kOtherPng = 0,      // a PNG, but not a colour-map PNG (or one whose chunks break off)
    kColourMapPng = 1,  // indexed colour, no PLTE, no sRGB, ends with IEND
};

// Tells a colour-map PNG (indexed colour without a palette or sRGB chunk of its own) from any
// other file. A file whose chunks break off before IEND, or that has no IHDR before IEND, is
// not a colour-map PNG.
int IsColourMapPng(const QString &path);

// True when the file is a PNG whose chunks follow each other whole up to IEND. Decoders can
// spend seconds on a file that declares huge chunks; such a file is refused before decoding.
bool HasWholePngChunks(const QString &path);

} // namespace orin
