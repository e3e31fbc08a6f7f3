// SPDX-License-Identifier: MIT
#include "app/design_view_menu.h"

#include "editor/design_commands.h"
#include "editor/form_graph.h"
#include "settings/design_settings.h"
#include "settings/ini_store.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>

#include <algorithm>
#include <vector>

namespace orin {

namespace {

// The grid steps offered, in page units; 0 is no grid.
constexpr int kGridSteps[] = {0, 5, 10, 20, 30, 40, 60};
// The title-safe margins offered, percent a side: HD practice and that of 4:3 pictures.
constexpr int kSafeMargins[] = {5, 10};

} // namespace

CDesignViewMenu::CDesignViewMenu(QMenu &view, CFormGraph &pane, CIniStore &ini,
                                 QObject *parent)
    : QObject(parent), m_pane(pane), m_ini(ini)
{
    const DesignSnapSettings settings = LoadDesignSnap(ini);
    m_snap = view.addAction(tr("デザイン: スナップ"));
    m_snap->setObjectName(QStringLiteral("designSnap"));
    m_snap->setCheckable(true);
    m_snap->setChecked(settings.snap);
    connect(m_snap, &QAction::triggered, this, &CDesignViewMenu::Apply);

    m_gridMenu = view.addMenu(tr("デザイン: グリッド間隔"));
    auto *group = new QActionGroup(m_gridMenu);
    bool found = false;
    for (const int step : kGridSteps) {
        QAction *action = m_gridMenu->addAction(step == 0 ? tr("なし") : QString::number(step));
        action->setCheckable(true);
        action->setData(step);
        action->setChecked(step == settings.grid);
        found = found || step == settings.grid;
        group->addAction(action);
        connect(action, &QAction::triggered, this, &CDesignViewMenu::Apply);
    }
    // A step written by hand into the file that the menu does not offer still counts.
    if (!found) {
        QAction *action = m_gridMenu->addAction(QString::number(settings.grid));
        action->setCheckable(true);
        action->setData(settings.grid);
        action->setChecked(true);
        group->addAction(action);
        connect(action, &QAction::triggered, this, &CDesignViewMenu::Apply);
    }
    if (CDesignCommands *design = m_pane.Design())
        design->SetSnap(settings.snap, settings.grid);

    m_fit = view.addAction(tr("デザイン: 全体表示 (100%)"));
    m_fit->setObjectName(QStringLiteral("designZoomFit"));
    m_fit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(m_fit, &QAction::triggered, this, [this] {
        if (CDesignCommands *design = m_pane.Design())
            design->ZoomToFit();
    });

    // One item aligns to the page, several to the box around them; nothing selected, nothing
    // to align.
    m_alignMenu = view.addMenu(tr("デザイン: 整列"));
    m_alignMenu->setObjectName(QStringLiteral("designAlign"));
    for (const AlignEdge edge : kAlignEdges) {
        QAction *action = m_alignMenu->addAction(AlignLabel(edge));
        action->setData(int(edge));
        connect(action, &QAction::triggered, this, [this, edge] {
            if (CDesignCommands *design = m_pane.Design())
                design->Align(edge);
        });
    }
    auto enable = [this] {
        const CDesignCommands *design = m_pane.Design();
        const bool can = m_pane.IsDesignMode() && design && design->CanAlign();
        for (QAction *action : m_alignMenu->actions())
            action->setEnabled(can);
    };
    connect(&view, &QMenu::aboutToShow, this, enable);
    connect(m_alignMenu, &QMenu::aboutToShow, this, enable);

    const SafeAreaSettings safe = LoadSafeArea(ini);
    m_safeGuides = view.addAction(tr("デザイン: セーフエリアを表示"));
    m_safeGuides->setObjectName(QStringLiteral("designSafeGuides"));
    m_safeGuides->setCheckable(true);
    m_safeGuides->setChecked(safe.guides);
    connect(m_safeGuides, &QAction::triggered, this, &CDesignViewMenu::ApplySafeArea);
    m_safeMenu = view.addMenu(tr("デザイン: タイトルセーフの余白"));
    auto *margins = new QActionGroup(m_safeMenu);
    std::vector<int> offered(std::begin(kSafeMargins), std::end(kSafeMargins));
    // A margin written by hand into the file that the menu does not offer still counts.
    if (std::find(offered.begin(), offered.end(), safe.percent) == offered.end())
        offered.push_back(safe.percent);
    for (const int percent : offered) {
        QAction *action = m_safeMenu->addAction(QStringLiteral("%1 %").arg(percent));
        action->setCheckable(true);
        action->setData(percent);
        action->setChecked(percent == safe.percent);
        margins->addAction(action);
        connect(action, &QAction::triggered, this, &CDesignViewMenu::ApplySafeArea);
    }
    if (CDesignCommands *design = m_pane.Design())
        design->SetSafeArea(safe.guides, safe.percent);
}

QAction *CDesignViewMenu::SafeMarginAction(int percent) const
{
    for (QAction *action : m_safeMenu->actions()) {
        if (action->data().toInt() == percent)
            return action;
    }
    return nullptr;
}

void CDesignViewMenu::ApplySafeArea()
{
    SafeAreaSettings settings;
    settings.guides = m_safeGuides->isChecked();
    for (QAction *action : m_safeMenu->actions()) {
        if (action->isChecked())
            settings.percent = action->data().toInt();
    }
    if (CDesignCommands *design = m_pane.Design())
        design->SetSafeArea(settings.guides, settings.percent);
    // A settings file that cannot be written only loses the remembered value.
    SaveSafeArea(m_ini, settings);
    emit SafeAreaChanged(settings.percent);
}

QAction *CDesignViewMenu::AlignAction(AlignEdge edge) const
{
    for (QAction *action : m_alignMenu->actions()) {
        if (action->data().toInt() == int(edge))
            return action;
    }
    return nullptr;
}

QAction *CDesignViewMenu::GridAction(int grid) const
{
    for (QAction *action : m_gridMenu->actions()) {
        if (action->data().toInt() == grid)
            return action;
    }
    return nullptr;
}

void CDesignViewMenu::Apply()
{
    DesignSnapSettings settings;
    settings.snap = m_snap->isChecked();
    for (QAction *action : m_gridMenu->actions()) {
        if (action->isChecked())
            settings.grid = action->data().toInt();
    }
    if (CDesignCommands *design = m_pane.Design())
        design->SetSnap(settings.snap, settings.grid);
    // A settings file that cannot be written only loses the remembered value.
    SaveDesignSnap(m_ini, settings);
}

} // namespace orin
