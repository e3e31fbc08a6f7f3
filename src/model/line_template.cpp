// SPDX-License-Identifier: MIT
#include "model/line_template.h"

#include "model/markup_append.h"

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
    Q_ASSERT(args.size() == m_slots.size());
    for (int i = 0; i < indent; ++i)
        out.append(u' ');
    auto arg = args.begin();
    for (size_t i = 0; i < m_slots.size(); ++i, ++arg) {
        out.append(m_pieces.at(static_cast<qsizetype>(i)));
        const Slot &slot = m_slots[i];
        if (slot.isString)
            AppendEscapedMarkup(out, arg->text ? QStringView(*arg->text) : QStringView(),
                                slot.isAttribute);
        else
            AppendDecimal(out, arg->number);
    }
    out.append(m_pieces.last());
    out.append(u'\n');
}

} // namespace orin
