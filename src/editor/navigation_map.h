// SPDX-License-Identifier: MIT
#pragma once

#include "actions/navigation_analysis.h"
#include "editor/navigation_views.h"
#include "preview/layout_findings.h"

#include <QWidget>

#include <memory>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QTimer;

// The navigation map: the graph of the pages and their jumps, the focus moves of the shown
// page, and the list of findings (the navigation's, then the layout's); clicking a page or a
// finding asks to go there.

namespace orin {

class CNavigationMap : public QWidget {
    Q_OBJECT
public:
    // The model and the settings must outlive the map.
    CNavigationMap(const CContentModel &model, const ProgramSettings &settings,
                   QWidget *parent = nullptr);

    void SetThumbnailSource(PageThumbnailSource thumbnails);
    // Where the layout findings come from: a new pass over the model as it is (the owner knows
    // the colour map, the pictures and the limits); none: the list shows the navigation's only.
    using LayoutSource = std::function<std::unique_ptr<CLayoutPass>()>;
    void SetLayoutSource(LayoutSource source);
    // Analyses the content set again (after an edit or a newly opened set). The navigation's
    // findings show at once; the layout's are checked a few pages at a time on the event loop,
    // once the edits have paused for a moment, and show when the pass is done. A refresh
    // during a pass drops it and starts again.
    void Refresh();
    // Stops checking the layout and forgets its findings (the map is not shown: the model may
    // change unseen); the next Refresh checks again.
    void ForgetLayout();
    // True from a Refresh until the layout findings of the model as it is are listed.
    bool LayoutPending() const { return m_layoutPending; }
    // How long the edits must pause before a pass starts, and how long one slice of a pass may
    // take on the event loop (at least one page is checked a slice).
    void SetLayoutTiming(int pauseMs, int sliceMs);
    // The page the canvas shows and its focus item.
    void SetCurrent(int pageId, int focusItem);

    const NavigationAnalysis &Analysis() const { return m_analysis; }
    const std::vector<LayoutFinding> &LayoutFindings() const { return m_layout; }
    CPageGraphView *Graph() const { return m_graph; }
    CFocusArrowsView *FocusView() const { return m_focusView; }
    QListWidget *FindingsList() const { return m_findings; }

signals:
    void PageActivated(int pageId);
    // pageId 0: a macro outside any page; itemId 0: the page itself.
    void FindingActivated(int pageId, int itemId);
    // A layout finding was chosen: the page and the item (0: none) to show in the design.
    void LayoutFindingActivated(int pageId, int itemId);
    // A slice of the layout pass is done: `pagesChecked` of the set's `pages`.
    void LayoutProgress(int pagesChecked, int pages);
    // The layout findings of the model as it is are listed.
    void LayoutFindingsReady();

private:
    void StartLayoutPass();
    void RunLayoutSlice();
    void ListFindings();
    void ShowFocusOf(int pageId);
    void OnFindingChosen(QListWidgetItem *item);

    const CContentModel &m_model;
    const ProgramSettings &m_settings;
    NavigationAnalysis m_analysis;
    LayoutSource m_layoutSource;
    std::vector<LayoutFinding> m_layout;
    std::unique_ptr<CLayoutPass> m_pass;
    bool m_layoutPending = false;
    QTimer *m_pauseTimer = nullptr; // the edits' pause before a pass
    QTimer *m_sliceTimer = nullptr; // the next slice of the pass
    int m_sliceMs = 20;
    PageThumbnailSource m_thumbnails;
    int m_currentPage = 0;
    CPageGraphView *m_graph = nullptr;
    CFocusArrowsView *m_focusView = nullptr;
    QLabel *m_findingsTitle = nullptr;
    QListWidget *m_findings = nullptr;
};

} // namespace orin
