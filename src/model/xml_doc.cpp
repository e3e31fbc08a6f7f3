// SPDX-License-Identifier: MIT
#include "model/xml_doc.h"

#include "model/large_pages.h"
#include "model/xml_doc_impl.h"
#include "model/xml_scanner.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace orin {
namespace {

constexpr int kStartTagField = (1 << 22) - 1;
constexpr int kEndTagField = (1 << 10) - 1;
constexpr int kDiagnosticsLimit = 999;

const ElementRecord kNoRecord;

} // namespace

// ---- CXmlDoc::Impl helpers -------------------------------------------------------------------

int CXmlDoc::Impl::StartTagLength(int index) const
{
    const ElementRecord &rec = Rec(index);
    if (rec.flags & kFlagLongStartTag) {
        const auto it = longStartTags.find(index);
        return it == longStartTags.end() ? int(rec.startTagLength) : it->second;
    }
    return int(rec.startTagLength);
}

int CXmlDoc::Impl::EndTagLength(int index) const
{
    const ElementRecord &rec = Rec(index);
    if (rec.flags & kFlagLongEndTag) {
        const auto it = longEndTags.find(index);
        return it == longEndTags.end() ? int(rec.endTagLength) : it->second;
    }
    return int(rec.endTagLength);
}

void CXmlDoc::Impl::SetStartTagLength(int index, int length)
{
    ElementRecord &rec = Rec(index);
    if (length > kStartTagField) {
        rec.startTagLength = uint32_t(kStartTagField);
        rec.flags |= kFlagLongStartTag;
        longStartTags[index] = length;
    } else {
        rec.startTagLength = uint32_t(length);
    }
}

void CXmlDoc::Impl::SetEndTagLength(int index, int length)
{
    ElementRecord &rec = Rec(index);
    if (length > kEndTagField) {
        rec.endTagLength = uint32_t(kEndTagField);
        rec.flags |= kFlagLongEndTag;
        longEndTags[index] = length;
    } else {
        rec.endTagLength = uint32_t(length);
    }
}

QStringView CXmlDoc::Impl::TagName(int index) const
{
    const ElementRecord &rec = Rec(index);
    const auto *s = reinterpret_cast<const char16_t *>(text.constData());
    const int tagEnd = std::min(int(text.size()), rec.start + StartTagLength(index));
    const int from = std::min(rec.start + 1, tagEnd);
    if (index != nameCacheIndex) {
        nameCacheLength = xml::NameEnd(s, from, tagEnd) - from;
        nameCacheIndex = index;
    }
    return QStringView(s + from, nameCacheLength);
}

void CXmlDoc::Impl::AddDiagnostic(const char *name, const char *type, const QStringView *tagName,
                                  int offset, int offset2)
{
    if (diagnostics.size() > kDiagnosticsLimit)
        return;
    diagnostics += u'<' + QLatin1String(name);
    if (type)
        diagnostics += QLatin1String(" type=\"") + QLatin1String(type) + u'"';
    if (tagName)
        diagnostics += QLatin1String(" tagname=\"") + EscapeMarkup(tagName->toString(), true) + u'"';
    if (offset >= 0)
        diagnostics += QLatin1String(" offset=\"") + QString::number(offset) + u'"';
    if (offset2 >= 0)
        diagnostics += QLatin1String(" offset2=\"") + QString::number(offset2) + u'"';
    diagnostics += QLatin1String("/>");
}

// ---- CXmlDoc ---------------------------------------------------------------------------------

CXmlDoc::CXmlDoc() : d(std::make_unique<Impl>()) {}

CXmlDoc::CXmlDoc(const CXmlDoc &other) : d(std::make_unique<Impl>(*other.d)) {}

CXmlDoc &CXmlDoc::operator=(const CXmlDoc &other)
{
    if (this != &other)
        *d = *other.d;
    return *this;
}

CXmlDoc::~CXmlDoc() = default;

bool CXmlDoc::LoadText(const QString &text)
{
    return LoadText(QString(text));
}

