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

// The help command: shows the guide in a window of the program itself (one window owned by
// `parent`, raised again on the next call) and returns its text browser; null when the guide
// is missing. A desktop's handler can report success without any browser appearing, so the
// guide is never left to it alone: the window's button "ブラウザで開く" hands the guide to
// `open` (the desktop's handler when empty).
QTextBrowser *ShowHelpDocument(const QString &appFolder, QWidget *parent,
                               const UrlOpener &open = {});

} // namespace orin
