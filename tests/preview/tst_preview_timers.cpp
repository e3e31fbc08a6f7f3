// SPDX-License-Identifier: MIT
#include "preview/preview_engine.h"

#include "preview_fixture.h"
#include "test_registry.h"

#include <QtTest>

using namespace orin;
using namespace Qt::StringLiterals;

// The page and item timers, the marquee, the clock and the picture animations on simulated
// time.
class TestPreviewTimers : public QObject {
    Q_OBJECT

private slots:
    void init();
    void pageTimer_data();
    void pageTimer();
    void timersToggleIgnoresTicks();
    void keyRestartsThePageTimer();
    void oversizedTimerValues();
    void itemTimer();
    void marquee();
    void marqueeSpeedOutOfRange_data();
    void marqueeSpeedOutOfRange();
    void marqueeFollowsTheNextSection();
    void marqueeOfTheWidestItem();
    void marqueeWithoutTextSize();
    void clock();
    void slider();
    void sliderEdgeCases_data();
    void sliderEdgeCases();

private:
    test::CPreviewFixture m_f;
};

void TestPreviewTimers::init()
{
    m_f = test::CPreviewFixture();
    for (const int id : {1, 2, 3}) {
        CMyProgramInfo &page = m_f.AddPage(id);
        page.defitem = 1;
        m_f.AddItem(page, 1);
        m_f.AddItem(page, 2);
    }
    m_f.AddImage(1);
    m_f.AddImage(2);
    m_f.AddImage(203, kImageGeneralPng);
}

void TestPreviewTimers::pageTimer_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("startPage");
    QTest::addColumn<bool>("viaSpecialScreen");
    QTest::addColumn<int>("expected");
    QTest::newRow("mode 0: the next page") << 0 << 2 << false << 3;
    QTest::newRow("mode 0: after the last, the first") << 0 << 3 << false << 1;
    QTest::newRow("mode 0 on a special screen: after the page shown last")
        << 0 << 2 << true << 3;
    QTest::newRow("mode 1: right") << 1 << 1 << false << 3;
    QTest::newRow("mode 2: down") << 2 << 1 << false << 2;
}

void TestPreviewTimers::pageTimer()
{
    QFETCH(int, mode);
    QFETCH(int, startPage);
    QFETCH(bool, viaSpecialScreen);
    m_f.settings.TimerMode = mode;
    for (auto &page : m_f.model.pages) {
        page->timer = 2;
        page->right = 3;
        page->down = 2;
    }
    CPreviewEngine &e = m_f.Start(startPage);
    QCOMPARE(m_f.sim->clock.Period(kPageTimer), 2000);
    if (viaSpecialScreen)
        e.ShowPage(kOtherChannelScreen);
    m_f.sim->Wait(1999);
    QCOMPARE(e.ShownPageNumber(), viaSpecialScreen ? kOtherChannelScreen : startPage);
    m_f.sim->Wait(1);
    QTEST(e.ShownPageNumber(), "expected");
}

void TestPreviewTimers::timersToggleIgnoresTicks()
{
    m_f.model.pages.At(0)->timer = 1;
    CPreviewEngine &e = m_f.Start(1);
    e.RunCommand({PreviewCommandKind::Timers, 0, 0});
    m_f.sim->Wait(5000);
    QCOMPARE(e.ShownPageNumber(), 1);
    QVERIFY(m_f.sim->clock.IsRunning(kPageTimer)); // keeps its period
    e.RunCommand({PreviewCommandKind::Timers, 1, 0});
    m_f.sim->Wait(1000);
    QCOMPARE(e.ShownPageNumber(), 2);
}

void TestPreviewTimers::keyRestartsThePageTimer()
{
    m_f.model.pages.At(0)->timer = 1;
    CPreviewEngine &e = m_f.Start(1);
    e.RunAction(0, 1, u"U:7"_s, 0);
    m_f.sim->Wait(900);
    m_f.Key(kKeyLeft);
    m_f.sim->Wait(900);
    QCOMPARE(e.ShownPageNumber(), 1);
    m_f.sim->Wait(100);
    QCOMPARE(e.ShownPageNumber(), 2);
}

