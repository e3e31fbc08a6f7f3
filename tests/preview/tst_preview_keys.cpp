// SPDX-License-Identifier: MIT
#include "preview/preview_engine.h"

#include "preview_fixture.h"
#include "test_registry.h"

#include <QtTest>

using namespace orin;
using namespace Qt::StringLiterals;

// Showing pages, the remote-control keys, the special screens, the focus chain and its loop
// guard, linked clicks and digit entry.
class TestPreviewKeys : public QObject {
    Q_OBJECT

private slots:
    void init();
    void showPageFillsTheDisplayState();
    void memory254PageRunsOnlyItsMacro();
    void rememberedFocus();
    void keysOnAPage_data();
    void keysOnAPage();
    void specialScreens_data();
    void specialScreens();
    void focusChainMeetsTheLoopGuard_data();
    void focusChainMeetsTheLoopGuard();
    void loopGuardDepth_data();
    void loopGuardDepth();
    void trippedChainEndsAsAWhole_data();
    void trippedChainEndsAsAWhole();
    void focusActionShowingAnotherPageWins();
    void displayCopiesAreReleased();
    void linkedClicks();
    void digitEntry();

private:
    test::CPreviewFixture m_f;
};

void TestPreviewKeys::init()
{
    m_f = test::CPreviewFixture();
    CMyProgramInfo &one = m_f.AddPage(1);
    one.defitem = 1;
    one.textid = 6;
    one.return_ = 3;
    one.data = 2;
    one.back = 3;
    one.blue = 2;
    one.yellow = 3;
    PageItem &first = m_f.AddItem(one, 1);
    first.down = u"2"_s;
    first.up = u"P:201:2"_s;
    first.ret = u"3"_s;
    PageItem &second = m_f.AddItem(one, 2);
    second.up = u"1"_s;
    second.text_no = 3;
    m_f.AddItem(one, 10);
    m_f.AddItem(one, 11, 4);
    CMyProgramInfo &two = m_f.AddPage(2);
    two.defitem = 0;
    two.up = 1;
    two.return_ = 3;
    two.memory = 3;
    m_f.AddItem(two, 1);
    m_f.AddItem(m_f.AddPage(3), 1);
    m_f.AddText(3, u"[#1]first[#2]second"_s);
    m_f.AddText(6, u"[#10]ten[#11]eleven"_s);
    m_f.AddImage(201, kImageColourMapPng);
}

void TestPreviewKeys::showPageFillsTheDisplayState()
{
    CPreviewEngine &e = m_f.Start(1);
    QCOMPARE(e.ShownPageNumber(), 1);
    QCOMPARE(e.FocusItem(), 1);
    QCOMPARE(int(e.Items().size()), 4);
    // textid: item 10 gets its labelled section; item 1 has no label and keeps its text.
    QCOMPARE(e.Items()[2].item.text, u"ten"_s);
    QCOMPARE(e.TextState(10), 2);
    QCOMPARE(e.Items()[0].item.text, u"item1"_s);
    QCOMPARE(e.TextState(1), 0);
    // text_no: the first section, text state 3.
    QCOMPARE(e.Items()[1].item.text, u"first"_s);
    QCOMPARE(e.TextState(2), 3);
    QCOMPARE(e.TextSource(2), 3);
    // idg 4 starts hidden.
    QVERIFY(!e.IsVisible(11));
    QVERIFY(e.IsVisible(10));
    QVERIFY(m_f.observer.repaints > 0);
    // A page that does not exist changes nothing.
    e.ShowPage(77);
    QCOMPARE(e.ShownPageNumber(), 1);
}

void TestPreviewKeys::memory254PageRunsOnlyItsMacro()
{
    CMyProgramInfo &hidden = m_f.AddPage(9);
    hidden.memory = 254;
    hidden.smacro = 2;
    m_f.AddMacro(2, u"B:5:2"_s);
    CPreviewEngine &e = m_f.Start(1);
    e.ShowPage(9);
    m_f.sim->Settle();
    QCOMPARE(e.ShownPageNumber(), 1);
    QCOMPARE(e.Items()[1].item.bcolor, 5);
}

void TestPreviewKeys::rememberedFocus()
{
    m_f.model.pages.At(0)->cursor = 1;
    CPreviewEngine &e = m_f.Start(1);
    m_f.Key(kKeyDown);
    QCOMPARE(e.FocusItem(), 2);
    e.ShowPage(2);
    e.ShowPage(1);
    QCOMPARE(e.FocusItem(), 2);
    m_f.model.pages.At(0)->cursor = 0;
    e.ShowPage(1);
    QCOMPARE(e.FocusItem(), 1);
}

