// SPDX-License-Identifier: MIT
// The page canvas and the remote-control panel, driven headless.

#include "editor/dlg_panel.h"
#include "editor/graph_view.h"

#include "prompt_fixtures.h"
#include "page_fixtures.h"
#include "test_registry.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace orin;
using namespace orin::test;
using namespace Qt::StringLiterals;


class TestGraphView : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsThePageAndMovesTheFocusByKeys();
    void panelButtonsReachTheCanvas();
    void panelKeyboard_data();
    void panelKeyboard();
    void digitButtonsFollowDigitEntry();
    void togglesReachTheEngine();
    void linkedClickOnTheCanvas();
    void loopGuardSpeaksThroughThePrompt();
    void directRedrawPaintsOnlyTheItem();
    void panelPlacement_data();
    void panelPlacement();

private:
    QRgb PixelAt(int x, int y);

    CContentModel m_model;
    ProgramSettings m_settings;
    CColourMap m_map;
    QTemporaryDir m_work;
    test::CScriptedPrompt m_prompt;
    std::unique_ptr<CGraphView> m_view;
};

void TestGraphView::init()
{
    m_model.ClearModel();
    m_prompt = test::CScriptedPrompt();
    auto one = std::make_unique<CMyProgramInfo>();
    one->id = 1;
    one->defitem = 1;
    one->curcol = 3;
    one->backcol = kNoColour;
    PageItem &first = AddItem(*one, 1, 100, 100);
    first.down = u"2"_s;
    first.bcolor = 1;
    first.right = u"Xf:1:2"_s;
    PageItem &second = AddItem(*one, 2, 100, 200);
    second.up = u"1"_s;
    second.ret = u"G:2"_s;
    second.bcolor = 2;
    AddItem(*one, 3, 300, 100).focus = u"M:4"_s;
    AddItem(*one, 4, 300, 200).focus = u"M:3"_s;
    m_model.pages.Add(std::move(one));
    auto two = std::make_unique<CMyProgramInfo>();
    two->id = 2;
    two->backcol = kNoColour;
    two->back = 1;
    m_model.pages.Add(std::move(two));
    m_view = std::make_unique<CGraphView>(m_model, m_settings, m_map, m_work.path(), &m_prompt);
    m_view->resize(960, 540);
    m_view->show();
    m_view->Panel()->show();
    m_view->ShowPage(1);
}

void TestGraphView::cleanup()
{
    m_view.reset();
    // Every display copy has been let go: the work folder is empty.
    QVERIFY(QDir(m_work.path()).entryList(QDir::Files).isEmpty());
}

QRgb TestGraphView::PixelAt(int x, int y)
{
    return m_view->grab().toImage().pixel(x, y) & 0xffffff;
}

void TestGraphView::showsThePageAndMovesTheFocusByKeys()
{
    QCOMPARE(PixelAt(150, 125), 0xff0000u);
    QCOMPARE(PixelAt(99, 125), 0xffff00u); // the cursor around item 1
    QTest::keyClick(m_view.get(), Qt::Key_Down);
    QCOMPARE(m_view->Engine().FocusItem(), 2);
    QCOMPARE(PixelAt(99, 225), 0xffff00u);
    QCOMPARE(PixelAt(99, 125), 0x000000u);
}

void TestGraphView::panelButtonsReachTheCanvas()
{
    CDlgPanel *panel = m_view->Panel();
    QCOMPARE(panel->windowTitle(), u"リモコンパネル"_s);
    QCOMPARE(panel->Button(1043)->text(), u"決定"_s);
    QTest::mouseClick(panel->Button(1040), Qt::LeftButton); // ↓
    // The key arrives as a posted command.
    QCOMPARE(m_view->Engine().FocusItem(), 1);
    QTRY_COMPARE(m_view->Engine().FocusItem(), 2);
    QTest::mouseClick(panel->Button(1043), Qt::LeftButton); // 決定: G:2
    QTRY_COMPARE(m_view->Engine().ShownPageNumber(), 2);
    QTest::mouseClick(panel->Button(1045), Qt::LeftButton); // 戻る
    QTRY_COMPARE(m_view->Engine().ShownPageNumber(), 1);
    QVERIFY(!panel->Button(1037)->isEnabled());
    QVERIFY(!panel->Button(1038)->isEnabled());
}

void TestGraphView::panelKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("code"); // -1: nothing
    QTest::newRow("Backspace is back") << int(Qt::Key_Backspace) << 0 << int(kKeyBack);
    QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << int(kKeyEnter);
    QTest::newRow("Left") << int(Qt::Key_Left) << 0 << int(kKeyLeft);
    QTest::newRow("keypad * is red") << int(Qt::Key_Asterisk) << int(Qt::KeypadModifier)
                                    << int(kKeyRed);
    QTest::newRow("keypad + is yellow") << int(Qt::Key_Plus) << int(Qt::KeypadModifier)
                                       << int(kKeyYellow);
    QTest::newRow("keypad - is green") << int(Qt::Key_Minus) << int(Qt::KeypadModifier)
                                      << int(kKeyGreen);
    QTest::newRow("keypad . is d") << int(Qt::Key_Period) << int(Qt::KeypadModifier)
                                  << int(kKeyData);
    QTest::newRow("keypad / is blue") << int(Qt::Key_Slash) << int(Qt::KeypadModifier)
                                     << int(kKeyBlue);
    QTest::newRow("plain * is nothing") << int(Qt::Key_Asterisk) << 0 << -1;
    QTest::newRow("Escape is swallowed") << int(Qt::Key_Escape) << 0 << -1;
}

