// SPDX-License-Identifier: MIT
// The markup engine on any text: indexing, a full walk with names, texts and attributes, and the
// escaping round trip. The element table must stay inside the text and form one tree.

#include "fuzz_check.h"

#include "model/xml_doc.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace orin;

namespace {

void CheckRecords(const CXmlDoc &doc)
{
    const int count = doc.ElementCount();
    const qsizetype textLength = doc.Text().size();
    ORIN_FUZZ_CHECK(count >= 0);
    std::vector<int> seen(size_t(count) + 1, 0);
    for (int i = 1; i <= count; ++i) {
        const ElementRecord &rec = doc.Record(i);
        ORIN_FUZZ_CHECK(rec.start >= 0 && rec.length > 0);
        ORIN_FUZZ_CHECK(qsizetype(rec.start) + rec.length <= textLength);
        ORIN_FUZZ_CHECK(doc.Text().at(rec.start) == u'<');
        ORIN_FUZZ_CHECK(doc.StartTagLength(i) > 0);
        ORIN_FUZZ_CHECK(doc.StartTagLength(i) + doc.EndTagLength(i) <= rec.length);
        ORIN_FUZZ_CHECK(rec.parent >= 0 && rec.parent < i);
        ORIN_FUZZ_CHECK(rec.firstChild >= 0 && rec.firstChild <= count);
        ORIN_FUZZ_CHECK(rec.nextSibling >= 0 && rec.nextSibling <= count);
        ORIN_FUZZ_CHECK(rec.prevSibling >= 0 && rec.prevSibling <= count);
    }
    // Every element is reached exactly once through the child and sibling links, and each
    // names its holder as parent.
    std::vector<int> stack{0};
    int reached = 0;
    while (!stack.empty()) {
        const int holder = stack.back();
        stack.pop_back();
        for (int c = doc.Record(holder).firstChild; c != 0; c = doc.Record(c).nextSibling) {
            ORIN_FUZZ_CHECK(c > 0 && c <= count);
            ORIN_FUZZ_CHECK(seen[size_t(c)] == 0);
            seen[size_t(c)] = 1;
            ++reached;
            ORIN_FUZZ_CHECK(doc.Record(c).parent == holder);
            stack.push_back(c);
        }
    }
    ORIN_FUZZ_CHECK(reached == count);
    ORIN_FUZZ_CHECK(doc.Record(count + 1).length == 0 && doc.Record(-1).length == 0);
}

// Walks the whole document through the navigation calls, without recursion (the nesting is as
// deep as the text makes it); returns the number of elements visited.
int WalkAll(CXmlDoc &doc)
{
    doc.Rewind();
    int visited = 0;
    int depth = 0;
    QStringView value;
    while (true) {
        if (doc.NextElement()) {
            ++visited;
            const QStringView name = doc.ElementNameView();
            ORIN_FUZZ_CHECK(doc.ElementName() == name);
            const QString text = doc.ElementText();
            ORIN_FUZZ_CHECK(text.size() <= doc.Text().size());
            (void)doc.Attribute(u"id");
            (void)doc.Attribute(u"name");
            if (doc.RawAttribute(u"type", value)) {
                ORIN_FUZZ_CHECK(value.size() <= doc.Text().size());
                (void)UnescapeMarkup(value);
            }
            if (doc.Descend())
                ++depth;
        } else {
            if (depth == 0)
                break;
            ORIN_FUZZ_CHECK(doc.Ascend());
            --depth;
        }
    }
    return visited;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    CXmlDoc doc;
    doc.LoadText(text);
    ORIN_FUZZ_CHECK(doc.Text() == text);
    CheckRecords(doc);
    ORIN_FUZZ_CHECK(WalkAll(doc) == doc.ElementCount());
    (void)doc.Diagnostics();

    // A copy indexes the same; loading again gives the same table.
    CXmlDoc copy(doc);
    ORIN_FUZZ_CHECK(copy.ElementCount() == doc.ElementCount());
    ORIN_FUZZ_CHECK(copy.WellFormed() == doc.WellFormed());
    ORIN_FUZZ_CHECK(WalkAll(copy) == doc.ElementCount());

    // Escaping then decoding gives the text back (U+0000 is written as "?").
    QString plain = text;
    plain.replace(QChar(0), u'?');
    ORIN_FUZZ_CHECK(UnescapeMarkup(EscapeMarkup(text, true)) == plain);
    ORIN_FUZZ_CHECK(UnescapeMarkup(EscapeMarkup(text, false)) == plain);
    return 0;
}
