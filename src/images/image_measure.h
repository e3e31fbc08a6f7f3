// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace orin {

// Pixel size of an image file of the given image type: JPEG and GIF from the decoder's header
// reading, PNGs from their IHDR; 0 x 0 for the empty type and for files that cannot be read.
void ImageDimensions(const QString &path, int type, int &width, int &height);

} // namespace orin
