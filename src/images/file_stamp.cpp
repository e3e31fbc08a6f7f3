// SPDX-License-Identifier: MIT
#include "images/file_stamp.h"

#include <QFile>

#include <sys/stat.h>

namespace orin {

namespace {

int64_t Nanoseconds(const timespec &t)
{
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace

FileStamp StampOfFile(const QString &path)
{
    FileStamp stamp;
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.regular = S_ISREG(st.st_mode);
    stamp.size = qint64(st.st_size);
    stamp.mtimeNs = Nanoseconds(st.st_mtim);
    stamp.ctimeNs = Nanoseconds(st.st_ctim);
    stamp.device = uint64_t(st.st_dev);
    stamp.inode = uint64_t(st.st_ino);
    return stamp;
}

} // namespace orin
