// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

#include <initializer_list>
#include <memory>
#include <vector>

namespace orin {

// One value for a "%d" or "%s" placeholder.
struct TemplateArg {
    TemplateArg(int value) : number(value) {}
    TemplateArg(const QString &value) : text(&value) {}
    qint64 number = 0;
    const QString *text = nullptr;
};

// A line of a markup format, split once into literal pieces around its "%d" and "%s"
// placeholders. A "%s" right after a quote is an attribute value and is escaped as one;
// any other "%s" is element content.
//
// A save writes these lines a few hundred thousand times, so the pieces are kept ready for the
// sinks: one array of pieces in the order they are written, each with what follows it, and
// their characters in one buffer padded so that a sink may copy each piece as a block of fixed
// size (markup::kPaddedUnits), in room made once for the line.
class CLineTemplate {
public:
    explicit CLineTemplate(const QString &format);

    // Appends `indent` spaces, the line with the values in place, and a line feed.
    void Write(QString &out, int indent, std::initializer_list<TemplateArg> args) const;

    // The same into any sink of markup_sink.h.
    template <typename Sink>
    void WriteTo(Sink &sink, int indent, std::initializer_list<TemplateArg> args) const
    {
        Q_ASSERT(args.size() == m_values);
        sink.Spaces(indent);
        // Room for every piece, number and short value of the line at once; a longer value
        // makes it again.
        sink.Reserve(m_room);
        const Piece *piece = m_pieces.data();
        auto arg = args.begin();
        for (;; ++piece) {
            sink.Padded(piece->text, piece->length);
            switch (piece->then) {
            case Then::Piece: continue;
            case Then::Decimal: sink.Decimal(arg->number); break;
            case Then::Attribute: sink.Escaped(View(*arg), true, m_room); break;
            case Then::Content: sink.Escaped(View(*arg), false, m_room); break;
            case Then::LineEnd:
                Q_ASSERT(arg == args.end());
                sink.LineEnd();
                return;
            }
            ++arg;
        }
    }

private:
    // What a piece is followed by: another piece (a literal longer than a sink copies at
    // once is split), a value, or the end of the line.
    enum class Then : unsigned char { Piece, Decimal, Attribute, Content, LineEnd };
    struct Piece {
        const char16_t *text; // into m_text, at most markup::kPaddedUnits
        int length;
        Then then;
    };

    static QStringView View(const TemplateArg &arg)
    {
        return arg.text ? QStringView(*arg.text) : QStringView();
    }

    std::unique_ptr<char16_t[]> m_text; // the pieces one after another, then the padding
    std::vector<Piece> m_pieces;        // the last ends the line
    size_t m_values = 0;                // placeholders
    qsizetype m_room = 0;               // units of every piece, number and short value
};

} // namespace orin
