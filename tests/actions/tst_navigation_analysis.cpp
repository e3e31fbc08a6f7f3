// SPDX-License-Identifier: MIT
// The navigation analysis and the key coverage on small content sets written as text.
#include "actions/action_effects.h"
#include "actions/key_coverage.h"
#include "actions/navigation_analysis.h"
#include "actions/remote_keys.h"

#include "content_fixture.h"
#include "test_registry.h"

#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

// "code page item macro field target", one finding a line, in the analysis's order.
QString FindingLines(const NavigationAnalysis &analysis)
{
    QStringList lines;
    for (const Finding &f : analysis.findings)
        lines << QStringLiteral("%1 %2 %3 %4 %5 %6")
                     .arg(FindingCode(f.kind))
                     .arg(f.pageId)
                     .arg(f.itemId)
                     .arg(f.macroId)
                     .arg(f.field.isEmpty() ? QStringLiteral("-") : f.field)
                     .arg(f.target);
    return lines.join(u'\n');
}

NavigationAnalysis Analyse(const QString &fixture)
{
    CContentModel model;
    ProgramSettings settings;
    BuildContent(fixture, model, settings);
    return AnalyseNavigation(model, settings);
}

} // namespace

class NavigationAnalysisTest : public QObject {
    Q_OBJECT

private slots:
    void findings_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("expected");

