// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QAbstractTableModel>

namespace orin {

// The rows of the page list, read from the page table whenever a cell is drawn: the list
// keeps no copy of the pages. The row count is set by the frame after it changes the table.
class CPageListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kEmptyColumn = 0, kIdColumn = 1, kImageColumn = 2, kCommentColumn = 3,
                  kColumnCount = 4 };

    explicit CPageListModel(QObject *parent = nullptr);

    // Points the list at the page table (null for none) and resets the rows.
    void SetPageTable(const CMyDataArray<CMyProgramInfo> *pages);
    // The number of rows; rows beyond the page table stay empty.
    void SetItemCount(int count);
    int ItemCount() const { return m_itemCount; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const CMyDataArray<CMyProgramInfo> *m_pages = nullptr;
    int m_itemCount = 0;
};

} // namespace orin
