// SPDX-License-Identifier: MIT
#include "editor/qt_preview_seams.h"

#include <QTimer>

#include <utility>

namespace orin {

CQtTimerService::CQtTimerService(std::function<void(int)> fire, QObject *parent)
    : QObject(parent), m_fire(std::move(fire))
{
}

void CQtTimerService::StartTimer(int id, int periodMs)
{
    const int period = std::max(1, periodMs);
    m_periods.insert(id, period);
    if (m_paused) {
        m_held.insert(id, {period, period, ++m_order});
        return;
    }
    QTimer *timer = m_timers.value(id, nullptr);
    if (!timer) {
        timer = new QTimer(this);
        m_timers.insert(id, timer);
        connect(timer, &QTimer::timeout, this, [this, id, timer] {
            // A timer resumed with what was left of its period goes on with the full period.
            const int full = m_periods.value(id, timer->interval());
            if (timer->interval() != full)
                timer->setInterval(full);
            m_fire(id);
        });
    }
    timer->start(period);
}

void CQtTimerService::StopTimer(int id)
{
    m_held.remove(id);
    if (QTimer *timer = m_timers.value(id, nullptr))
        timer->stop();
}

void CQtTimerService::SetPaused(bool paused)
{
    if (paused == m_paused)
        return;
    m_paused = paused;
    if (paused) {
        for (auto it = m_timers.cbegin(); it != m_timers.cend(); ++it) {
            QTimer *timer = it.value();
            if (!timer->isActive())
                continue;
            const int period = m_periods.value(it.key(), timer->interval());
            m_held.insert(it.key(), {period, std::max(0, timer->remainingTime()), ++m_order});
            timer->stop();
        }
        return;
    }
    const QHash<int, Held> held = std::exchange(m_held, {});
    for (auto it = held.cbegin(); it != held.cend(); ++it) {
        StartTimer(it.key(), it.value().period);
        m_timers.value(it.key())->start(std::max(1, it.value().remaining));
    }
}

int CQtTimerService::StepOneTick()
{
    if (!m_paused || m_held.isEmpty())
        return -1;
    int id = -1;
    Held first;
    for (auto it = m_held.cbegin(); it != m_held.cend(); ++it) {
        const Held &h = it.value();
        if (id < 0 || h.remaining < first.remaining
            || (h.remaining == first.remaining && h.order < first.order)) {
            id = it.key();
            first = h;
        }
    }
    for (auto it = m_held.begin(); it != m_held.end(); ++it)
        it.value().remaining -= first.remaining;
    // Due again after a full period, unless the tick stops or restarts it.
    m_held[id].remaining = first.period;
    m_held[id].order = ++m_order;
    m_fire(id);
    return id;
}

QTime CQtTimerService::LocalTime() const
{
    return QTime::currentTime();
}

bool CQtTimerService::IsRunning(int id) const
{
    if (m_held.contains(id))
        return true;
    const QTimer *timer = m_timers.value(id, nullptr);
    return timer && timer->isActive();
}

CQtCommandQueue::CQtCommandQueue(std::function<void(const PreviewCommand &)> run, QObject *parent)
    : QObject(parent), m_run(std::move(run))
{
}

void CQtCommandQueue::Post(const PreviewCommand &command)
{
    // Runs after the current action has returned; a macro that posts itself repeats once per
    // turn of the event loop and never blocks the window.
    QMetaObject::invokeMethod(this, [this, command] { m_run(command); }, Qt::QueuedConnection);
}

} // namespace orin
