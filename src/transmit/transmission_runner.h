// SPDX-License-Identifier: MIT
#pragma once

#include "transmit/content_upload.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

// The transmission worker: at most one piece of work at a time on its own thread. The work
// holds copies of everything it needs; its result comes back to the runner's thread by a
// queued signal. Destroying the runner (the window closes) cancels the work and waits for it.

namespace orin {

class CTransmissionRunner : public QObject {
    Q_OBJECT
public:
    using Work = std::function<TransmitResult(const std::atomic_bool &cancel)>;

    explicit CTransmissionRunner(QObject *parent = nullptr);
    ~CTransmissionRunner() override;

    // True from Start until Finished has been emitted.
    bool IsRunning() const { return m_running; }
    // Starts the work; false, doing nothing, while another one runs.
    bool Start(Work work);
    // Raises the cancel flag and waits for the thread; the result of that work is dropped.
    void CancelAndWait();

signals:
    void Finished(const orin::TransmitResult &result);

private:
    QThread *m_thread = nullptr;
    std::shared_ptr<std::atomic_bool> m_cancel;
    quint64 m_serial = 0;
    bool m_running = false;
};

} // namespace orin
