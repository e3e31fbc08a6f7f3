// SPDX-License-Identifier: MIT
#include "editor/page_list_view.h"

#include "actions/page_drop.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QUrl>

namespace orin {

namespace {

QStringList LocalFiles(const QMimeData &data)
{
    QStringList paths;
    const QList<QUrl> urls = data.urls();
    for (const QUrl &url : urls) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

bool IsJpegName(const QString &path)
{
    return path.right(4).toLower() == u".jpg";
}

} // namespace

CPageListView::CPageListView(QWidget *parent) : QTableView(parent)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(true);
}

QList<int> CPageListView::SelectedRows() const
{
    QList<int> rows;
    if (!selectionModel())
        return rows;
    const QModelIndexList selected = selectionModel()->selectedRows(1);
    for (const QModelIndex &index : selected)
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QString CPageListView::DragText() const
{
    const QList<int> rows = SelectedRows();
    if (m_modeAction == 0 || rows.isEmpty() || !m_dragText)
        return {};
    return m_dragText(rows);
}

int CPageListView::DropTargetRow(QPoint pos) const
{
    const int count = model() ? model()->rowCount() : 0;
    if (count == 0)
        return -1;
    int row = rowAt(pos.y());
    if (row < 0)
        row = count - 1;
    const int top = rowViewportPosition(row);
    if (pos.y() > top + rowHeight(row) / 2)
        ++row;
    return row;
}

bool CPageListView::Accepts(const QMimeData &mime, bool internal) const
{
    const QStringList files = LocalFiles(mime);
    if (!files.isEmpty())
        return true;
    if (m_modeAction == 0)
        return false;
    return internal || mime.hasText() || DroppedText(mime).has_value();
}

bool CPageListView::HandleDrop(const QMimeData &mime, QPoint pos, bool copy, bool internal)
{
    // Files first: a background dropped on a row, anything else to the frame (projects).
    const QStringList files = LocalFiles(mime);
    if (!files.isEmpty()) {
        const int row = rowAt(pos.y());
        if (IsJpegName(files.first())) {
            if (row < 0)
                return false;
            emit BackgroundDropped(row, files.first());
            return true;
        }
        emit FilesDropped(files);
        return true;
    }
    if (m_modeAction == 0)
        return false;
    if (internal) {
        const int target = DropTargetRow(pos);
        clearSelection();
        if (m_dragSource >= 0 && target >= 0 && m_dragSource != target)
            emit InternalDrop(m_dragSource, target, copy);
        return true;
    }
    emit TextDropped(DroppedText(mime));
    return true;
}

void CPageListView::startDrag(Qt::DropActions)
{
    const QString text = DragText();
    if (text.isEmpty())
        return;
    m_dragSource = currentIndex().isValid() ? currentIndex().row() : SelectedRows().value(0, -1);
    auto *mime = new QMimeData;
    mime->setText(text);
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    m_internalDrag = true;
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    m_internalDrag = false;
}

void CPageListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (Accepts(*event->mimeData(), event->source() == this))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CPageListView::dragMoveEvent(QDragMoveEvent *event)
{
    if (Accepts(*event->mimeData(), event->source() == this))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CPageListView::dropEvent(QDropEvent *event)
{
    const bool internal = event->source() == this && m_internalDrag;
    const bool copy = event->modifiers().testFlag(Qt::ControlModifier);
    m_internalDrag = false; // the flag is cleared before the drop is worked on
    if (HandleDrop(*event->mimeData(), event->position().toPoint(), copy, internal)) {
        event->setDropAction(Qt::CopyAction); // the list moves its rows itself
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace orin
