// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace orin {

// Pixel size of an image file of the given image type: JPEG and GIF from the decoder's header
// reading, PNGs from their IHDR; 0 x 0 for the empty type and for files that cannot be read.
void ImageDimensions(const QString &path, int type, int &width, int &height);

// ImageDimensions and FileSizeOf (size_accounting.h) of one file with a single open: the
// pixel size goes to `width` and `height`, the bytes are returned (-1 when the file is not a
// regular file that can be opened). Loading a project asks both of every image.
qint64 MeasureImageFile(const QString &path, int type, int &width, int &height);

// MeasureImageFile for the images of one project load. A project moved from another machine
// names files in folders that do not exist here: once a file is missing and its folder is
// found missing too, the other files of that folder are missing without asking the system
// again. Made fresh for each load, so that a folder that appears later is seen.
class CLoadMeasurer {
public:
    qint64 operator()(const QString &path, int type, int &width, int &height);

private:
    QString m_missingFolder; // the last folder found missing
    QString m_presentFolder; // the last folder found present
};

} // namespace orin
