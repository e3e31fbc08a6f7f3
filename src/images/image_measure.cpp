// SPDX-License-Identifier: MIT
#include "images/image_measure.h"

#include "images/png_header.h"
#include "model/content_model.h"

#include <QFile>
#include <QImageReader>

#include <cerrno>
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
        // A PNG has at least one row and one column; a header that says otherwise measures as
        // a file that cannot be read.
        PngHeader header;
        if (ReadPngHeader(file, header) && header.width > 0 && header.height > 0) {
            width = header.width;
            height = header.height;
        }
    }
    return bytes;
}

qint64 CLoadMeasurer::operator()(const QString &path, int type, int &width, int &height)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const QStringView folder = slash > 0 ? QStringView(path).left(slash) : QStringView();
    if (!folder.isEmpty() && folder == m_missingFolder) {
        width = 0;
        height = 0;
        return -1;
    }
    const qint64 bytes = MeasureImageFile(path, type, width, height);
    if (bytes < 0 && !folder.isEmpty() && folder != m_presentFolder) {
        // Only a folder that is not there (or a path through a file) holds no file for sure.
        struct stat status {};
        const QString name = folder.toString();
        if (::stat(QFile::encodeName(name).constData(), &status) != 0
            && (errno == ENOENT || errno == ENOTDIR))
            m_missingFolder = name;
        else
            m_presentFolder = name;
    }
    return bytes;
}

} // namespace orin
