// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

namespace orin {

// U+0000 cannot stand in a project file (a .bjp is read up to its first NUL byte, and no
// character reference may name it), so the writers put this in its place, as they do for
// the characters that code page 932 lacks.
inline constexpr char16_t kNulReplacement = u'?';

// What a character of a value becomes in markup: its entity reference (or the NUL
// replacement), or an empty view when it is written as it is. The one table of every writer.
inline QStringView MarkupEntity(char16_t c, bool forAttribute)
{
    // Lengths given: a view made from a bare array looks for its end each time.
    switch (c) {
    case u'<': return QStringView(u"&lt;", 4);
    case u'&': return QStringView(u"&amp;", 5);
    case u'>': return QStringView(u"&gt;", 4);
    case u'\0': return QStringView(&kNulReplacement, 1);
    case u'\'': return forAttribute ? QStringView(u"&apos;", 6) : QStringView();
    case u'"': return forAttribute ? QStringView(u"&quot;", 6) : QStringView();
    default: return QStringView();
    }
}

// Appends `text` to `out` with the markup characters replaced by entity references:
// < & > always, ' and " when the text is an attribute value; U+0000 becomes kNulReplacement.
// The writers use it directly so that composing a large document makes no temporary strings.
void AppendEscapedMarkup(QString &out, QStringView text, bool forAttribute);

// Appends the decimal form of `value`.
void AppendDecimal(QString &out, qint64 value);

} // namespace orin
