// SPDX-License-Identifier: MIT
// The key coverage of the remote-control panel, the navigation map and the action trace panel,
// driven headless on small content sets.

#include "actions/remote_keys.h"
#include "editor/dlg_panel.h"
#include "editor/graph_view.h"
#include "editor/navigation_map.h"
#include "editor/qt_preview_seams.h"
#include "editor/trace_panel.h"
#include "preview/action_trace.h"
#include "preview/preview_seams.h"

#include "content_fixture.h"
#include "prompt_fixtures.h"
#include "test_registry.h"

#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include <algorithm>

using namespace orin;
using namespace orin::test;
using namespace Qt::StringLiterals;

namespace {

// Records the keys that reach the engine.
class CKeyWatch : public CActionTraceObserver {
public:
    void OnTrace(const TraceEvent &event) override
    {
        if (event.kind == TraceKind::Key)
            pressed.append(event.id);
    }
    QList<int> pressed;
};

// True when none of the service's timers can fire: held timers wait without a running QTimer.
bool NothingTicks(const CQtTimerService &service)
{
    const QList<QTimer *> timers = service.findChildren<QTimer *>();
    return std::none_of(timers.begin(), timers.end(),
                        [](const QTimer *timer) { return timer->isActive(); });
}

// Page 1: item 1 goes down to 2 and shows page 2 on enter; item 2 goes up to 1 and runs
// macro 3 on enter; the blue key shows page 2, back names page 9, which does not exist.
// Page 4 is reached by nothing. Page 2, the last of the table, has a one-second timer that
// goes on to the first page.
const QString kContent = u"page 1 defitem=1 blue=2 back=9\n"
                         "item 1 ret=2 down=2\n"
                         "item 2 ret=A:3 up=1\n"
                         "page 4\n"
                         "page 2 timer=1 defitem=1\n"
                         "item 1 ret=Xn:7:1,Xc:1:0\n"
                         "macro 3 T:5:2\n"
                         "text 5 [#1]one[#2]two"_s;

} // namespace

