// SPDX-License-Identifier: MIT
#include "model/line_template.h"

#include "model/markup_sink.h"

namespace orin {

CLineTemplate::CLineTemplate(const QString &format)
{
    QString piece;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'%' && i + 1 < format.size()
            && (format.at(i + 1) == u'd' || format.at(i + 1) == u's')) {
            Slot slot;
            slot.isString = format.at(i + 1) == u's';
            slot.isAttribute = piece.endsWith(u'"');
            m_slots.push_back(slot);
            m_pieces.append(piece);
            piece.clear();
            ++i;
            continue;
        }
        piece.append(c);
    }
    m_pieces.append(piece);
}

void CLineTemplate::Write(QString &out, int indent, std::initializer_list<TemplateArg> args) const
{
    markup::CTextSink sink(out);
    WriteTo(sink, indent, args);
}

} // namespace orin
