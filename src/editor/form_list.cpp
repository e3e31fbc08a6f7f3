// SPDX-License-Identifier: MIT
#include "editor/form_list.h"

#include "actions/copy_document.h"
#include "dialogs/dlg_page_prop.h"
#include "document/document.h"
#include "document/document_edits.h"
#include "editor/page_list_model.h"
#include "editor/page_list_view.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace orin {

namespace {
constexpr int kIdColumnWidth = 32;
constexpr int kButtonSize = 20;
constexpr int kSmallestUnit = 2;
constexpr int kLargestUnitToGrow = 14;
} // namespace

CFormList::CFormList(QWidget *parent) : QWidget(parent)
{
    m_minus = new QPushButton(QStringLiteral("-"), this);
    m_plus = new QPushButton(QStringLiteral("+"), this);
    m_label = new QLabel(tr("ページ"), this);
    m_minus->setProperty("controlId", 1004);
    m_plus->setProperty("controlId", 1005);
    m_label->setProperty("controlId", 1006);
    m_model = new CPageListModel(this);
    m_view = new CPageListView(this);
    m_view->setProperty("controlId", 1000);
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // A double-click shows the page; a click on a selected comment edits it.
    m_view->setEditTriggers(QAbstractItemView::SelectedClicked |
                            QAbstractItemView::EditKeyPressed);
    m_view->setShowGrid(true);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->setColumnHidden(CPageListModel::kEmptyColumn, true);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->SetDragText([this](const QList<int> &rows) {
        return m_content ? WriteCopyDocument(*m_content, rows) : QString();
    });

    connect(m_minus, &QPushButton::clicked, this, &CFormList::ZoomOut);
    connect(m_plus, &QPushButton::clicked, this, &CFormList::ZoomIn);
    connect(m_view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit PageActivated(index.row());
    });
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        std::unique_ptr<QMenu> menu = MakeContextMenu();
        if (QAction *chosen = menu->exec(m_view->viewport()->mapToGlobal(pos)))
            RunCommand(chosen->data().toInt());
    });
    connect(m_model, &CPageListModel::CommentEdited, this, [this](int row, const QString &text) {
        if (m_edits)
            m_edits->SetPageComment(row, text);
    });
    connect(m_view, &CPageListView::InternalDrop, this, &CFormList::OnInternalDrop);
    connect(m_view, &CPageListView::TextDropped, this, &CFormList::OnTextDropped);
    connect(m_view, &CPageListView::BackgroundDropped, this,
            [this](int row, const QString &path) {
                if (m_edits && BackgroundEditable())
                    m_edits->SetPageBackgroundFrom(row, path);
            });
    connect(m_view, &CPageListView::FilesDropped, this, &CFormList::FilesDropped);
    ApplyUnit();
}

CFormList::~CFormList() = default;

bool CFormList::BackgroundEditable() const
{
    return m_content ? IsBackgroundEditable(*m_content, m_modeAccess)
                     : m_modeAccess != kServerLabelsAccessMode;
}

void CFormList::SetPageTable(const CMyDataArray<CMyProgramInfo> *pages)
{
    m_model->SetPageTable(pages);
}

void CFormList::Bind(CContentModel *model, CDocument *document, CDocumentEdits *edits,
                     CPrompt *prompt)
{
    m_content = model;
    m_document = document;
    m_edits = edits;
    m_prompt = prompt;
    m_model->SetPageTable(model ? &model->pages : nullptr);
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

void CFormList::RefreshRow(int row)
{
    m_model->RefreshRow(row);
}

void CFormList::SetModeAction(int modeAction)
{
    m_modeAction = modeAction;
    m_model->SetModeAction(modeAction);
    m_view->SetModeAction(modeAction);
}

// ---------------------------------------------------------------- thumbnails

void CFormList::SetThumbnailSize(const QSize &size)
{
    m_unit = std::max(1, size.width() / (m_vertical ? 9 : 16));
    ApplyUnit();
}

void CFormList::SetVertical(bool vertical)
{
    if (vertical == m_vertical)
        return;
    m_vertical = vertical;
    ApplyUnit();
}

void CFormList::ZoomOut()
{
    if (m_unit > kSmallestUnit) {
        m_unit -= 2;
        ApplyUnit();
    }
}

void CFormList::ZoomIn()
{
    if (m_unit <= kLargestUnitToGrow) {
        m_unit += 2;
        ApplyUnit();
    }
}

void CFormList::ApplyUnit()
{
    m_thumbnailSize = m_vertical ? QSize(9 * m_unit, 16 * m_unit) : QSize(16 * m_unit, 9 * m_unit);
    RebuildThumbnails();
}

void CFormList::RebuildThumbnails()
{
    m_model->SetThumbnailSize(m_thumbnailSize, m_vertical);
    m_view->setIconSize(m_thumbnailSize);
    m_view->verticalHeader()->setDefaultSectionSize(m_thumbnailSize.height() + 2);
    m_view->setColumnWidth(CPageListModel::kImageColumn, m_thumbnailSize.width());
    m_view->scrollToTop();
}

void CFormList::LayoutList()
{
    m_view->setColumnWidth(CPageListModel::kIdColumn, kIdColumnWidth);
    m_view->setColumnWidth(CPageListModel::kImageColumn, m_thumbnailSize.width());
    m_view->scrollToTop();
}

void CFormList::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int w = width();
    m_minus->setGeometry(0, 0, kButtonSize, kButtonSize);
    m_plus->setGeometry(kButtonSize, 0, kButtonSize, kButtonSize);
    m_label->setGeometry(2 * kButtonSize, 0, std::max(0, w - 2 * kButtonSize), kButtonSize);
    m_view->setGeometry(0, kButtonSize, w, std::max(0, height() - kButtonSize));
    m_view->setColumnWidth(CPageListModel::kIdColumn, kIdColumnWidth);
}

