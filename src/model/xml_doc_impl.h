// SPDX-License-Identifier: MIT
#pragma once

#include "model/xml_doc.h"

#include <QStringView>

#include <unordered_map>
#include <vector>

// The state of a CXmlDoc, shared by the navigation code and the indexer.

namespace orin {

struct CXmlDoc::Impl {
    QString text;
    // Record 0 is the document; its first child is the root. A plain vector, reserved from the
    // text length and grown by half: records are addressed by index only, so growth may move
    // them, and one contiguous table is the fastest to fill and to walk.
    std::vector<ElementRecord> records;
    // Exact tag lengths of the elements whose tags do not fit the record's bit fields.
    std::unordered_map<int, int> longStartTags;
    std::unordered_map<int, int> longEndTags;
    QString diagnostics;
    // What ReleaseEarlierSiblings gave back already: text and records before these.
    int releasedTextEnd = 0;
    int releasedRecordEnd = 0;
    int parent = 0;
    int current = 0;
    int child = 0;

    // The attributes of the element last asked for, tokenised once: readers ask for many
    // attributes of the same element in a row. Offsets into the text, so a copy stays valid.
    enum class AttributeKind { Bare, Valued, Valueless };
    struct AttributeSpan {
        int nameFrom = 0;
        int nameLength = 0;
        int valueFrom = 0;
        int valueLength = 0;
        AttributeKind kind = AttributeKind::Valued;
        bool repeated = false; // an earlier attribute has the same name: that one counts
    };
    mutable int attributeCacheIndex = 0; // 0: nothing cached
    mutable std::vector<AttributeSpan> attributeCache;
    // One bit per length and first character of the cached attributes' names (NameBit).
    mutable uint64_t attributeNameBits = 0;
    static uint64_t NameBit(int length, char16_t first)
    {
        return uint64_t(1) << ((unsigned(length) * 31u + first) & 63u);
    }
    // Where the next lookup starts: after the attribute found last. Readers ask for the
    // attributes in the order they are written, so that all of them cost one pass.
    mutable size_t attributeCursor = 0;

    // Readers mostly ask for an element's attributes in the order they are written, and the
    // written ones are mostly of the form name="value": such a run is answered straight from
    // the text, one attribute after the other, without tokenising the tag. The first question
    // it cannot answer that way tokenises the tag (above), which answers everything else.
    mutable int streamIndex = 0;       // element read in written order (0: none)
    mutable int streamPosition = 0;    // where its next attribute starts
    mutable int streamTagEnd = 0;
    mutable uint64_t streamPassedNames = 0; // NameBit of every attribute read past
    // Where the names read past start (their lengths are those asked): names that share a
    // bit are told apart by these. A tag with more attributes goes to the tokeniser.
    static constexpr int kStreamNames = 48;
    mutable int streamPassedCount = 0;
    mutable int streamPassedFrom[kStreamNames] = {};
    mutable int streamPassedLength[kStreamNames] = {};
    // Whether an attribute read past may have this name (always when they were too many); the
    // bit answers most questions here, the names only when it is set.
    bool StreamPassed(QStringView name, uint64_t bit) const
    {
        return (streamPassedNames & bit)
               && (streamPassedCount == kStreamNames || StreamPassedName(name));
    }
    bool StreamPassedName(QStringView name) const;
    // Answers `name` from the attribute at the stream's position, or as absent once the stream
    // has read past every attribute; Unknown when it cannot tell.
    enum class StreamAnswer { Found, Absent, Unknown };
    StreamAnswer StreamAttribute(int index, QStringView name, QStringView &value) const;

    // The length of the tag name last asked for (-1: none): a reader asks for an element's name
    // and then for its attributes, which start after it.
    mutable int nameCacheIndex = -1;
    mutable int nameCacheLength = 0;

    Impl() { records.emplace_back(); }

    // Builds the element table and the diagnostics for `text`.
    void Index();

    int ElementCount() const { return int(records.size()) - 1; }
    const ElementRecord &Rec(int index) const { return records[size_t(index)]; }
    ElementRecord &Rec(int index) { return records[size_t(index)]; }
    int StartTagLength(int index) const;
    int EndTagLength(int index) const;
    void SetStartTagLength(int index, int length);
    void SetEndTagLength(int index, int length);
    // The tag name of an element, a view into the text.
    QStringView TagName(int index) const;
    // Fills the attribute cache with the attributes of the element at `index`.
    void TokeniseAttributes(int index) const;
    // Appends one entry unless the record is already longer than 999 characters. Absent parts
    // are null pointers or negative offsets.
    void AddDiagnostic(const char *name, const char *type, const QStringView *tagName,
                       int offset, int offset2);

    class CIndexer;
};

} // namespace orin
