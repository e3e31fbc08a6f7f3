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
inline bool IsFreshFromSystem(qint64 size)
{
    return size >= (qint64(32) << 20);
}

inline void AdviseLargePages(void *data, qint64 size)
{
#ifdef MADV_HUGEPAGE
    constexpr quintptr kPage = 4096;
    if (!IsFreshFromSystem(size))
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

// Gives the whole 2 MiB blocks inside a buffer of ours back to the system, for a buffer whose
// front is done with while the rest is still read: those blocks read as zeros afterwards.
// Worth it only for buffers that are fresh from the system (IsFreshFromSystem): a smaller one
// is reused from the heap by the next load, which would have to fault its pages in again.
// Returns how many bytes from `data` on are given back or left before them (up to the end of
// the last block given back), 0 when no block was.
inline qint64 ReleaseMemory(void *data, qint64 size)
{
#ifdef MADV_DONTNEED
    constexpr quintptr kBlock = quintptr(2) << 20;
    const quintptr start = reinterpret_cast<quintptr>(data);
    const quintptr from = (start + kBlock - 1) & ~(kBlock - 1);
    const quintptr to = (start + quintptr(size)) & ~(kBlock - 1);
    if (size <= 0 || to <= from
        || madvise(reinterpret_cast<void *>(from), to - from, MADV_DONTNEED) != 0)
        return 0;
    return qint64(to - start);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
    return 0;
#endif
}

} // namespace orin
