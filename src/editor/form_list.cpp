// SPDX-License-Identifier: MIT
#include "editor/form_list.h"

#include "editor/page_list_model.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

namespace orin {

namespace {
constexpr int kIdColumnWidth = 32;
}

CFormList::CFormList(QWidget *parent) : QWidget(parent)
{
    m_model = new CPageListModel(this);
    m_view = new QTableView(this);
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setShowGrid(true);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->horizontalHeader()->setHighlightSections(false);
    // The empty first column and the thumbnail column have nothing to show yet.
    m_view->setColumnHidden(CPageListModel::kEmptyColumn, true);
    m_view->setColumnHidden(CPageListModel::kImageColumn, true);
    m_view->setColumnWidth(CPageListModel::kIdColumn, kIdColumnWidth);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    connect(m_view, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { emit PageActivated(index.row()); });
}

void CFormList::SetPageTable(const CMyDataArray<CMyProgramInfo> *pages)
{
    m_model->SetPageTable(pages);
}

void CFormList::SetItemCount(int count)
{
    m_model->SetItemCount(count);
    LayoutList();
}

int CFormList::ItemCount() const
{
    return m_model->ItemCount();
}

void CFormList::LayoutList()
{
    m_view->setColumnWidth(CPageListModel::kIdColumn, kIdColumnWidth);
    m_view->scrollToTop();
}

void CFormList::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_view->setColumnWidth(CPageListModel::kIdColumn, kIdColumnWidth);
}

} // namespace orin