void TestPreviewTimers::oversizedTimerValues()
{
    CMyProgramInfo *page = m_f.model.pages.At(0);
    page->timer = 2147483;     // ms beyond int in 32-bit arithmetic
    page->timer_item = -5;     // no item timer after the first tick
    m_f.Start(1);
    QVERIFY(m_f.sim->clock.Period(kPageTimer) > 0);
    m_f.sim->Wait(100);
    QVERIFY(!m_f.sim->clock.IsRunning(kItemTimer));
    page->timer = -3;
    m_f.Engine().ShowPage(1);
    QVERIFY(!m_f.sim->clock.IsRunning(kPageTimer));
}

void TestPreviewTimers::itemTimer()
{
    CMyProgramInfo *page = m_f.model.pages.At(0);
    page->timer_item = 2;
    page->timer_ino = 2;
    page->items[1].ret = u"Xn:1:0,Xa:1,Xs:1:1"_s; // appends "1" to register 1 and shows it
    CPreviewEngine &e = m_f.Start(1);
    QCOMPARE(m_f.sim->clock.Period(kItemTimer), 100);
    m_f.sim->Wait(100);
    QCOMPARE(e.Items()[0].item.text, u"1"_s);
    QCOMPARE(m_f.sim->clock.Period(kItemTimer), 2000);
    m_f.sim->Wait(4000);
    QCOMPARE(e.Items()[0].item.text, u"111"_s);
}

void TestPreviewTimers::marquee()
{
    CMyProgramInfo *page = m_f.model.pages.At(0);
    page->marquee = 2;
    page->marquee_speed = 4;
    page->items[1].text = u"ABC"_s; // width 100, size 20: five leading spaces
    CPreviewEngine &e = m_f.Start(1);
    QCOMPARE(m_f.sim->clock.Period(kMarqueeTimer), 200);
    const QString spaces(5, QChar(0x3000));
    QCOMPARE(e.MarqueeBuffer(), spaces + u"ABC"_s);
    m_f.sim->Wait(200);
    QCOMPARE(m_f.observer.direct, QStringList{u"2="_s + spaces + u"ABC"_s});
    QCOMPARE(e.MarqueeBuffer(), spaces.mid(1) + u"ABC"_s + spaces.left(1));
    // At the eighth tick the counter has run down and the buffer is built again.
    m_f.sim->Wait(7 * 200);
    QCOMPARE(e.MarqueeBuffer(), spaces.mid(1) + u"ABC"_s);
    // Z:2 stops it.
    e.RunAction(0, 1, u"Z:2"_s, 0);
    QVERIFY(!m_f.sim->clock.IsRunning(kMarqueeTimer));
}

void TestPreviewTimers::marqueeSpeedOutOfRange_data()
{
    QTest::addColumn<int>("speed");
    QTest::newRow("0") << 0;
    QTest::newRow("6") << 6;
}

void TestPreviewTimers::marqueeSpeedOutOfRange()
{
    QFETCH(int, speed);
    CMyProgramInfo *page = m_f.model.pages.At(0);
    page->marquee = 2;
    page->marquee_speed = speed;
    CPreviewEngine &e = m_f.Start(1);
    QVERIFY(!m_f.sim->clock.IsRunning(kMarqueeTimer));
    QCOMPARE(e.MarqueeItem(), 0);
}

void TestPreviewTimers::marqueeFollowsTheNextSection()
{
    m_f.AddText(4, u"[#1]AB[#2]XY"_s);
    CMyProgramInfo *page = m_f.model.pages.At(0);
    page->marquee = 2;
    page->marquee_speed = 5;
    page->items[1].text_no = 4;
    page->items[1].width = 20; // one leading space
    CPreviewEngine &e = m_f.Start(1);
    const QString space(1, QChar(0x3000));
    QCOMPARE(e.MarqueeBuffer(), space + u"AB"_s);
    m_f.sim->Wait(300); // three ticks: the counter of 3 runs down, the next section follows
    QCOMPARE(e.MarqueeBuffer(), u"XY"_s);
    QCOMPARE(e.TextSection(2), 2);
    // T on the marquee item goes into the buffer, not the item's text.
    e.RunAction(0, 1, u"T:4:2"_s, 0);
    QCOMPARE(e.MarqueeBuffer(), space + u"AB"_s);
    QCOMPARE(e.Items()[1].item.text, u"AB"_s);
}

