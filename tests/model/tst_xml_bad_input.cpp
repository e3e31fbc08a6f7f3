// SPDX-License-Identifier: MIT
// Bad and hostile input for the markup engine: truncated and mutated text, unterminated
// constructs, deep nesting, huge values and references. Every case must load without a crash
// or a hang, keep the element table consistent and stay walkable.

#include "model/xml_doc.h"
#include "test_registry.h"

#include <QtTest>

#include <random>
#include <vector>

using namespace Qt::StringLiterals;
using orin::CXmlDoc;
using orin::ElementRecord;

namespace {

// The first broken rule of the element table, or "" when it is consistent.
QString Violation(const CXmlDoc &doc)
{
    const QString &text = doc.Text();
    const int count = doc.ElementCount();
    if (!text.isEmpty() && doc.Record(0).length != text.size())
        return u"document length"_s;
    for (int i = 1; i <= count; ++i) {
        const ElementRecord &rec = doc.Record(i);
        const int startTag = doc.StartTagLength(i);
        const int endTag = doc.EndTagLength(i);
        if (rec.start < 0 || rec.length < startTag + endTag || rec.start + rec.length > text.size())
            return u"extent of %1"_s.arg(i);
        if (i > 1 && rec.start <= doc.Record(i - 1).start)
            return u"document order at %1"_s.arg(i);
        if (text.at(rec.start) != u'<' || startTag < 2 || text.at(rec.start + startTag - 1) != u'>')
            return u"start tag of %1"_s.arg(i);
        if (endTag > 0 && (text.at(rec.start + rec.length - endTag) != u'<'
                           || text.at(rec.start + rec.length - 1) != u'>'))
            return u"end tag of %1"_s.arg(i);
        if ((rec.flags & orin::kFlagUnended) && (rec.firstChild != 0 || endTag != 0))
            return u"unended %1 keeps children or an end tag"_s.arg(i);
    }
    std::vector<int> seen(size_t(count) + 1, 0);
    for (int p = 0; p <= count; ++p) {
        const ElementRecord &parent = doc.Record(p);
        const int contentStart = p ? parent.start + doc.StartTagLength(p) : 0;
        const int contentEnd = p ? parent.start + parent.length - doc.EndTagLength(p) : int(text.size());
        int previous = 0;
        int previousEnd = contentStart;
        for (int c = parent.firstChild; c != 0; c = doc.Record(c).nextSibling) {
            if (c < 1 || c > count || ++seen[size_t(c)] > 1)
                return u"link to %1 under %2"_s.arg(c).arg(p);
            const ElementRecord &rec = doc.Record(c);
            if (rec.parent != p)
                return u"parent of %1"_s.arg(c);
            if (rec.start < previousEnd || rec.start + rec.length > contentEnd)
                return u"%1 is outside its parent's content or overlaps"_s.arg(c);
            if (bool(rec.flags & orin::kFlagFirstChild) != (previous == 0))
                return u"first-child flag of %1"_s.arg(c);
            if (previous != 0 && rec.prevSibling != previous)
                return u"previous sibling of %1"_s.arg(c);
            previous = c;
            previousEnd = rec.start + rec.length;
        }
        if (parent.firstChild != 0 && doc.Record(parent.firstChild).prevSibling != previous)
            return u"last-child link under %1"_s.arg(p);
    }
    for (int i = 1; i <= count; ++i) {
        if (seen[size_t(i)] != 1)
            return u"element %1 is not linked"_s.arg(i);
    }
    return QString();
}

// Walks every element through the navigation interface and reads it; returns how many it saw.
int WalkAll(CXmlDoc &doc)
{
    doc.Rewind();
    int seen = 0;
    for (;;) {
        if (doc.NextElement()) {
            ++seen;
            doc.ElementName();
            doc.ElementText();
            doc.Attribute(u"x"_s);
            doc.Descend();
        } else if (!doc.Ascend()) {
            return seen;
        }
    }
}

void CheckLoaded(CXmlDoc &doc)
{
    const QString violation = Violation(doc);
    QVERIFY2(violation.isEmpty(), qPrintable(violation));
    QCOMPARE(WalkAll(doc), doc.ElementCount());
}

QString Repeat(const QString &piece, int times)
{
    return piece.repeated(times);
}

const QString kSample = u"<?xml version=\"1.0\"?>\n<!DOCTYPE r [<!ENTITY e \"x>y\"><!-- c -->]>\n"
                        "<r a='1' b=\"2&amp;3\" c=4 d>\n"
                        "  <p x='&#x1F600;&lt;'><q/>t&amp;u<![CDATA[<z>]]></p>\n"
                        "  <!-- <no/> --><?pi data?>\n"
                        "  <s x=1/>text</s><t></t\n>\n"
                        "</r>\n"_s;

} // namespace

