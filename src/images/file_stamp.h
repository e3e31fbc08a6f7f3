// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <cstdint>

namespace orin {

// What tells a file's content apart without reading it: its size, modification and change
// times and identity. Two equal stamps mean the same unchanged file; a file replaced by another
// (a rename over it, a copy back with its old time) gets a new one.
struct FileStamp {
    bool exists = false;  // the path could be asked about
    bool regular = false; // a plain file (not a folder, device or pipe)
    qint64 size = -1;
    int64_t mtimeNs = 0;
    int64_t ctimeNs = 0;
    uint64_t device = 0;
    uint64_t inode = 0;

    bool operator==(const FileStamp &o) const
    {
        return exists == o.exists && regular == o.regular && size == o.size
               && mtimeNs == o.mtimeNs && ctimeNs == o.ctimeNs && device == o.device
               && inode == o.inode;
    }
};

// The stamp of the file at `path`, following links; an empty or missing path gives the stamp of
// no file (exists false).
FileStamp StampOfFile(const QString &path);

} // namespace orin
