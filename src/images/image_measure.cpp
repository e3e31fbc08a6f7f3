// SPDX-License-Identifier: MIT
#include "images/image_measure.h"

#include "images/png_header.h"
#include "model/content_model.h"

#include <QFile>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orin {

void ImageDimensions(const QString &path, int type, int &width, int &height)
{
    MeasureImageFile(path, type, width, height);
}

qint64 MeasureImageFile(const QString &path, int type, int &width, int &height)
{
    width = 0;
    height = 0;
    // Paths come from project files and dropped documents: opened without waiting, a pipe or
    // a device is let go at once, unread, so that measuring cannot block.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return -1;
    }
    const qint64 bytes = status.st_size;
    if (type != kImageJpeg && type != kImageGif && type != kImageColourMapPng
        && type != kImageGeneralPng) {
        ::close(fd);
        return bytes;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return bytes;
    }
    if (type == kImageJpeg || type == kImageGif) {
        // The reader takes the size from the header without decoding the pixels. It reads the
        // file itself: given a name, it would also try that name with other extensions.
        QImageReader reader(&file);
        const QSize size = reader.size();
        if (size.isValid()) {
            width = size.width();
            height = size.height();
        }
    } else {
        PngHeader header;
        if (ReadPngHeader(file, header)) {
            width = header.width;
            height = header.height;
        }
    }
    return bytes;
}

} // namespace orin
