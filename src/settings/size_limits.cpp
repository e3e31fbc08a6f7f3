// SPDX-License-Identifier: MIT
#include "settings/size_limits.h"

namespace orin {

int SelectSizeLimit(const SizeLimitSettings &limits, int exPng, int edition)
{
    switch (edition) {
    case 3:
        return limits.sizeOnlineMAX;
    case 2:
    case 4:
        return limits.sizeNetMAX;
    default:
        return exPng == 1 ? limits.sizeNetMAX : limits.sizeMAX;
    }
}

} // namespace orin
