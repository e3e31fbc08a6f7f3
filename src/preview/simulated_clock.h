// SPDX-License-Identifier: MIT
#pragma once

#include "preview/preview_engine.h"
#include "preview/preview_seams.h"

#include <QTime>

#include <deque>
#include <functional>
#include <map>

// The seams for tests and the command-line tool: a clock that only moves when told and fires
// due timers in time order, and a list of posted commands drained after each step.

namespace orin {

class CSimulatedClock : public CTimerService {
public:
    explicit CSimulatedClock(QTime wallStart = QTime(12, 0)) : m_wallStart(wallStart) {}

    void StartTimer(int id, int periodMs) override;
    void StopTimer(int id) override;
    QTime LocalTime() const override;

    bool IsRunning(int id) const { return m_timers.count(id) != 0; }
    int Period(int id) const;
    qint64 Now() const { return m_now; }
    // Moves time on by `ms`, calling `fire` for every timer that falls due, earliest first
    // (timers due at the same moment in the order they were started).
    void Advance(qint64 ms, const std::function<void(int)> &fire);

private:
    struct Timer {
        int period = 0;
        qint64 due = 0;
        quint64 order = 0;
    };
    QTime m_wallStart;
    qint64 m_now = 0;
    quint64 m_order = 0;
    std::map<int, Timer> m_timers;
};

class CCommandList : public CCommandQueue {
public:
    void Post(const PreviewCommand &command) override { m_commands.push_back(command); }
    bool IsEmpty() const { return m_commands.empty(); }
    // Runs the posted commands (and those they post) in order; false when `limit` commands ran
    // and more are waiting (the rest are dropped).
    bool Drain(CPreviewEngine &engine, int limit);

private:
    std::deque<PreviewCommand> m_commands;
};

// An engine on the simulated seams, for tests and the command-line tool.
class CSimulation {
public:
    CSimulation(const CContentModel &model, const ProgramSettings &settings,
                CImageSource &images, QTime wallStart = QTime(12, 0))
        : clock(wallStart), engine(model, settings, images, clock, queue)
    {
    }

    // Runs the posted commands; false when the step did not settle within `limit` commands.
    bool Settle(int limit = kSettleLimit) { return queue.Drain(engine, limit); }
    // Advances the clock, settling after every timer; false when a step did not settle.
    bool Wait(qint64 ms, int limit = kSettleLimit);

    static constexpr int kSettleLimit = 10000;

    CSimulatedClock clock;
    CCommandList queue;
    CPreviewEngine engine;
};

} // namespace orin
