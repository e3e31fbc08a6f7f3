// SPDX-License-Identifier: MIT
#include "actions/action_strings.h"

#include "test_registry.h"

#include <QtTest>

#include <algorithm>
#include <climits>

using namespace orin;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(orin::ReferenceForm)

namespace {

QList<int> Marked(const ImageFlags &flags)
{
    QList<int> ids;
    for (size_t i = 0; i < flags.size(); ++i) {
        if (flags[i])
            ids.append(static_cast<int>(i));
    }
    return ids;
}

} // namespace

class TestActionStrings : public QObject {
    Q_OBJECT

private slots:
    void extractReferences_data();
    void extractReferences();
    void rewriteReferences_data();
    void rewriteReferences();
    void remapPlainNumber_data();
    void remapPlainNumber();
    void markImageReferences_data();
    void markImageReferences();
    void markImageReferencesKeepsEarlierMarks();
    void pagePosition_data();
    void pagePosition();
    void renumberEntries_data();
    void renumberEntries();
};

void TestActionStrings::extractReferences_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<ReferenceForm>("form");
    QTest::addColumn<QList<int>>("expected");

    const auto colon = ReferenceForm::Colon;
    const auto comma = ReferenceForm::Comma;
    QTest::newRow("both cases, xp skipped")
        << u"P:12:3,xp:5:1,p:7:0"_s << u"p:"_s << colon << QList<int>{12, 7};
    QTest::newRow("upper X and q leads skipped")
        << u"XP:5:1,qp:6:,Qp:4:,P:8:"_s << u"p:"_s << colon << QList<int>{8};
    QTest::newRow("prefix at start has no lead") << u"p:3:"_s << u"p:"_s << colon
                                                 << QList<int>{3};
    QTest::newRow("colon form without colon") << u"t:3"_s << u"t:"_s << colon << QList<int>{};
    QTest::newRow("later colon form without colon")
        << u"T:1:0,t:3"_s << u"t:"_s << colon << QList<int>{1};
    QTest::newRow("text, ruby and item prefixes apart")
        << u"T:1:,R:2:,I:3:"_s << u"r:"_s << colon << QList<int>{2};
    QTest::newRow("leading zeros") << u"p:007:1"_s << u"p:"_s << colon << QList<int>{7};
    QTest::newRow("leading digits only") << u"p: 12px:"_s << u"p:"_s << colon
                                         << QList<int>{12};
    QTest::newRow("no digits") << u"p::"_s << u"p:"_s << colon << QList<int>{0};
    QTest::newRow("huge number clamps") << u"p:99999999999:"_s << u"p:"_s << colon
                                        << QList<int>{INT_MAX};
    QTest::newRow("comma at end of string") << u"P:1:0,s:12"_s << u"s:"_s << comma
                                            << QList<int>{12};
    QTest::newRow("comma list") << u"S:4,s:5,xs:6,A:9"_s << u"s:"_s << comma
                                << QList<int>{4, 5};
    QTest::newRow("macro comma reference") << u"a:3,A:4"_s << u"a:"_s << comma
                                           << QList<int>{3, 4};
    QTest::newRow("upper prefix folded too") << u"p:2:"_s << u"P:"_s << colon
                                             << QList<int>{2};
    QTest::newRow("empty string") << QString() << u"p:"_s << colon << QList<int>{};
    // Strings of the operator's guide: a prefix counts only where an entry begins.
    QTest::newRow("slider is no text reference")
        << u"$slider:p1/2/3:i5:w3000"_s << u"r:"_s << colon << QList<int>{};
    QTest::newRow("prefix inside an entry") << u"B:1:p:4:"_s << u"p:"_s << colon
                                            << QList<int>{};
    QTest::newRow("after a section marker") << u"[#1]P:202:4,[#12]p:7:0"_s << u"p:"_s << colon
                                            << QList<int>{202, 7};
    QTest::newRow("section marker ends a comma reference")
        << u"[#1]A:3[#2]A:4"_s << u"a:"_s << comma << QList<int>{3, 4};
    QTest::newRow("bracket that is no marker") << u"[1]p:4:,[#x]p:5:"_s << u"p:"_s << colon
                                               << QList<int>{};
    QTest::newRow("empty prefix") << u"p:2:"_s << QString() << colon << QList<int>{};
}

