// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QSize>
#include <QWidget>

class QTableView;

namespace orin {

class CPageListModel;

// The page list at the left of the main window: one row per page of the page table with its
// id and comment. A double-click on a row asks the frame to show that page.
class CFormList : public QWidget {
    Q_OBJECT
public:
    explicit CFormList(QWidget *parent = nullptr);

    // Points the list at the page table of the model (null for none).
    void SetPageTable(const CMyDataArray<CMyProgramInfo> *pages);
    // Sets the row count after the page table changed.
    void SetItemCount(int count);
    int ItemCount() const;

    QSize ThumbnailSize() const { return m_thumbnailSize; }
    void SetThumbnailSize(const QSize &size) { m_thumbnailSize = size; }

    // Lays the columns out for the current width.
    void LayoutList();

    QTableView *ListView() const { return m_view; }

signals:
    // The operator chose the page at `row` (a double-click).
    void PageActivated(int row);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QTableView *m_view = nullptr;
    CPageListModel *m_model = nullptr;
    QSize m_thumbnailSize{128, 72};
};

} // namespace orin
