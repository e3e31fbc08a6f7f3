// SPDX-License-Identifier: MIT
// Escaping for writers and decoding of character and entity references.

#include "model/html_entities.h"
#include "model/xml_doc.h"
#include "test_registry.h"

#include <QtTest>

#include <set>
#include <string>

using namespace Qt::StringLiterals;

class TestMarkupEscape : public QObject {
    Q_OBJECT

private slots:
    void escape_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("forAttribute");
        QTest::addColumn<QString>("expected");

        QTest::newRow("plain") << u"abc"_s << true << u"abc"_s;
        QTest::newRow("markup characters") << u"a<b>&c"_s << false << u"a&lt;b&gt;&amp;c"_s;
        QTest::newRow("quotes kept in text") << u"'\""_s << false << u"'\""_s;
        QTest::newRow("quotes in attributes") << u"'\""_s << true << u"&apos;&quot;"_s;
        QTest::newRow("already escaped") << u"&amp;"_s << false << u"&amp;amp;"_s;
        QTest::newRow("empty") << u""_s << true << u""_s;
        QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + u"<"_s << false << u"a?&lt;"_s;
        QTest::newRow("Japanese") << QString::fromUtf8("\xE6\x97\xA5<") << false
                                  << QString::fromUtf8("\xE6\x97\xA5&lt;");
    }

    void escape()
    {
        QFETCH(QString, text);
        QFETCH(bool, forAttribute);
        QFETCH(QString, expected);
        QCOMPARE(orin::EscapeMarkup(text, forAttribute), expected);
    }

    void escapedValuesReadBack()
    {
        const QString value = u"<x a='1' b=\"2\"> & &amp; ]]> \t\n "_s + QString::fromUtf8("\xE6\x97\xA5");
        const QString text = u"<r v=\""_s + orin::EscapeMarkup(value, true) + u"\" w='"_s
                             + orin::EscapeMarkup(value, true) + u"'>"_s
                             + orin::EscapeMarkup(value, false) + u"</r>"_s;
        orin::CXmlDoc doc;
        QVERIFY(doc.LoadText(text));
        QVERIFY(doc.NextElement());
        QCOMPARE(doc.Attribute(u"v"_s), value);
        QCOMPARE(doc.Attribute(u"w"_s), value);
        QCOMPARE(doc.ElementText(), value);
    }

    void unescape_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("no references") << u"plain"_s << u"plain"_s;
        QTest::newRow("predefined") << u"&lt;&gt;&amp;&quot;&apos;"_s << u"<>&\"'"_s;
        QTest::newRow("decimal") << u"&#65;&#0065;"_s << u"AA"_s;
        QTest::newRow("hex") << u"&#x41;&#X4a;&#x4A;"_s << u"AJJ"_s;
        QTest::newRow("largest code point") << u"&#x10FFFF;"_s << QString::fromUcs4(U"\U0010FFFF");
        QTest::newRow("surrogate pair") << u"&#128512;"_s << QString::fromUcs4(U"\U0001F600");
        QTest::newRow("past U+10FFFF") << u"&#x110000;&#1114112;"_s << u"&#x110000;&#1114112;"_s;
        QTest::newRow("zero") << u"&#0;&#x0;"_s << u"&#0;&#x0;"_s;
        QTest::newRow("too many digits") << u"&#x0010FFFF;&#99999999999999999999;"_s
                                         << u"&#x0010FFFF;&#99999999999999999999;"_s;
        QTest::newRow("nine characters") << u"&#00000065;"_s << u"A"_s;
        QTest::newRow("ten characters") << u"&#000000065;"_s << u"&#000000065;"_s;
        QTest::newRow("no digits") << u"&#;&#x;"_s << u"&#;&#x;"_s;
        QTest::newRow("bad digits") << u"&#6a;&#xg;&#-1;"_s << u"&#6a;&#xg;&#-1;"_s;
        QTest::newRow("empty name") << u"&;"_s << u"&;"_s;
        QTest::newRow("unknown name") << u"&foo;"_s << u"&foo;"_s;
        QTest::newRow("no semicolon") << u"&amp &lt"_s << u"&amp &lt"_s;
        QTest::newRow("& at the very end") << u"x&"_s << u"x&"_s;
        QTest::newRow("double &") << u"&&amp;"_s << u"&&"_s;
        QTest::newRow("reference inside a non-reference") << u"&a&amp;"_s << u"&a&"_s;
        QTest::newRow("non-ASCII ends the name")
            << QString::fromUtf8("&am\xC3\xA4;&amp;") << QString::fromUtf8("&am\xC3\xA4;&");
        QTest::newRow("latin-1 and symbols") << u"&nbsp;&yuml;&euro;&thetasym;&hArr;"_s
                                             << QString::fromUcs4(U"\u00A0\u00FF\u20AC\u03D1\u21D4");
        QTest::newRow("case partner, exact case") << u"&Auml;&auml;&Yuml;&yuml;"_s
                                                 << QString::fromUcs4(U"\u00C4\u00E4\u0178\u00FF");
        QTest::newRow("case partner, other case stays") << u"&AUML;&aUML;&YUML;&DAGGER;&LARR;"_s
                                                       << u"&AUML;&aUML;&YUML;&DAGGER;&LARR;"_s;
        QTest::newRow("arrows by case") << u"&larr;&lArr;"_s << QString::fromUcs4(U"\u2190\u21D0");
        QTest::newRow("no partner, any case") << u"&AMP;&Amp;&LT;&NBSP;&Euro;&APOS;"_s
                                              << QString::fromUcs4(U"&&<\u00A0\u20AC'");
    }

    void unescape()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(orin::UnescapeMarkup(text), expected);
        QCOMPARE(orin::UnescapeMarkup(QStringView(text)), expected);
    }

    void unescapeLength()
    {
        const QString text = u"&amp;&lt;"_s;
        QCOMPARE(orin::UnescapeMarkup(text, 5), u"&"_s);
        QCOMPARE(orin::UnescapeMarkup(text, 4), u"&amp"_s); // the ';' lies past the length
        QCOMPARE(orin::UnescapeMarkup(text, 0), u""_s);
        QCOMPARE(orin::UnescapeMarkup(text, 100), u"&<"_s);
        QCOMPARE(orin::UnescapeMarkup(text, -1), u"&<"_s);
    }

    void entityTable()
    {
        const orin::HtmlEntity *table = orin::HtmlEntities();
        const int size = orin::HtmlEntityTableSize();
        QCOMPARE(orin::kHtmlEntityCount, 252);
        QCOMPARE(size, orin::kHtmlEntityCount + 1); // and "apos"
        std::set<std::string> names;
        std::set<char32_t> codePoints;
        for (int i = 0; i < size; ++i) {
            names.insert(table[i].name);
            codePoints.insert(table[i].codePoint);
            // Every name, written exactly, decodes to its code point.
            const QString reference = u'&' + QLatin1String(table[i].name) + u';';
            QCOMPARE(orin::UnescapeMarkup(reference), QString::fromUcs4(&table[i].codePoint, 1));
        }
        QCOMPARE(int(names.size()), size);
        QCOMPARE(int(codePoints.size()), size);
    }
};

ORIN_TEST_CLASS(TestMarkupEscape)
#include "tst_markup_escape.moc"
