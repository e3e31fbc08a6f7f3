// SPDX-License-Identifier: MIT
// Indexing: one pass of the scanner over the text builds the element table.

#include "model/xml_doc_impl.h"

#include "model/large_pages.h"
#include "model/xml_scanner.h"

#include <QHashFunctions>

#include <algorithm>
#include <climits>

namespace orin {
namespace {

// Open elements deeper than this are also found through a name map, so that end tags that
// match no open element cost the same at any depth.
constexpr size_t kShallowDepth = 64;

struct ViewHash {
    size_t operator()(QStringView v) const noexcept { return qHash(v); }
};

struct OpenElement {
    int index;
    int nameStart;
    int nameLength;
};

} // namespace

class CXmlDoc::Impl::CIndexer {
public:
    explicit CIndexer(Impl &doc)
        : m_doc(doc),
          m_text(reinterpret_cast<const char16_t *>(doc.text.constData())),
          m_end(int(doc.text.size()))
    {
    }

    void Run()
    {
        int pos = 0;
        for (;;) {
            const int lt = NextMarkup(pos);
            if (lt < 0)
                break;
            const xml::XmlToken tok = xml::ScanMarkup(m_text, m_end, lt);
            switch (tok.kind) {
            case xml::TokenKind::StartTag: StartTag(tok); break;
            case xml::TokenKind::EndTag: EndTag(tok); break;
            case xml::TokenKind::Error:
                MarkIllFormed();
                m_doc.AddDiagnostic(tok.error, tok.errorType, nullptr, tok.errorOffset, -1);
                break;
            default: break;
            }
            pos = tok.End();
        }
        Unend(0, m_end);
    }

private:
    int NextMarkup(int pos) const
    {
        // The gaps between tags are mostly a line break and indentation: look a few
        // characters ahead before handing the rest to the vectorised search.
        const int near = std::min(m_end, pos + 16);
        for (int p = pos; p < near; ++p) {
            if (m_text[p] == u'<')
                return p;
        }
        return xml::FindChar(m_text, near, m_end, u'<');
    }

    QStringView Name(const OpenElement &open) const
    {
        return QStringView(m_text + open.nameStart, open.nameLength);
    }

    int Parent() const { return m_open.empty() ? 0 : m_open.back().index; }

    void MarkIllFormed() { m_doc.Rec(0).flags |= kFlagIllFormed; }

    int NewRecord()
    {
        std::vector<ElementRecord> &all = m_doc.records;
        if (all.size() == all.capacity())
            all.reserve(all.capacity() + all.capacity() / 2 + 1);
        all.emplace_back();
        return int(all.size()) - 1;
    }

    void StartTag(const xml::XmlToken &tok)
    {
        const int parentIndex = Parent();
        const int index = NewRecord();
        ElementRecord &rec = m_doc.Rec(index);
        rec.start = tok.start;
        rec.length = tok.length;
        m_doc.SetStartTagLength(index, tok.length);
        rec.level = uint16_t(std::min<size_t>(m_open.size(), 0xFFFF));
        rec.parent = parentIndex;
        ElementRecord &up = m_doc.Rec(parentIndex);
        if (up.firstChild == 0) {
            up.firstChild = index;
            rec.flags |= kFlagFirstChild;
            rec.prevSibling = index;
        } else {
            ElementRecord &first = m_doc.Rec(up.firstChild);
            const int last = first.prevSibling;
            m_doc.Rec(last).nextSibling = index;
            rec.prevSibling = last;
            first.prevSibling = index;
        }
        if (!tok.empty)
            Push({index, tok.nameStart, tok.nameLength});
    }

    void EndTag(const xml::XmlToken &tok)
    {
        const QStringView name(m_text + tok.nameStart, tok.nameLength);
        const int found = FindOpen(name);
        if (found < 0) {
            MarkIllFormed();
            m_doc.Rec(Parent()).flags |= kFlagLoneEndTag;
            m_doc.AddDiagnostic("lone_end_tag", nullptr, &name, tok.start, -1);
            return;
        }
        Unend(size_t(found) + 1, tok.start);
        const int index = m_open[size_t(found)].index;
        ElementRecord &rec = m_doc.Rec(index);
        rec.length = tok.End() - rec.start;
        m_doc.SetEndTagLength(index, tok.length);
        PopTo(size_t(found));
    }

