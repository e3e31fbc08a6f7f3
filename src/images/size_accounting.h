// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"
#include "settings/size_limits.h"

#include <QString>

#include <vector>

namespace orin {

// Bytes of the file, or -1 when it cannot be opened.
qint64 FileSizeOf(const QString &path);

// What a file adds to the used size: its bytes, 0 when it is missing or cannot be read.
qint64 CountedFileSize(const QString &path);

// One file that the used size counts, with the bytes it adds.
struct CountedFile {
    QString path;
    qint64 bytes = 0;
};

// The files TotalDataSize counts, in its order: each page background once, then the file of
// every picture, material and sound record.
std::vector<CountedFile> CountedFiles(const CContentModel &model);

// Sum of CountedFileSize over every page background (each distinct path once, first
// occurrence), every picture, material and sound path that is not empty. Never negative.
qint64 TotalDataSize(const CContentModel &model);

enum class SizeForm { Binary, Decimal };

// "%d.%02d/%d.%02d M" of the used size (bytes) against the limit (KB).
QString FormatSizeLine(qint64 usedBytes, int limitKb, SizeForm form);

} // namespace orin
