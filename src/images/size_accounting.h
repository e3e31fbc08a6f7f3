// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QString>

#include "orin_version.h"

namespace orin {

// Bytes of the file, or -1 when it cannot be opened.
qint64 FileSizeOf(const QString &path);

// Sum of FileSizeOf over every page background (each distinct path once, first occurrence),
// every picture, material and sound path that is not empty. Missing files count -1 each.
qint64 TotalDataSize(const CContentModel &model);

// The three size-limit settings, in KB.
struct SizeLimitSettings {
    int sizeOnlineMAX = 20000;
    int sizeNetMAX = 100000;
    int sizeMAX = 1730;
};

// The size limit in KB for the edition and content kind (ExPNG); exPng < 0 means "not known
// yet" (start-up: the edition alone decides).
int SelectSizeLimit(const SizeLimitSettings &limits, int exPng, int edition = kEdition);

enum class SizeForm { Binary, Decimal };

// "%d.%02d/%d.%02d M" of the used size (bytes) against the limit (KB).
QString FormatSizeLine(qint64 usedBytes, int limitKb, SizeForm form);

} // namespace orin
