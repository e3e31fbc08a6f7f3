// SPDX-License-Identifier: MIT
// The markup engine: well-formedness, diagnostics, the element table, navigation and reading.

#include "model/xml_doc.h"
#include "test_registry.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using orin::CXmlDoc;
using orin::ElementRecord;

namespace {

// The children of `parent` in link order.
QList<int> Children(const CXmlDoc &doc, int parent)
{
    QList<int> out;
    for (int c = doc.Record(parent).firstChild; c != 0 && out.size() <= doc.ElementCount();
         c = doc.Record(c).nextSibling)
        out.append(c);
    return out;
}

QString NameOf(const CXmlDoc &doc, int index)
{
    const ElementRecord &rec = doc.Record(index);
    const QString tag = doc.Text().mid(rec.start + 1, doc.StartTagLength(index) - 1);
    qsizetype end = 0;
    while (end < tag.size() && tag.at(end).isLetterOrNumber())
        ++end;
    return tag.left(end);
}

QString ChildNames(const CXmlDoc &doc, int parent)
{
    QStringList names;
    for (int c : Children(doc, parent))
        names.append(NameOf(doc, c));
    return names.join(u' ');
}

} // namespace

class TestXmlDoc : public QObject {
    Q_OBJECT

private slots:
    void loadResultAndDiagnostics_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wellFormed");
        QTest::addColumn<QString>("diagnostics");

