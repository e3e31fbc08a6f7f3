// SPDX-License-Identifier: MIT
#include "model/project_integrity.h"

#include "model/xml_doc.h"

#include <vector>

namespace orin {
namespace {

int RootIndex(const CXmlDoc &doc)
{
    return doc.ElementCount() > 0 ? doc.Record(0).firstChild : 0;
}

// The tag name of the element at `index`: the name token after its '<'.
QString TagNameAt(const CXmlDoc &doc, int index)
{
    const QString &text = doc.Text();
    const qsizetype from = doc.Record(index).start + 1;
    qsizetype to = from;
    static const QString kStops = QStringLiteral(" \t\r\n<>=\\/?!\"';");
    while (to < text.size() && !kStops.contains(text.at(to)))
        ++to;
    return text.mid(from, to - from);
}

} // namespace

ProjectIntegrity IntegrityOf(const CXmlDoc &doc)
{
    const int root = RootIndex(doc);
    if (root == 0)
        return ProjectIntegrity::NoRoot;
    if (TagNameAt(doc, root) != u"BMLCAST")
        return ProjectIntegrity::ForeignRoot;
    if (doc.Record(root).flags & kFlagUnended)
        return ProjectIntegrity::Truncated;
    return ProjectIntegrity::Complete;
}

QString ClosedTruncatedText(const QString &text, const CXmlDoc &doc)
{
    const int root = RootIndex(doc);
    if (root == 0)
        return QString();
    // When the text ends open, the engine gives every element still open no end tag and moves
    // its children behind it, so that they all end up at the top level: the elements that the
    // cut left open are exactly the unended ones there, outermost first. An element unended by
    // an enclosing end tag stays inside that complete element and is not among them.
    std::vector<QString> open;
    for (int index = root; index != 0; index = doc.Record(index).nextSibling) {
        if (doc.Record(index).flags & kFlagUnended)
            open.push_back(TagNameAt(doc, index));
    }
    if (open.empty())
        return QString();

    QString closed = text;
    // A tag the cut split (no '>' after its '<') is dropped: half an attribute list is no value.
    const qsizetype lastOpen = closed.lastIndexOf(u'<');
    if (lastOpen >= 0 && closed.indexOf(u'>', lastOpen) < 0)
        closed.truncate(lastOpen);
    for (auto name = open.rbegin(); name != open.rend(); ++name)
        closed += QStringLiteral("</") + *name + u'>';
    return closed;
}

} // namespace orin