        QTest::newRow("two pages that lead to each other")
            << "page 1 defitem=1\nitem 1 ret=2\npage 2 defitem=1\nitem 1 ret=G:1" << "";
        QTest::newRow("a G entry to a page that does not exist")
            << "page 1 defitem=1\nitem 1 ret=P:0:0,G:9" << "missing-page 1 1 0 ret 9";
        QTest::newRow("a plain ret number to a page that does not exist")
            << "page 1 defitem=1\nitem 1 ret=7" << "missing-page 1 1 0 ret 7";
        QTest::newRow("special screens are no missing pages")
            << "page 1 defitem=1 back=255\nitem 1 ret=C:0 up=W:0" << "";
        QTest::newRow("a page nothing leads to")
            << "page 1\npage 2 blue=1" << "unreachable-page 2 0 0 - 0";
        QTest::newRow("a colour key leads on")
            << "page 1 yellow=2\npage 2 back=9" << "missing-page 2 0 0 back 9";
        QTest::newRow("the page's arrows count only without a focus item")
            << "page 1 defitem=1 down=2\nitem 1\npage 2" << "unreachable-page 2 0 0 - 0";
        QTest::newRow("the page's arrows lead on without a focus item")
            << "page 1 down=2 return=3\npage 2\npage 3" << "";
        QTest::newRow("a defitem that names no item")
            << "page 1 defitem=4" << "missing-item 1 0 0 defitem 4";
        QTest::newRow("the page timer goes to the next page of the table")
            << "page 1 timer=5\npage 2" << "";
        QTest::newRow("timer mode 1 takes the right value")
            << "settings TimerMode=1\npage 1 timer=5 right=3\npage 2\npage 3"
            << "unreachable-page 2 0 0 - 0";
        QTest::newRow("timer mode 2 takes a down value that names no page")
            << "settings TimerMode=2\npage 1 timer=5 down=8"
            << "missing-page 1 0 0 down 8\nmissing-page 1 0 0 timer 8";
        QTest::newRow("a macro reached through an A entry jumps")
            << "page 1 defitem=1\nitem 1 ret=A:3\npage 2\nmacro 3 G:2" << "";
        QTest::newRow("a broken jump inside a macro is told once, at the macro")
            << "page 1 defitem=1 smacro=3\nitem 1 ret=A:3\nmacro 3 [#1]Z:1[#2]G:9"
            << "missing-page 0 0 3 macro 9";
        QTest::newRow("macros that do not exist")
            << "page 1 defitem=1 smacro=4\nitem 1 ret=A:5 up=Qm:6"
            << "missing-macro 1 0 0 smacro 4\nmissing-macro 1 1 0 ret 5\nmissing-macro 1 1 0 up 6";
        QTest::newRow("an A entry ends the action")
            << "page 1 defitem=1\nitem 1 ret=A:0,G:9" << "";
        QTest::newRow("a register jump with a constant page")
            << "page 1 defitem=1\nitem 1 ret=Xn:2:5,Xg:5\npage 2" << "";
        QTest::newRow("a register jump whose value is unknown leads nowhere")
            << "page 1 defitem=1\nitem 1 ret=Xi:5,Xg:5\npage 2" << "unreachable-page 2 0 0 - 0";
        QTest::newRow("an item the focus never reaches")
            << "page 1 defitem=1\nitem 1 down=2\nitem 2 up=1\nitem 3 ret=G:1"
            << "unreached-item 1 3 0 - 0";
        QTest::newRow("without a focus item no item is reached")
            << "page 1\nitem 1 ret=G:1" << "unreached-item 1 1 0 - 0";
        QTest::newRow("a focus dead end")
            << "page 1 defitem=1\nitem 1 down=2\nitem 2 ret=G:1" << "focus-dead-end 1 2 0 - 0";
        QTest::newRow("a single item is no dead end")
            << "page 1 defitem=1\nitem 1 ret=G:1" << "";
        QTest::newRow("focus moves to items that do not exist")
            << "page 1 defitem=1\nitem 1 down=9 left=M:8"
            << "missing-item 1 1 0 down 9\nmissing-item 1 1 0 left 8";
        QTest::newRow("a plain number does not move to a text item")
            << "page 1 defitem=1\nitem 1 down=2\nitem 2 idg=2 ret=G:1" << "";
        QTest::newRow("every item is focusable in HTML content")
            << "settings ExPNG=1\npage 1 defitem=1\nitem 1 down=2\nitem 2 idg=2 ret=G:1"
            << "focus-dead-end 1 2 0 - 0";
        QTest::newRow("an M entry in a macro moves the focus")
            << "page 1 defitem=1\nitem 1 ret=A:2 down=3\nitem 3 ret=G:1 up=1\nitem 4 ret=G:1\nmacro 2 M:4"
            << "focus-dead-end 1 4 0 - 0";
        QTest::newRow("texts and images that do not exist")
            << "page 1 defitem=1 textid=6\nitem 1 pic_no=5 text_no=7 ret=T:8:1,P:300:0\nimage 1"
            << "missing-text 1 0 0 textid 6\nmissing-text 1 1 0 ret 8\n"
               "missing-text 1 1 0 text_no 7\nmissing-image 1 1 0 pic_no 5\n"
               "missing-image 1 1 0 ret 300";
        QTest::newRow("slider pictures and the item it names")
            << "page 1 defitem=1\nitem 1 focus=$slider:p1/2:i3:w500\nimage 1"
            << "missing-item 1 1 0 focus 3\nmissing-image 1 1 0 focus 2";
        QTest::newRow("an item command on an item of another page")
            << "page 1 defitem=1\nitem 1 ret=H:0:5\npage 2 back=1\nitem 5" << "missing-item 1 1 0 ret 5\nunreachable-page 2 0 0 - 0";
        QTest::newRow("a macro that runs itself is read once")
            << "page 1 defitem=1\nitem 1 ret=A:2\nmacro 2 [#1]A:2[#2]G:3" << "missing-page 0 0 2 macro 3";
        QTest::newRow("a page never shown only runs its start macro")
            << "page 1 defitem=1\nitem 1 ret=2\npage 2 memory=254 smacro=5 back=9\npage 3\nmacro 5 G:3"
            << "";
        QTest::newRow("pages, texts and macros with large ids")
            << "page 1 defitem=1\nitem 1 ret=G:5000000 up=A:7000000 focus=T:9000000:0 "
               "down=T:9000001:0\npage 5000000 back=1\nmacro 7000000 G:1\ntext 9000000"
            << "missing-text 1 1 0 down 9000001";
        QTest::newRow("a deleted macro is no target, other negative ids are")
            << "page 1 defitem=1\nitem 1 ret=A:-1 up=A:-3\nmacro -1 G:9\nmacro -3 G:1"
            << "missing-macro 1 1 0 ret -1";
        QTest::newRow("a finding is told once for two pages of one id")
            << "page 1 back=9\npage 2 back=9\npage 1 back=9 blue=9" << "missing-page 1 0 0 back 9\n"
               "missing-page 1 0 0 blue 9\nmissing-page 2 0 0 back 9\nunreachable-page 2 0 0 - 0";
        QTest::newRow("items with large ids")
            << "page 1 defitem=5000\nitem 5000 down=60000\nitem 60000 up=5000\nitem 70000 ret=G:1"
            << "unreached-item 1 70000 0 - 0";
        QTest::newRow("an id given twice counts at its first slot, among large ids too")
            << "page 1 defitem=5000\nitem 5000 down=60000\nitem 60000 up=5000\nitem 60000 down=9"
            << "missing-item 1 60000 0 down 9";
        QTest::newRow("the focus goes to the first slot of an id given twice")
            << "page 1 defitem=1\nitem 1 down=2\nitem 2 idg=2 up=1\nitem 2 ret=G:1"
            << "focus-dead-end 1 1 0 - 0\nunreached-item 1 2 0 - 0";
        QString chain = QStringLiteral("page 1 defitem=1\nitem 1 ret=A:1\n");
        for (int i = 1; i < 200; ++i)
            chain += QStringLiteral("macro %1 A:%2\n").arg(i).arg(i + 1);
        chain += QStringLiteral("macro 200 G:9");
        QTest::newRow("a long chain of macros") << chain << "missing-page 0 0 200 macro 9";
    }

    void effectsReadAsThePreviewRuns_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain number in page context") << "12abc" << 0 << "page 12 @0+5";
        QTest::newRow("plain number in focus context") << "12" << 1 << "focus 12 @0+2";
        QTest::newRow("entries and their places") << "P:205:0,T:3:7" << 0
            << "other 0 @0+7, image 205 @0+7, other 0 @8+5, text 3 @8+5, item 7 @8+5";
        QTest::newRow("an item entry reads its second number past a comma")
            << "P:205,G:2" << 0 << "other 0 @0+9, image 205 @0+9, item 2 @0+9";
        QTest::newRow("an item entry without a second number ends the action")
            << "P:205" << 0 << "";
        QTest::newRow("A ends the action") << "A:4,G:2" << 0 << "macro 4 @0+3";
        QTest::newRow("an unknown letter ends the action") << "G:2,Y:1,G:3" << 0 << "page 2 @0+3";
        QTest::newRow("lower case letters") << "g:2,m:3" << 1 << "page 2 @0+3, focus 3 @4+3";
        QTest::newRow("two-letter commands") << "Xk:4:1,Qm:6,Qa:7,xn:3:2,xg:2"
            << 1 << "other 0 @0+6, text 4 @0+6, macro 6 @7+4, macro 7 @12+4, other 0 @17+6, page 3 @24+4";
        QTest::newRow("slider") << "$slider:p1/2:i5" << 1
            << "other 0 @0+15, item 5 @0+15, image 1 @0+15, image 2 @0+15";
        QTest::newRow("no-effect entries") << "K:1:1,O:2,Qd" << 1 << "none 0 @0+5, none 0 @6+3, none 0 @10+2";
    }

    void effectsReadAsThePreviewRuns()
    {
        QFETCH(QString, action);
        QFETCH(int, kind);
        QFETCH(QString, expected);
        static const char *const kNames[] = {"page", "focus", "macro", "string", "item", "text",
                                             "macroref", "image", "other", "none"};
        QStringList found;
        for (const ActionEffect &e : ActionEffects(action, kind))
            found << QStringLiteral("%1 %2 @%3+%4").arg(QLatin1String(kNames[int(e.kind)])).arg(e.target).arg(e.entryStart).arg(e.entryLength);
        QCOMPARE(found.join(QStringLiteral(", ")), expected);
    }

    void findings()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, expected);
        const NavigationAnalysis analysis = Analyse(fixture);
        QCOMPARE(FindingLines(analysis), expected);
        const int broken = int(std::count_if(analysis.findings.begin(), analysis.findings.end(),
                                             [](const Finding &f) { return IsBrokenReference(f.kind); }));
        QCOMPARE(analysis.BrokenCount(), broken);
    }

    void edgesAndFocusMovesSayHow()
    {
        const NavigationAnalysis a = Analyse(QStringLiteral(
            "settings TimerMode=0\n"
            "page 1 defitem=1 blue=2 timer=3\n"
            "item 1 ret=A:7 down=2\n"
            "item 2 up=1 ret=3\n"
            "page 2\npage 3\n"
            "macro 7 M:2,G:3"));
        QStringList edges;
        for (const PageEdge &e : a.edges)
            edges << QStringLiteral("%1>%2 item %3 macro %4 %5").arg(e.from).arg(e.to).arg(e.itemId).arg(e.macroId).arg(e.via);
        edges.sort();
        QCOMPARE(edges, QStringList({QStringLiteral("1>2 item 0 macro 0 key:blue"),
                                     QStringLiteral("1>2 item 0 macro 0 timer"),
                                     QStringLiteral("1>3 item 1 macro 7 ret > macro 7"),
                                     QStringLiteral("1>3 item 2 macro 0 ret")}));
        const PageNavigation *page = a.Page(1);
        QVERIFY(page);
        QCOMPARE(page->startFocus, 1);
        QStringList moves;
        for (const FocusMove &m : page->focusMoves)
            moves << QStringLiteral("%1>%2 %3").arg(m.from).arg(m.to).arg(m.via);
        moves.sort();
        QCOMPARE(moves, QStringList({QStringLiteral("1>2 down"), QStringLiteral("1>2 ret > macro 7"),
                                     QStringLiteral("2>1 up")}));
        QCOMPARE(page->reachedItems, std::vector<int>({1, 2}));
        QCOMPARE(a.reachablePages, std::vector<int>({1, 2, 3}));
    }

    // Equal strings of a loaded set share their text; the same text read as ret (a page) and
    // as an arrow (an item) must still be read in each of its contexts.
    void oneSharedTextReadInEachContext()
    {
        CContentModel model;
        ProgramSettings settings;
        BuildContent(QStringLiteral("page 1 defitem=1\nitem 1 ret=2\nitem 2\npage 2"), model,
                     settings);
        PageItem &item = model.pages.At(0)->items[0];
        item.up = item.ret; // one text, as the loader shares it
        item.down = item.ret;
        QCOMPARE(item.up.constData(), item.ret.constData());
        const NavigationAnalysis a = AnalyseNavigation(model, settings);
        QStringList edges;
        for (const PageEdge &e : a.edges)
            edges << QStringLiteral("%1>%2 %3").arg(e.from).arg(e.to).arg(e.via);
        QCOMPARE(edges, QStringList{QStringLiteral("1>2 ret")});
        QStringList moves;
        for (const FocusMove &m : a.Page(1)->focusMoves)
            moves << QStringLiteral("%1>%2 %3").arg(m.from).arg(m.to).arg(m.via);
        moves.sort();
        QCOMPARE(moves, QStringList({QStringLiteral("1>2 down"), QStringLiteral("1>2 up")}));
    }

    void edgesOncePerWay_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("the same jump twice in one string")
            << "page 1 defitem=1\nitem 1 ret=G:2,G:2\npage 2"
            << QStringList{QStringLiteral("1>2 item 1 macro 0 ret")};
        QTest::newRow("two pages of one id make one edge of the same way")
            << "page 1 blue=2\npage 1 blue=2 red=2\npage 2"
            << QStringList{QStringLiteral("1>2 item 0 macro 0 key:blue"),
                           QStringLiteral("1>2 item 0 macro 0 key:red")};
        QTest::newRow("pages of their own ids make their own edges")
            << "page 1 blue=3\npage 2 blue=3\npage 3"
            << QStringList{QStringLiteral("1>3 item 0 macro 0 key:blue"),
                           QStringLiteral("2>3 item 0 macro 0 key:blue")};
        QTest::newRow("one macro run from two pages and twice from one item")
            << "page 1 defitem=1\nitem 1 ret=A:5 up=Qm:5\npage 2 defitem=1\nitem 1 ret=A:5\n"
               "macro 5 G:1"
            << QStringList{QStringLiteral("1>1 item 1 macro 5 ret > macro 5"),
                           QStringLiteral("1>1 item 1 macro 5 up > macro 5"),
                           QStringLiteral("2>1 item 1 macro 5 ret > macro 5")};
    }

    // Every way from a page to another is listed once, in the order it was found.
    void edgesOncePerWay()
    {
        QFETCH(QString, fixture);
        QFETCH(QStringList, expected);
        const NavigationAnalysis a = Analyse(fixture);
        QStringList edges;
        for (const PageEdge &e : a.edges)
            edges << QStringLiteral("%1>%2 item %3 macro %4 %5").arg(e.from).arg(e.to).arg(e.itemId).arg(e.macroId).arg(e.via);
        QCOMPARE(edges, expected);
    }

    void findingsReadForTheOperator()
    {
        const NavigationAnalysis a = Analyse(QStringLiteral(
            "page 1 defitem=1\nitem 2 ret=A:3\nmacro 3 G:9\npage 4"));
        QStringList texts;
        for (const Finding &f : a.findings)
            texts << DescribeFinding(f);
        QCOMPARE(texts, QStringList({
                            QStringLiteral("ページ 1 の defitem: アイテム 1 はありません"),
                            QStringLiteral("マクロ 3: ページ 9 はありません"),
                            QStringLiteral("ページ 1 のアイテム 2 にはフォーカスが届きません"),
                            QStringLiteral("ページ 4 へは最初のページから行けません"),
                        }));
    }

    void keyCoverage_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("active");
        QTest::addColumn<QString>("tip");

        QTest::newRow("enter with a page number") << 1 << 1 << int(kKeyEnter) << true << "ページ 3 へ";
        QTest::newRow("down moves the focus") << 1 << 1 << int(kKeyDown) << true << "アイテム 5 にフォーカス";
        QTest::newRow("up runs a macro") << 1 << 1 << int(kKeyUp) << true << "マクロ 2 を実行";
        QTest::newRow("left with nothing") << 1 << 1 << int(kKeyLeft) << false << "何もしない";
        QTest::newRow("right to a missing item") << 1 << 1 << int(kKeyRight) << false << "アイテム 9 にフォーカス（ありません）";
        QTest::newRow("enter on item 5 steps a text") << 1 << 5 << int(kKeyEnter) << true << "「T:4:5」を実行";
        QTest::newRow("up on item 5 runs only K") << 1 << 5 << int(kKeyUp) << false << "何もしない";
        QTest::newRow("blue key of the page") << 1 << 1 << int(kKeyBlue) << true << "ページ 3 へ";
        QTest::newRow("red key unset") << 1 << 1 << int(kKeyRed) << false << "何もしない";
        QTest::newRow("back to a missing page") << 1 << 1 << int(kKeyBack) << false << "ページ 8 へ（ありません）";
        QTest::newRow("refresh") << 1 << 1 << int(kKeyRefresh) << true << "ページ 1 を再表示";
        QTest::newRow("page arrows without focus") << 3 << 0 << int(kKeyDown) << true << "ページ 1 へ";
        QTest::newRow("page enter without focus, unset") << 3 << 0 << int(kKeyEnter) << false << "何もしない";
        QTest::newRow("a focus on no item") << 1 << 7 << int(kKeyEnter) << false << "何もしない";
        QTest::newRow("guide screen enter") << 254 << 0 << int(kKeyEnter) << true << "ページ 255 へ";
        QTest::newRow("video screen d") << 255 << 0 << int(kKeyData) << true << "ページ 1 へ";
        QTest::newRow("video screen blue") << 255 << 0 << int(kKeyBlue) << false << "何もしない";
    }

    void keyCoverage()
    {
        QFETCH(int, page);
        QFETCH(int, focus);
        QFETCH(int, key);
        QFETCH(bool, active);
        QFETCH(QString, tip);
        CContentModel model;
        ProgramSettings settings;
        BuildContent(QStringLiteral("page 1 defitem=1 blue=3 back=8\n"
                                    "item 1 ret=3 down=5 up=A:2 right=M:9\n"
                                    "item 5 ret=T:4:5 up=K:1:1\n"
                                    "page 3 down=1\n"
                                    "macro 2 G:1\n"
                                    "text 4 [#1]a[#2]b"),
                     model, settings);
        const KeyCoverage coverage = DescribeKey(model, settings, page, focus, key);
        QCOMPARE(coverage.tip, tip);
        QCOMPARE(coverage.active, active);
    }
};

ORIN_TEST_CLASS(NavigationAnalysisTest)
#include "tst_navigation_analysis.moc"
