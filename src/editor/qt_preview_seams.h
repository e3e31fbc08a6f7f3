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

private:
    std::function<void(int)> m_fire;
    QHash<int, QTimer *> m_timers;
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
