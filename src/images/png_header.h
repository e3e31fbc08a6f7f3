// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace orin {

struct PngHeader {
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int colourType = 0;
};

// Reads the IHDR of a PNG file: the signature must be there and the first chunk must be IHDR.
// False when the file cannot be opened or is not such a PNG.
bool ReadPngHeader(const QString &path, PngHeader &header);

} // namespace orin