void TestPreviewKeys::keysOnAPage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("focus");
    QTest::newRow("down moves the focus") << 1 << QList<int>{kKeyDown} << 1 << 2;
    QTest::newRow("down and up") << 1 << QList<int>{kKeyDown, kKeyUp} << 1 << 1;
    QTest::newRow("left with 0 does nothing") << 1 << QList<int>{kKeyLeft} << 1 << 1;
    QTest::newRow("enter on a number shows the page") << 1 << QList<int>{kKeyEnter} << 3 << 0;
    QTest::newRow("d") << 1 << QList<int>{kKeyData} << 2 << 0;
    QTest::newRow("back") << 1 << QList<int>{kKeyBack} << 3 << 0;
    QTest::newRow("blue") << 1 << QList<int>{kKeyBlue} << 2 << 0;
    QTest::newRow("red with 0") << 1 << QList<int>{kKeyRed} << 1 << 1;
    QTest::newRow("yellow") << 1 << QList<int>{kKeyYellow} << 3 << 0;
    QTest::newRow("refresh resets the focus") << 1 << QList<int>{kKeyDown, kKeyRefresh} << 1 << 1;
    QTest::newRow("no focus: page-level up") << 2 << QList<int>{kKeyUp} << 1 << 1;
    QTest::newRow("no focus: page-level return") << 2 << QList<int>{kKeyEnter} << 3 << 0;
    QTest::newRow("no focus: page-level 0 stays") << 2 << QList<int>{kKeyDown} << 2 << 0;
}

void TestPreviewKeys::keysOnAPage()
{
    QFETCH(int, page);
    QFETCH(QList<int>, keys);
    CPreviewEngine &e = m_f.Start(page);
    for (const int key : keys)
        m_f.Key(key);
    QTEST(e.ShownPageNumber(), "shown");
    QTEST(e.FocusItem(), "focus");
}

void TestPreviewKeys::specialScreens_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<int>>("shows");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("shown");
    QTest::newRow("enter on the guide shows the video") << 1 << QList<int>{254}
                                                        << QList<int>{kKeyEnter} << 255;
    QTest::newRow("d on the guide shows page 1 without a memory page")
        << 1 << QList<int>{254} << QList<int>{kKeyData} << 1;
    QTest::newRow("d on the video shows the memory page")
        << 2 << QList<int>{255} << QList<int>{kKeyData} << 3;
    QTest::newRow("back on the video shows the guide") << 1 << QList<int>{255}
                                                      << QList<int>{kKeyBack} << 254;
    QTest::newRow("enter on the video does nothing") << 1 << QList<int>{255}
                                                     << QList<int>{kKeyEnter} << 255;
    QTest::newRow("enter on another channel goes back") << 1 << QList<int>{3, 1000}
                                                        << QList<int>{kKeyEnter} << 3;
    QTest::newRow("arrows on another channel do nothing")
        << 1 << QList<int>{1000} << QList<int>{kKeyUp, kKeyData, kKeyBack} << 1000;
    QTest::newRow("enter on the web screen shows the video")
        << 1 << QList<int>{2000} << QList<int>{kKeyEnter} << 255;
}

void TestPreviewKeys::specialScreens()
{
    QFETCH(int, start);
    QFETCH(QList<int>, shows);
    QFETCH(QList<int>, keys);
    CPreviewEngine &e = m_f.Start(start);
    for (const int n : shows)
        e.ShowPage(n);
    for (const int key : keys)
        m_f.Key(key);
    QTEST(e.ShownPageNumber(), "shown");
}

void TestPreviewKeys::focusChainMeetsTheLoopGuard_data()
{
    QTest::addColumn<QString>("focusOfOne");
    QTest::addColumn<QString>("focusOfTwo");
    QTest::newRow("through M (carries the depth)") << u"M:2"_s << u"M:1"_s;
    QTest::newRow("through posted focus moves") << u"2"_s << u"1"_s;
    QTest::newRow("through Qb") << u"Qb:2:6"_s << u"Qb:1:6"_s;
    // A focus action that shows its own page again starts the chain over on that page.
    QTest::newRow("through G of its own page") << u"G:1"_s << u"0"_s;
    QTest::newRow("through U:0 (the page again)") << u"U:0"_s << u"0"_s;
    QTest::newRow("through a page from a register") << u"Xn:1:3,Xg:3"_s << u"0"_s;
}

void TestPreviewKeys::focusChainMeetsTheLoopGuard()
{
    QFETCH(QString, focusOfOne);
    QFETCH(QString, focusOfTwo);
    CMyProgramInfo *page = m_f.model.pages.At(0);
    page->items[0].focus = focusOfOne;
    page->items[1].focus = focusOfTwo;
    m_f.Start(1);
    QCOMPARE(m_f.observer.messages, QStringList{u"エラー:無限ループになります。"_s});
}

