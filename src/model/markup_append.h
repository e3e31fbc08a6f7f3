// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

namespace orin {

// What a character of a value becomes in markup: its entity reference, or an empty view when
// it is written as it is. The one table of every writer.
inline QStringView MarkupEntity(char16_t c, bool forAttribute)
{
    switch (c) {
    case u'<': return u"&lt;";
    case u'&': return u"&amp;";
    case u'>': return u"&gt;";
    case u'\'': return forAttribute ? QStringView(u"&apos;") : QStringView();
    case u'"': return forAttribute ? QStringView(u"&quot;") : QStringView();
    default: return QStringView();
    }
}

// Appends `text` to `out` with the markup characters replaced by entity references:
// < & > always, ' and " when the text is an attribute value. The writers use it directly so
// that composing a large document makes no temporary strings.
void AppendEscapedMarkup(QString &out, QStringView text, bool forAttribute);

// Appends the decimal form of `value`.
void AppendDecimal(QString &out, qint64 value);

} // namespace orin