class TestXmlBadInput : public QObject {
    Q_OBJECT

private slots:
    void badInput_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wellFormed");
        QTest::addColumn<QStringList>("diagnostics"); // names that must be reported

        const auto names = [](std::initializer_list<QString> list) { return QStringList(list); };
        QTest::newRow("lone <") << u"<"_s << false
                                << names({u"unterminated_tag_syntax"_s, u"no_root_element"_s});
        QTest::newRow("<< at the end") << u"<<"_s << false << names({u"first_tag_syntax"_s});
        QTest::newRow("only <!") << u"<!"_s << false << names({u"unterminated_tag_syntax"_s});
        QTest::newRow("only </") << u"</"_s << false << names({u"unterminated_tag_syntax"_s});
        QTest::newRow("only <?") << u"<?"_s << false << names({u"unterminated_tag_syntax"_s});
        QTest::newRow("</>") << u"<a></></a>"_s << false << names({u"lone_end_tag"_s});
        QTest::newRow("<>") << u"<a><></a>"_s << false << names({u"first_tag_syntax"_s});
        QTest::newRow("open comment") << u"<a/><!--"_s << false
                                      << names({u"unterminated_tag_syntax"_s});
        QTest::newRow("comment ends at its own start") << u"<a/><!-->"_s << false
                                                       << names({u"unterminated_tag_syntax"_s});
        QTest::newRow("open CDATA") << u"<a><![CDATA["_s << false
                                    << names({u"unterminated_tag_syntax"_s, u"unended_start_tag"_s});
        QTest::newRow("CDATA cut short") << u"<a><![C]]></a>"_s << true << names({});
        QTest::newRow("open doctype") << u"<!DOCTYPE"_s << false
                                      << names({u"unterminated_tag_syntax"_s});
        QTest::newRow("open nested declaration") << u"<!DOCTYPE a [<!ENTITY"_s << false
                                                 << names({u"unterminated_tag_syntax"_s});
        QTest::newRow("open nested comment") << u"<!DOCTYPE a [<!--"_s << false
                                             << names({u"unterminated_tag_syntax"_s});
        QTest::newRow("open nested <!") << u"<!DOCTYPE a [<!"_s << false
                                        << names({u"unterminated_tag_syntax"_s});
        QTest::newRow("open PI") << u"<a/><?x"_s << false << names({u"unterminated_tag_syntax"_s});
        QTest::newRow("open quote") << u"<a x='>"_s << false
                                    << names({u"unterminated_tag_syntax"_s});
        QTest::newRow("open value place") << u"<a x="_s << false
                                          << names({u"unterminated_tag_syntax"_s});
        QTest::newRow("open unquoted value") << u"<a x=1"_s << false
                                             << names({u"unterminated_tag_syntax"_s});
        QTest::newRow("open after slash") << u"<a/"_s << false
                                          << names({u"unterminated_tag_syntax"_s});
        QTest::newRow("& at the very end") << u"<a>x&"_s << false << names({u"unended_start_tag"_s});
        QTest::newRow("& references") << u"<a x='&'>&#&#x&;&#;&#x;&</a>"_s << true << names({});
        QTest::newRow("huge reference values")
            << u"<a x='&#99999999;&#xFFFFFFF;'>&#4294967296;&#x100000000;&#xFFFFFFFFFFFFFFFFF;</a>"_s
            << true << names({});
        QTest::newRow("surrogate code units") << u"<a>\xD800 &#xD800;</a>"_s << true << names({});
        QTest::newRow("NUL characters") << QStringView(u"<a x='\0'>\0</a>", 14).toString() << true << names({});
        QTest::newRow("unusual name starts") << u"<_><:/><{/></_>"_s << true << names({});
        QTest::newRow("non-ASCII names")
            << QString::fromUtf8("<\xE6\x97\xA5 \xE6\x9C\xAC='1'></\xE6\x97\xA5>") << true << names({});
        QTest::newRow("many end tags") << u"<a></a></a></a>"_s << false << names({u"lone_end_tag"_s});
        QTest::newRow("end tag swallowed by an error")
            << u"<a>1 < 2</a>"_s << false << names({u"first_tag_syntax"_s, u"unended_start_tag"_s});
        QTest::newRow("start tag swallows an end tag") << u"<r><a </r>"_s << false
                                                       << names({u"unended_start_tag"_s});
        QTest::newRow("NUL in a name") << QStringView(u"<a\0b></a>", 10).toString() << false
                                       << names({u"lone_end_tag"_s});
        QTest::newRow("huge quoted value")
            << u"<a x='"_s + QString(5'000'000, u'v') + u"'/>"_s << true << names({});
        QTest::newRow("huge unquoted value")
            << u"<a x="_s + QString(5'000'000, u'v') + u"/>"_s << false
            << names({u"unended_start_tag"_s});
        QTest::newRow("huge unterminated value")
            << u"<a x='"_s + QString(5'000'000, u'v') << false
            << names({u"unterminated_tag_syntax"_s});
        QTest::newRow("huge name") << u"<"_s + QString(3'000'000, u'n') + u"></x>"_s << false
                                   << names({u"lone_end_tag"_s, u"unended_start_tag"_s});
        QTest::newRow("many top-level elements")
            << Repeat(u"<a/>"_s, 100'000) << false << names({u"root_has_sibling"_s});
        QTest::newRow("many errors")
            << u"<r>"_s + Repeat(u"<!x>< ></y>"_s, 20'000) + u"</r>"_s << false
            << names({u"exclamation_tag_syntax"_s, u"first_tag_syntax"_s, u"lone_end_tag"_s});
    }

    void badInput()
    {
        QFETCH(QString, text);
        QFETCH(bool, wellFormed);
        QFETCH(QStringList, diagnostics);
        CXmlDoc doc;
        QCOMPARE(doc.LoadText(text), wellFormed);
        for (const QString &name : diagnostics)
            QVERIFY2(doc.Diagnostics().contains(u'<' + name), qPrintable(doc.Diagnostics()));
        CheckLoaded(doc);
    }

    void everyTruncation()
    {
        CXmlDoc doc;
        QVERIFY(doc.LoadText(kSample));
        for (qsizetype n = 0; n <= kSample.size(); ++n) {
            doc.LoadText(kSample.left(n));
            CheckLoaded(doc);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(u"cut at %1"_s.arg(n)));
        }
    }

