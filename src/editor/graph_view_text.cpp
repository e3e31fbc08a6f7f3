// SPDX-License-Identifier: MIT
// Item editing on the canvas: texts typed in place or in the text dialog, images changed by a
// Ctrl+double-click or by dropping a file onto the item, and the right double-click that shows
// or hides the panel.
#include "editor/graph_view.h"

#include "dialogs/dlg_gtext.h"
#include "document/document_edits.h"
#include "editor/dlg_panel.h"
#include "editor/in_place_editor.h"
#include "editor/item_menu.h"
#include "images/image_import.h"
#include "model/ui_text.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QTextCursor>
#include <QUrl>

#include <algorithm>

namespace orin {

namespace {

constexpr int kCursorOnly = 1;

// The first local file of a drag, or an empty string.
QString FirstLocalFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return QString();
    const QList<QUrl> urls = data->urls();
    return urls.isEmpty() || !urls.first().isLocalFile() ? QString() : urls.first().toLocalFile();
}

// Where the in-place editor lies: over the item's text area, inside its margins.
QRect InPlaceEditorRect(const PageItem &item, const CCanvasMapping &mapping)
{
    return mapping
        .MapToClientF(item.x + item.margin_x, item.y + item.margin_y,
                      item.width - 2.0 * item.margin_x, item.height - 2.0 * item.margin_y)
        .toRect();
}

} // namespace

void CGraphView::CreateTextEditors()
{
    m_inPlace = new CInPlaceEditor(this);
    connect(m_inPlace, &CInPlaceEditor::EditingLeft, this, &CGraphView::EndTextEditing);
    connect(m_inPlace, &CInPlaceEditor::EditCommandChosen, this,
            [this](int command) { m_inPlace->RunEditCommand(command); });
    m_textDialog = new CDlgGText(this);
    connect(m_textDialog, &CDlgGText::TextCommitted, this, &CGraphView::OnTextCommitted);
}

bool CGraphView::CanEdit() const
{
    return m_editModel && m_edits;
}

int CGraphView::EditableItemAt(QPoint clientPoint) const
{
    // A special screen keeps the display list of the last page, which it does not show.
    if (IsSpecialScreen(m_engine->ShownPageNumber()))
        return -1;
    const CCanvasMapping mapping(size(), m_engine->Vertical());
    const std::vector<int> under = ItemsAt(*m_engine, mapping.ClientToPage(clientPoint));
    for (auto it = under.rbegin(); it != under.rend(); ++it) {
        if (m_engine->Items()[size_t(*it)].item.idg != kCursorOnly)
            return *it;
    }
    return -1;
}

TextEditTarget CGraphView::TargetOf(int index) const
{
    TextEditTarget target;
    const int row = ShownRow();
    target.pageSerial = row < 0 ? 0 : m_editModel->pages.At(row)->serial.Value();
    const int id = m_engine->Items()[size_t(index)].item.id;
    target.itemId = id;
    target.textState = m_engine->TextState(id);
    target.textSource = m_engine->TextSource(id);
    target.textSection = m_engine->TextSection(id);
    return target;
}

void CGraphView::EditText(int index, bool shift)
{
    if (!CanEdit() || index < 0 || index >= int(m_engine->Items().size()))
        return;
    EndTextEditing();
    const TextEditTarget target = TargetOf(index);
    if (target.pageSerial == 0)
        return;
    switch (RouteTextEdit(target.textState, shift)) {
    case TextEditRoute::InPlace:
        StartInPlace(index);
        return;
    case TextEditRoute::GroupDialog: {
        const CMyTextInfo *record = m_editModel->texts.FindById(target.textSource);
        if (!record)
            return;
        m_dialogTextId = target.textSource;
        m_dialogTarget = target;
        m_textDialog->setWindowTitle(UiText(kGroupTextCaption));
        m_textDialog->SetText(record->text);
        break;
    }
    case TextEditRoute::ItemDialog:
        m_dialogIndex = index;
        m_dialogTextId = 0;
        m_dialogTarget = target;
        m_textDialog->setWindowTitle(UiText(kItemTextCaption));
        m_textDialog->SetText(m_engine->Items()[size_t(index)].item.text);
        break;
    }
    m_textDialog->show();
    m_textDialog->raise();
    m_textDialog->activateWindow();
}