bool CXmlDoc::LoadText(QString &&text)
{
    d->text = std::move(text);
    d->attributeCacheIndex = 0;
    d->streamIndex = 0;
    d->nameCacheIndex = -1;
    d->releasedTextEnd = 0;
    d->releasedRecordEnd = 0;
    d->Index();
    Rewind();
    return WellFormed();
}

void CXmlDoc::ReleaseEarlierSiblings()
{
    const int current = d->current;
    if (current <= 0 || current >= int(d->records.size()))
        return;
    const int parent = d->parent;
    // Records in document order: those between the parent and the current element are the
    // earlier siblings and their contents.
    const int firstRecord = std::max(parent + 1, d->releasedRecordEnd);
    const qint64 recordBytes = qint64(d->records.capacity() * sizeof(ElementRecord));
    if (current > firstRecord && IsFreshFromSystem(recordBytes)) {
        const qint64 recordSize = sizeof(ElementRecord);
        const qint64 done = ReleaseMemory(d->records.data() + firstRecord,
                                          qint64(current - firstRecord) * recordSize);
        d->releasedRecordEnd = firstRecord + int(done / recordSize);
    }
    // The text from the end of the parent's start tag up to the current element. A text shared
    // with others is theirs too and stays.
    if (!d->text.isDetached() || !IsFreshFromSystem(qint64(d->text.size()) * 2))
        return;
    const int parentTagEnd = parent ? d->Rec(parent).start + d->StartTagLength(parent) : 0;
    const int from = std::max(parentTagEnd, d->releasedTextEnd);
    const int to = d->Rec(current).start;
    if (to > from) {
        const qint64 done = ReleaseMemory(d->text.data() + from, qint64(to - from) * 2);
        d->releasedTextEnd = from + int(done / 2);
    }
}

bool CXmlDoc::Clear()
{
    return LoadText(QString());
}

bool CXmlDoc::WellFormed() const
{
    if (d->ElementCount() <= 0)
        return false;
    const ElementRecord &document = d->Rec(0);
    return !(document.flags & kFlagIllFormed) && document.firstChild != 0
           && d->Rec(document.firstChild).nextSibling == 0;
}

void CXmlDoc::Rewind()
{
    d->parent = d->current = d->child = 0;
}

bool CXmlDoc::NextElement(QStringView name)
{
    if (d->ElementCount() <= 0)
        return false;
    int candidate = d->current ? d->Rec(d->current).nextSibling : d->Rec(d->parent).firstChild;
    if (!name.isEmpty()) {
        while (candidate != 0 && d->TagName(candidate) != name)
            candidate = d->Rec(candidate).nextSibling;
    }
    if (candidate == 0)
        return false;
    d->current = candidate;
    d->child = 0;
    return true;
}

bool CXmlDoc::Descend()
{
    if (d->current == 0)
        return false;
    d->parent = d->current;
    d->current = d->child;
    d->child = 0;
    return true;
}

bool CXmlDoc::Ascend()
{
    if (d->parent == 0)
        return false;
    d->child = d->current;
    d->current = d->parent;
    d->parent = d->Rec(d->parent).parent;
    return true;
}

QString CXmlDoc::ElementName() const
{
    return ElementNameView().toString();
}

QStringView CXmlDoc::ElementNameView() const
{
    return d->current ? d->TagName(d->current) : QStringView();
}

QString CXmlDoc::ElementText() const
{
    const int index = d->current;
    if (index == 0)
        return QString();
    const ElementRecord &rec = d->Rec(index);
    if (rec.firstChild != 0)
        return QString();
    const int contentStart = rec.start + d->StartTagLength(index);
    const int contentEnd = std::min(int(d->text.size()), rec.start + rec.length - d->EndTagLength(index));
    if (contentEnd <= contentStart)
        return QString();
    const auto *s = reinterpret_cast<const char16_t *>(d->text.constData());
    const QStringView content(s + contentStart, contentEnd - contentStart);
    if (!content.contains(u'<'))
        return UnescapeMarkup(content);
    QString out;
    int pos = contentStart;
    while (pos < contentEnd) {
        const xml::XmlToken tok = xml::NextToken(s, contentEnd, pos);
        if (tok.kind == xml::TokenKind::Text) {
            out += UnescapeMarkup(QStringView(s + tok.start, tok.length));
        } else if (tok.kind == xml::TokenKind::CData) {
            // "<![CDATA[" ... "]]>"; a section cut short by its name leaves nothing inside.
            const int innerStart = tok.start + 9;
            const int innerEnd = tok.End() - 3;
            if (innerEnd > innerStart)
                out += QStringView(s + innerStart, innerEnd - innerStart);
        }
        pos = tok.End();
    }
    return out;
}