// ---------------------------------------------------------------- rows and commands

int CFormList::SelectedRow() const
{
    const QList<int> rows = m_view->SelectedRows();
    if (rows.isEmpty() || rows.first() >= ItemCount())
        return -1;
    return rows.first();
}

void CFormList::SelectRow(int row)
{
    if (row < 0 || row >= ItemCount())
        return;
    // Not QTableView::selectRow: it follows the held modifiers, so a Ctrl+Z that shows the
    // undone page would toggle an already selected row off.
    const QModelIndex index = m_model->index(row, CPageListModel::kIdColumn);
    m_view->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

std::unique_ptr<QMenu> CFormList::MakeContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    auto add = [&menu](int id, const QString &text) {
        QAction *action = menu->addAction(text);
        action->setData(id);
        return action;
    };
    add(listcmd::kChangeBackground, tr("画像変更..."));
    if (m_modeAction == 0)
        return menu;
    add(listcmd::kRenumber, tr("リナンバリング"));
    add(listcmd::kPageProperties, tr("ページ属性..."));
    QAction *design = add(listcmd::kDesignMode, tr("編集／デザインモード切替"));
    design->setCheckable(true);
    design->setChecked(m_designMode);
    add(listcmd::kDeletePage, tr("ページ削除"));
    return menu;
}

void CFormList::RunCommand(int commandId)
{
    const int row = SelectedRow();
    if (row < 0 || !m_edits)
        return;
    switch (commandId) {
    case listcmd::kChangeBackground:
        if (BackgroundEditable())
            m_edits->SetPageBackground(row);
        break;
    case listcmd::kRenumber:
        m_edits->RenumberPages();
        break;
    case listcmd::kPageProperties:
        OnPageProperties(row);
        break;
    case listcmd::kDesignMode:
        emit DesignModeRequested(row);
        break;
    case listcmd::kDeletePage:
        m_edits->AskDeletePage(row);
        break;
    default:
        break;
    }
}

void CFormList::OnPageProperties(int row)
{
    if (!m_content || !m_document || !m_prompt || !m_content->pages.IsValidIndex(row))
        return;
    const int timerMode = m_document->Settings().TimerMode;
    const CMyProgramInfo *page = m_content->pages.At(row);
    const quint64 serial = page->serial.Value();
    CDlgPageProp dialog(page->id, PagePropertiesOf(*m_content, row, timerMode), timerMode,
                        *m_prompt, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The page may have moved while the dialog was open (a merge by a drop): write to it where
    // it is now, or not at all when it is gone.
    for (int now = 0; now < m_content->pages.Count(); ++now) {
        if (m_content->pages.At(now)->serial.Value() == serial) {
            m_edits->SetPageProperties(now, dialog.Values(), timerMode);
            return;
        }
    }
}

void CFormList::OnInternalDrop(int source, int target, bool copy)
{
    if (!m_edits)
        return;
    const int row = m_edits->DropPageRow(source, target, copy);
    if (row >= 0)
        SelectRow(row);
}

void CFormList::OnTextDropped(const std::optional<QString> &text)
{
    if (m_edits)
        m_edits->DropPages(m_modeAction, text, m_defTimer);
}

} // namespace orin
