// SPDX-License-Identifier: MIT
#pragma once

#include "actions/navigation_analysis.h"
#include "editor/navigation_views.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;

// The navigation map: the graph of the pages and their jumps, the focus moves of the shown
// page, and the list of findings; clicking a page or a finding asks to go there.

namespace orin {

class CNavigationMap : public QWidget {
    Q_OBJECT
public:
    // The model and the settings must outlive the map.
    CNavigationMap(const CContentModel &model, const ProgramSettings &settings,
                   QWidget *parent = nullptr);

    void SetThumbnailSource(PageThumbnailSource thumbnails);
    // Analyses the content set again (after an edit or a newly opened set).
    void Refresh();
    // The page the canvas shows and its focus item.
    void SetCurrent(int pageId, int focusItem);

    const NavigationAnalysis &Analysis() const { return m_analysis; }
    CPageGraphView *Graph() const { return m_graph; }
    CFocusArrowsView *FocusView() const { return m_focusView; }
    QListWidget *FindingsList() const { return m_findings; }

signals:
    void PageActivated(int pageId);
    // pageId 0: a macro outside any page; itemId 0: the page itself.
    void FindingActivated(int pageId, int itemId);

private:
    void ShowFocusOf(int pageId);
    void OnFindingChosen(QListWidgetItem *item);

    const CContentModel &m_model;
    const ProgramSettings &m_settings;
    NavigationAnalysis m_analysis;
    PageThumbnailSource m_thumbnails;
    int m_currentPage = 0;
    CPageGraphView *m_graph = nullptr;
    CFocusArrowsView *m_focusView = nullptr;
    QLabel *m_findingsTitle = nullptr;
    QListWidget *m_findings = nullptr;
};

} // namespace orin
