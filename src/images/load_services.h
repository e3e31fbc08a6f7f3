// SPDX-License-Identifier: MIT
#pragma once

#include "model/project_reader.h"

namespace orin {

// The reader's measuring and size accounting, from this folder.
LoadServices StandardLoadServices();

} // namespace orin
