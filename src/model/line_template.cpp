// SPDX-License-Identifier: MIT
#include "model/line_template.h"

#include "model/markup_sink.h"

#include <algorithm>

namespace orin {

CLineTemplate::CLineTemplate(const QString &format)
{
    // The pieces take at most the format's length; the padding after the last one lets a sink
    // read kPaddedUnits from the start of any piece.
    m_text.reset(new char16_t[size_t(format.size() + markup::kPaddedUnits)]);
    std::fill_n(m_text.get(), format.size() + markup::kPaddedUnits, u' ');
    char16_t *out = m_text.get();
    const char16_t *start = out;
    auto endPiece = [&](Then then) {
        m_room += out - start;
        if (then == Then::Decimal)
            m_room += markup::kDecimalUnits;
        else if (then == Then::Attribute || then == Then::Content)
            m_room += markup::kScanUnits; // a short value copied in a block (see Escaped)
        // A sink copies at most kPaddedUnits of a piece at once.
        for (; out - start > markup::kPaddedUnits; start += markup::kPaddedUnits)
            m_pieces.push_back(Piece{start, int(markup::kPaddedUnits), Then::Piece});
        m_pieces.push_back(Piece{start, int(out - start), then});
        if (then != Then::LineEnd)
            ++m_values;
        start = out;
    };
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'%' && i + 1 < format.size()
            && (format.at(i + 1) == u'd' || format.at(i + 1) == u's')) {
            const bool attribute = out > start && out[-1] == u'"';
            endPiece(format.at(i + 1) == u'd' ? Then::Decimal
                     : attribute            ? Then::Attribute
                                            : Then::Content);
            ++i;
            continue;
        }
        *out++ = c.unicode();
    }
    endPiece(Then::LineEnd);
}

void CLineTemplate::Write(QString &out, int indent, std::initializer_list<TemplateArg> args) const
{
    markup::CTextSink sink(out);
    WriteTo(sink, indent, args);
}

} // namespace orin