namespace {

// Reads the attribute part of a start tag token by token.
class CAttributeReader {
public:
    enum class Kind { End, Stop, Equals, Quoted, Run };
    struct Token {
        Kind kind = Kind::End;
        QStringView text;
    };

    CAttributeReader(const char16_t *text, int pos, int end) : m_s(text), m_pos(pos), m_end(end) {}

    int Position() const { return m_pos; }
    void SetPosition(int pos) { m_pos = pos; }

    // In the place of a value a run ends only at whitespace or '>'.
    Token Next(bool valuePlace)
    {
        while (m_pos < m_end && xml::IsXmlSpace(m_s[m_pos]))
            ++m_pos;
        if (m_pos >= m_end)
            return {};
        const char16_t c = m_s[m_pos];
        if (c == u'"' || c == u'\'') {
            const int from = ++m_pos;
            while (m_pos < m_end && m_s[m_pos] != c)
                ++m_pos;
            const Token tok{Kind::Quoted, QStringView(m_s + from, m_pos - from)};
            if (m_pos < m_end)
                ++m_pos;
            return tok;
        }
        if (c == u'>' || (!valuePlace && (c == u'/' || c == u'?')))
            return {Kind::Stop, {}};
        if (c == u'=' && !valuePlace) {
            ++m_pos;
            return {Kind::Equals, {}};
        }
        const int from = m_pos;
        while (m_pos < m_end && !RunEnds(m_s[m_pos], valuePlace))
            ++m_pos;
        return {Kind::Run, QStringView(m_s + from, m_pos - from)};
    }

private:
    static bool RunEnds(char16_t c, bool valuePlace)
    {
        if (xml::IsXmlSpace(c) || c == u'>')
            return true;
        return !valuePlace && (c == u'=' || c == u'/' || c == u'?');
    }

    const char16_t *m_s;
    int m_pos;
    int m_end;
};

// Characters of the attribute names a project file writes.
constexpr std::array<bool, 128> MakePlainNameChars()
{
    std::array<bool, 128> plain{};
    for (int c = 0; c < 128; ++c)
        plain[size_t(c)] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                           || c == '_' || c == '-' || c == '.' || c == ':';
    return plain;
}
constexpr std::array<bool, 128> kPlainNameChars = MakePlainNameChars();

inline bool IsPlainNameChar(char16_t c)
{
    return c < 128 && kPlainNameChars[c];
}

} // namespace

