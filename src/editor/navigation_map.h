// SPDX-License-Identifier: MIT
#pragma once

#include "actions/navigation_analysis.h"
#include "editor/navigation_views.h"
#include "preview/layout_findings.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;

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
    // Where the layout findings come from (the owner knows the colour map, the pictures and the
    // limits); none: the list shows the navigation's only.
    using LayoutSource = std::function<std::vector<LayoutFinding>()>;
    void SetLayoutSource(LayoutSource source);
    // Analyses the content set again (after an edit or a newly opened set).
    void Refresh();
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

private:
    void ShowFocusOf(int pageId);
    void OnFindingChosen(QListWidgetItem *item);

    const CContentModel &m_model;
    const ProgramSettings &m_settings;
    NavigationAnalysis m_analysis;
    LayoutSource m_layoutSource;
    std::vector<LayoutFinding> m_layout;
    PageThumbnailSource m_thumbnails;
    int m_currentPage = 0;
    CPageGraphView *m_graph = nullptr;
    CFocusArrowsView *m_focusView = nullptr;
    QLabel *m_findingsTitle = nullptr;
    QListWidget *m_findings = nullptr;
};

} // namespace orin