void TestGraphView::panelKeyboard()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, code);
    CDlgPanel panel;
    panel.show();
    QList<int> codes;
    connect(&panel, &CDlgPanel::KeyPressed, this, [&codes](int c) { codes.append(c); });
    QTest::keyClick(&panel, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(codes, code < 0 ? QList<int>() : QList<int>{code});
    QVERIFY(panel.isVisible());
}

void TestGraphView::digitButtonsFollowDigitEntry()
{
    CDlgPanel *panel = m_view->Panel();
    QVERIFY(!panel->Button(1027)->isEnabled());
    QTest::keyClick(m_view.get(), Qt::Key_Right); // Xf:1:2
    QVERIFY(panel->Button(1027)->isEnabled());
    QVERIFY(panel->Button(1036)->isEnabled());
    QCOMPARE(panel->Button(1036)->text(), u"10/0"_s);
    QTest::mouseClick(panel->Button(1029), Qt::LeftButton);
    QTest::mouseClick(panel->Button(1036), Qt::LeftButton);
    QTRY_COMPARE(m_view->Engine().Input(), u"310"_s);
    QCOMPARE(m_view->Engine().Items()[1].item.text, u"310"_s);
}

void TestGraphView::togglesReachTheEngine()
{
    CDlgPanel *panel = m_view->Panel();
    QVERIFY(panel->TimersBox()->isChecked());
    QTest::mouseClick(panel->TimersBox(), Qt::LeftButton);
    QTRY_VERIFY(!m_view->Timers());
    m_view->SetToggles(false, true);
    QVERIFY(!panel->LinkedClicksBox()->isChecked());
    QVERIFY(panel->TimersBox()->isChecked());
    QVERIFY(!m_view->LinkedClicks());
}

void TestGraphView::linkedClickOnTheCanvas()
{
    m_view->SetToggles(false, true);
    QTest::mouseClick(m_view.get(), Qt::LeftButton, {}, QPoint(150, 225));
    QCOMPARE(m_view->Engine().FocusItem(), 1);
    m_view->SetToggles(true, true);
    QTest::mouseClick(m_view.get(), Qt::LeftButton, {}, QPoint(150, 225));
    QCOMPARE(m_view->Engine().FocusItem(), 2);
    QTRY_COMPARE(m_view->Engine().ShownPageNumber(), 2); // the posted enter
}

void TestGraphView::loopGuardSpeaksThroughThePrompt()
{
    m_view->Engine().RunAction(0, 1, u"3"_s, 0);
    QCOMPARE(m_prompt.Messages(), QStringList{u"無限ループになります。"_s});
    QCOMPARE(m_prompt.records.first().caption, u"エラー"_s);
}

// Records the rectangles of the paint events a widget receives.
class CPaintRecorder : public QObject {
public:
    QList<QRect> rects;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            rects.append(static_cast<QPaintEvent *>(event)->rect());
        return false;
    }
};

void TestGraphView::directRedrawPaintsOnlyTheItem()
{
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    QCoreApplication::processEvents();
    CPaintRecorder recorder;
    m_view->installEventFilter(&recorder);
    m_view->RedrawItemDirect(2, u"ＡＢ"_s);
    QCOMPARE(recorder.rects, QList<QRect>{QRect(100, 200, 100, 50)});
    // An id that is not in the display list paints nothing.
    m_view->RedrawItemDirect(99, u"x"_s);
    QCOMPARE(recorder.rects.size(), 1);
    m_view->removeEventFilter(&recorder);
}

void TestGraphView::panelPlacement_data()
{
    QTest::addColumn<QRect>("canvas");
    QTest::addColumn<QPoint>("expected");
    const QRect work(0, 0, 1920, 1040);
    Q_UNUSED(work)
    QTest::newRow("beside on the right") << QRect(100, 50, 1000, 600) << QPoint(1110, 50);
    QTest::newRow("at the right edge, room below") << QRect(100, 50, 1720, 600)
                                                   << QPoint(1720, 660);
    QTest::newRow("at the right edge, no room below") << QRect(100, 300, 1800, 600)
                                                      << QPoint(1720, 0);
    QTest::newRow("off every screen") << QRect(5000, 100, 500, 400) << QPoint(811, 100);
}

void TestGraphView::panelPlacement()
{
    QFETCH(QRect, canvas);
    QTEST(PanelPosition(QRect(0, 0, 1920, 1040), canvas), "expected");
}

ORIN_TEST_CLASS(TestGraphView)
#include "tst_graph_view.moc"
