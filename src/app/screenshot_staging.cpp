// SPDX-License-Identifier: MIT
#include "app/screenshot_staging.h"

#include "app/main_frame.h"
#include "editor/design_commands.h"
#include "editor/compare_panel.h"
#include "editor/dlg_panel.h"
#include "editor/form_graph.h"
#include "editor/graph_view.h"
#include "editor/navigation_map.h"

#include <QDockWidget>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <vector>

namespace orin {

namespace {

// The whole numbers of a comma-separated variable; anything else in it is passed over.
std::vector<int> Numbers(const char *variable)
{
    std::vector<int> numbers;
    for (const QString &part : qEnvironmentVariable(variable).split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int number = part.trimmed().toInt(&ok);
        if (ok)
            numbers.push_back(number);
    }
    return numbers;
}

} // namespace

void StageScreenshot(CMainFrame &frame, int delayMs)
{
    if (qEnvironmentVariableIsSet("ORINEDIT_SCREENSHOT_DESIGN")) {
        frame.OnToggleDesignMode();
        const std::vector<int> chosen = Numbers("ORINEDIT_SCREENSHOT_DESIGN");
        // After the first layout, so that the surface has its size.
        QTimer::singleShot(delayMs / 2, &frame, [&frame, chosen] {
            if (CDesignCommands *design = frame.FormGraph()->Design())
                design->SelectBand(chosen, false);
        });
    }
    if (const QString compare = qEnvironmentVariable("ORINEDIT_SCREENSHOT_COMPARE");
        !compare.isEmpty() && frame.CompareWith(compare))
        frame.ComparePanel()->ChooseFirstPage();
    const QStringList docks =
        qEnvironmentVariable("ORINEDIT_SCREENSHOT_DOCKS").split(u',', Qt::SkipEmptyParts);
    QList<QDockWidget *> shown;
    for (const QString &name : docks) {
        if (auto *dock = frame.findChild<QDockWidget *>(name.trimmed())) {
            dock->show();
            shown.append(dock);
        }
    }
    // Wide enough for the map's pages and the trace's lines to be read in the picture.
    if (!shown.isEmpty())
        frame.resizeDocks(shown, QList<int>(shown.size(), frame.width() * 2 / 5), Qt::Horizontal);
    const std::vector<int> finding = Numbers("ORINEDIT_SCREENSHOT_FINDING");
    if (!finding.empty()) {
        // A click on that row of the navigation map's findings, once the map has listed them
        // (the layout's among them, which come when its pass is done).
        QTimer::singleShot(delayMs / 2, &frame, [&frame, row = finding.front()] {
            auto *map = frame.findChild<CNavigationMap *>();
            if (!map)
                return;
            auto click = [map, row] {
                QListWidget *list = map->FindingsList();
                if (row < 0 || row >= list->count())
                    return;
                list->setCurrentRow(row);
                emit list->itemClicked(list->item(row));
            };
            if (map->LayoutPending())
                QObject::connect(map, &CNavigationMap::LayoutFindingsReady, map, click,
                                 Qt::SingleShotConnection);
            else
                click();
        });
    }
    const std::vector<int> keys = Numbers("ORINEDIT_SCREENSHOT_KEYS");
    if (keys.empty())
        return;
    // Once the docks listen and the page is shown; clicks on the panel's buttons take the
    // operator's path through the preview.
    QTimer::singleShot(delayMs / 2, &frame, [&frame, keys] {
        CGraphView *canvas = frame.FormGraph()->GraphView();
        if (!canvas || !canvas->Panel())
            return;
        for (const int code : keys) {
            if (QPushButton *button = canvas->Panel()->KeyButton(code))
                button->click();
        }
    });
}

QPixmap GrabScreenshot(CMainFrame &frame)
{
    const QPixmap window = frame.grab();
    CGraphView *canvas = frame.FormGraph()->GraphView();
    if (!qEnvironmentVariableIsSet("ORINEDIT_SCREENSHOT_PANEL") || !canvas || !canvas->Panel())
        return window;
    const QPixmap panel = canvas->Panel()->grab();
    constexpr int kGap = 12;
    QPixmap both(window.width() + kGap + panel.width(), qMax(window.height(), panel.height()));
    both.fill(frame.palette().color(QPalette::Window).darker(115));
    QPainter painter(&both);
    painter.drawPixmap(0, 0, window);
    painter.drawPixmap(window.width() + kGap, 0, panel);
    return both;
}

} // namespace orin
