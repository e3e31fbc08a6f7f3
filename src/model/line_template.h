// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <initializer_list>
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
class CLineTemplate {
public:
    explicit CLineTemplate(const QString &format);

    // Appends `indent` spaces, the line with the values in place, and a line feed.
    void Write(QString &out, int indent, std::initializer_list<TemplateArg> args) const;

    // The same into any sink of markup_sink.h.
    template <typename Sink>
    void WriteTo(Sink &sink, int indent, std::initializer_list<TemplateArg> args) const
    {
        Q_ASSERT(args.size() == m_slots.size());
        sink.Spaces(indent);
        auto arg = args.begin();
        for (size_t i = 0; i < m_slots.size(); ++i, ++arg) {
            sink.Literal(m_pieces.at(static_cast<qsizetype>(i)));
            const Slot &slot = m_slots[i];
            if (slot.isString)
                sink.Escaped(arg->text ? QStringView(*arg->text) : QStringView(),
                             slot.isAttribute);
            else
                sink.Decimal(arg->number);
        }
        sink.Literal(m_pieces.last());
        sink.LineEnd();
    }

private:
    struct Slot {
        bool isString = false;
        bool isAttribute = false;
    };
    QStringList m_pieces;     // one more than the slots
    std::vector<Slot> m_slots;
};

} // namespace orin
