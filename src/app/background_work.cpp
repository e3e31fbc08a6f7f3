// SPDX-License-Identifier: MIT
#include "app/background_work.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>

namespace orin {

void RunBehindProgress(QWidget *parent, const QString &title, const QString &label,
                       const QString &cancelText, const std::shared_ptr<std::atomic_bool> &cancel,
                       const std::function<void()> &work)
{
    QThread *thread = QThread::create(work);
    // A range of 0..0 makes the bar a busy indicator: the work reports no progress.
    QProgressDialog progress(label, cancelText, 0, 0, parent);
    progress.setWindowTitle(title);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    QObject::connect(&progress, &QProgressDialog::canceled, &loop,
                     [cancel] { cancel->store(true); });
    thread->start();
    progress.show();
    // The thread may have ended before the loop runs; its finished signal is then already
    // queued for the loop, which is still the loop that quits.
    loop.exec();
    thread->wait();
    delete thread;
    progress.reset();
}

} // namespace orin