void CXmlDoc::Impl::TokeniseAttributes(int index) const
{
    const auto *s = reinterpret_cast<const char16_t *>(text.constData());
    // Tokenise the start tag once; the reading rules stop at the first '=' without value.
    using Span = Impl::AttributeSpan;
    using SpanKind = Impl::AttributeKind;
    attributeCache.clear();
    attributeCacheIndex = index;
    attributeCursor = 0;
    // Repeated names are found as they are added: a bit per length and first character
    // tells which names need comparing with the earlier ones at all.
    uint64_t &seenNames = attributeNameBits;
    seenNames = 0;
    auto add = [&](Span span) {
        if (span.nameLength > 0) {
            const uint64_t bit = NameBit(span.nameLength, s[span.nameFrom]);
            if (seenNames & bit) {
                for (const Span &earlier : attributeCache) {
                    if (earlier.nameLength == span.nameLength
                        && std::memcmp(s + earlier.nameFrom, s + span.nameFrom,
                                       size_t(span.nameLength) * 2) == 0) {
                        span.repeated = true;
                        break;
                    }
                }
            }
            seenNames |= bit;
        }
        attributeCache.push_back(span);
    };
    const ElementRecord &rec = Rec(index);
    const QStringView tagName = TagName(index);
    const int tagEnd = std::min(int(text.size()), rec.start + StartTagLength(index));
    CAttributeReader reader(s, int(tagName.utf16() - s) + int(tagName.size()), tagEnd);
    using Kind = CAttributeReader::Kind;
    for (;;) {
        // The usual form, name="value", read in one go; anything else goes through the
        // reader token by token, which reads this form the same way.
        int p = reader.Position();
        while (p < tagEnd && xml::IsXmlSpace(s[p]))
            ++p;
        int q = p;
        while (q < tagEnd && IsPlainNameChar(s[q]))
            ++q;
        if (q > p && q + 1 < tagEnd && s[q] == u'=' && s[q + 1] == u'"') {
            int r = q + 2;
            while (r < tagEnd && s[r] != u'"')
                ++r;
            if (r < tagEnd) {
                Span span;
                span.nameFrom = p;
                span.nameLength = q - p;
                span.valueFrom = q + 2;
                span.valueLength = r - (q + 2);
                span.kind = SpanKind::Valued;
                add(span);
                reader.SetPosition(r + 1);
                continue;
            }
        }
        CAttributeReader::Token tok = reader.Next(false);
        if (tok.kind == Kind::End || tok.kind == Kind::Stop)
            break;
        Span span;
        if (tok.kind != Kind::Equals) { // a stray '=' stands for an attribute without a name
            span.nameFrom = int(tok.text.utf16() - s);
            span.nameLength = int(tok.text.size());
            const int afterName = reader.Position();
            if (reader.Next(false).kind != Kind::Equals) {
                // A bare name: its own name is its value.
                span.kind = SpanKind::Bare;
                add(span);
                reader.SetPosition(afterName);
                continue;
            }
        }
        const CAttributeReader::Token token = reader.Next(true);
        const bool hasValue = token.kind == Kind::Quoted || token.kind == Kind::Run;
        if (hasValue) {
            span.valueFrom = int(token.text.utf16() - s);
            span.valueLength = int(token.text.size());
        }
        span.kind = hasValue ? SpanKind::Valued : SpanKind::Valueless;
        add(span);
        if (!hasValue)
            break;
    }
}

bool CXmlDoc::Impl::StreamPassedName(QStringView name) const
{
    const auto *s = reinterpret_cast<const char16_t *>(text.constData());
    for (int k = 0; k < streamPassedCount; ++k) {
        if (streamPassedLength[k] == name.size()
            && std::memcmp(s + streamPassedFrom[k], name.utf16(), size_t(name.size()) * 2) == 0)
            return true;
    }
    return false;
}

CXmlDoc::Impl::StreamAnswer CXmlDoc::Impl::StreamAttribute(int index, QStringView name, QStringView &value) const
{
    const auto *s = reinterpret_cast<const char16_t *>(text.constData());
    if (streamIndex != index) {
        const QStringView tagName = TagName(index);
        streamIndex = index;
        streamPosition = int(tagName.utf16() - s) + int(tagName.size());
        streamTagEnd = std::min(int(text.size()), Rec(index).start + StartTagLength(index));
        streamPassedNames = 0;
        streamPassedCount = 0;
    }
    const int end = streamTagEnd;
    int p = streamPosition;
    while (p < end && xml::IsXmlSpace(s[p]))
        ++p;
    const auto length = int(name.size());
    const char16_t *n = name.utf16();
    const uint64_t bit = NameBit(length, n[0]);
    // Where the tokeniser stops, every attribute has been read past: a name unlike all of
    // them is not there (one that may be like one of them goes to the tokeniser).
    if (p >= end || s[p] == u'>' || s[p] == u'/' || s[p] == u'?')
        return StreamPassed(name, bit) ? StreamAnswer::Unknown : StreamAnswer::Absent;
    // The tokeniser reads the same thing here: a run of plain name characters that is exactly
    // the name, '=' (whitespace around it allowed, as the format writes some), and a quoted
    // value. An earlier attribute that may have the same name (the first of two counts) sends
    // the question to the tokeniser, as does anything else.
    if (p + length >= end)
        return StreamAnswer::Unknown;
    for (int k = 0; k < length; ++k) {
        if (s[p + k] != n[k] || !IsPlainNameChar(n[k]))
            return StreamAnswer::Unknown;
    }
    int q = p + length;
    while (q < end && xml::IsXmlSpace(s[q]))
        ++q;
    if (q >= end || s[q] != u'=')
        return StreamAnswer::Unknown;
    ++q;
    while (q < end && xml::IsXmlSpace(s[q]))
        ++q;
    if (q >= end || (s[q] != u'"' && s[q] != u'\''))
        return StreamAnswer::Unknown;
    if (streamPassedCount == kStreamNames || StreamPassed(name, bit))
        return StreamAnswer::Unknown;
    const char16_t quote = s[q];
    const int from = q + 1;
    int r = from;
    while (r < end && s[r] != quote)
        ++r;
    if (r >= end)
        return StreamAnswer::Unknown;
    value = QStringView(s + from, r - from);
    streamPassedNames |= bit;
    streamPassedFrom[streamPassedCount] = p;
    streamPassedLength[streamPassedCount] = length;
    ++streamPassedCount;
    streamPosition = r + 1;
    return StreamAnswer::Found;
}

