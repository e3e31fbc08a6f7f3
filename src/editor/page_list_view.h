// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <QTableView>

#include <functional>
#include <optional>

class QMimeData;

namespace orin {

// The table of the page list with its drags and drops: selected rows leave as the page copy
// document (text), a drop from the list itself reorders or, with Ctrl, duplicates, text from
// elsewhere is handed on for the merge, and a ".jpg" file dropped on a row becomes that page's
// background. Drags and text drops work only while ModeAction is not 0.
class CPageListView : public QTableView {
    Q_OBJECT
public:
    explicit CPageListView(QWidget *parent = nullptr);

    void SetModeAction(int modeAction) { m_modeAction = modeAction; }
    // Makes the text a drag carries for the rows (the page copy document).
    void SetDragText(std::function<QString(const QList<int> &)> dragText)
    {
        m_dragText = std::move(dragText);
    }

    // The selected rows in ascending order.
    QList<int> SelectedRows() const;
    // The text of a drag starting now (empty while drags are off or nothing is selected).
    QString DragText() const;
    // The row a drop at `pos` goes before: the row under the point (the last row below the
    // rows), or the next one when the point is below the middle of that row; -1 without rows.
    int DropTargetRow(QPoint pos) const;
    // Acts on a drop at `pos`; `internal` when it came from this list, `copy` when Ctrl was
    // held. Returns true when the drop was taken.
    bool HandleDrop(const QMimeData &mime, QPoint pos, bool copy, bool internal);
    bool IsInternalDrag() const { return m_internalDrag; }
    // The row an internal drag started from (set when a drag starts).
    void SetDragSource(int row) { m_dragSource = row; }

signals:
    void InternalDrop(int sourceRow, int targetRow, bool copy);
    void TextDropped(const std::optional<QString> &text);
    void BackgroundDropped(int row, const QString &path);
    void FilesDropped(const QStringList &paths);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool Accepts(const QMimeData &mime, bool internal) const;

    int m_modeAction = 1;
    int m_dragSource = -1;
    bool m_internalDrag = false;
    std::function<QString(const QList<int> &)> m_dragText;
};

} // namespace orin