        QTest::newRow("empty text") << u""_s << false << u""_s;
        QTest::newRow("one element") << u"<a/>"_s << true << u""_s;
        QTest::newRow("declaration, comment, root")
            << u"<?xml version=\"1.0\"?>\n<!-- made by hand -->\n<a/>\n"_s << true << u""_s;
        QTest::newRow("text around the root") << u"before <a>x</a> after"_s << true << u""_s;
        QTest::newRow("second top-level element")
            << u"<a/><b/>"_s << false << u"<root_has_sibling/>"_s;
        QTest::newRow("no element") << u"just text"_s << false << u"<no_root_element/>"_s;
        QTest::newRow("whitespace only") << u" \n"_s << false << u"<no_root_element/>"_s;
        QTest::newRow("unended inside")
            << u"<a><b></a>"_s << false
            << u"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"6\"/>"_s;
        QTest::newRow("two unended, outermost first")
            << u"<a><b><c></a>"_s << false
            << u"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"9\"/>"
               "<unended_start_tag tagname=\"c\" offset=\"6\" offset2=\"9\"/>"_s;
        QTest::newRow("unended at the end of the text")
            << u"<a><b>"_s << false
            << u"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"6\"/>"
               "<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"6\"/>"
               "<root_has_sibling/>"_s;
        QTest::newRow("lone end tag at the top")
            << u"<a/></b>"_s << false << u"<lone_end_tag tagname=\"b\" offset=\"4\"/>"_s;
        QTest::newRow("lone end tag inside")
            << u"<a></b></a>"_s << false << u"<lone_end_tag tagname=\"b\" offset=\"3\"/>"_s;
        QTest::newRow("only an end tag")
            << u"</a>"_s << false
            << u"<lone_end_tag tagname=\"a\" offset=\"0\"/><no_root_element/>"_s;
        QTest::newRow("end tag name is escaped")
            << u"<a></x&y></a>"_s << false
            << u"<lone_end_tag tagname=\"x&amp;y\" offset=\"3\"/>"_s;
        QTest::newRow("end tag without a name")
            << u"<a></ ></a>"_s << false << u"<lone_end_tag tagname=\"\" offset=\"3\"/>"_s;
        QTest::newRow("end tag names are case sensitive")
            << u"<a></A>"_s << false
            << u"<lone_end_tag tagname=\"A\" offset=\"3\"/>"
               "<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"7\"/>"_s;
        QTest::newRow("end tag with whitespace") << u"<a></a\n>"_s << true << u""_s;
        QTest::newRow("first tag syntax")
            << u"<a>< b</a>"_s << false
            << u"<first_tag_syntax offset=\"3\"/>"
               "<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"10\"/>"_s;
        QTest::newRow("first tag syntax skips to the next >")
            << u"<a><=>x</a>"_s << false << u"<first_tag_syntax offset=\"3\"/>"_s;
        QTest::newRow("exclamation tag syntax")
            << u"<a><!x></a>"_s << false << u"<exclamation_tag_syntax offset=\"3\"/>"_s;
        QTest::newRow("comment tag syntax")
            << u"<a><!-x></a>"_s << false << u"<comment_tag_syntax offset=\"3\"/>"_s;
        QTest::newRow("cdata section syntax")
            << u"<a><![x></a>"_s << false << u"<cdata_section_syntax offset=\"3\"/>"_s;
        QTest::newRow("doctype tag syntax")
            << u"<!DOCTYPE a [<!X>]><a/>"_s << false << u"<doctype_tag_syntax offset=\"13\"/>"_s;
        QTest::newRow("nested comment syntax in doctype")
            << u"<!DOCTYPE a [<!-x>]><a/>"_s << false << u"<comment_tag_syntax offset=\"13\"/>"_s;
        QTest::newRow("doctype with nested declarations")
            << u"<!DOCTYPE a [<!ELEMENT a (#PCDATA)><!ATTLIST a x CDATA '>'>"
               "<!-- > --><!ENTITY e \"x>y\"><!NOTATION n SYSTEM \"n\">]><a/>"_s
            << true << u""_s;
        QTest::newRow("only the first characters of keywords are tested")
            << u"<!Doc><a><![Cxx[t]]></a>"_s << true << u""_s;
        QTest::newRow("markup in comments, CDATA and PIs is not markup")
            << u"<a><!-- <b> --><![CDATA[</a><c>]]><?p </a>?></a>"_s << true << u""_s;
        QTest::newRow("unterminated lone <")
            << u"<a></a><"_s << false << u"<unterminated_tag_syntax type=\"tag\" offset=\"7\"/>"_s;
        QTest::newRow("unterminated <!")
            << u"<a/><!"_s << false << u"<unterminated_tag_syntax type=\"tag\" offset=\"4\"/>"_s;
        QTest::newRow("unterminated start tag")
            << u"<a/><b x"_s << false
            << u"<unterminated_tag_syntax type=\"start_tag\" offset=\"4\"/>"_s;
        QTest::newRow("unterminated quoted value")
            << u"<a x='1>"_s << false
            << u"<unterminated_tag_syntax type=\"start_tag\" offset=\"0\"/><no_root_element/>"_s;
        QTest::newRow("unterminated end tag")
            << u"<a></a"_s << false
            << u"<unterminated_tag_syntax type=\"end_tag\" offset=\"3\"/>"
               "<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"6\"/>"_s;
        QTest::newRow("unterminated CDATA")
            << u"<a/><![CDATA[x]]"_s << false
            << u"<unterminated_tag_syntax type=\"cdata_section\" offset=\"4\"/>"_s;
        QTest::newRow("unterminated <![")
            << u"<a/><!["_s << false
            << u"<unterminated_tag_syntax type=\"cdata_section\" offset=\"4\"/>"_s;
        QTest::newRow("unterminated PI")
            << u"<a/><?pi x?"_s << false
            << u"<unterminated_tag_syntax type=\"processing_instruction\" offset=\"4\"/>"_s;
        QTest::newRow("unterminated comment")
            << u"<a/><!-- x --"_s << false
            << u"<unterminated_tag_syntax type=\"comment\" offset=\"4\"/>"_s;
        QTest::newRow("unterminated <!-")
            << u"<a/><!-"_s << false
            << u"<unterminated_tag_syntax type=\"comment\" offset=\"4\"/>"_s;
        QTest::newRow("unterminated doctype")
            << u"<a/><!DOCTYPE a [<!ENTITY e 'x>'"_s << false
            << u"<unterminated_tag_syntax type=\"document_type\" offset=\"4\"/>"_s;
        QTest::newRow("comment needs its own closing")
            << u"<!--><a/>-->"_s << false << u"<no_root_element/>"_s;
    }

    void loadResultAndDiagnostics()
    {
        QFETCH(QString, text);
        QFETCH(bool, wellFormed);
        QFETCH(QString, diagnostics);
        CXmlDoc doc;
        QCOMPARE(doc.LoadText(text), wellFormed);
        QCOMPARE(doc.WellFormed(), wellFormed);
        QCOMPARE(doc.Diagnostics(), diagnostics);
    }

    void loadingReplacesEverything()
    {
        CXmlDoc doc;
        QVERIFY(!doc.LoadText(u"<a><b></a>"_s));
        QVERIFY(doc.NextElement());
        QVERIFY(doc.LoadText(u"<c/>"_s));
        QCOMPARE(doc.Diagnostics(), QString());
        QCOMPARE(doc.ElementCount(), 1);
        QCOMPARE(doc.ElementName(), QString()); // rewound
        QVERIFY(doc.NextElement());
        QCOMPARE(doc.ElementName(), u"c"_s);
        QVERIFY(!doc.Clear());
        QCOMPARE(doc.ElementCount(), 0);
        QVERIFY(!doc.NextElement());
    }

    void diagnosticsStopPastNineHundredNinetyNine()
    {
        QString text = u"<a>"_s;
        for (int i = 0; i < 200; ++i)
            text += u"</x>"_s;
        text += u"</a>"_s;
        CXmlDoc doc;
        QVERIFY(!doc.LoadText(text));
        const QString diag = doc.Diagnostics();
        const QString last = diag.mid(diag.lastIndexOf(u'<'));
        QVERIFY(diag.size() > 999);
        QVERIFY2(diag.size() - last.size() <= 999, "an entry was added past the limit");
        QVERIFY(diag.count(u"<lone_end_tag"_s) < 200);
        QCOMPARE(doc.ElementCount(), 1); // indexing went on
    }

    void documentRecord()
    {
        CXmlDoc doc;
        doc.LoadText(u"<?x?> <r><a/></r> "_s);
        const ElementRecord &document = doc.Record(0);
        QCOMPARE(document.length, 18);
        QCOMPARE(document.firstChild, 1);
        const ElementRecord &root = doc.Record(1);
        QCOMPARE(root.start, 6);
        QCOMPARE(root.length, 11);
        QCOMPARE(int(root.startTagLength), 3);
        QCOMPARE(int(root.endTagLength), 4);
        QCOMPARE(root.flags & orin::kFlagFirstChild, orin::kFlagFirstChild);
        const ElementRecord &a = doc.Record(2);
        QCOMPARE(a.length, 4);
        QCOMPARE(a.level, uint16_t(1));
        QCOMPARE(a.parent, 1);
        QCOMPARE(a.prevSibling, 2); // the only child refers to itself as the last child
    }

    void unendedElementHasNoChildren()
    {
        CXmlDoc doc;
        QVERIFY(!doc.LoadText(u"<a><b></a>"_s));
        const ElementRecord &a = doc.Record(1);
        const ElementRecord &b = doc.Record(2);
        QCOMPARE(a.length, 10);
        QCOMPARE(int(a.endTagLength), 4);
        QVERIFY(b.flags & orin::kFlagUnended);
        QCOMPARE(b.length, 3);
        QCOMPARE(int(b.endTagLength), 0);
        QCOMPARE(b.firstChild, 0);
        QCOMPARE(b.parent, 1);
    }

    void unendedChildrenBecomeFollowingSiblings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rootChildren");
        QTest::addColumn<QString>("unended");

        QTest::newRow("one level") << u"<r><a><x/><y/></r>"_s << u"a x y"_s << u"a"_s;
        QTest::newRow("nested chain")
            << u"<r><p/><a><x/><b><y></y><c><z/></r>"_s << u"p a x b y c z"_s << u"a b c"_s;
        QTest::newRow("closed subtree keeps its children")
            << u"<r><a><s><t/></s></r>"_s << u"a s"_s << u"a"_s;
        QTest::newRow("after an unended element")
            << u"<r><a><x/></r><!-- -->"_s << u"a x"_s << u"a"_s;
    }

    void unendedChildrenBecomeFollowingSiblings()
    {
        QFETCH(QString, text);
        QFETCH(QString, rootChildren);
        QFETCH(QString, unended);
        CXmlDoc doc;
        QVERIFY(!doc.LoadText(text));
        QCOMPARE(ChildNames(doc, 1), rootChildren);
        const QList<int> children = Children(doc, 1);
        QStringList unendedNames;
        for (qsizetype i = 0; i < children.size(); ++i) {
            const ElementRecord &rec = doc.Record(children[i]);
            QCOMPARE(rec.parent, 1);
            QCOMPARE(bool(rec.flags & orin::kFlagFirstChild), i == 0);
            QCOMPARE(rec.prevSibling, i == 0 ? children.last() : children[i - 1]);
            if (rec.flags & orin::kFlagUnended) {
                unendedNames.append(NameOf(doc, children[i]));
                QCOMPARE(rec.firstChild, 0);
            }
        }
        QCOMPARE(unendedNames.join(u' '), unended);
        // The walk sees the same order.
        QVERIFY(doc.NextElement() && doc.Descend());
        QStringList walked;
        while (doc.NextElement())
            walked.append(doc.ElementName());
        QCOMPARE(walked.join(u' '), rootChildren);
    }

    void loneEndTagFlagsItsParent()
    {
        CXmlDoc doc;
        QVERIFY(!doc.LoadText(u"<a><b></c></b></a>"_s));
        QVERIFY(doc.Record(2).flags & orin::kFlagLoneEndTag);
        QVERIFY(!(doc.Record(1).flags & orin::kFlagLoneEndTag));
        QVERIFY(doc.Record(0).flags & orin::kFlagIllFormed);
        QVERIFY(!doc.LoadText(u"<a/></c>"_s));
        QVERIFY(doc.Record(0).flags & orin::kFlagLoneEndTag);
    }

    void slashBeforeCloseMakesEmpty_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("empty");

        QTest::newRow("after the name") << u"<a/>"_s << true;
        QTest::newRow("after whitespace") << u"<a />"_s << true;
        QTest::newRow("after a closing quote") << u"<a x='1'/>"_s << true;
        QTest::newRow("after a bare name") << u"<a x/>"_s << true;
        QTest::newRow("after an unquoted value") << u"<a x=1/>"_s << false;
        QTest::newRow("as an unquoted value") << u"<a x=/>"_s << false;
        QTest::newRow("inside a quoted value") << u"<a x='/>'>"_s << false;
        QTest::newRow("not just before >") << u"<a / x>"_s << false;
    }

    void slashBeforeCloseMakesEmpty()
    {
        QFETCH(QString, text);
        QFETCH(bool, empty);
        CXmlDoc doc;
        // Without "/>" the element stays open and is unended at the end of the text.
        QCOMPARE(doc.LoadText(text), empty);
        QCOMPARE(bool(doc.Record(1).flags & orin::kFlagUnended), !empty);
        QCOMPARE(doc.Record(1).length, int(text.size()));
    }

    void navigation()
    {
        CXmlDoc doc;
        QVERIFY(doc.LoadText(u"<a><b><c/></b></a>"_s));
        QVERIFY(!doc.Ascend());
        QVERIFY(!doc.Descend());
        QVERIFY(!doc.NextElement(u"b"_s)); // not a top-level element
        QCOMPARE(doc.ElementName(), QString());
        QVERIFY(doc.NextElement(u"a"_s));
        QVERIFY(!doc.NextElement()); // the root has no sibling
        QCOMPARE(doc.ElementName(), u"a"_s);
        QVERIFY(doc.Descend());
        QCOMPARE(doc.ElementName(), QString()); // no current element below a yet
        QVERIFY(!doc.Descend());
        QVERIFY(doc.NextElement(u"b"_s));
        QCOMPARE(doc.ElementName(), u"b"_s);
        QVERIFY(doc.Descend());
        QVERIFY(doc.NextElement());
        QCOMPARE(doc.ElementName(), u"c"_s);
        QVERIFY(doc.Ascend());
        QCOMPARE(doc.ElementName(), u"b"_s);
        QVERIFY(doc.Ascend());
        QCOMPARE(doc.ElementName(), u"a"_s);
        QVERIFY(!doc.Ascend());
        QCOMPARE(doc.ElementName(), u"a"_s);
    }

    void nextElementByName()
    {
        CXmlDoc doc;
        QVERIFY(doc.LoadText(u"<r><item/><Item n='1'/><x/><Item n='2'/></r>"_s));
        QVERIFY(doc.NextElement(u"r"_s) && doc.Descend());
        QVERIFY(doc.NextElement(u"Item"_s));
        QCOMPARE(doc.Attribute(u"n"_s), u"1"_s);
        QVERIFY(doc.NextElement(u"Item"_s));
        QCOMPARE(doc.Attribute(u"n"_s), u"2"_s);
        QVERIFY(!doc.NextElement(u"Item"_s));
        QCOMPARE(doc.Attribute(u"n"_s), u"2"_s); // a failed search keeps the position
        QVERIFY(!doc.NextElement(u"ITEM"_s));
        QVERIFY(!doc.NextElement(u"Ite"_s));
    }

    void ascendThenDescendReturnsToTheChild()
    {
        CXmlDoc doc;
        QVERIFY(doc.LoadText(u"<r><a/><b/><c/></r>"_s));
        QVERIFY(doc.NextElement() && doc.Descend());
        QVERIFY(doc.NextElement() && doc.NextElement());
        QCOMPARE(doc.ElementName(), u"b"_s);
        QVERIFY(doc.Ascend());
        QCOMPARE(doc.ElementName(), u"r"_s);
        QVERIFY(doc.Descend());
        QCOMPARE(doc.ElementName(), u"b"_s);
        QVERIFY(doc.NextElement());
        QCOMPARE(doc.ElementName(), u"c"_s);
        // A failed NextElement keeps the remembered child too.
        QVERIFY(doc.Ascend());
        QVERIFY(!doc.NextElement(u"r"_s));
        QVERIFY(doc.Descend());
        QCOMPARE(doc.ElementName(), u"c"_s);
    }

    void elementText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("entity") << u"<a>x &amp; y</a>"_s << u"x & y"_s;
        QTest::newRow("numeric references") << u"<a>1 &lt; 2 &#65;&#x42;</a>"_s << u"1 < 2 AB"_s;
        QTest::newRow("unknown and bare &") << u"<a>&foo; &</a>"_s << u"&foo; &"_s;
        QTest::newRow("CDATA after whitespace") << u"<a> <![CDATA[<b>]]> c</a>"_s << u"<b> c"_s;
        QTest::newRow("CDATA is not decoded") << u"<a><![CDATA[a&amp;b]]></a>"_s << u"a&amp;b"_s;
        QTest::newRow("empty CDATA") << u"<a>x<![CDATA[]]></a>"_s << u"x"_s;
        QTest::newRow("> in a quoted value") << u"<a x='1>2'>t</a>"_s << u"t"_s;
        QTest::newRow("empty element") << u"<a/>"_s << u""_s;
        QTest::newRow("no content") << u"<a></a>"_s << u""_s;
        QTest::newRow("with a child element") << u"<a>x<b/>y</a>"_s << u""_s;
        QTest::newRow("surrounding whitespace kept") << u"<a>  x \n</a>"_s << u"  x \n"_s;
        QTest::newRow("whitespace only, no markup") << u"<a> \t </a>"_s << u" \t "_s;
        QTest::newRow("comment left out") << u"<a>x<!-- c -->y</a>"_s << u"xy"_s;
        QTest::newRow("PI left out") << u"<a>x<?p?> y</a>"_s << u"x y"_s;
        QTest::newRow("text keeps its leading whitespace") << u"<a>  <!--c-->  x</a>"_s << u"  x"_s;
        QTest::newRow("whitespace run before a tag left out") << u"<a>x <!--c-->  </a>"_s << u"x "_s;
        QTest::newRow("lone end tag inside") << u"<a>x</b>y</a>"_s << u"xy"_s;
        QTest::newRow("unended child") << u"<a><b></a>"_s << u""_s;
        QTest::newRow("escaped markup")
            << u"<a>x&lt;![CDATA[y]]&gt;</a>"_s << u"x<![CDATA[y]]>"_s;
        QTest::newRow("supplementary character")
            << u"<a>&#x1F600;</a>"_s << QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("Japanese text")
            << QString::fromUtf8("<a>\xE6\x97\xA5\xE6\x9C\xAC&amp;</a>")
            << QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC&");
    }

    void elementText()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        CXmlDoc doc;
        doc.LoadText(text);
        QVERIFY(doc.NextElement());
        QCOMPARE(doc.ElementText(), expected);
    }

    void elementTextWithoutCurrent()
    {
        CXmlDoc doc;
        QVERIFY(doc.LoadText(u"<a>x</a>"_s));
        QCOMPARE(doc.ElementText(), QString());
        QCOMPARE(doc.Attribute(u"x"_s), QString());
        QVERIFY(!doc.LoadText(u"<a><b>t</a>"_s));
        QVERIFY(doc.NextElement() && doc.Descend() && doc.NextElement());
        QCOMPARE(doc.ElementName(), u"b"_s);
        QCOMPARE(doc.ElementText(), QString()); // unended: no content
    }

    void attribute_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");

        const QString pqr = u"<a p='1' q='x&gt;y' r>"_s;
        QTest::newRow("quoted") << pqr << u"p"_s << u"1"_s;
        QTest::newRow("decoded") << pqr << u"q"_s << u"x>y"_s;
        QTest::newRow("bare name") << pqr << u"r"_s << u"r"_s;
        QTest::newRow("missing") << pqr << u"s"_s << u""_s;
        QTest::newRow("empty argument") << pqr << u""_s << u""_s;
        QTest::newRow("slash belongs to an unquoted value") << u"<a x=1/>"_s << u"x"_s << u"1/"_s;
        QTest::newRow("unquoted values") << u"<a x=1 y=2>"_s << u"y"_s << u"2"_s;
        QTest::newRow("slash as a value") << u"<a x=/>"_s << u"x"_s << u"/"_s;
        QTest::newRow("empty element") << u"<a x=\"1\"/>"_s << u"x"_s << u"1"_s;
        QTest::newRow("spaces around =") << u"<a x = \"1\" >"_s << u"x"_s << u"1"_s;
        QTest::newRow("other quote inside") << u"<a x=\"a'b\" y='c\"d'>"_s << u"y"_s << u"c\"d"_s;
        QTest::newRow("decoded once") << u"<a x=\"&amp;lt;\">"_s << u"x"_s << u"&lt;"_s;
        QTest::newRow("no value") << u"<a x= >"_s << u"x"_s << u""_s;
        QTest::newRow("no prefix match") << u"<a xy=\"1\">"_s << u"x"_s << u""_s;
        QTest::newRow("case matters") << u"<a X=\"1\">"_s << u"x"_s << u""_s;
        QTest::newRow("first one wins") << u"<a x=\"1\" x=\"2\">"_s << u"x"_s << u"1"_s;
        QTest::newRow("reading stops at /") << u"<a x=\"1\" / y=\"2\">"_s << u"y"_s << u""_s;
        QTest::newRow("bare name before a value") << u"<a b x=\"2\">"_s << u"x"_s << u"2"_s;
        QTest::newRow("no whitespace between") << u"<a x=\"1\"y=\"2\">"_s << u"y"_s << u"2"_s;
        QTest::newRow("> inside quotes") << u"<a x='1>2'>t</a>"_s << u"x"_s << u"1>2"_s;
        QTest::newRow("stray = is skipped") << u"<a =\"v\" x=\"2\">"_s << u"x"_s << u"2"_s;
        QTest::newRow("equals in an unquoted value") << u"<a x==1>"_s << u"x"_s << u"=1"_s;
        QTest::newRow("NUL reference stays") << u"<a x=\"&#0;\">"_s << u"x"_s << u"&#0;"_s;
        QTest::newRow("tag name is no attribute") << u"<a>"_s << u"a"_s << u""_s;
        QTest::newRow("Japanese value")
            << QString::fromUtf8("<a t=\"\xE6\x97\xA5&amp;\">") << u"t"_s
            << QString::fromUtf8("\xE6\x97\xA5&");
    }

    void attribute()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        CXmlDoc doc;
        doc.LoadText(text);
        QVERIFY(doc.NextElement());
        QCOMPARE(doc.Attribute(name), expected);
    }

    // Asked again, out of order, or for names the element lacks (also names that share a
    // length and first letter with one it has): each answer is the one asked on its own.
    void attributesAskedInAnyOrder()
    {
        CXmlDoc doc;
        doc.LoadText(u"<a ab='1' ac='2' b='3' abc='4' ab='5'/>"_s);
        QVERIFY(doc.NextElement());
        const QStringList asked = {u"ad"_s, u"abc"_s, u"ab"_s, u"b"_s, u"ac"_s,
                                   u"ab"_s, u"bc"_s, u"a"_s,  u"ac"_s};
        const QStringList expected = {QString(), u"4"_s, u"1"_s, u"3"_s, u"2"_s,
                                      u"1"_s,    QString(), QString(), u"2"_s};
        QStringList answers;
        for (const QString &name : asked)
            answers << doc.Attribute(name);
        QCOMPARE(answers, expected);
    }

    // Attributes asked in the order they are written are answered straight from the text;
    // every answer must be the one the tokenised tag gives (forced here by first asking for a
    // name the tag does not have).
    void attributesReadInWrittenOrder_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("plain, spaced, single-quoted")
            << u"<a x=\"1\" y = \"2\" z='3' w=\"4\"/>"_s << QStringList{u"x"_s, u"y"_s, u"z"_s, u"w"_s};
        QTest::newRow("the first of two counts")
            << u"<a x=\"1\" x=\"2\" y=\"3\"/>"_s << QStringList{u"x"_s, u"x"_s, u"y"_s};
        QTest::newRow("a name that begins another")
            << u"<a abc=\"1\" ab=\"2\"/>"_s << QStringList{u"ab"_s, u"abc"_s};
        QTest::newRow("names sharing length and first letter")
            << u"<a ab=\"1\" ac=\"2\"/>"_s << QStringList{u"ab"_s, u"ac"_s};
        QTest::newRow("unquoted value") << u"<a x=1 y=\"2\"/>"_s << QStringList{u"x"_s, u"y"_s};
        QTest::newRow("bare name") << u"<a x y=\"2\"/>"_s << QStringList{u"x"_s, u"y"_s};
        QTest::newRow("value without its closing quote")
            << u"<a x=\"1 y=\"2\">"_s << QStringList{u"x"_s, u"y"_s};
        QTest::newRow("references and markup in values")
            << u"<a x=\"&amp;\" y=\"a>b\" z='say \"hi\"'/>"_s << QStringList{u"x"_s, u"y"_s, u"z"_s};
        QTest::newRow("name of other characters")
            << u"<a x-y=\"1\" \u00e9=\"2\" z=\"3\"/>"_s << QStringList{u"x-y"_s, u"\u00e9"_s, u"z"_s};
        QTest::newRow("asked out of order") << u"<a x=\"1\" y=\"2\" z=\"3\"/>"_s
                                            << QStringList{u"y"_s, u"x"_s, u"z"_s, u"y"_s};
        QTest::newRow("stray equals") << u"<a =\"1\" x=\"2\"/>"_s << QStringList{u"x"_s};
        QTest::newRow("absent once all are read")
            << u"<a x=\"1\" y=\"2\"/>"_s << QStringList{u"x"_s, u"y"_s, u"z"_s, u"ay"_s, u"x"_s};
        QTest::newRow("what follows a slash is no attribute")
            << u"<a x=\"1\" / y=\"2\">"_s << QStringList{u"x"_s, u"y"_s};
        QTest::newRow("slash before the first")
            << u"<a/x=\"1\">"_s << QStringList{u"x"_s};
    }

    void attributesReadInWrittenOrder()
    {
        QFETCH(QString, tag);
        QFETCH(QStringList, asked);
        auto answers = [&](bool tokenisedFirst) {
            CXmlDoc doc;
            doc.LoadText(tag);
            QStringList out;
            if (!doc.NextElement())
                return out;
            QStringView value;
            if (tokenisedFirst)
                doc.RawAttribute(u"absent", value);
            for (const QString &name : asked) {
                const bool found = doc.RawAttribute(name, value);
                out << (found ? u"="_s + value.toString() : u"-"_s);
            }
            return out;
        };
        const QStringList inOrder = answers(false);
        QCOMPARE(inOrder.size(), asked.size());
        QCOMPARE(inOrder, answers(true));
    }

    // What was read of the last element belongs to the text it came from.
    void loadingForgetsTheElementReadLast()
    {
        CXmlDoc doc;
        doc.LoadText(u"<abc x='1' yy='2'/>"_s);
        QVERIFY(doc.NextElement());
        QCOMPARE(doc.ElementName(), u"abc"_s);
        QCOMPARE(doc.Attribute(u"x"_s), u"1"_s);
        doc.LoadText(u"<b y='3'/>"_s);
        QVERIFY(doc.NextElement());
        QCOMPARE(doc.ElementName(), u"b"_s);
        QCOMPARE(doc.Attribute(u"x"_s), QString());
        QCOMPARE(doc.Attribute(u"y"_s), u"3"_s);
    }

    void copiesAreIndependent()
    {
        CXmlDoc source;
        QVERIFY(!source.LoadText(u"<r><a k='1'/><b k='2'/></r><x/>"_s));
        QVERIFY(source.NextElement() && source.Descend() && source.NextElement());
        QVERIFY(source.NextElement());

        CXmlDoc copy(source);
        QCOMPARE(copy.ElementName(), u"b"_s); // position copied
        QCOMPARE(copy.Attribute(u"k"_s), u"2"_s);
        QCOMPARE(copy.Diagnostics(), source.Diagnostics());
        QVERIFY(copy.Ascend());
        QCOMPARE(source.ElementName(), u"b"_s);

        CXmlDoc assigned;
        assigned = source;
        QVERIFY(assigned.LoadText(u"<z/>"_s));
        QCOMPARE(source.ElementName(), u"b"_s);
        QCOMPARE(source.ElementCount(), 4);
        QCOMPARE(source.Text(), u"<r><a k='1'/><b k='2'/></r><x/>"_s);
        assigned = assigned;
        QCOMPARE(assigned.ElementCount(), 1);
    }

    void longTagsKeepExactLengths()
    {
        const int valueLength = (1 << 22) + 10;
        const QString value(valueLength, u'v');
        const QString endTag = u"</a"_s + QString(2000, u' ') + u'>';
        const QString text = u"<r><a x=\""_s + value + u"\">t"_s + endTag + u"<b/></r>"_s;
        CXmlDoc doc;
        QVERIFY(doc.LoadText(text));
        const ElementRecord &a = doc.Record(2);
        QVERIFY(a.flags & orin::kFlagLongStartTag);
        QVERIFY(a.flags & orin::kFlagLongEndTag);
        QCOMPARE(doc.StartTagLength(2), valueLength + 8);
        QCOMPARE(doc.EndTagLength(2), int(endTag.size()));
        QCOMPARE(a.length, valueLength + 8 + 1 + int(endTag.size()));
        QVERIFY(doc.NextElement() && doc.Descend() && doc.NextElement());
        QCOMPARE(doc.ElementText(), u"t"_s);
        QCOMPARE(doc.Attribute(u"x"_s).size(), valueLength);
        QVERIFY(doc.NextElement(u"b"_s));

        // A long start tag without an end tag is unended with its exact length.
        QVERIFY(!doc.LoadText(u"<r><a x=\""_s + value + u"\"></r>"_s));
        QCOMPARE(doc.Record(2).length, valueLength + 8);
        QVERIFY(doc.Record(2).flags & orin::kFlagUnended);
    }

    // A reader that walks a long list once lets the engine give back what it walked past; what
    // it still visits reads as before, and a text shared with the caller is never touched.
    void releasingEarlierSiblingsKeepsWhatFollows_data()
    {
        QTest::addColumn<bool>("shared");
        QTest::newRow("held alone") << false;
        QTest::newRow("shared with the caller") << true;
    }
    void releasingEarlierSiblingsKeepsWhatFollows()
    {
        QFETCH(bool, shared);
        // 260 siblings of 64 Ki characters each: over 32 MiB of text, a buffer that comes
        // fresh from the system and is given back in 2 MiB blocks.
        const int count = 260;
        QString text = u"<r a=\"1\"><head/><list n=\"2\">"_s;
        for (int i = 0; i < count; ++i)
            text += u"<e i=\"%1\">"_s.arg(i) + QString(65536, QChar(u'a' + i % 26)) + u"</e>"_s;
        text += u"</list><tail k=\"t\">end</tail></r>"_s;
        const QString original(text.constData(), text.size()); // a copy of its own
        CXmlDoc doc;
        if (shared)
            QVERIFY(doc.LoadText(text));
        else
            QVERIFY(doc.LoadText(std::move(text)));
        const int listStart = int(doc.Text().indexOf(u"<list"_s));
        QVERIFY(doc.NextElement() && doc.Descend() && doc.NextElement(u"list"_s) && doc.Descend());
        for (int i = 0; i < count; ++i) {
            QVERIFY(doc.NextElement(u"e"_s));
            doc.ReleaseEarlierSiblings();
            QCOMPARE(doc.Attribute(u"i"_s), QString::number(i));
            QCOMPARE(doc.ElementText(), QString(65536, QChar(u'a' + i % 26)));
        }
        QVERIFY(!doc.NextElement());
        QVERIFY(doc.Ascend());
        QCOMPARE(doc.ElementName(), u"list"_s);
        QCOMPARE(doc.Attribute(u"n"_s), u"2"_s);
        QVERIFY(doc.Ascend());
        QCOMPARE(doc.Attribute(u"a"_s), u"1"_s);
        QVERIFY(doc.Descend() && doc.NextElement(u"tail"_s));
        QCOMPARE(doc.ElementText(), u"end"_s);
        QCOMPARE(doc.Attribute(u"k"_s), u"t"_s);
        if (shared) {
            QCOMPARE(text, original);
            QCOMPARE(doc.Text(), original);
        } else {
            // Whole 2 MiB blocks of the siblings' text went back to the system: they read as
            // empty. What stands before the list is kept.
            QVERIFY(QStringView(doc.Text()).count(QChar(u'\0')) >= (1 << 20));
            QVERIFY(QStringView(doc.Text()).left(listStart) == QStringView(original).left(listStart));
        }
    }

    void recordOutOfRange()
    {
        CXmlDoc doc;
        doc.LoadText(u"<a/>"_s);
        QCOMPARE(doc.Record(-1).length, 0);
        QCOMPARE(doc.Record(2).length, 0);
        QCOMPARE(doc.StartTagLength(99), 0);
        QCOMPARE(doc.Record(1).length, 4);
    }
};

ORIN_TEST_CLASS(TestXmlDoc)
#include "tst_xml_doc.moc"
