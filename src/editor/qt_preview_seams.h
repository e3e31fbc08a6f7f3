// SPDX-License-Identifier: MIT
#pragma once

#include "preview/preview_seams.h"

#include <QHash>
#include <QObject>

#include <functional>

class QTimer;

// The simulation's seams in the running editor: QTimer for the timers and queued calls for the
// posted commands, both on the user-interface thread.

namespace orin {

class CQtTimerService : public QObject, public CTimerService {
    Q_OBJECT
public:
    // `fire` receives the id of each timer that falls due.
    explicit CQtTimerService(std::function<void(int)> fire, QObject *parent = nullptr);

    void StartTimer(int id, int periodMs) override;
    void StopTimer(int id) override;
    QTime LocalTime() const override;
    bool IsRunning(int id) const;

    // Pausing holds every timer where it is (what is left of its period is kept); timers
    // started while paused wait too. Resuming lets them run on from there.
    void SetPaused(bool paused);
    bool Paused() const { return m_paused; }
    // While paused: fires the timer that would fall due first, as if that much time had passed
    // for all of them. Returns its id, or -1 when no timer is waiting (or not paused).
    int StepOneTick();

private:
    struct Held {
        int period = 0;
        int remaining = 0;
        quint64 order = 0;
    };
    std::function<void(int)> m_fire;
    QHash<int, QTimer *> m_timers;
    QHash<int, int> m_periods;
    bool m_paused = false;
    QHash<int, Held> m_held;
    quint64 m_order = 0;
};

class CQtCommandQueue : public QObject, public CCommandQueue {
    Q_OBJECT
public:
    // `run` runs one command once the event loop comes back to it.
    explicit CQtCommandQueue(std::function<void(const PreviewCommand &)> run,
                             QObject *parent = nullptr);

    void Post(const PreviewCommand &command) override;

private:
    std::function<void(const PreviewCommand &)> m_run;
};

} // namespace orin
