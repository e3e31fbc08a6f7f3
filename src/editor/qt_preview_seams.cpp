// SPDX-License-Identifier: MIT
#include "editor/qt_preview_seams.h"

#include <QTimer>

namespace orin {

CQtTimerService::CQtTimerService(std::function<void(int)> fire, QObject *parent)
    : QObject(parent), m_fire(std::move(fire))
{
}

void CQtTimerService::StartTimer(int id, int periodMs)
{
    QTimer *timer = m_timers.value(id, nullptr);
    if (!timer) {
        timer = new QTimer(this);
        m_timers.insert(id, timer);
        connect(timer, &QTimer::timeout, this, [this, id] { m_fire(id); });
    }
    timer->start(std::max(1, periodMs));
}

void CQtTimerService::StopTimer(int id)
{
    if (QTimer *timer = m_timers.value(id, nullptr))
        timer->stop();
}

QTime CQtTimerService::LocalTime() const
{
    return QTime::currentTime();
}

bool CQtTimerService::IsRunning(int id) const
{
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
