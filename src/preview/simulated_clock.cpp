// SPDX-License-Identifier: MIT
#include "preview/simulated_clock.h"

namespace orin {

void CSimulatedClock::StartTimer(int id, int periodMs)
{
    Timer timer;
    timer.period = std::max(1, periodMs);
    timer.due = m_now + timer.period;
    timer.order = ++m_order;
    m_timers[id] = timer;
}

void CSimulatedClock::StopTimer(int id)
{
    m_timers.erase(id);
}

QTime CSimulatedClock::LocalTime() const
{
    return m_wallStart.addMSecs(int(m_now % (24LL * 3600 * 1000)));
}

int CSimulatedClock::Period(int id) const
{
    const auto it = m_timers.find(id);
    return it == m_timers.end() ? 0 : it->second.period;
}

void CSimulatedClock::Advance(qint64 ms, const std::function<void(int)> &fire)
{
    const qint64 end = m_now + std::max<qint64>(0, ms);
    for (;;) {
        auto next = m_timers.end();
        for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
            if (it->second.due > end)
                continue;
            if (next == m_timers.end() || it->second.due < next->second.due
                || (it->second.due == next->second.due && it->second.order < next->second.order))
                next = it;
        }
        if (next == m_timers.end())
            break;
        m_now = next->second.due;
        next->second.due += next->second.period;
        next->second.order = ++m_order;
        fire(next->first); // may start and stop timers
    }
    m_now = end;
}

bool CCommandList::Drain(CPreviewEngine &engine, int limit)
{
    int ran = 0;
    while (!m_commands.empty()) {
        if (ran >= limit) {
            m_commands.clear();
            return false;
        }
        const PreviewCommand command = m_commands.front();
        m_commands.pop_front();
        engine.RunCommand(command);
        ++ran;
    }
    return true;
}

bool CSimulation::Wait(qint64 ms, int limit)
{
    bool settled = true;
    clock.Advance(ms, [&](int id) {
        engine.OnTimer(id);
        settled = Settle(limit) && settled;
    });
    return settled;
}

} // namespace orin
