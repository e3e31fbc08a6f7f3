// SPDX-License-Identifier: MIT
#include "editor/page_list_model.h"

namespace orin {

CPageListModel::CPageListModel(QObject *parent) : QAbstractTableModel(parent) {}

void CPageListModel::SetPageTable(const CMyDataArray<CMyProgramInfo> *pages)
{
    beginResetModel();
    m_pages = pages;
    endResetModel();
}

void CPageListModel::SetItemCount(int count)
{
    beginResetModel();
    m_itemCount = std::max(0, count);
    endResetModel();
}

void CPageListModel::RefreshRow(int row)
{
    if (row >= 0 && row < m_itemCount)
        emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

void CPageListModel::SetThumbnailSize(QSize size, bool vertical)
{
    beginResetModel();
    m_thumbnailSize = size;
    m_vertical = vertical;
    endResetModel();
}

int CPageListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_itemCount;
}

int CPageListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CPageListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_pages || !m_pages->IsValidIndex(index.row()))
        return {};
    const CMyProgramInfo *page = m_pages->At(index.row());
    if (role == Qt::DecorationRole && index.column() == kImageColumn)
        return m_thumbnails.Thumbnail(page->background, m_thumbnailSize, m_vertical);
    if (role == Qt::SizeHintRole && index.column() == kImageColumn)
        return m_thumbnailSize;
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case kIdColumn:
        return QString::number(page->id);
    case kCommentColumn:
        return page->comment;
    default:
        return {};
    }
}

QVariant CPageListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case kIdColumn:
        return QStringLiteral("ID");
    case kImageColumn: return tr("画像");
    case kCommentColumn: return tr("ｺﾒﾝﾄ");
    default:
        return QString();
    }
}

Qt::ItemFlags CPageListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && m_modeAction != 0) {
        flags |= Qt::ItemIsDragEnabled;
        if (index.column() == kCommentColumn)
            flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool CPageListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !m_pages ||
        index.row() >= m_pages->Count() || index.column() != kCommentColumn)
        return false;
    emit CommentEdited(index.row(), value.toString());
    return true;
}

} // namespace orin