void TestActionStrings::extractReferences()
{
    QFETCH(QString, action);
    QFETCH(QString, prefix);
    QFETCH(ReferenceForm, form);
    QFETCH(QList<int>, expected);

    QList<int> out{-7}; // appended to, never cleared
    ExtractReferences(action, prefix, form, out);
    QCOMPARE(out, QList<int>{-7} + expected);
}

void TestActionStrings::rewriteReferences_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<ReferenceForm>("form");
    QTest::addColumn<QList<int>>("oldIds");
    QTest::addColumn<QList<int>>("newIds");
    QTest::addColumn<QString>("expected");

    const auto colon = ReferenceForm::Colon;
    const auto comma = ReferenceForm::Comma;
    QTest::newRow("xt skipped") << u"xt:1:2,t:3:4"_s << u"t:"_s << colon << QList<int>{3}
                                << QList<int>{9} << u"xt:1:2,t:9:4"_s;
    QTest::newRow("no colon stays") << u"t:3"_s << u"t:"_s << colon << QList<int>{3}
                                    << QList<int>{9} << u"t:3"_s;
    QTest::newRow("second without colon stays")
        << u"t:3:1,t:3"_s << u"t:"_s << colon << QList<int>{3} << QList<int>{9}
        << u"t:9:1,t:3"_s;
    QTest::newRow("comma at end") << u"S:4"_s << u"S:"_s << comma << QList<int>{4}
                                  << QList<int>{6} << u"S:6"_s;
    QTest::newRow("comma list, unmapped kept")
        << u"S:04,S:5"_s << u"S:"_s << comma << QList<int>{4} << QList<int>{6}
        << u"S:6,S:5"_s;
    QTest::newRow("plain decimal") << u"p:007:1"_s << u"p:"_s << colon << QList<int>{}
                                   << QList<int>{} << u"p:7:1"_s;
    QTest::newRow("exact case only") << u"T:3:,t:3:"_s << u"t:"_s << colon << QList<int>{3}
                                     << QList<int>{9} << u"T:3:,t:9:"_s;
    QTest::newRow("mixed two-letter form is no reference")
        << u"Xk:3:,XK:3:1"_s << u"XK:"_s << colon << QList<int>{3} << QList<int>{9}
        << u"Xk:3:,XK:9:1"_s;
    QTest::newRow("two-letter macro reference")
        << u"QS:2:,qs:2:"_s << u"QS:"_s << colon << QList<int>{2} << QList<int>{5}
        << u"QS:5:,qs:2:"_s;
    QTest::newRow("first match wins") << u"a:3"_s << u"a:"_s << comma << QList<int>{3, 3}
                                      << QList<int>{7, 8} << u"a:7"_s;
    QTest::newRow("unequal maps use the common part")
        << u"a:3,a:4"_s << u"a:"_s << comma << QList<int>{3, 4} << QList<int>{9}
        << u"a:9,a:4"_s;
    QTest::newRow("prefix inside an entry is kept") << u"t:3:t:3:"_s << u"t:"_s << colon
                                                    << QList<int>{3} << QList<int>{1}
                                                    << u"t:1:t:3:"_s;
    // The guide's animation: "r:" of "$slider:" is no text reference, and the list stays.
    QTest::newRow("slider untouched by text references")
        << u"$slider:p1/2/3:i5:w3000"_s << u"r:"_s << colon << QList<int>{0, 3}
        << QList<int>{4, 9} << u"$slider:p1/2/3:i5:w3000"_s;
    QTest::newRow("slider beside a text reference")
        << u"R:3:5,$slider:p3/4/5:i2:w5000"_s << u"R:"_s << colon << QList<int>{3}
        << QList<int>{9} << u"R:9:5,$slider:p3/4/5:i2:w5000"_s;
    QTest::newRow("after section markers")
        << u"[#1]P:202:4[#2]P:203:4"_s << u"P:"_s << colon << QList<int>{202, 203}
        << QList<int>{210, 211} << u"[#1]P:210:4[#2]P:211:4"_s;
    QTest::newRow("section marker ends a comma reference")
        << u"[#1]A:3[#2]A:4"_s << u"A:"_s << comma << QList<int>{3, 4} << QList<int>{5, 6}
        << u"[#1]A:5[#2]A:6"_s;
    // The preview reads the number a text starts with ("P:5,G:3:" shows image 5 on item 3):
    // that number follows the map, the text after it stays.
    QTest::newRow("only the leading number before the colon changes")
        << u"p:5,G:3:"_s << u"p:"_s << colon << QList<int>{5} << QList<int>{9}
        << u"p:9,G:3:"_s;
    QTest::newRow("only the leading number before the comma changes")
        << u"s:4x,s:4"_s << u"s:"_s << comma << QList<int>{4} << QList<int>{6}
        << u"s:6x,s:6"_s;
    QTest::newRow("a leading number without a new id stays as written")
        << u"r:04x4:"_s << u"r:"_s << colon << QList<int>{5} << QList<int>{6} << u"r:04x4:"_s;
    QTest::newRow("blanks and sign belong to the number")
        << u"t: -3x:,t:+3y:"_s << u"t:"_s << colon << QList<int>{-3, 3} << QList<int>{9, 8}
        << u"t:9x:,t:8y:"_s;
    QTest::newRow("text without a number is copied")
        << u"p:x5:1,p::"_s << u"p:"_s << colon << QList<int>{0, 5} << QList<int>{7, 9}
        << u"p:x5:1,p::"_s;
    QTest::newRow("page comma references") << u"G:7,P:1:0,G:8"_s << u"G:"_s << comma
                                           << QList<int>{7, 8} << QList<int>{1, 2}
                                           << u"G:1,P:1:0,G:2"_s;
    QTest::newRow("an old id without a new one stays")
        << u"G:7,G:8"_s << u"G:"_s << comma << QList<int>{7, 8} << QList<int>{1}
        << u"G:1,G:8"_s;
    QTest::newRow("huge number clamps") << u"t:99999999999:"_s << u"t:"_s << colon
                                        << QList<int>{} << QList<int>{}
                                        << u"t:2147483647:"_s;
    QTest::newRow("empty string") << QString() << u"t:"_s << colon << QList<int>{3}
                                  << QList<int>{9} << QString();
    QTest::newRow("no prefix present") << u"B:1,F:2"_s << u"t:"_s << colon << QList<int>{1}
                                       << QList<int>{9} << u"B:1,F:2"_s;
}

