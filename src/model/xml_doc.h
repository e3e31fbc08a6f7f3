// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <vector>

// A small tolerant markup engine: holds one document as a single UTF-16 string, indexes its
// elements by offsets into that string (the text is never copied while indexing) and lets the
// caller walk the elements with a current position. Malformed text is indexed as far as
// possible; LoadText's result says whether the document was well formed.

namespace orin {

// One indexed element: 32 bytes. Offsets and lengths are in UTF-16 code units.
struct ElementRecord {
    int32_t start = 0;             // offset of the '<' of the start tag
    int32_t length = 0;            // start through the end of the end tag
    uint32_t startTagLength : 22;  // '<' through '>' of the start tag
    uint32_t endTagLength : 10;    // 0 when there is no end tag
    uint16_t level = 0;            // depth where the start tag was met, 0 at the top; at most 65535
    uint16_t flags = 0;            // ElementFlag bits
    int32_t parent = 0;
    int32_t firstChild = 0;
    int32_t nextSibling = 0;
    int32_t prevSibling = 0;       // the first child's link refers to the last child

    ElementRecord() : startTagLength(0), endTagLength(0) {}
};
static_assert(sizeof(ElementRecord) == 32, "ElementRecord keeps its 32-byte layout");

enum ElementFlag : uint16_t {
    kFlagFirstChild = 0x0001,
    kFlagUnended = 0x0002,
    kFlagLoneEndTag = 0x0004,   // contains a lone end tag
    kFlagIllFormed = 0x0008,    // on the document record
    kFlagLongStartTag = 0x0010, // start-tag length kept in the overflow table
    kFlagLongEndTag = 0x0020,   // end-tag length kept in the overflow table
};

class CXmlDoc {
public:
    CXmlDoc();
    CXmlDoc(const CXmlDoc &other);
    CXmlDoc &operator=(const CXmlDoc &other);
    ~CXmlDoc();

    // Replaces the text, clears the diagnostics, indexes, rewinds; returns WellFormed().
    bool LoadText(const QString &text);
    // The same, taking the text over: a document that holds its text alone can give back the
    // memory of what it has been read past (ReleaseEarlierSiblings).
    bool LoadText(QString &&text);
    bool Clear();
    bool WellFormed() const;
    void Rewind();
    // Moves to the next sibling (or the first child of the parent when there is no current
    // element), optionally the next one with exactly that tag name.
    bool NextElement(QStringView name = {});
    bool Descend();
    bool Ascend();
    QString ElementName() const;
    // The tag name of the current element as a view into the text ("" when there is none).
    QStringView ElementNameView() const;
    QString ElementText() const;
    QString Attribute(QStringView name) const;
    // The attribute's value as written, a view into the text with its references not yet
    // decoded (a bare name gives its own name); false when the current element has no such
    // attribute. Readers take numbers from it in place and make a string only to keep one.
    bool RawAttribute(QStringView name, QStringView &value) const;
    QString Diagnostics() const;

    // Promises that the elements before the current one under the same parent (and all inside
    // them) are not visited again: the memory of their records, and of their text when the
    // document holds its text alone, goes back to the system in large pieces, so that a reader
    // that walks a long list once never holds all of it next to what it builds from it. They
    // read as empty afterwards; the current element, its ancestors and what follows are kept.
    void ReleaseEarlierSiblings();

    // Read-only access for tests and benchmarks.
    const QString &Text() const;
    int ElementCount() const; // indexed elements, not counting the document record
    // Index 0 is the document record; an index out of range gives an all-zero record.
    const ElementRecord &Record(int index) const;
    // Exact tag lengths, also of tags too long for the record's bit fields (0 out of range).
    int StartTagLength(int index) const;
    int EndTagLength(int index) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Replaces markup characters by entity references: < & > always, ' and " for attribute values.
// U+0000, which no project file can hold, becomes "?".
QString EscapeMarkup(const QString &text, bool forAttribute);
// Decodes character and entity references in the first `length` characters of `text`
// (length < 0: all of it).
QString UnescapeMarkup(const QString &text, int length = -1);
QString UnescapeMarkup(QStringView text);

// Whether a raw value holds a reference to decode: true when it has an '&'. Most values are a
// few characters, looked through in place; longer ones with the library's vectorised search.
inline bool HasMarkupReference(QStringView value)
{
    if (value.size() > 16)
        return QtPrivate::qustrchr(value, u'&') != value.utf16() + value.size();
    for (const QChar c : value) {
        if (c == u'&')
            return true;
    }
    return false;
}

} // namespace orin