void CGraphView::StartInPlace(int index)
{
    m_inPlaceTarget = TargetOf(index);
    m_inPlaceIndex = index;
    m_dialogIndex = -1;
    PlaceInPlaceEditor(m_engine->Items()[size_t(index)].item.text);
    m_renderer.SetEditingIndex(index);
    m_inPlace->show();
    m_inPlace->setFocus(Qt::OtherFocusReason);
    update();
}

void CGraphView::PlaceInPlaceEditor(const QString &text)
{
    const PageItem &item = m_engine->Items()[size_t(m_inPlaceIndex)].item;
    const CCanvasMapping mapping(size(), m_engine->Vertical());
    m_inPlace->setGeometry(InPlaceEditorRect(item, mapping));
    m_inPlace->SetItemText(text, item.size, mapping.Scale());
}

void CGraphView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The text being typed stays over its item, in the item's font at the new scale. When the
    // scale changes, the editor's own undo steps are given up for that (its formats are set
    // anew); what was typed and the cursor stay. A resize that keeps the scale only moves it.
    if (m_inPlaceIndex < 0 || !m_inPlace->isVisible()
        || size_t(m_inPlaceIndex) >= m_engine->Items().size())
        return;
    const PageItem &item = m_engine->Items()[size_t(m_inPlaceIndex)].item;
    const CCanvasMapping mapping(size(), m_engine->Vertical());
    if (m_inPlace->ShowsSizeAt(item.size, mapping.Scale())) {
        m_inPlace->setGeometry(InPlaceEditorRect(item, mapping));
        return;
    }
    const int cursor = m_inPlace->textCursor().position();
    PlaceInPlaceEditor(m_inPlace->toPlainText());
    QTextCursor place = m_inPlace->textCursor();
    place.setPosition(std::min(cursor, m_inPlace->document()->characterCount() - 1));
    m_inPlace->setTextCursor(place);
}

void CGraphView::EndTextEditing()
{
    if (m_inPlaceIndex < 0)
        return;
    const int index = m_inPlaceIndex;
    const QString text = m_inPlace->toPlainText();
    m_inPlaceIndex = -1;
    m_renderer.SetEditingIndex(-1);
    // The display list still holds the page typed on unless it has been reset.
    if (index < int(m_engine->Items().size())
        && m_engine->Items()[size_t(index)].item.id == m_inPlaceTarget.itemId)
        m_engine->SetShownText(index, text);
    // The keyboard goes back to the canvas, not to a hidden editor.
    if (m_inPlace->hasFocus())
        setFocus(Qt::OtherFocusReason);
    m_inPlace->hide();
    m_inPlace->clear();
    if (CanEdit()) {
        ++m_committing;
        CommitTypedText(*m_edits, *m_editModel, m_inPlaceTarget, text);
        --m_committing;
    }
    m_inPlaceTarget = TextEditTarget();
    update();
}

void CGraphView::DropGoneTextTarget()
{
    if (!m_dialogTarget || !m_editModel
        || DialogTargetExists(*m_editModel, *m_dialogTarget, m_dialogTextId))
        return;
    m_dialogTarget.reset();
    m_dialogIndex = -1;
    m_textDialog->hide();
}

void CGraphView::OnTextCommitted(const QString &text)
{
    // "更新" writes to what the dialog was opened on, once; without a target nothing happens.
    if (!m_dialogTarget || !CanEdit())
        return;
    const TextEditTarget target = *m_dialogTarget;
    m_dialogTarget.reset();
    ++m_committing;
    CommitDialogText(*m_edits, *m_editModel, target, m_dialogTextId, text);
    --m_committing;
    // The texts are read again from the model.
    ShowPage(m_engine->ShownPageNumber());
}