void TestActionStrings::rewriteReferences()
{
    QFETCH(QString, action);
    QFETCH(QString, prefix);
    QFETCH(ReferenceForm, form);
    QFETCH(QList<int>, oldIds);
    QFETCH(QList<int>, newIds);
    QFETCH(QString, expected);

    // The merge looks ids up through a CIdLookup built from the same pairs: it must read them
    // as the lists are read (the first pair of an old id counts, unpaired entries are ignored).
    CIdLookup lookup;
    for (qsizetype i = 0; i < std::min(oldIds.size(), newIds.size()); ++i)
        lookup.Add(oldIds[i], newIds[i]);
    QString looked = action;
    RewriteReferences(looked, prefix, form, lookup);
    QCOMPARE(looked, expected);

    RewriteReferences(action, prefix, form, oldIds, newIds);
    QCOMPARE(action, expected);
}

void TestActionStrings::remapPlainNumber_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("expected");

    QTest::newRow("mapped") << u"5"_s << u"12"_s;
    QTest::newRow("leading zero") << u"05"_s << u"12"_s;
    QTest::newRow("zero") << u"0"_s << u"0"_s;
    QTest::newRow("entry list") << u"P:5:1"_s << u"P:5:1"_s;
    QTest::newRow("unmapped") << u"6"_s << u"6"_s;
    QTest::newRow("negative") << u"-5"_s << u"-5"_s;
    QTest::newRow("empty") << QString() << QString();
}

void TestActionStrings::remapPlainNumber()
{
    QFETCH(QString, action);
    QFETCH(QString, expected);

    // -5 is mapped to show that only ids above 0 are looked up; the second 5 to show that the
    // first pair counts.
    CIdLookup lookup;
    lookup.Add(5, 12);
    lookup.Add(-5, 1);
    lookup.Add(5, 13);
    QString looked = action;
    RemapPlainNumber(looked, lookup);
    QCOMPARE(looked, expected);

    RemapPlainNumber(action, {5, -5, 5}, {12, 1, 13});
    QCOMPARE(action, expected);
}

