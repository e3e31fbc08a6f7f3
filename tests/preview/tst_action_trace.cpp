// SPDX-License-Identifier: MIT
// The action trace: what the engine reports, in order and by depth, while keys and timers run.
#include "preview/action_trace.h"
#include "preview/preview_engine.h"

#include "preview_fixture.h"
#include "test_registry.h"

#include <QtTest>

using namespace orin;
using namespace Qt::StringLiterals;

namespace {

class CTraceRecorder : public CActionTraceObserver {
public:
    void OnTrace(const TraceEvent &event) override
    {
        lines << QString::number(event.depth) + u' ' + FormatTraceEvent(event);
    }
    QStringList lines;
};

} // namespace

class TestActionTrace : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_f = test::CPreviewFixture();
        CMyProgramInfo &one = m_f.AddPage(1);
        one.defitem = 1;
        m_f.AddItem(one, 1);
        m_f.AddItem(one, 2);
        CMyProgramInfo &two = m_f.AddPage(2);
        two.defitem = 1;
        m_f.AddItem(two, 1);
        m_f.AddText(3, u"[#1]first[#2]second"_s);
        m_f.AddMacro(4, u"G:2"_s);
        m_f.AddImage(201, kImageColourMapPng);
    }

    void keyRunsAnActionAndAMacro()
    {
        m_f.model.pages.At(0)->items[0].ret = u"P:201:2,T:3:2,A:4,G:9"_s;
        CPreviewEngine &e = m_f.Start(1);
        CTraceRecorder trace;
        e.SetTraceObserver(&trace);
        m_f.Key(kKeyEnter);
        const QString action = u"\"P:201:2,T:3:2,A:4,G:9\""_s;
        QCOMPARE(trace.lines, QStringList({
                                  u"0 key enter"_s,
                                  u"1 action "_s + action + u" entry 1 \"P:201:2\""_s,
                                  u"2 item 2 picture 201"_s,
                                  u"1 action "_s + action + u" entry 2 \"T:3:2\""_s,
                                  u"2 item 2 text \"first\""_s,
                                  u"1 action "_s + action + u" entry 3 \"A:4\""_s,
                                  u"2 posted run macro 4"_s,
                                  u"0 macro 4 section 0"_s,
                                  u"1 action \"G:2\" entry 1 \"G:2\""_s,
                                  u"2 item timer stopped"_s,
                                  u"2 page 2 shown"_s,
                                  u"2 focus on item 1"_s,
                                  u"2 item timer started, 100 ms"_s,
                              }));
        QCOMPARE(e.ShownPageNumber(), 2);
    }

    void changesOfOneEntry_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("changes");
        QTest::newRow("registers and input")
            << u"Xn:5:3,Xc:3:0"_s << QStringList({u"2 mem[3] = \"5\""_s, u"2 input = \"5\""_s});
        QTest::newRow("colours and visibility")
            << u"B:4:2,F:5:2,H:0:2"_s
            << QStringList({u"2 item 2 bcolor 4"_s, u"2 item 2 color 5"_s, u"2 item 2 hidden"_s});
        QTest::newRow("a timer stopped")
            << u"Z:4"_s << QStringList({u"2 item timer stopped"_s});
        QTest::newRow("a focus move in focus context")
            << u"M:2"_s << QStringList({u"2 focus on item 2"_s});
        QTest::newRow("an entry that changes nothing")
            << u"K:1:1,O:3"_s << QStringList();
    }

    void changesOfOneEntry()
    {
        QFETCH(QString, action);
        QFETCH(QStringList, changes);
        m_f.model.pages.At(0)->items[0].ret = action;
        CPreviewEngine &e = m_f.Start(1);
        CTraceRecorder trace;
        e.SetTraceObserver(&trace);
        m_f.Key(kKeyEnter);
        QStringList found;
        for (const QString &line : std::as_const(trace.lines)) {
            if (line.startsWith(u"2 "))
                found << line;
        }
        QCOMPARE(found, changes);
        // Every entry of the string is reported once, at depth 1.
        const int entries = int(action.count(u',')) + 1;
        const auto entryLines = std::count_if(trace.lines.begin(), trace.lines.end(),
                                              [](const QString &l) { return l.startsWith(u"1 action"); });
        QCOMPARE(int(entryLines), entries);
    }

    void timerTickShowsTheNextPage()
    {
        m_f.model.pages.At(0)->timer = 1;
        CPreviewEngine &e = m_f.Start(1);
        CTraceRecorder trace;
        e.SetTraceObserver(&trace);
        m_f.sim->Wait(1000);
        QVERIFY(trace.lines.contains(u"0 tick of the page timer"_s));
        QVERIFY(trace.lines.contains(u"1 page 2 shown"_s));
        // The item timer of page 1 names no item: its tick is not reported.
        QVERIFY(!trace.lines.contains(u"0 tick of the item timer"_s));
        e.SetTraceObserver(nullptr);
        trace.lines.clear();
        m_f.Key(kKeyRefresh);
        QVERIFY(trace.lines.isEmpty());
    }

    void loopGuardIsReported()
    {
        // Item 1's focus action moves the focus to 2, whose focus action moves it back ...
        CMyProgramInfo &one = *m_f.model.pages.At(0);
        one.items[0].focus = u"M:2"_s;
        one.items[1].focus = u"M:1"_s;
        CTraceRecorder trace;
        m_f.sim = std::make_unique<CSimulation>(m_f.model, m_f.settings, m_f.images);
        m_f.sim->engine.SetTraceObserver(&trace);
        m_f.sim->engine.ShowPage(1);
        m_f.sim->Settle();
        const QStringList messages = trace.lines.filter(u"message"_s);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().endsWith(u"message \"無限ループになります。\""_s));
    }

    void trippedChainTracesNothingAfterItsMessage()
    {
        // Enter on item 1 runs its own ret again through Qb, ten times per level; the macro
        // each level posts belongs to the chain and is dropped with it.
        m_f.model.pages.At(0)->items[0].ret = u"Qm:5,"_s + QStringList(10, u"Qb:1:1"_s).join(u',');
        m_f.AddMacro(5, u"B:4:2"_s);
        CTraceRecorder trace;
        m_f.Start(1);
        m_f.Engine().SetTraceObserver(&trace);
        m_f.Key(kKeyEnter);
        QCOMPARE(trace.lines.filter(u"message"_s).size(), 1);
        QVERIFY(trace.lines.last().endsWith(u"message \"無限ループになります。\""_s));
        // Six levels each took their Qm and their first Qb: twelve entries, nothing after.
        QCOMPARE(trace.lines.filter(u" entry "_s).size(), 12);
        QCOMPARE(trace.lines.filter(u"macro 5 section"_s).size(), 0);
    }

private:
    test::CPreviewFixture m_f;
};

ORIN_TEST_CLASS(TestActionTrace)
#include "tst_action_trace.moc"
