// SPDX-License-Identifier: MIT
// The page canvas inside the main window: pages shown from the page list, the view menu's
// frames, the panel's switches kept in the settings, the panel hidden in design mode.

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "frame_setup.h"
#include "editor/dlg_panel.h"
#include "editor/form_graph.h"
#include "editor/graph_view.h"
#include "model/project_writer.h"
#include "preview/canvas_mapping.h"
#include "prompt_fixtures.h"
#include "settings/ini_store.h"
#include "test_registry.h"

#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace orin;
using namespace Qt::StringLiterals;

namespace {

QString WriteTwoPages(const QTemporaryDir &dir)
{
    CContentModel model;
    for (const int id : {5, 9}) {
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = id;
        page->defitem = 2;
        page->backcol = kNoColour;
        page->curcol = 3;
        page->itemCount = 1;
        PageItem &item = page->items[0];
        item.id = 2;
        item.x = 10;
        item.y = 10;
        item.width = 100;
        item.height = 40;
        item.ret = QString::number(id == 5 ? 9 : 5);
        item.focus = item.outfocus = u"0"_s;
        model.pages.Add(std::move(page));
    }
    const QString path = dir.filePath(u"two.bjpx"_s);
    ProgramSettings settings;
    return SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path), settings).ok ? path
                                                                                         : QString();
}

} // namespace

class TestFramePreview : public QObject {
    Q_OBJECT

private slots:
    void pagesFromTheListReachTheCanvas();
    void missingBackgroundCoversThePageOnly();
};

void TestFramePreview::pagesFromTheListReachTheCanvas()
{
    QTemporaryDir dir;
    const QString project = WriteTwoPages(dir);
    QVERIFY(!project.isEmpty());
    {
        QFile ini(SettingsFilePath(dir.path(), 4));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Config]\r\nRendo=0\r\nTimer=1\r\nbBoxDraw=0\r\n");
    }
    test::CScriptedPrompt prompt;
    FrameSetup setup = test::TestFrameSetup(dir.path(), &prompt, 11);
    auto frame = std::make_unique<CMainFrame>(setup);
    CGraphView *view = frame->FormGraph()->GraphView();
    QVERIFY(view);
    QVERIFY(!view->LinkedClicks());
    QVERIFY(view->Timers());
    QVERIFY(!view->Panel()->LinkedClicksBox()->isChecked());

    frame->OpenStartFile(project);
    frame->ShowPageAt(1);
    QCOMPARE(view->Engine().ShownPageNumber(), 9);
    QCOMPARE(view->Engine().FocusItem(), 2);
    view->Engine().PressKey(kKeyEnter);
    QCOMPARE(view->Engine().ShownPageNumber(), 5);

    QVERIFY(!view->Renderer().Toggles().itemFrames);
    frame->Action(cmd::kBoxDraw)->trigger();
    QVERIFY(view->Renderer().Toggles().itemFrames);

    frame->show();
    QTRY_VERIFY(view->Panel()->isVisible());
    frame->Action(cmd::kDesignMode)->trigger();
    QVERIFY(!view->Panel()->isVisible());
    frame->Action(cmd::kDesignMode)->trigger();
    QVERIFY(view->Panel()->isVisible());

    // The switches go back to the settings when the window closes.
    view->Panel()->TimersBox()->click();
    QTRY_VERIFY(!view->Timers());
    QVERIFY(frame->close());
    const CIniStore store(SettingsFilePath(dir.path(), 4));
    const AppSettings saved = LoadSettings(store, dir.path(), QRect(0, 0, 1920, 1080));
    QCOMPARE(saved.Timer, 0);
    QCOMPARE(saved.Rendo, 0);
}

// A background file that is gone is shown by its stand-in over the page, as large as the page
// and no larger: on a canvas higher than 16:9 the bands above and below the page stay black.
void TestFramePreview::missingBackgroundCoversThePageOnly()
{
    QTemporaryDir dir;
    CContentModel model;
    auto page = std::make_unique<CMyProgramInfo>();
    page->id = 1;
    page->backcol = kNoColour;
    page->background = dir.filePath(u"gone.jpg"_s);
    model.pages.Add(std::move(page));
    const QString project = dir.filePath(u"gone.bjpx"_s);
    QVERIFY(SaveProject(model, project, SaveMode::Plain, ContentFolderOf(project),
                        ProgramSettings()).ok);
    test::CScriptedPrompt prompt;
    auto frame = std::make_unique<CMainFrame>(test::TestFrameSetup(dir.path(), &prompt, 12));
    frame->resize(900, 900);
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    frame->OpenStartFile(project);
    CGraphView *view = frame->FormGraph()->GraphView();
    QCOMPARE(view->Engine().ShownPageNumber(), 1);
    const QSize client = view->size();
    QVERIFY2(client.height() * 16 > client.width() * 12, "the canvas is to be higher than 4:3");
    const QRect shown = CCanvasMapping(client, false).MapToClient(0, 0, 960, 540);
    QVERIFY(shown.top() > 10);

    const QImage picture = view->grab().toImage();
    const int middle = shown.center().x();
    // Grey inside the page near its top and bottom edges, black just outside them.
    for (const int y : {shown.top() + shown.height() / 10, shown.bottom() - shown.height() / 10})
        QCOMPARE(QColor(picture.pixel(middle, y)), QColor(224, 224, 224));
    for (const int y : {shown.top() - 4, shown.bottom() + 4, 2, client.height() - 3})
        QCOMPARE(QColor(picture.pixel(middle, y)), QColor(Qt::black));
    QVERIFY(prompt.records.isEmpty());
}

ORIN_TEST_CLASS(TestFramePreview)
#include "tst_frame_preview.moc"
