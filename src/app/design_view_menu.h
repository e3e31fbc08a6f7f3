// SPDX-License-Identifier: MIT
#pragma once

#include "document/item_align.h"

#include <QObject>

class QAction;
class QMenu;

// The design surface's entries of the view menu: snapping on and off and the grid step, both
// remembered in the settings file and handed to the design side of the page pane, and the
// zoom back to the fit, the alignment of the selected items, and the title-safe and
// action-safe guides with the title-safe margin (remembered too; the layout findings use it).

namespace orin {

class CFormGraph;
class CIniStore;

class CDesignViewMenu : public QObject {
    Q_OBJECT
public:
    // Adds the entries to `view` and gives the pane the remembered values; the pane and the
    // settings file outlive this object.
    CDesignViewMenu(QMenu &view, CFormGraph &pane, CIniStore &ini, QObject *parent = nullptr);

    QAction *SnapAction() const { return m_snap; }
    // "デザイン: 全体表示 (100%)" (Ctrl+0): the design surface back to the page's fit.
    QAction *FitAction() const { return m_fit; }
    // The entry of the "デザイン: 整列" submenu for `edge`.
    QAction *AlignAction(AlignEdge edge) const;
    // The grid entry for `grid` page units (0: none); null when there is none for it.
    QAction *GridAction(int grid) const;
    QAction *SafeGuidesAction() const { return m_safeGuides; }
    // The entry of the title-safe margin of `percent`; null when there is none for it.
    QAction *SafeMarginAction(int percent) const;

signals:
    // The title-safe margin or the guides changed.
    void SafeAreaChanged(int percent);

private:
    void Apply();
    void ApplySafeArea();

    CFormGraph &m_pane;
    CIniStore &m_ini;
    QAction *m_snap = nullptr;
    QMenu *m_gridMenu = nullptr;
    QAction *m_fit = nullptr;
    QMenu *m_alignMenu = nullptr;
    QAction *m_safeGuides = nullptr;
    QMenu *m_safeMenu = nullptr;
};

} // namespace orin