namespace {

class CEntryCounter : public CActionTraceObserver {
public:
    void OnTrace(const TraceEvent &event) override
    {
        if (event.kind == TraceKind::Entry)
            ++entries;
    }
    int entries = 0;
};

QString Repeated(const QString &entry, int n)
{
    return QStringList(n, entry).join(u',');
}

} // namespace

void TestPreviewKeys::loopGuardDepth_data()
{
    QTest::addColumn<QString>("link"); // the focus action of item i, %1 being i + 1
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("tripped");
    QTest::addColumn<int>("focus");
    QTest::addColumn<bool>("pageStarted");
    for (const int length : {5, 6}) {
        const bool tripped = length == 6;
        const QByteArray n = QByteArray::number(length);
        QTest::newRow("M, chain of " + n) << u"M:%1"_s << length << tripped << length << !tripped;
        // Posted moves run after the page has started.
        QTest::newRow("posted moves, chain of " + n) << u"%1"_s << length << tripped << length
                                                     << true;
        QTest::newRow("Qb, chain of " + n) << u"Qb:%1:6"_s << length << tripped << 1 << !tripped;
    }
}

void TestPreviewKeys::loopGuardDepth()
{
    QFETCH(QString, link);
    QFETCH(int, length);
    QFETCH(bool, tripped);
    // Item i's focus action leads to item i + 1; the last one's colours item 1.
    CMyProgramInfo &page = m_f.AddPage(9);
    page.defitem = 1;
    for (int id = 1; id <= length; ++id)
        m_f.AddItem(page, id).focus = id < length ? link.arg(id + 1) : u"B:4:1"_s;
    CPreviewEngine &e = m_f.Start(9);
    QCOMPARE(m_f.observer.messages.size(), tripped ? 1 : 0);
    if (tripped)
        QCOMPARE(m_f.observer.messages.first(), u"エラー:無限ループになります。"_s);
    // The action at the sixth level is not run; the focus changes made before it stay.
    QCOMPARE(e.Items()[0].item.bcolor, tripped ? kNoColour : 4);
    QTEST(e.FocusItem(), "focus");
    QTEST(m_f.sim->clock.IsRunning(kItemTimer), "pageStarted");
}

void TestPreviewKeys::trippedChainEndsAsAWhole_data()
{
    QTest::addColumn<QString>("focusOfOne");
    QTest::addColumn<QString>("retOfOne");
    QTest::addColumn<QString>("macroFive");
    QTest::addColumn<QString>("textEight"); // loaded into register 1 by "Xk:8:0,Xi:1"
    QTest::addColumn<bool>("twoColoured");  // whether the chain reached a "B:4:2"
    QTest::addColumn<bool>("atBound");      // ended by the work bound rather than the depth
    for (const int n : {10, 100}) {
        const QByteArray times = " x" + QByteArray::number(n);
        QTest::newRow("G:1 in a focus action" + times)
            << Repeated(u"G:1"_s, n) + u",B:4:2"_s << u"0"_s << QString() << QString() << false
            << false;
        QTest::newRow("M:1 in a focus action" + times)
            << Repeated(u"M:1"_s, n) + u",B:4:2"_s << u"0"_s << QString() << QString() << false
            << false;
        QTest::newRow("Qb:1:1 in a ret" + times)
            << u"0"_s << Repeated(u"Qb:1:1"_s, n) + u",B:4:2"_s << QString() << QString()
            << false << false;
        QTest::newRow("Qn:1 in a register" + times)
            << u"0"_s << u"Xk:8:0,Xi:1,Qn:1"_s << QString()
            << Repeated(u"Qn:1"_s, n) + u",B:4:2"_s << false << false;
        // Every Qm posts the macro once more: the queue would double with every run.
        QTest::newRow("Qm:5 in macro 5" + times)
            << u"0"_s << u"A:5"_s << Repeated(u"Qm:5"_s, n) << QString() << false << true;
    }
    QTest::newRow("a macro posted before the trip is dropped")
        << u"0"_s << u"Qm:5,Qb:1:1"_s << u"B:4:2"_s << QString() << false << false;
    QTest::newRow("a macro that posts itself")
        << u"0"_s << u"A:5"_s << u"B:4:2,A:5"_s << QString() << true << true;
}