void CGraphView::ChangeImage(int index)
{
    if (!CanEdit() || index < 0 || index >= int(m_engine->Items().size()))
        return;
    const PageItem &item = m_engine->Items()[size_t(index)].item;
    const int picture = m_engine->PictureNumber(item.id);
    if (!m_renderer.PictureEditable(picture))
        return;
    const int shown = m_engine->ShownPageNumber();
    if (m_edits->ChangeItemImage(picture, int(item.width), int(item.height)) > 0)
        ShowPage(shown);
}

bool CGraphView::RunEditCommand(int command)
{
    if (m_inPlaceIndex < 0 || !m_inPlace->hasFocus())
        return false;
    return m_inPlace->RunEditCommand(command);
}

int CGraphView::DropPictureAt(QPoint clientPoint) const
{
    if (IsSpecialScreen(m_engine->ShownPageNumber()))
        return 0;
    const CCanvasMapping mapping(size(), m_engine->Vertical());
    const std::vector<int> under = ItemsAt(*m_engine, mapping.ClientToPage(clientPoint));
    if (under.empty())
        return 0;
    const int picture = m_engine->PictureNumber(m_engine->Items()[size_t(under.back())].item.id);
    return m_renderer.PictureEditable(picture) ? picture : 0;
}

bool CGraphView::AcceptsImageDrop(QPoint clientPoint, const QString &path) const
{
    if (!CanEdit() || path.isEmpty())
        return false;
    const int type = ClassifyImageFile(path);
    if (type == kNotAnImage || !IsAcceptedKind(type, m_engine->ExPng() ? 1 : 0))
        return false;
    return DropPictureAt(clientPoint) != 0;
}

bool CGraphView::DropImageAt(QPoint clientPoint, const QString &path)
{
    if (!AcceptsImageDrop(clientPoint, path))
        return false;
    EndTextEditing();
    const int shown = m_engine->ShownPageNumber();
    if (m_edits->ReplaceImage(DropPictureAt(clientPoint), path) <= 0)
        return false;
    // Every item showing the image takes the new display copy.
    ShowPage(shown);
    return true;
}

void CGraphView::PageChanging()
{
    EndTextEditing();
}

void CGraphView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        m_panelHidden = m_panel->isVisible();
        m_panel->setVisible(!m_panelHidden);
        return;
    }
    if (event->button() != Qt::LeftButton || !CanEdit())
        return;
    const int index = EditableItemAt(point);
    if (index < 0)
        return;
    const int id = m_engine->Items()[size_t(index)].item.id;
    if (event->modifiers() & Qt::ControlModifier) {
        if (!m_renderer.PictureEditable(m_engine->PictureNumber(id)))
            return;
        EndTextEditing();
        m_inPlace->hide();
        m_inPlace->clear();
        ChangeImage(index);
        return;
    }
    if (m_renderer.TextEditable(m_engine->TextSource(id)))
        EditText(index, (event->modifiers() & Qt::ShiftModifier) != 0);
}

void CGraphView::dragEnterEvent(QDragEnterEvent *event)
{
    // Anything else goes on to the frame (project files).
    if (AcceptsImageDrop(event->position().toPoint(), FirstLocalFile(event->mimeData())))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CGraphView::dragMoveEvent(QDragMoveEvent *event)
{
    if (AcceptsImageDrop(event->position().toPoint(), FirstLocalFile(event->mimeData())))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CGraphView::dropEvent(QDropEvent *event)
{
    const QString path = FirstLocalFile(event->mimeData());
    if (!AcceptsImageDrop(event->position().toPoint(), path)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    DropImageAt(event->position().toPoint(), path);
}

} // namespace orin