    // Stack position of the innermost open element with that name, or -1.
    int FindOpen(QStringView name) const
    {
        if (m_open.empty())
            return -1;
        const size_t top = m_open.size() - 1;
        if (Name(m_open[top]) == name)
            return int(top);
        if (m_open.size() > kShallowDepth) {
            const auto it = m_deep.find(name);
            if (it != m_deep.end() && !it->second.empty())
                return it->second.back();
        }
        for (size_t i = std::min(m_open.size(), kShallowDepth); i-- > 0;) {
            if (Name(m_open[i]) == name)
                return int(i);
        }
        return -1;
    }

    void Push(const OpenElement &open)
    {
        if (m_open.size() >= kShallowDepth)
            m_deep[Name(open)].push_back(int(m_open.size()));
        m_open.push_back(open);
    }

    void PopTo(size_t size)
    {
        while (m_open.size() > size) {
            if (m_open.size() - 1 >= kShallowDepth)
                m_deep[Name(m_open.back())].pop_back();
            m_open.pop_back();
        }
    }

    // The open elements from stack position `from` inwards get no end tag. Each one's children
    // become its following siblings. Working from the outermost inwards moves every child
    // once: the outermost unended element is the last child of the element that stays open,
    // and after its children have moved behind it, the next unended element is that last child.
    void Unend(size_t from, int offset2)
    {
        if (from >= m_open.size())
            return;
        MarkIllFormed();
        for (size_t i = from; i < m_open.size(); ++i) {
            const int index = m_open[i].index;
            ElementRecord &rec = m_doc.Rec(index);
            rec.flags |= kFlagUnended;
            rec.length = m_doc.StartTagLength(index);
            rec.endTagLength = 0;
            const QStringView name = Name(m_open[i]);
            m_doc.AddDiagnostic("unended_start_tag", nullptr, &name, rec.start, offset2);
            const int first = rec.firstChild;
            if (first == 0)
                continue;
            const int holder = rec.parent;
            const int last = m_doc.Rec(first).prevSibling;
            for (int c = first; c != 0; c = m_doc.Rec(c).nextSibling)
                m_doc.Rec(c).parent = holder;
            ElementRecord &firstRec = m_doc.Rec(first);
            firstRec.flags &= uint16_t(~kFlagFirstChild);
            firstRec.prevSibling = index;
            rec.nextSibling = first;
            rec.firstChild = 0;
            m_doc.Rec(m_doc.Rec(holder).firstChild).prevSibling = last;
        }
        PopTo(from);
    }

    Impl &m_doc;
    const char16_t *m_text;
    int m_end;
    std::vector<OpenElement> m_open;
    std::unordered_map<QStringView, std::vector<int>, ViewHash> m_deep;
};

void CXmlDoc::Impl::Index()
{
    std::vector<ElementRecord>().swap(records); // a smaller text does not keep a larger table
    longStartTags.clear();
    longEndTags.clear();
    diagnostics.clear();
    if (text.size() >= INT_MAX) {
        // Offsets are 32-bit: such a text is not indexed at all.
        records.emplace_back();
        records[0].flags = kFlagIllFormed;
        AddDiagnostic("text_too_long", nullptr, nullptr, -1, -1);
        return;
    }
    records.reserve(size_t(text.size()) / 64 + 8);
    AdviseLargePages(records.data(), qint64(records.capacity() * sizeof(ElementRecord)));
    records.emplace_back();
    if (text.isEmpty())
        return;
    CIndexer(*this).Run();
    ElementRecord &document = records[0];
    document.length = int(text.size());
    if (document.firstChild == 0)
        AddDiagnostic("no_root_element", nullptr, nullptr, -1, -1);
    else if (Rec(document.firstChild).nextSibling != 0)
        AddDiagnostic("root_has_sibling", nullptr, nullptr, -1, -1);
}

} // namespace orin