void TestPreviewKeys::trippedChainEndsAsAWhole()
{
    QFETCH(QString, focusOfOne);
    QFETCH(QString, retOfOne);
    QFETCH(QString, macroFive);
    QFETCH(QString, textEight);
    QFETCH(bool, atBound);
    CMyProgramInfo *page = m_f.model.pages.At(0);
    page->items[0].focus = focusOfOne;
    page->items[0].ret = retOfOne;
    if (!macroFive.isEmpty())
        m_f.AddMacro(5, macroFive);
    if (!textEight.isEmpty())
        m_f.AddText(8, textEight);
    CEntryCounter counter;
    m_f.sim = std::make_unique<CSimulation>(m_f.model, m_f.settings, m_f.images);
    CPreviewEngine &e = m_f.sim->engine;
    e.SetObserver(&m_f.observer);
    e.SetTraceObserver(&counter);
    e.ShowPage(1);
    QVERIFY(m_f.sim->Settle());
    if (retOfOne != u"0") {
        QVERIFY(m_f.observer.messages.isEmpty());
        e.PressKey(kKeyEnter);
        QVERIFY(m_f.sim->Settle());
    }
    QCOMPARE(m_f.observer.messages, QStringList{u"エラー:無限ループになります。"_s});
    QVERIFY(counter.entries <= kMaxChainEntries);
    QCOMPARE(counter.entries == kMaxChainEntries, atBound);
    QTEST(e.Items()[1].item.bcolor == 4, "twoColoured");
    // The next key is a chain of its own and meets the guard afresh, once.
    m_f.observer.messages.clear();
    e.PressKey(kKeyEnter);
    QVERIFY(m_f.sim->Settle());
    QCOMPARE(m_f.observer.messages.size(), retOfOne != u"0" ? 1 : 0);
}

void TestPreviewKeys::focusActionShowingAnotherPageWins()
{
    CMyProgramInfo *one = m_f.model.pages.At(0);
    one->items[0].focus = u"G:2"_s;
    one->timer = 5;
    one->marquee = 1;
    one->marquee_speed = 3;
    CPreviewEngine &e = m_f.Start(1);
    QCOMPARE(e.ShownPageNumber(), 2);
    // Page 2 has no timer and no marquee; nothing of page 1 runs on it.
    QVERIFY(!m_f.sim->clock.IsRunning(kPageTimer));
    QVERIFY(!m_f.sim->clock.IsRunning(kMarqueeTimer));
    QCOMPARE(e.MarqueeItem(), 0);
    QCOMPARE(e.PreviousPageNumber(), 1);
}

void TestPreviewKeys::displayCopiesAreReleased()
{
    m_f.model.pages.At(0)->items[0].pic_no = 201;
    CPreviewEngine &e = m_f.Start(1);
    QCOMPARE(*m_f.images.liveCopies, 1);
    QCOMPARE(m_f.ImageOf(1), 201);
    m_f.Key(kKeyUp); // P:201:2 gives item 2 a copy too
    QCOMPARE(*m_f.images.liveCopies, 2);
    e.ShowPage(3);
    QCOMPARE(*m_f.images.liveCopies, 0);
    e.ShowPage(1);
    e.ResetCanvas();
    QCOMPARE(*m_f.images.liveCopies, 0);
    QCOMPARE(e.FocusItem(), 0);
}

void TestPreviewKeys::linkedClicks()
{
    CMyProgramInfo *one = m_f.model.pages.At(0);
    // Item 10 lies over item 2 but lets clicks through; item 2's enter shows page 2.
    one->items[1].ret = u"2"_s;
    one->items[2].x = 20;
    one->items[2].ret = u"0"_s;
    CPreviewEngine &e = m_f.Start(1);
    e.SetLinkedClicks(false);
    e.LinkedClick(QPointF(25, 30));
    m_f.sim->Settle();
    QCOMPARE(e.FocusItem(), 1);
    e.SetLinkedClicks(true);
    e.LinkedClick(QPointF(500, 500)); // on no item
    m_f.sim->Settle();
    QCOMPARE(e.FocusItem(), 1);
    // Edges belong to the item: item 2 spans 20..120 x 20..60.
    e.LinkedClick(QPointF(120, 60));
    QCOMPARE(e.FocusItem(), 2);
    QCOMPARE(e.ShownPageNumber(), 1);
    m_f.sim->Settle(); // the posted enter
    QCOMPARE(e.ShownPageNumber(), 2);
}

void TestPreviewKeys::digitEntry()
{
    CPreviewEngine &e = m_f.Start(1);
    e.RunAction(0, 1, u"Xf:1:10"_s, 0);
    QVERIFY(m_f.observer.digitButtons);
    e.EnterDigit(3);
    e.EnterDigit(10);
    QCOMPARE(e.Input(), u"310"_s);
    QCOMPARE(e.Items()[2].item.text, u"310"_s);
    e.RunAction(0, 1, u"Xf:0:0"_s, 0);
    QVERIFY(!m_f.observer.digitButtons);
    e.EnterDigit(1);
    QCOMPARE(e.Input(), u"3101"_s);
    QCOMPARE(e.Items()[2].item.text, u"310"_s);
}

ORIN_TEST_CLASS(TestPreviewKeys)
#include "tst_preview_keys.moc"
