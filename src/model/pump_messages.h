// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

namespace orin {

// Long loops over the model call PumpMessages between records so that the window keeps
// painting. The GUI installs a hook that dispatches pending events; without one (the CLI,
// the tests) it does nothing.
void PumpMessages();
void SetPumpMessagesHook(std::function<void()> hook);

} // namespace orin
