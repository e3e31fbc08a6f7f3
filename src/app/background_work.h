// SPDX-License-Identifier: MIT
// Work that talks to a server runs off the UI thread, behind a progress dialog that can stop it,
// so that the window keeps painting and a server that does not answer costs the operator nothing
// but a press of Cancel.
#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QWidget;

namespace orin {

// Runs `work` on a thread of its own while a window-modal progress dialog over `parent` shows
// `label` under `title` with a button labelled `cancelText`; returns once the work has ended.
// The button raises `cancel`, which the work is expected to watch (the FTP client's cancel
// flag); others may raise it as well, for example a window that is being closed.
void RunBehindProgress(QWidget *parent, const QString &title, const QString &label,
                       const QString &cancelText, const std::shared_ptr<std::atomic_bool> &cancel,
                       const std::function<void()> &work);

} // namespace orin
