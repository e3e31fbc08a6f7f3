// SPDX-License-Identifier: MIT
#include "model/pump_messages.h"

namespace orin {
namespace {
std::function<void()> &Hook()
{
    static std::function<void()> hook;
    return hook;
}
} // namespace

void PumpMessages()
{
    if (Hook())
        Hook()();
}

void SetPumpMessagesHook(std::function<void()> hook)
{
    Hook() = std::move(hook);
}

} // namespace orin
