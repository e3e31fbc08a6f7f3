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
    if (!index.isValid() || role != Qt::DisplayRole || !m_pages ||
        !m_pages->IsValidIndex(index.row()))
        return {};
    const CMyProgramInfo *page = m_pages->At(index.row());
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
    case kImageColumn:
        return QStringLiteral("画像");
    case kCommentColumn:
        return QStringLiteral("ｺﾒﾝﾄ");
    default:
        return QString();
    }
}

} // namespace orin
