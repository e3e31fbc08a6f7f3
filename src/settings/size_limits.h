// SPDX-License-Identifier: MIT
#pragma once

#include "orin_version.h"

namespace orin {

// The three size-limit settings, in KB.
struct SizeLimitSettings {
    int sizeOnlineMAX = 20000;
    int sizeNetMAX = 100000;
    int sizeMAX = 1730;
};

// The size limit in KB for the edition and content kind (ExPNG); exPng < 0 means "not known
// yet" (start-up: the edition alone decides).
int SelectSizeLimit(const SizeLimitSettings &limits, int exPng, int edition = kEdition);

} // namespace orin
