// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>

class QTextBrowser;
class QUrl;
class QWidget;

namespace orin {

// Hands a URL to a browser; false when none could be started.
using UrlOpener = std::function<bool(const QUrl &)>;

// The operator's guide: <application folder>/docs/help.html in a build folder, or
// share/doc/orinedit/help.html under the prefix the program was installed into.
QString HelpDocumentPath(const QString &appFolder);

// Opens the guide with the desktop's handler for HTML files. False when it is missing or
// could not be handed on; like the other shell actions this is not reported.
bool OpenHelpDocument(const QString &appFolder);

// The help command: opens the guide with `open` (the desktop's handler when empty). When no
// browser can be started, the guide is shown in a window of the program itself, a
// QTextBrowser owned by `parent` (one window, raised again on the next call), which is
// returned; null when a browser took the guide or the guide is missing.
QTextBrowser *ShowHelpDocument(const QString &appFolder, QWidget *parent,
                               const UrlOpener &open = {});

} // namespace orin
