// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

#include <sys/mman.h>

namespace orin {

// A buffer of many megabytes that is filled once from start to end (a project's text, its
// element table, the bytes of a save) is backed by large pages where the system offers them.
// Only buffers past the C library's largest mapping threshold (32 MiB) are advised: those come
// fresh from the system every time, and each 4 KB page of them would cost a page fault, while
// smaller ones are mostly reused from the heap, where the advice only costs compaction.
inline void AdviseLargePages(void *data, qint64 size)
{
#ifdef MADV_HUGEPAGE
    constexpr quintptr kPage = 4096;
    if (size < qint64(32) << 20)
        return;
    const quintptr start = reinterpret_cast<quintptr>(data);
    const quintptr from = (start + kPage - 1) & ~(kPage - 1);
    const quintptr to = (start + quintptr(size)) & ~(kPage - 1);
    if (to > from)
        madvise(reinterpret_cast<void *>(from), to - from, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

} // namespace orin
