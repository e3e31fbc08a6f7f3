// SPDX-License-Identifier: MIT
#include "app/navigation_docks.h"

#include "app/design_view_menu.h"
#include "app/main_frame.h"
#include "document/document.h"
#include "editor/design_commands.h"
#include "editor/form_graph.h"
#include "editor/form_list.h"
#include "editor/graph_view.h"
#include "editor/navigation_map.h"
#include "editor/page_list_model.h"
#include "editor/trace_panel.h"
#include "preview/layout_findings.h"
#include "preview/work_folder_images.h"
#include "settings/design_settings.h"
#include "settings/ini_store.h"

#include <QDir>

#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>

namespace orin {

namespace {

QMenu *ViewMenu(CMainFrame &frame)
{
    for (QAction *action : frame.menuBar()->actions()) {
        if (action->menu() && action->text() == CMainFrame::tr("表示(&V)"))
            return action->menu();
    }
    return nullptr;
}

QDockWidget *AddDock(CMainFrame &frame, QMenu *view, const QString &title, const QString &name,
                     QWidget *content)
{
    auto *dock = new QDockWidget(title, &frame);
    dock->setObjectName(name);
    dock->setWidget(content);
    frame.addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->hide();
    if (view)
        view->addAction(dock->toggleViewAction());
    return dock;
}

// Shows the page with that id as the page list would, and puts the focus on the item.
void GoTo(CMainFrame &frame, int pageId, int itemId)
{
    const int row = pageId > 0 ? frame.Model().pages.IndexOfId(pageId) : -1;
    if (row < 0)
        return;
    frame.FormList()->SelectRow(row);
    frame.ShowPageAt(row);
    CGraphView *canvas = frame.FormGraph()->GraphView();
    if (itemId != 0 && canvas && canvas->Engine().ShownPageNumber() == pageId) {
        CPreviewEngine &engine = canvas->Engine();
        engine.Outfocus(engine.FocusItem(), 0);
        engine.Focus(itemId, 0);
        canvas->Repaint();
    }
}

// Shows the page with that id on the design surface with the item alone selected.
void GoToDesign(CMainFrame &frame, int pageId, int itemId)
{
    const int row = pageId > 0 ? frame.Model().pages.IndexOfId(pageId) : -1;
    if (row < 0)
        return;
    frame.FormList()->SelectRow(row);
    frame.ShowPageAt(row);
    if (!frame.IsDesignMode())
        frame.OnToggleDesignMode();
    CDesignCommands *design = frame.FormGraph()->Design();
    const int slot = itemId != 0 ? FindItemSlot(*frame.Model().pages.At(row), itemId) : -1;
    if (design && frame.IsDesignMode() && slot >= 0)
        design->SelectOnly(slot);
}

} // namespace

NavigationDocks InstallNavigationDocks(CMainFrame &frame)
{
    NavigationDocks docks;
    CGraphView *canvas = frame.FormGraph()->GraphView();
    if (!canvas)
        return docks;
    QMenu *view = ViewMenu(frame);
    if (view)
        view->addSeparator();

    auto *map = new CNavigationMap(frame.Model(), frame.Document().Settings());
    map->SetThumbnailSource([&frame](const CMyProgramInfo &page, QSize size) {
        return frame.FormList()->ListModel()->Thumbnail(page.background, size,
                                                        frame.Document().Settings().Vertical == 1);
    });
    // The layout findings paint the pages from display copies of their own, in the run's work
    // folder (without one, the list shows the navigation's findings only).
    const QString work = frame.Folders().work;
    if (!work.isEmpty()) {
        auto images = std::make_shared<CWorkFolderImages>(
            frame.ColourMap(), QDir(work).filePath(QStringLiteral("layout")));
        // The settings file is read once a pass, when it starts.
        map->SetLayoutSource([&frame, images] {
            LayoutCheckOptions options;
            options.safeAreaPercent = LoadSafeArea(CIniStore(frame.SettingsPath())).percent;
            options.sizeLimitKb = frame.Document().SizeLimit();
            return std::make_unique<CLayoutPass>(frame.Model(), frame.Document().Settings(),
                                                 frame.ColourMap(), images, options);
        });
    }
    docks.map = AddDock(frame, view, CMainFrame::tr("ナビゲーションマップ"),
                        QStringLiteral("NavigationMapDock"), map);
    // The dock starts hidden: nothing is checked until it is shown.
    map->ForgetLayout();
    auto followCanvas = [map, canvas] {
        map->SetCurrent(canvas->Engine().ShownPageNumber(), canvas->Engine().FocusItem());
    };
    QDockWidget *mapDock = docks.map;
    auto refresh = [map, mapDock, followCanvas] {
        if (!mapDock->isVisible()) {
            // Whatever a pass has found may no longer hold; showing the map checks again.
            map->ForgetLayout();
            return;
        }
        map->Refresh();
        followCanvas();
    };
    QObject::connect(mapDock, &QDockWidget::visibilityChanged, map, [refresh, map](bool visible) {
        if (visible)
            refresh();
        else
            map->ForgetLayout();
    });
    QObject::connect(&frame.Document(), &CDocument::ModelEdited, map, refresh);
    QObject::connect(&frame.Document(), &CDocument::ProjectOpened, map, refresh);
    QObject::connect(canvas, &CGraphView::PreviewChanged, map, [mapDock, followCanvas] {
        if (mapDock->isVisible())
            followCanvas();
    });
    QObject::connect(map, &CNavigationMap::PageActivated, &frame,
                     [&frame](int pageId) { GoTo(frame, pageId, 0); });
    QObject::connect(map, &CNavigationMap::FindingActivated, &frame,
                     [&frame](int pageId, int itemId) { GoTo(frame, pageId, itemId); });
    QObject::connect(map, &CNavigationMap::LayoutFindingActivated, &frame,
                     [&frame](int pageId, int itemId) { GoToDesign(frame, pageId, itemId); });
    if (auto *designMenu = frame.findChild<CDesignViewMenu *>())
        QObject::connect(designMenu, &CDesignViewMenu::SafeAreaChanged, map, refresh);

    auto *trace = new CTracePanel(*canvas);
    docks.trace = AddDock(frame, view, CMainFrame::tr("アクショントレース"),
                          QStringLiteral("ActionTraceDock"), trace);
    QObject::connect(docks.trace, &QDockWidget::visibilityChanged, trace,
                     [trace](bool visible) { trace->SetListening(visible); });
    return docks;
}

} // namespace orin
