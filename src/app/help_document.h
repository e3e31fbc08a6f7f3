// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace orin {

// The operator's guide, kept beside the program: <application folder>/docs/help.html.
QString HelpDocumentPath(const QString &appFolder);

// Opens the guide with the desktop's handler for HTML files. False when it is missing or
// could not be handed on; like the other shell actions this is not reported.
bool OpenHelpDocument(const QString &appFolder);

} // namespace orin