bool CXmlDoc::RawAttribute(QStringView name, QStringView &value) const
{
    value = QStringView();
    const int index = d->current;
    if (index == 0 || name.isEmpty())
        return false;
    const auto *s = reinterpret_cast<const char16_t *>(d->text.constData());
    if (d->attributeCacheIndex != index) {
        switch (d->StreamAttribute(index, name, value)) {
        case Impl::StreamAnswer::Found:
            return true;
        case Impl::StreamAnswer::Absent:
            return false;
        case Impl::StreamAnswer::Unknown:
            d->TokeniseAttributes(index);
            break;
        }
    }
    // A name whose bit no attribute has set is not there: readers ask for optional ones.
    const char16_t first = name.utf16()[0];
    if (!(d->attributeNameBits & Impl::NameBit(int(name.size()), first)))
        return false;
    // The search starts after the attribute found last and goes round once. Most names differ
    // in length or in their first character: only the others are compared.
    const size_t count = d->attributeCache.size();
    size_t at = d->attributeCursor < count ? d->attributeCursor : 0;
    for (size_t seen = 0; seen < count; ++seen, at = at + 1 < count ? at + 1 : 0) {
        const Impl::AttributeSpan &span = d->attributeCache[at];
        if (span.nameLength != name.size() || s[span.nameFrom] != first || span.repeated)
            continue;
        const QStringView attrName(s + span.nameFrom, span.nameLength);
        // Names are a few characters: compared in place rather than with a library call.
        qsizetype same = 1;
        while (same < name.size() && attrName.utf16()[same] == name.utf16()[same])
            ++same;
        if (same != name.size())
            continue;
        switch (span.kind) {
        case Impl::AttributeKind::Bare:
            value = attrName;
            break;
        case Impl::AttributeKind::Valued:
            value = QStringView(s + span.valueFrom, span.valueLength);
            break;
        case Impl::AttributeKind::Valueless:
            break;
        }
        d->attributeCursor = at + 1;
        return true;
    }
    return false;
}

QString CXmlDoc::Attribute(QStringView name) const
{
    QStringView value;
    if (!RawAttribute(name, value))
        return QString();
    return UnescapeMarkup(value);
}

QString CXmlDoc::Diagnostics() const
{
    return d->diagnostics;
}

const QString &CXmlDoc::Text() const
{
    return d->text;
}

int CXmlDoc::ElementCount() const
{
    return d->ElementCount();
}

const ElementRecord &CXmlDoc::Record(int index) const
{
    if (index < 0 || index > d->ElementCount())
        return kNoRecord;
    return d->Rec(index);
}

int CXmlDoc::StartTagLength(int index) const
{
    return (index < 0 || index > d->ElementCount()) ? 0 : d->StartTagLength(index);
}

int CXmlDoc::EndTagLength(int index) const
{
    return (index < 0 || index > d->ElementCount()) ? 0 : d->EndTagLength(index);
}

} // namespace orin
