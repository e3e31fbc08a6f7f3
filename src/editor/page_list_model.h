// SPDX-License-Identifier: MIT
#pragma once

#include "images/thumbnail_cache.h"
#include "model/content_model.h"

#include <QAbstractTableModel>
#include <QSize>

namespace orin {

// The rows of the page list, read from the page table whenever a cell is drawn: the list
// keeps no copy of the pages. The row count is set by the frame after it changes the table.
// Column 2 shows the background thumbnail, made when its row is drawn (through a cache that
// notices changed files); column 3, the comment, is edited in place while ModeAction is not 0.
class CPageListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kEmptyColumn = 0, kIdColumn = 1, kImageColumn = 2, kCommentColumn = 3,
                  kColumnCount = 4 };

    explicit CPageListModel(QObject *parent = nullptr);

    // Points the list at the page table (null for none) and resets the rows.
    void SetPageTable(const CMyDataArray<CMyProgramInfo> *pages);
    const CMyDataArray<CMyProgramInfo> *PageTable() const { return m_pages; }
    // The number of rows; rows beyond the page table stay empty.
    void SetItemCount(int count);
    int ItemCount() const { return m_itemCount; }
    // Redraws one row (its page changed).
    void RefreshRow(int row);

    void SetThumbnailSize(QSize size, bool vertical);
    void SetModeAction(int modeAction) { m_modeAction = modeAction; }
    const CThumbnailCache &Thumbnails() const { return m_thumbnails; }
    // A thumbnail through the list's cache (other views of the pages share it).
    QImage Thumbnail(const QString &path, QSize size, bool vertical) const
    {
        return m_thumbnails.Thumbnail(path, size, vertical);
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // The end of an in-place edit: only the comment column is handed on (CommentEdited).
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

signals:
    void CommentEdited(int row, const QString &text);

private:
    const CMyDataArray<CMyProgramInfo> *m_pages = nullptr;
    int m_itemCount = 0;
    int m_modeAction = 1;
    QSize m_thumbnailSize{160, 90};
    bool m_vertical = false;
    mutable CThumbnailCache m_thumbnails;
};

} // namespace orin
