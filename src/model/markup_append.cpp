// SPDX-License-Identifier: MIT
#include "model/markup_append.h"

namespace orin {

void AppendEscapedMarkup(QString &out, QStringView text, bool forAttribute)
{
    qsizetype runStart = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QStringView entity = MarkupEntity(text[i].unicode(), forAttribute);
        if (entity.isEmpty())
            continue;
        out.append(text.mid(runStart, i - runStart));
        out.append(entity);
        runStart = i + 1;
    }
    out.append(text.mid(runStart));
}

void AppendDecimal(QString &out, qint64 value)
{
    char16_t buffer[24];
    int pos = 24;
    const bool negative = value < 0;
    // Work in unsigned so that the most negative value has a magnitude too.
    quint64 magnitude = negative ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    do {
        buffer[--pos] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        buffer[--pos] = u'-';
    out.append(reinterpret_cast<const QChar *>(buffer + pos), 24 - pos);
}

} // namespace orin