class TestNavigationWidgets : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_model.ClearModel();
        m_settings = ProgramSettings();
        BuildContent(kContent, m_model, m_settings);
        m_view = std::make_unique<CGraphView>(m_model, m_settings, m_map, m_work.path(), &m_prompt);
        m_view->resize(480, 270);
        m_view->show();
        m_view->ShowPage(1);
    }

    void cleanup() { m_view.reset(); }

    void panelGreysKeysThatDoNothing()
    {
        CDlgPanel *panel = m_view->Panel();
        QVERIFY(panel->KeyActive(kKeyDown));
        QCOMPARE(panel->KeyButton(kKeyDown)->toolTip(), u"アイテム 2 にフォーカス"_s);
        QCOMPARE(panel->KeyButton(kKeyEnter)->toolTip(), u"ページ 2 へ"_s);
        QVERIFY(!panel->KeyActive(kKeyUp));
        QCOMPARE(panel->KeyButton(kKeyUp)->toolTip(), u"何もしない"_s);
        QVERIFY(!panel->KeyActive(kKeyBack));
        QCOMPARE(panel->KeyButton(kKeyBack)->toolTip(), u"ページ 9 へ（ありません）"_s);
        QVERIFY(panel->KeyActive(kKeyBlue));
        // Greyed, but still enabled, and drawn in the disabled text colour.
        QPushButton *up = panel->KeyButton(kKeyUp);
        QVERIFY(up->isEnabled());
        QCOMPARE(up->palette().color(QPalette::ButtonText),
                 panel->palette().color(QPalette::Disabled, QPalette::ButtonText));
        QVERIFY(panel->KeyButton(kKeyDown)->palette().color(QPalette::ButtonText)
                != up->palette().color(QPalette::ButtonText));

        // The focus moves: the coverage follows it.
        QTest::mouseClick(panel->KeyButton(kKeyDown), Qt::LeftButton);
        QTRY_COMPARE(m_view->Engine().FocusItem(), 2);
        QVERIFY(panel->KeyActive(kKeyUp));
        QVERIFY(!panel->KeyActive(kKeyDown));
        QCOMPARE(panel->KeyButton(kKeyEnter)->toolTip(), u"マクロ 3 を実行"_s);
        // A greyed key still reaches the canvas (and does nothing there).
        CKeyWatch keys;
        m_view->Engine().SetTraceObserver(&keys);
        QTest::mouseClick(panel->KeyButton(kKeyDown), Qt::LeftButton);
        QTRY_COMPARE(keys.pressed, QList<int>{kKeyDown});
        m_view->Engine().SetTraceObserver(nullptr);
        QCOMPARE(m_view->Engine().FocusItem(), 2);
    }

    void mapListsFindingsAndGoesThere()
    {
        CNavigationMap map(m_model, m_settings);
        map.resize(400, 700);
        map.show();
        QListWidget *list = map.FindingsList();
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), u"ページ 1 の back: ページ 9 はありません"_s);
        QCOMPARE(list->item(1)->text(), u"ページ 4 へは最初のページから行けません"_s);
        QSignalSpy findings(&map, &CNavigationMap::FindingActivated);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(1)).center());
        QCOMPARE(findings.size(), 1);
        QCOMPARE(findings.first().at(0).toInt(), 4);
        QCOMPARE(findings.first().at(1).toInt(), 0);

        QSignalSpy pages(&map, &CNavigationMap::PageActivated);
        const QRect node = map.Graph()->NodeRect(2);
        QVERIFY(!node.isEmpty());
        QTest::mouseClick(map.Graph(), Qt::LeftButton, {}, node.center());
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages.first().at(0).toInt(), 2);

        // The unreachable page is framed in red, the others are not.
        const QImage picture = map.Graph()->grab().toImage();
        const QRect lost = map.Graph()->NodeRect(4);
        const QColor edge = picture.pixelColor(lost.left() + 10, lost.top());
        QVERIFY2(edge.red() > 150 && edge.green() < 100, qPrintable(edge.name()));
        const QRect reached = map.Graph()->NodeRect(2);
        const QColor plain = picture.pixelColor(reached.left() + 10, reached.top());
        QVERIFY2(plain.red() < 150, qPrintable(plain.name()));

        // The focus arrows of the current page.
        map.SetCurrent(1, 2);
        QCOMPARE(map.FocusView()->Arrows(), QStringList({u"1>2"_s, u"2>1"_s}));
        QCOMPARE(map.FocusView()->FocusItem(), 2);
        map.SetCurrent(2, 1);
        QVERIFY(map.FocusView()->Arrows().isEmpty());

        // An edit followed by a refresh is seen.
        m_model.pages.At(0)->back = 4;
        map.Refresh();
        QCOMPARE(list->count(), 0);
    }

    void tracePanelListsStepsAndHoldsTheTimers()
    {
        CTracePanel panel(*m_view);
        panel.SetListening(true);
        QCOMPARE(m_view->Engine().TraceObserver(), &panel);
        m_view->Panel()->KeyButton(kKeyBlue)->click();
        QTRY_COMPARE(m_view->Engine().ShownPageNumber(), 2);
        QVERIFY(panel.Lines().contains(u"キー 青"_s));
        QVERIFY(panel.Lines().contains(u"  ページ 2 を表示"_s));
        // The entry that ran is highlighted in its action string.
        m_view->Engine().PressKey(kKeyEnter);
        QVERIFY(panel.Lines().contains(u"  アクション [Xn:7:1],Xc:1:0"_s));
        QVERIFY(panel.Lines().contains(u"  アクション Xn:7:1,[Xc:1:0]"_s));
        QVERIFY(panel.Lines().contains(u"    入力バッファ =「7」"_s));
        QVERIFY(panel.View()->toHtml().contains(u"background-color:#ffe27a"_s));
        // Each line is indented by its depth.
        const QTextDocument *document = panel.View()->document();
        QCOMPARE(document->blockCount(), int(panel.Lines().size()));
        for (int i = 0; i < document->blockCount(); ++i) {
            const QTextBlock block = document->findBlockByNumber(i);
            const QString line = panel.Lines().at(i);
            const int depth = int(line.size() - line.trimmed().size()) / 2;
            QCOMPARE(block.blockFormat().leftMargin(), 16.0 * depth);
            QCOMPARE(block.text(), line.trimmed().remove(u'[').remove(u']'));
        }

        // Held timers: the one-second page timer does not fire, one step fires it.
        panel.PauseButton()->click();
        QVERIFY(panel.StepButton()->isEnabled());
        QVERIFY(NothingTicks(m_view->TimerService()));
        QCOMPARE(m_view->Engine().ShownPageNumber(), 2);
        // The item timer (100 ms) falls due before the page timer.
        panel.StepButton()->click();
        QCOMPARE(m_view->Engine().ShownPageNumber(), 2);
        panel.StepButton()->click();
        QCOMPARE(m_view->Engine().ShownPageNumber(), 1);
        QVERIFY(panel.Lines().contains(u"ページタイマー のティック"_s));

        panel.ClearButton()->click();
        QVERIFY(panel.Lines().isEmpty());
        QVERIFY(panel.View()->toPlainText().isEmpty());
        panel.PauseButton()->click();
        QVERIFY(!m_view->TimerService().Paused());
        // Held and let go again, the page timer runs on.
        m_view->Panel()->KeyButton(kKeyBlue)->click();
        QTRY_COMPARE(m_view->Engine().ShownPageNumber(), 2);
        panel.PauseButton()->click();
        QVERIFY(m_view->TimerService().IsRunning(kPageTimer));
        QVERIFY(NothingTicks(m_view->TimerService()));
        panel.PauseButton()->click();
        QTRY_COMPARE_WITH_TIMEOUT(m_view->Engine().ShownPageNumber(), 1, 3000);
        panel.SetListening(false);
        QCOMPARE(m_view->Engine().TraceObserver(), nullptr);
    }

private:
    CContentModel m_model;
    ProgramSettings m_settings;
    CColourMap m_map;
    QTemporaryDir m_work;
    test::CScriptedPrompt m_prompt;
    std::unique_ptr<CGraphView> m_view;
};

ORIN_TEST_CLASS(TestNavigationWidgets)
#include "tst_navigation_widgets.moc"
