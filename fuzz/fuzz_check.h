// SPDX-License-Identifier: MIT
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <cstdlib>

// A broken invariant ends the run like a crash, so that libFuzzer keeps the input that broke it.
#define ORIN_FUZZ_CHECK(condition)                                                              \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__,           \
                         #condition);                                                           \
            std::abort();                                                                       \
        }                                                                                       \
    } while (false)

// Where the targets keep their scratch files: a memory file system when there is one, so that
// the fsync of a safe save costs nothing and the run measures the code, not the disk.
inline QString FuzzScratchDir()
{
    static const QString dir = [] {
        const QFileInfo shm(QStringLiteral("/dev/shm"));
        return shm.isDir() && shm.isWritable() ? shm.absoluteFilePath() : QDir::tempPath();
    }();
    return dir;
}
