// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

namespace orin {

// Appends `text` to `out` with the markup characters replaced by entity references:
// < & > always, ' and " when the text is an attribute value. The writers use it directly so
// that composing a large document makes no temporary strings.
void AppendEscapedMarkup(QString &out, QStringView text, bool forAttribute);

// Appends the decimal form of `value`.
void AppendDecimal(QString &out, qint64 value);

} // namespace orin
