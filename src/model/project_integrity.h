// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Whether a project text is a complete project: a root element BMLCAST closed by its end tag,
// as the markup engine finds it. The reader reads any text tolerantly; what the open command
// and the tools do with the result depends on this.

namespace orin {

class CXmlDoc;

enum class ProjectIntegrity {
    Complete,    // the root is BMLCAST and its end tag came
    Truncated,   // the root is BMLCAST but the text ends before </BMLCAST>
    ForeignRoot, // the root element has another name
    NoRoot,      // no element at all: an empty file, random bytes, another kind of file
    Malformed,   // the root is a closed BMLCAST, but markup inside it does not parse (a stray
                 // "<", an end tag without its start, an element left open), so that what the
                 // reader finds is not what the file holds
    Overfull,    // a page holds more items than a page can have (kItemSlots)
};

// True for the kinds of damage that still leave something to read.
inline bool IsDamaged(ProjectIntegrity integrity)
{
    return integrity == ProjectIntegrity::Truncated || integrity == ProjectIntegrity::ForeignRoot
           || integrity == ProjectIntegrity::Malformed || integrity == ProjectIntegrity::Overfull;
}

// True when the root element of the document in `doc` ends before its end tag, or holds markup
// the engine could not parse; markup after the root's end does not count. Leaves the document
// rewound. Holds for every document the program reads (projects, copy documents).
bool RootMarkupBroken(CXmlDoc &doc);

// The integrity of the document loaded into `doc`; leaves the document rewound.
ProjectIntegrity IntegrityOf(CXmlDoc &doc);

// For a text cut short (`doc` holds it, IntegrityOf gives Truncated): the text up to the cut,
// without a tag the cut split, followed by the end tags of every element the cut left open,
// so that everything before the cut reads as it stood. Empty when no such text can be made.
// Leaves the document rewound.
QString ClosedTruncatedText(CXmlDoc &doc);

} // namespace orin
