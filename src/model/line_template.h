// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

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

private:
    struct Slot {
        bool isString = false;
        bool isAttribute = false;
    };
    QStringList m_pieces;     // one more than the slots
    std::vector<Slot> m_slots;
};

} // namespace orin