void TestActionStrings::markImageReferences_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("one reference") << u"p:12:"_s << u"p:"_s << QList<int>{12};
    QTest::newRow("out of range ignored") << u"p:0:,p:300:,p:256:,p:-4:,p:255:"_s << u"p:"_s
                                          << QList<int>{255};
    QTest::newRow("reference after xp kept") << u"xp:5:1,p:7:0"_s << u"p:"_s
                                             << QList<int>{7};
    QTest::newRow("every two-letter lead skipped")
        << u"XP:5:,QP:6:,P:9:"_s << u"P:"_s << QList<int>{9};
    QTest::newRow("case-sensitive") << u"p:12:"_s << u"P:"_s << QList<int>{};
    QTest::newRow("no colon at all") << u"p:12"_s << u"p:"_s << QList<int>{};
    QTest::newRow("last without colon") << u"p:4:x,p:9"_s << u"p:"_s << QList<int>{4};
    QTest::newRow("leading blanks and digits") << u"P: 12px:1"_s << u"P:"_s
                                               << QList<int>{12};
    QTest::newRow("huge number") << u"p:99999999999:"_s << u"p:"_s << QList<int>{};
    // The guide's animation of images 1, 2 and 3.
    QTest::newRow("slider list") << u"$slider:p1/2/3:i5:w3000"_s << u"p:"_s
                                 << QList<int>{1, 2, 3};
    QTest::newRow("slider after other entries")
        << u"T:2:5,$slider:i2:w5000:p3/4/5,p:7:0"_s << u"p:"_s << QList<int>{3, 4, 5, 7};
    QTest::newRow("slider list in the prefix's case")
        << u"$slider:p1/2,$SLIDER:P4/5"_s << u"P:"_s << QList<int>{4, 5};
    QTest::newRow("slider ids out of range") << u"$slider:p0/300/255/x"_s << u"p:"_s
                                             << QList<int>{255};
    QTest::newRow("slider in a macro section")
        << u"[#1]$slider:p9/8:i5[#2]P:202:5"_s << u"P:"_s << QList<int>{202};
    QTest::newRow("slider in a macro section, lower case")
        << u"[#1]$slider:p9/8:i5[#2]P:202:5"_s << u"p:"_s << QList<int>{8, 9};
    QTest::newRow("other dollar entry") << u"$sliders:p1/2,$x:p3"_s << u"p:"_s
                                        << QList<int>{};
    QTest::newRow("inside an entry") << u"B:1:p:4:,[#2]p:6:"_s << u"p:"_s << QList<int>{6};
    QTest::newRow("empty") << QString() << u"p:"_s << QList<int>{};
}

void TestActionStrings::markImageReferences()
{
    QFETCH(QString, action);
    QFETCH(QString, prefix);
    QFETCH(QList<int>, expected);

    ImageFlags flags{};
    MarkImageReferences(action, prefix, flags);
    QCOMPARE(Marked(flags), expected);
}

void TestActionStrings::markImageReferencesKeepsEarlierMarks()
{
    ImageFlags flags{};
    flags[3] = 1;
    MarkImageReferences(u"p:4:", u"p:", flags);
    QCOMPARE(Marked(flags), (QList<int>{3, 4}));
}

void TestActionStrings::pagePosition_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QList<int>>("oldIds");
    QTest::addColumn<int>("expected");

    const QList<int> ids{10, 30};
    QTest::newRow("first") << 10 << ids << 1;
    QTest::newRow("second") << 30 << ids << 2;
    QTest::newRow("absent") << 99 << ids << 0;
    QTest::newRow("zero") << 0 << ids << 0;
    QTest::newRow("reserved 254") << 254 << ids << 254;
    QTest::newRow("reserved 255") << 255 << ids << 255;
    // The preview shows the guide screen for 254 even when a page carries that id.
    QTest::newRow("254 stays the guide screen") << 254 << QList<int>{10, 254} << 254;
    QTest::newRow("other-channel screen") << 1000 << ids << 1000;
    QTest::newRow("web screen") << 2000 << ids << 2000;
    QTest::newRow("first of duplicates") << 10 << QList<int>{10, 10} << 1;
    // An unset reference (0) must not start pointing at a page that carries id 0.
    QTest::newRow("zero with a page 0") << 0 << QList<int>{0, 10} << 0;
    QTest::newRow("negative") << -1 << QList<int>{-1} << 0;
}

void TestActionStrings::pagePosition()
{
    QFETCH(int, pageId);
    QFETCH(QList<int>, oldIds);
    QFETCH(int, expected);

    QCOMPARE(PagePosition(pageId, oldIds), expected);
}

