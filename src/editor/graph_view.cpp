// SPDX-License-Identifier: MIT
#include "editor/graph_view.h"

#include "actions/item_clipboard.h"
#include "actions/key_coverage.h"
#include "dialogs/dlg_action.h"
#include "dialogs/dlg_gtext.h"
#include "dialogs/dlg_item_prop.h"
#include "document/document.h"
#include "document/document_edits.h"
#include "document/prompt.h"
#include "editor/dlg_panel.h"
#include "editor/in_place_editor.h"
#include "editor/item_menu.h"
#include "editor/qt_preview_seams.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace orin {

CGraphView::CGraphView(const CContentModel &model, const ProgramSettings &settings,
                       const CColourMap &map, const QString &workFolder, CPrompt *prompt,
                       QWidget *parent)
    : QWidget(parent),
      m_prompt(prompt),
      m_model(model),
      m_settings(settings),
      m_map(map),
      m_images(map, workFolder),
      m_renderer(map, model)
{
    setObjectName(QStringLiteral("CGraphView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    m_timers = std::make_unique<CQtTimerService>([this](int id) { m_engine->OnTimer(id); });
    m_queue = std::make_unique<CQtCommandQueue>(
        [this](const PreviewCommand &command) { m_engine->RunCommand(command); });
    m_engine = std::make_unique<CPreviewEngine>(model, settings, m_images, *m_timers, *m_queue);
    m_engine->SetObserver(this);

    m_panel = new CDlgPanel(this);
    m_panel->SetToggles(true, true);
    connect(m_panel, &CDlgPanel::KeyPressed, this, [this](int code) {
        m_queue->Post({PreviewCommandKind::Key, code, 0});
    });
    connect(m_panel, &CDlgPanel::DigitPressed, this, [this](int digit) {
        m_queue->Post({PreviewCommandKind::Digit, digit, 0});
    });
    connect(m_panel, &CDlgPanel::LinkedClicksToggled, this, [this](bool on) {
        m_queue->Post({PreviewCommandKind::LinkedClicks, on ? 1 : 0, 0});
    });
    connect(m_panel, &CDlgPanel::TimersToggled, this, [this](bool on) {
        m_queue->Post({PreviewCommandKind::Timers, on ? 1 : 0, 0});
    });
    CreateTextEditors();
    setAcceptDrops(true);
}

CGraphView::~CGraphView()
{
    // Closing the window moves the focus out of the in-place editor while the base class is
    // being destroyed; its "editing left" must not reach this half-destroyed view.
    if (m_inPlace)
        m_inPlace->disconnect(this);
    if (m_textDialog)
        m_textDialog->disconnect(this);
    // The engine stops its timers and lets go of the display copies before the seams go.
    m_engine->ResetCanvas();
    m_engine->SetObserver(nullptr);
}

void CGraphView::ShowPage(int n)
{
    if (m_committing > 0)
        return;
    m_engine->ShowPage(n);
    Repaint();
}

void CGraphView::ResetCanvas()
{
    // A text still being typed goes to its page first when that page is still in the table.
    EndTextEditing();
    // The text dialog's target belongs to the page table that was shown: it closes with it.
    if (m_dialogTarget)
        m_textDialog->hide();
    m_dialogIndex = -1;
    m_dialogTarget.reset();
    m_engine->ResetCanvas();
    Repaint();
}

void CGraphView::SetFrameToggles(bool itemFrames, int frameColour, bool editableFrames,
                                 bool editedFrames)
{
    m_renderer.SetFrameToggles({itemFrames, frameColour, editableFrames, editedFrames});
    repaint();
}

void CGraphView::SetModeAccess(int modeAccess)
{
    m_renderer.SetModeAccess(modeAccess);
    update();
}

void CGraphView::SetToggles(bool linkedClicks, bool timers)
{
    m_engine->SetLinkedClicks(linkedClicks);
    m_engine->SetTimersOn(timers);
    m_panel->SetToggles(linkedClicks, timers);
}

bool CGraphView::LinkedClicks() const
{
    return m_engine->LinkedClicks();
}

bool CGraphView::Timers() const
{
    return m_engine->TimersOn();
}

void CGraphView::PlacePanel(const QRect &workArea)
{
    m_panel->PlaceBeside(workArea, QRect(mapToGlobal(QPoint(0, 0)), size()));
}

void CGraphView::BindEdits(CContentModel *model, CDocumentEdits *edits, CItemClipboard *clipboard)
{
    if (m_edits)
        disconnect(&m_edits->Document(), &CDocument::OpenEditsCommitRequested, this, nullptr);
    m_editModel = model;
    m_edits = edits;
    m_clipboard = clipboard;
    // Deleting the page or the item typed on, or any other edit, first takes the typed text as
    // a step of its own, so that undoing the edit brings the text back with its page.
    if (m_edits)
        connect(&m_edits->Document(), &CDocument::OpenEditsCommitRequested, this,
                &CGraphView::EndTextEditing);
}

int CGraphView::ShownRow() const
{
    if (!m_editModel || IsSpecialScreen(m_engine->ShownPageNumber()))
        return -1;
    const int shown = m_engine->Page().id;
    for (int row = 0; row < m_editModel->pages.Count(); ++row) {
        if (m_editModel->pages.At(row)->id == shown)
            return row;
    }
    return -1;
}

std::unique_ptr<QMenu> CGraphView::MakeItemMenu(QPoint clientPoint)
{
    if (!m_editModel || !m_edits || !m_clipboard || !m_prompt)
        return nullptr;
    const int row = ShownRow();
    const CCanvasMapping mapping(size(), m_engine->Vertical());
    m_menuPoint = mapping.ClientToPage(clientPoint);
    const std::vector<int> under = ItemsAt(*m_engine, m_menuPoint);
    m_menuIndex = under.empty() ? -1 : under.back();
    m_menuPage = row < 0 ? 0 : m_editModel->pages.At(row)->serial.Value();

    ItemMenuContext context;
    context.modeAction = m_modeAction;
    context.modeAccess = m_renderer.ModeAccess();
    context.pageShown = row >= 0;
    context.canPaste = m_clipboard->HasItem();
    const std::vector<ItemMenuEntry> entries =
        ItemMenuEntries(*m_editModel, *m_engine, m_renderer, context, m_menuPoint);
    if (entries.empty())
        return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    for (const ItemMenuEntry &entry : entries) {
        if (entry.command == 0) {
            menu->addSeparator();
            continue;
        }
        QAction *action = menu->addAction(entry.label);
        action->setData(entry.command);
        const int command = entry.command;
        // Posted, as the menu's choice reaches the canvas after the menu has closed.
        connect(action, &QAction::triggered, this, [this, command] {
            QMetaObject::invokeMethod(this, [this, command] { RunItemCommand(command); },
                                      Qt::QueuedConnection);
        });
    }
    return menu;
}

void CGraphView::RunItemCommand(int command)
{
    if (!m_editModel || !m_edits || !m_clipboard || !m_prompt)
        return;
    // The commands act on the page the menu was opened on; a timer or a key may have shown
    // another one since.
    const int row = ShownRow();
    if (row < 0 || m_editModel->pages.At(row)->serial.Value() != m_menuPage)
        return;
    CMyProgramInfo *page = m_editModel->pages.At(row);
    const int count = int(m_engine->Items().size());
    const int shownId = page->id;
    bool changed = false;
    if (command >= itemcmd::kText && command < itemcmd::kText + kItemSlots) {
        const int index = command - itemcmd::kText;
        if (index >= count)
            return;
        if (m_renderer.TextEditable(m_engine->TextSource(m_engine->Items()[size_t(index)].item.id)))
            EditText(index, false);
        return;
    }
    if (command >= itemcmd::kImage && command < itemcmd::kImage + kItemSlots) {
        const int index = command - itemcmd::kImage;
        if (index >= count)
            return;
        const PageItem &item = m_engine->Items()[size_t(index)].item;
        const int picture = m_engine->PictureNumber(item.id);
        if (!m_renderer.PictureEditable(picture))
            return;
        changed = m_edits->ChangeItemImage(picture, int(item.width), int(item.height)) != 0;
    } else if (command >= itemcmd::kAction && command < itemcmd::kAction + kItemSlots) {
        const int index = command - itemcmd::kAction;
        if (index >= count || m_modeAction == 0)
            return;
        changed = OpenActionEdit(this, *m_editModel, *m_edits, row, index, *m_prompt);
    } else if (command == itemcmd::kItemProperties || command == itemcmd::kCopy) {
        if (m_menuIndex < 0 || m_menuIndex >= count)
            return;
        if (command == itemcmd::kCopy) {
            m_clipboard->CopyItem(page, m_menuIndex);
            return;
        }
        changed = OpenItemProperties(this, *m_editModel, *m_edits, row, m_menuIndex, m_map,
                                     *m_prompt);
    } else {
        PasteMode mode = PasteMode::Full;
        if (command == itemcmd::kPasteText)
            mode = PasteMode::Text;
        else if (command == itemcmd::kPastePictureText)
            mode = PasteMode::PictureAndText;
        else if (command != itemcmd::kPasteFull)
            return;
        changed = m_edits->PasteItem(row, *m_clipboard, mode, m_menuPoint);
    }
    // The display list is a copy of the page: show the page again with the change.
    if (changed && m_engine->Page().id == shownId)
        ShowPage(shownId);
}

void CGraphView::Repaint()
{
    m_directItem = -1;
    update();
    UpdateKeyCoverage();
    emit PreviewChanged();
}

void CGraphView::UpdateKeyCoverage()
{
    static const int kKeys[] = {kKeyEnter, kKeyUp,   kKeyDown, kKeyLeft,   kKeyRight,  kKeyData,
                                kKeyBack,  kKeyBlue, kKeyRed,  kKeyGreen, kKeyYellow, kKeyRefresh};
    for (const int key : kKeys) {
        const KeyCoverage coverage =
            DescribeKey(m_model, m_settings, m_engine->ShownPageNumber(), m_engine->FocusItem(),
                        key, m_engine->MemoryPage());
        m_panel->SetKeyCoverage(key, coverage.active, coverage.tip);
    }
}

void CGraphView::RedrawItemDirect(int itemId, const QString &text)
{
    const QRect rect = m_renderer.ItemRect(size(), *m_engine, itemId);
    if (rect.isEmpty() || !isVisible())
        return;
    m_directItem = itemId;
    m_directText = text;
    // Only the item's rectangle is painted, at once.
    repaint(rect);
    m_directItem = -1;
}

void CGraphView::ShowMessage(const QString &text, const QString &caption)
{
    if (m_prompt)
        m_prompt->MessageBox(text, caption, PromptButtons::Ok);
}

void CGraphView::DigitEntryChanged(bool on)
{
    m_panel->SetDigitsEnabled(on);
}

void CGraphView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (m_directItem >= 0 && event->rect() == m_renderer.ItemRect(size(), *m_engine, m_directItem)) {
        m_renderer.PaintItemDirect(painter, size(), *m_engine, m_directItem, m_directText);
        return;
    }
    painter.fillRect(rect(), palette().color(QPalette::Window));
    m_renderer.Paint(painter, size(), *m_engine);
}

void CGraphView::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton || !m_engine->LinkedClicks())
        return;
    const CCanvasMapping mapping(size(), m_engine->Vertical());
    m_engine->LinkedClick(mapping.ClientToPage(event->position()));
}

void CGraphView::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu = MakeItemMenu(event->pos());
    if (menu)
        menu->exec(event->globalPos());
}

void CGraphView::keyPressEvent(QKeyEvent *event)
{
    int code = -1;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: code = kKeyEnter; break;
    case Qt::Key_Up: code = kKeyUp; break;
    case Qt::Key_Down: code = kKeyDown; break;
    case Qt::Key_Left: code = kKeyLeft; break;
    case Qt::Key_Right: code = kKeyRight; break;
    case Qt::Key_Backspace: code = kKeyBack; break;
    default: break;
    }
    if (code < 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_engine->PressKey(code);
}

} // namespace orin
