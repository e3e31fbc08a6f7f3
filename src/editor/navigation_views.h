// SPDX-License-Identifier: MIT
#pragma once

#include "actions/navigation_analysis.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <map>

// The two drawings of the navigation map: the pages as a graph of thumbnails with their jumps,
// and the shown page with the focus moves between its items as arrows.

namespace orin {

// The thumbnail of a page's background at a size.
using PageThumbnailSource = std::function<QImage(const CMyProgramInfo &page, QSize size)>;

class CPageGraphView : public QWidget {
public:
    explicit CPageGraphView(QWidget *parent = nullptr);

    void SetContent(const CContentModel *model, const NavigationAnalysis *analysis,
                    PageThumbnailSource thumbnails, bool vertical);
    void SetCurrentPage(int pageId);
    // Called with the page id of a node that was clicked.
    void SetPageClicked(std::function<void(int)> clicked) { m_clicked = std::move(clicked); }

    // Where the node of a page is drawn; empty when it has none.
    QRect NodeRect(int pageId) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void Layout();

    const CContentModel *m_model = nullptr;
    const NavigationAnalysis *m_analysis = nullptr;
    PageThumbnailSource m_thumbnails;
    bool m_vertical = false;
    int m_current = 0;
    std::map<int, QRect> m_nodes;
    QSize m_extent;
    std::function<void(int)> m_clicked;
};

class CFocusArrowsView : public QWidget {
public:
    explicit CFocusArrowsView(QWidget *parent = nullptr);

    // The page to draw (null: none) with its focus moves and the findings about its items.
    void SetPage(const CMyProgramInfo *page, const PageNavigation *navigation,
                 const std::vector<Finding> *findings, const QImage &background, bool vertical);
    void SetFocusItem(int itemId);
    int FocusItem() const { return m_focus; }
    // The arrows drawn, as "from>to" item ids (for tests).
    QStringList Arrows() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF PageArea() const;

    const CMyProgramInfo *m_page = nullptr;
    const PageNavigation *m_navigation = nullptr;
    const std::vector<Finding> *m_findings = nullptr;
    QImage m_background;
    bool m_vertical = false;
    int m_focus = 0;
};

} // namespace orin
