// SPDX-License-Identifier: MIT
#include "transmit/transmission_runner.h"

#include <QThread>

namespace orin {

CTransmissionRunner::CTransmissionRunner(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<orin::TransmitResult>("orin::TransmitResult");
}

CTransmissionRunner::~CTransmissionRunner()
{
    CancelAndWait();
}

bool CTransmissionRunner::Start(Work work)
{
    if (m_running)
        return false;
    m_running = true;
    const quint64 serial = ++m_serial;
    m_cancel = std::make_shared<std::atomic_bool>(false);
    auto cancel = m_cancel;
    m_thread = QThread::create([this, serial, cancel, work = std::move(work)] {
        const TransmitResult result = work(*cancel);
        // Runs on the runner's thread; a runner that is gone takes its posted calls with it.
        QMetaObject::invokeMethod(
            this,
            [this, serial, result] {
                if (serial != m_serial || !m_thread)
                    return;
                m_thread->wait();
                delete m_thread;
                m_thread = nullptr;
                m_running = false;
                emit Finished(result);
            },
            Qt::QueuedConnection);
    });
    m_thread->start();
    return true;
}

void CTransmissionRunner::CancelAndWait()
{
    if (!m_thread)
        return;
    m_cancel->store(true);
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    ++m_serial;
    m_running = false;
}

} // namespace orin
