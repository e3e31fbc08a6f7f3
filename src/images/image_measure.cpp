// SPDX-License-Identifier: MIT
#include "images/image_measure.h"

#include "images/png_header.h"
#include "model/content_model.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace orin {

void ImageDimensions(const QString &path, int type, int &width, int &height)
{
    width = 0;
    height = 0;
    // Paths come from project files and dropped documents: a pipe or a device is never opened,
    // so that measuring cannot block.
    if (!QFileInfo(path).isFile())
        return;
    if (type == kImageJpeg || type == kImageGif) {
        // The reader takes the size from the header without decoding the pixels. It reads the
        // file itself: given a name, it would also try that name with other extensions.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        QImageReader reader(&file);
        const QSize size = reader.size();
        if (size.isValid()) {
            width = size.width();
            height = size.height();
        }
    } else if (type == kImageColourMapPng || type == kImageGeneralPng) {
        PngHeader header;
        if (ReadPngHeader(path, header)) {
            width = header.width;
            height = header.height;
        }
    }
}

} // namespace orin