    void mutations()
    {
        const QString alphabet = u"<>/!?-[]'\"=& ;#xCDEANa\n"_s;
        std::mt19937 random(20240601);
        CXmlDoc doc;
        for (int round = 0; round < 3000; ++round) {
            QString text = kSample;
            const int edits = 1 + int(random() % 4);
            for (int e = 0; e < edits; ++e) {
                const int at = int(random() % uint32_t(text.size()));
                const QChar c = alphabet.at(qsizetype(random() % uint32_t(alphabet.size())));
                switch (random() % 3) {
                case 0: text[at] = c; break;
                case 1: text.insert(at, c); break;
                default: text.remove(at, 1); break;
                }
            }
            doc.LoadText(text);
            CheckLoaded(doc);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(text));
        }
    }

    void deepClosedNesting()
    {
        const int depth = 100'000;
        CXmlDoc doc;
        QVERIFY(doc.LoadText(Repeat(u"<a>"_s, depth) + u"x"_s + Repeat(u"</a>"_s, depth)));
        QCOMPARE(doc.ElementCount(), depth);
        QCOMPARE(doc.Record(depth).parent, depth - 1);
        QCOMPARE(int(doc.Record(1000).level), 999);
        QCOMPARE(int(doc.Record(depth).level), 0xFFFF); // saturated
        CheckLoaded(doc);
        doc.Rewind();
        for (int i = 0; i < depth; ++i)
            QVERIFY(doc.NextElement() && doc.Descend());
        QVERIFY(doc.Ascend());
        QCOMPARE(doc.ElementText(), u"x"_s);
    }

    void deepUnclosedNesting()
    {
        const int depth = 100'000;
        CXmlDoc doc;
        QVERIFY(!doc.LoadText(Repeat(u"<a>"_s, depth)));
        QCOMPARE(doc.ElementCount(), depth);
        CheckLoaded(doc);
        // Every element became a top-level sibling of the next, in document order.
        for (int i = 1; i <= depth; ++i) {
            QCOMPARE(doc.Record(i).parent, 0);
            QCOMPARE(doc.Record(i).nextSibling, i < depth ? i + 1 : 0);
        }
        QVERIFY(doc.Diagnostics().size() < 1200);

        QVERIFY(doc.LoadText(u"<r>"_s + Repeat(u"<a>"_s, depth) + u"</r>"_s) == false);
        int children = 0;
        for (int c = doc.Record(1).firstChild; c != 0; c = doc.Record(c).nextSibling)
            ++children;
        QCOMPARE(children, depth);
        CheckLoaded(doc);
    }

    void deepLoneEndTags()
    {
        const int depth = 100'000;
        CXmlDoc doc;
        QVERIFY(!doc.LoadText(Repeat(u"<a>"_s, depth) + Repeat(u"</b>"_s, depth)
                              + Repeat(u"</a>"_s, depth)));
        QCOMPARE(doc.Record(depth).flags & orin::kFlagLoneEndTag, orin::kFlagLoneEndTag);
        QCOMPARE(doc.Record(depth).parent, depth - 1); // the a elements still close in pairs
        QVERIFY(!(doc.Record(1).flags & orin::kFlagUnended));
        CheckLoaded(doc);
    }

    void deepEndTagMatchesFarOut()
    {
        const int depth = 1000;
        CXmlDoc doc;
        // The innermost x closes and every y inside it is unended and becomes its child.
        QVERIFY(!doc.LoadText(u"<r>"_s + Repeat(u"<x>"_s, depth) + Repeat(u"<y>"_s, depth)
                              + Repeat(u"</x>"_s, depth) + u"</r>"_s));
        const int innermostX = 1 + depth;
        int children = 0;
        for (int c = doc.Record(innermostX).firstChild; c != 0; c = doc.Record(c).nextSibling) {
            QVERIFY(doc.Record(c).flags & orin::kFlagUnended);
            ++children;
        }
        QCOMPARE(children, depth);
        QVERIFY(!(doc.Record(2).flags & orin::kFlagUnended));
        QVERIFY(!(doc.Record(1).flags & orin::kFlagLoneEndTag));
        CheckLoaded(doc);

        // Pairs whose inner element never ends: each a closes and keeps the next a as a child.
        const int pairs = 50'000;
        QVERIFY(!doc.LoadText(Repeat(u"<a><b>"_s, pairs) + Repeat(u"</a>"_s, pairs)));
        QCOMPARE(doc.Record(1).firstChild, 2);
        QCOMPARE(doc.Record(2).nextSibling, 3);
        QVERIFY(doc.Record(2).flags & orin::kFlagUnended);
        QVERIFY(!(doc.Record(3).flags & orin::kFlagUnended));
        CheckLoaded(doc);
    }
};

ORIN_TEST_CLASS(TestXmlBadInput)
#include "tst_xml_bad_input.moc"
