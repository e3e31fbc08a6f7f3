// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

namespace orin {

// Texts shown to the operator are written in Japanese in the sources and translated through
// Qt's translation system. The libraries below the widgets share one translation context,
// "OrinEdit": a text kept as a UTF-16 constant (compared by callers and tests) is marked for
// lupdate inside its literal, u"" QT_TRANSLATE_NOOP("OrinEdit", "..."), and translated where it
// is shown. Without an installed translator (the tests, the command-line tool) the Japanese
// text comes back unchanged.
QString UiText(QStringView source);

} // namespace orin