void TestActionStrings::renumberEntries_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("isRet");
    QTest::addColumn<QString>("expected");

    QTest::newRow("G entry then others") << u"G:30,P:1:0"_s << true << u"G:2,P:1:0"_s;
    QTest::newRow("absent page") << u"G:99"_s << true << u"G:0"_s;
    QTest::newRow("video screen kept in G") << u"G:255"_s << false << u"G:255"_s;
    QTest::newRow("other-channel screen kept in G") << u"g:1000"_s << false << u"g:1000"_s;
    QTest::newRow("lower g, several") << u"g:10,B:1,g:30"_s << false << u"g:1,B:1,g:2"_s;
    QTest::newRow("trailing comma") << u"G:30,"_s << false << u"G:2,"_s;
    QTest::newRow("two-letter entry passed") << u"Xk:3:,G:10"_s << false << u"Xk:3:,G:1"_s;
    QTest::newRow("huge page id") << u"G:99999999999"_s << false << u"G:0"_s;
    // Every command the preview runs is stepped over (the guide's forms and the sample's "A:1").
    QTest::newRow("H entry") << u"H:0:5,G:30"_s << false << u"H:0:5,G:2"_s;
    QTest::newRow("K entry") << u"K:1:0,g:10"_s << false << u"K:1:0,g:1"_s;
    QTest::newRow("Q entry") << u"Qm:3,G:30"_s << true << u"Qm:3,G:2"_s;
    QTest::newRow("A entry") << u"A:1,G:30"_s << true << u"A:1,G:2"_s;
    QTest::newRow("U entry") << u"U:0,G:30"_s << false << u"U:0,G:2"_s;
    QTest::newRow("V entry") << u"G:30,V:5"_s << false << u"G:2,V:5"_s;
    QTest::newRow("lower case") << u"h:1:3,k:0:0,qa:2,a:1,u:3,v:4,g:30"_s << false
                                << u"h:1:3,k:0:0,qa:2,a:1,u:3,v:4,g:2"_s;
    QTest::newRow("slider entry") << u"$slider:p1/2/3:i5:w3000,G:30"_s << true
                                  << u"$slider:p1/2/3:i5:w3000,G:2"_s;
    // The preview runs the entries before one it does not know, then stops.
    QTest::newRow("late stop keeps earlier G") << u"G:30,P:1:0,N:2,G:10"_s << false
                                               << u"G:2,P:1:0,N:2,G:10"_s;
    QTest::newRow("blank after comma stops") << u"G:30, G:10"_s << false << u"G:2, G:10"_s;
    QTest::newRow("G without colon is copied") << u"G,P:1:0,g:30"_s << false
                                               << u"G,P:1:0,g:2"_s;
    // The preview takes any second character of a G entry as its separator.
    QTest::newRow("G with another separator") << u"G*30,g 10"_s << false << u"G*2,g 1"_s;
    QTest::newRow("G with no number after it") << u"G9,G:30"_s << false << u"G9,G:2"_s;
    QTest::newRow("plain ret number") << u"30"_s << true << u"2"_s;
    QTest::newRow("plain ret leading digits") << u"030px"_s << true << u"2"_s;
    QTest::newRow("plain ret absent") << u"99"_s << true << u"0"_s;
    QTest::newRow("plain ret 255") << u"255"_s << true << u"255"_s;
    QTest::newRow("plain ret 254") << u"254"_s << true << u"254"_s;
    QTest::newRow("plain ret zero") << u"0"_s << true << u"0"_s;
    QTest::newRow("plain ret zeros unchanged") << u"000"_s << true << u"000"_s;
    QTest::newRow("plain number not ret") << u"7"_s << false << u"7"_s;
    // After other entries a digit starts a plain number too: a page in ret, an item elsewhere.
    QTest::newRow("page number after an entry") << u"P:1:0,30"_s << true << u"P:1:0,2"_s;
    QTest::newRow("absent page after an entry") << u"G:10,5"_s << true << u"G:1,0"_s;
    QTest::newRow("item number after an entry") << u"G:10,30"_s << false << u"G:1,30"_s;
    QTest::newRow("empty") << QString() << true << QString();
}

void TestActionStrings::renumberEntries()
{
    QFETCH(QString, action);
    QFETCH(bool, isRet);
    QFETCH(QString, expected);

    RenumberEntries(action, isRet, {10, 30});
    QCOMPARE(action, expected);
}

ORIN_TEST_CLASS(TestActionStrings)

#include "tst_action_strings.moc"
