// SPDX-License-Identifier: MIT
#include "model/project_integrity.h"

#include "model/xml_doc.h"

#include <QStringList>

namespace orin {

ProjectIntegrity IntegrityOf(CXmlDoc &doc)
{
    doc.Rewind();
    if (!doc.NextElement())
        return ProjectIntegrity::NoRoot;
    const bool isProject = doc.ElementName() == u"BMLCAST";
    doc.Rewind();
    if (!isProject)
        return ProjectIntegrity::ForeignRoot;
    // The root is record 0's first child.
    if (doc.Record(doc.Record(0).firstChild).flags & kFlagUnended)
        return ProjectIntegrity::Truncated;
    return RootMarkupBroken(doc) ? ProjectIntegrity::Malformed : ProjectIntegrity::Complete;
}

bool RootMarkupBroken(CXmlDoc &doc)
{
    doc.Rewind();
    const int root = doc.Record(0).firstChild;
    if (root == 0)
        return false;
    const ElementRecord &record = doc.Record(root);
    if (record.flags & kFlagUnended)
        return true;
    if (!(doc.Record(0).flags & kFlagIllFormed))
        return false;
    // The engine marks the whole document; whether the fault lies inside the root is told by
    // indexing the root's own text again (rare: only for a document that is not well formed).
    CXmlDoc inside;
    inside.LoadText(doc.Text().mid(record.start, record.length));
    return (inside.Record(0).flags & kFlagIllFormed) != 0;
}

QString ClosedTruncatedText(CXmlDoc &doc)
{
    // When the text ends open, the engine gives every element still open no end tag and moves
    // its children behind it, so that they all end up at the top level: the elements that the
    // cut left open are exactly the unended ones there, outermost first. An element unended by
    // an enclosing end tag stays inside that complete element and is not among them. The
    // records of the top level are walked alongside the engine's own walk, which names them.
    QStringList open;
    doc.Rewind();
    for (int index = doc.Record(0).firstChild; index != 0 && doc.NextElement();
         index = doc.Record(index).nextSibling) {
        if (doc.Record(index).flags & kFlagUnended)
            open.append(doc.ElementName());
    }
    doc.Rewind();
    if (open.isEmpty())
        return QString();

    QString closed = doc.Text();
    // A tag the cut split (no '>' after its '<') is dropped: half an attribute list is no value.
    const qsizetype lastOpen = closed.lastIndexOf(u'<');
    if (lastOpen >= 0 && closed.indexOf(u'>', lastOpen) < 0)
        closed.truncate(lastOpen);
    for (auto name = open.crbegin(); name != open.crend(); ++name)
        closed += QStringLiteral("</") + *name + u'>';
    return closed;
}

} // namespace orin