void TestPreviewTimers::marqueeOfTheWidestItem()
{
    CMyProgramInfo *page = m_f.model.pages.At(0);
    page->marquee = 2;
    page->marquee_speed = 5;
    page->items[1].width = float(INT_MAX);
    page->items[1].size = 1;
    page->items[1].text = u"AB"_s;
    CPreviewEngine &e = m_f.Start(1);
    QCOMPARE(e.MarqueeBuffer(), QString(10000, QChar(0x3000)) + u"AB"_s);
}

void TestPreviewTimers::marqueeWithoutTextSize()
{
    CMyProgramInfo *page = m_f.model.pages.At(0);
    page->marquee = 2;
    page->marquee_speed = 1;
    page->items[1].size = 0;
    page->items[1].text.clear();
    CPreviewEngine &e = m_f.Start(1);
    QCOMPARE(e.MarqueeBuffer(), QString());
    m_f.sim->Wait(5000);
    QCOMPARE(e.MarqueeBuffer(), QString());
}

void TestPreviewTimers::clock()
{
    m_f.model.pages.At(0)->clock = 1;
    m_f.sim.reset();
    m_f.sim = std::make_unique<CSimulation>(m_f.model, m_f.settings, m_f.images,
                                            QTime(9, 59, 59));
    m_f.sim->engine.SetObserver(&m_f.observer);
    CPreviewEngine &e = m_f.sim->engine;
    e.ShowPage(1);
    QCOMPARE(e.ClockItem(), 1);
    QCOMPARE(e.ClockText(), u"09:59"_s);
    m_f.sim->Wait(500);
    QVERIFY(m_f.observer.direct.isEmpty()); // unchanged text: nothing drawn
    m_f.sim->Wait(500);
    QCOMPARE(m_f.observer.direct, QStringList{u"1=10:00"_s});
    QCOMPARE(e.ClockText(), u"10:00"_s);
}

void TestPreviewTimers::slider()
{
    CPreviewEngine &e = m_f.Start(1);
    e.RunAction(0, 1, u"$slider:p1/2/203:i2:w100"_s, 0);
    QCOMPARE(m_f.ImageOf(2), 1);
    QCOMPARE(e.PictureNumber(2), 0);
    QCOMPARE(m_f.sim->clock.Period(kSliderTimerBase), 100);
    QList<int> shown;
    for (int i = 0; i < 4; ++i) {
        m_f.sim->Wait(100);
        shown.append(m_f.ImageOf(2));
    }
    QCOMPARE(shown, (QList<int>{2, 203, 1, 2}));
    // A second slider on the same item replaces the first (and reuses its slot); one on
    // another item takes the next slot.
    e.RunAction(0, 1, u"$slider:p203/1:i2:w50,$slider:p1/2:i1:w70"_s, 0);
    QCOMPARE(m_f.sim->clock.Period(kSliderTimerBase), 50);
    QCOMPARE(m_f.ImageOf(2), 203);
    QCOMPARE(m_f.sim->clock.Period(kSliderTimerBase + 1), 70);
    // Showing a page stops every animation.
    e.ShowPage(2);
    QVERIFY(!m_f.sim->clock.IsRunning(kSliderTimerBase));
    QVERIFY(!m_f.sim->clock.IsRunning(kSliderTimerBase + 1));
}

void TestPreviewTimers::sliderEdgeCases_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("image");
    QTest::addColumn<int>("period"); // 0: no timer
    QTest::newRow("no image ids") << u"$slider:p:i2"_s << 0 << 0;
    QTest::newRow("one image shows it without a timer") << u"$slider:p203:i2"_s << 203 << 0;
    QTest::newRow("default item and period") << u"$slider:p1/2"_s << 0 << 5000;
    QTest::newRow("short period raised to 10 ms") << u"$slider:p1/2:i2:w3"_s << 1 << 10;
    QTest::newRow("other $ entry") << u"$other:p1/2:i2"_s << 0 << 0;
    QTest::newRow("item outside the tables") << u"$slider:p1/2:i999"_s << 0 << 0;
}

void TestPreviewTimers::sliderEdgeCases()
{
    QFETCH(QString, action);
    CPreviewEngine &e = m_f.Start(1);
    e.RunAction(0, 1, action, 0);
    QTEST(m_f.ImageOf(2), "image");
    QTEST(m_f.sim->clock.Period(kSliderTimerBase), "period");
}

ORIN_TEST_CLASS(TestPreviewTimers)
#include "tst_preview_timers.moc"
