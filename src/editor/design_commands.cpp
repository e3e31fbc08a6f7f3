// SPDX-License-Identifier: MIT
#include "editor/design_commands.h"

#include "actions/item_clipboard.h"
#include "dialogs/dlg_item_prop.h"
#include "document/document.h"
#include "document/document_edits.h"
#include "document/item_edits.h"
#include "editor/graph_traker.h"
#include "images/display_copy.h"
#include "preview/layout_findings.h"
#include "model/ui_text.h"

#include <QMenu>

#include <algorithm>
#include <cmath>

namespace orin {

namespace {

struct MenuEntry {
    int command;
    const char16_t *label;
    bool needsItem;
    bool needsClipboard;
};

// Resource 142 in its order.
constexpr MenuEntry kMenu[] = {
    {designcmd::kItemProperties, u"" QT_TRANSLATE_NOOP("OrinEdit", "アイテム属性..."), true, false},
    {designcmd::kSizeFromImage, u"" QT_TRANSLATE_NOOP("OrinEdit", "画像からサイズ取得"), true,
     false},
    {designcmd::kCopy, kCopyLabel, true, false},
    {designcmd::kPasteFull, kPasteFullLabel, false, true},
    {designcmd::kPasteText, kPasteTextLabel, false, true},
    {designcmd::kPastePictureText, kPastePictureTextLabel, false, true},
    {designcmd::kCreateItem, u"" QT_TRANSLATE_NOOP("OrinEdit", "アイテム作成"), false, false},
    {designcmd::kCreateTextFrame, u"" QT_TRANSLATE_NOOP("OrinEdit", "テキスト枠作成"), false,
     false},
    {designcmd::kDeleteItem, u"" QT_TRANSLATE_NOOP("OrinEdit", "アイテム削除"), true, false},
};

int UsedSlots(const CMyProgramInfo &page)
{
    return std::clamp(page.itemCount, 0, kItemSlots);
}

} // namespace

CDesignCommands::CDesignCommands(CGraphTraker &surface, const DesignBinding &binding,
                                 QObject *parent)
    : QObject(parent), m_surface(surface), m_binding(binding),
      m_itemEdits(std::make_unique<CItemEdits>(*binding.document, *binding.model,
                                               *binding.prompt, *binding.imageEdits))
{
    connect(&surface, &CGraphTraker::ShapeSelected, this, &CDesignCommands::SelectItem);
    connect(&surface, &CGraphTraker::ShapeClicked, this, &CDesignCommands::SelectOnly);
    connect(&surface, &CGraphTraker::SelectionToggled, this, &CDesignCommands::ToggleItem);
    connect(&surface, &CGraphTraker::BandSelected, this,
            [this](const QList<int> &chosen, bool add) {
                SelectBand(std::vector<int>(chosen.begin(), chosen.end()), add);
            });
    connect(&surface, &CGraphTraker::GroupMoved, this, &CDesignCommands::OnGroupMoved);
    connect(&surface, &CGraphTraker::ShapeMoved, this,
            [this](int index, const QRectF &rect) { OnMoved(index, rect, false); });
    connect(&surface, &CGraphTraker::ShapeResized, this,
            [this](int index, const QRectF &rect) { OnMoved(index, rect, true); });
    connect(&surface, &CGraphTraker::ContextMenuRequested, this,
            &CDesignCommands::OnContextMenu);
    connect(&surface, &CGraphTraker::DeleteReleased, this, &CDesignCommands::OnDelete);
    connect(&surface, &CGraphTraker::NudgeRequested, this, &CDesignCommands::OnNudge);
    connect(&surface, &CGraphTraker::ZoomRequested, this, &CDesignCommands::ZoomBy);
    connect(&surface, &CGraphTraker::ZoomFitRequested, this, &CDesignCommands::ZoomToFit);
    connect(&surface, &CGraphTraker::ImageDropped, this, &CDesignCommands::OnDrop);
    connect(&surface, &CGraphTraker::FeedbackTextChanged, this, &CDesignCommands::StatusText);
    connect(&surface, &CGraphTraker::SurfaceResized, this, [this] {
        if (!m_surface.IsDragging())
            RedrawShapes();
    });
    connect(binding.document, &CDocument::ModelEdited, this,
            [this](int pageIndex, bool pageTable, bool) { OnModelEdited(pageIndex, pageTable); });
}

CDesignCommands::~CDesignCommands() = default;

void CDesignCommands::Reset()
{
    m_row = -1;
    m_serial = 0;
    m_selection.Clear();
    SetZoom(1);
    m_background.reset();
    m_backgroundPath.clear();
    m_surface.SetBackground(QImage());
    m_surface.RemoveShapes();
    m_surface.SetSafeGuides(QRectF(), QRectF());
}

void CDesignCommands::SetSafeArea(bool guides, int percent)
{
    m_safeGuides = guides;
    m_safePercent = percent;
    RedrawShapes();
}

void CDesignCommands::ShowDesign(int row, QSize pageSize)
{
    const CContentModel &model = *m_binding.model;
    if (!model.pages.IsValidIndex(row)) {
        Reset();
        return;
    }
    const QString background = model.pages.At(row)->background;
    const quint64 serial = model.pages.At(row)->serial.Value();
    const bool otherPage = row != m_row || serial != m_serial;
    // The same page with the same background keeps its decoded picture.
    if (otherPage || pageSize != m_pageSize || background != m_backgroundPath
        || !m_background) {
        m_background.reset();
        m_surface.SetFillColour(QColor(100, 100, 100));
        m_background = MakeBackgroundCopy(background, pageSize.height() > pageSize.width(),
                                          m_backgroundCopies);
        m_backgroundPath = background;
        // A background that does not decode shows nothing behind the shapes.
        m_surface.SetBackground(m_background && !m_background->IsPlaceholder()
                                    ? m_background->Image()
                                    : QImage());
    }
    if (otherPage)
        m_selection.Clear();
    m_row = row;
    m_serial = serial;
    m_pageSize = pageSize;
    RedrawShapes();
}

void CDesignCommands::RedrawShapes(int select)
{
    m_surface.RemoveShapes();
    const CContentModel &model = *m_binding.model;
    if (!model.pages.IsValidIndex(m_row))
        return;
    m_scale = ZoomDesignScale(ComputeDesignScale(m_surface.size(), m_pageSize), m_zoom,
                              m_zoomPage, m_zoomSurface);
    m_surface.SetZoomed(m_zoom != 1);
    m_surface.SetScale(m_scale);
    m_surface.SetSnap(m_snap, m_snapGrid, QSizeF(m_pageSize));
    if (m_safeGuides)
        m_surface.SetSafeGuides(SafeAreaF(m_pageSize, m_safePercent),
                                SafeAreaF(m_pageSize, kActionSafePercent));
    else
        m_surface.SetSafeGuides(QRectF(), QRectF());
    const CMyProgramInfo &page = *model.pages.At(m_row);
    const int n = UsedSlots(page);
    std::vector<int> ids;
    for (int i = 0; i < n; ++i)
        ids.push_back(page.items[size_t(i)].id);
    m_selection.Retain(ids);
    if (select >= 0 && select < n)
        m_selection.SelectOnly(select, ids[size_t(select)]);
    m_surface.SetGroup(m_selection.Slots());
    const int primary = m_selection.Primary();
    for (int i = 0; i < n; ++i) {
        const PageItem &item = page.items[size_t(i)];
        m_surface.AddShape(i, item.id,
                           MapToDesign(m_scale, item.x, item.y, item.width, item.height),
                           i == primary,
                           MapToDesignF(m_scale, item.x, item.y, item.width, item.height));
    }
}

int CDesignCommands::ItemIdAt(int slot) const
{
    return ValidSlot(slot) ? m_binding.model->pages.At(m_row)->items[size_t(slot)].id : 0;
}

void CDesignCommands::SelectItem(int index)
{
    if (index == m_selection.Primary())
        return;
    if (m_selection.Contains(index))
        m_selection.SetPrimary(index);
    else
        m_selection.SelectOnly(ValidSlot(index) ? index : -1, ItemIdAt(index));
    RedrawShapes();
}

void CDesignCommands::SelectOnly(int index)
{
    m_selection.SelectOnly(ValidSlot(index) ? index : -1, ItemIdAt(index));
    RedrawShapes();
}

void CDesignCommands::ToggleItem(int index)
{
    if (!ValidSlot(index))
        return;
    m_selection.Toggle(index, ItemIdAt(index));
    RedrawShapes();
}

void CDesignCommands::SelectBand(const std::vector<int> &chosen, bool add)
{
    if (!add)
        m_selection.Clear();
    std::vector<int> valid;
    std::vector<int> ids;
    for (const int slot : chosen) {
        if (ValidSlot(slot)) {
            valid.push_back(slot);
            ids.push_back(ItemIdAt(slot));
        }
    }
    m_selection.Add(valid, ids);
    RedrawShapes();
}

bool CDesignCommands::CanAlign() const
{
    return m_binding.model->pages.IsValidIndex(m_row) && !m_selection.IsEmpty()
           && !m_surface.IsDragging();
}

void CDesignCommands::Align(AlignEdge edge)
{
    if (!CanAlign())
        return;
    m_itemEdits->AlignItems(m_row, m_selection.Slots(), edge, QSizeF(m_pageSize));
    RedrawShapes();
}

void CDesignCommands::OnGroupMoved(const QPointF &delta)
{
    if (!m_binding.model->pages.IsValidIndex(m_row))
        return;
    m_itemEdits->MoveItems(m_row, m_selection.Slots(), delta);
    RedrawShapes();
}

bool CDesignCommands::ValidSlot(int index) const
{
    const CContentModel &model = *m_binding.model;
    return model.pages.IsValidIndex(m_row) && index >= 0
           && index < UsedSlots(*model.pages.At(m_row));
}

QPointF CDesignCommands::RightClickInPage() const
{
    return DesignToPage(m_scale, QPointF(m_surface.LastRightClick()));
}

void CDesignCommands::OnMoved(int index, const QRectF &rect, bool resized)
{
    if (!ValidSlot(index))
        return;
    if (!m_selection.Contains(index))
        m_selection.SelectOnly(index, ItemIdAt(index));
    m_selection.SetPrimary(index);
    m_itemEdits->ItemFromShape(m_row, index, DesignToPage(m_scale, rect), resized);
    RedrawShapes();
}

void CDesignCommands::OnModelEdited(int pageIndex, bool pageTable)
{
    if (m_row < 0 || m_surface.IsDragging())
        return;
    if (pageTable) {
        // Pages before the shown one were removed, moved or added: the surface stays with its
        // page record, so that what it edits is the page it shows.
        const CContentModel &model = *m_binding.model;
        int found = -1;
        for (int row = 0; row < model.pages.Count() && found < 0; ++row) {
            if (model.pages.At(row)->serial.Value() == m_serial)
                found = row;
        }
        if (found < 0) {
            Reset();
            return;
        }
        m_row = found;
    }
    if (pageTable || pageIndex == m_row || pageIndex < 0)
        RedrawShapes();
}

int CDesignCommands::AddItem(float x, float y, float width, float height, AddItemMode mode)
{
    if (!m_binding.model->pages.IsValidIndex(m_row))
        return -1;
    QRectF rect(x, y, width, height);
    const QPointF position = DesignToPage(m_scale, QPointF(x, y));
    switch (mode) {
    case AddItemMode::PageUnits:
        break;
    case AddItemMode::DesignPoint:
        rect = QRectF(position, QSizeF(100, 100));
        break;
    case AddItemMode::DesignRect:
        rect = DesignToPage(m_scale, rect);
        break;
    case AddItemMode::DesignPosition:
        rect.moveTopLeft(position);
        break;
    }
    const int id = m_itemEdits->AddItem(m_row, rect);
    RedrawShapes();
    return id;
}

std::unique_ptr<QMenu> CDesignCommands::MakeMenu(int index)
{
    auto menu = std::make_unique<QMenu>();
    const bool item = ValidSlot(index);
    const bool page = m_binding.model->pages.IsValidIndex(m_row);
    const bool copied = m_binding.clipboard && m_binding.clipboard->HasItem();
    for (const MenuEntry &entry : kMenu) {
        QAction *action = menu->addAction(UiText(entry.label));
        action->setData(entry.command);
        action->setEnabled(page && (!entry.needsItem || item)
                           && (!entry.needsClipboard || copied));
        const int command = entry.command;
        connect(action, &QAction::triggered, this, [this, command, index] {
            // Posted: the command runs after the menu has closed.
            QMetaObject::invokeMethod(
                this, [this, command, index] { RunCommand(command, index); },
                Qt::QueuedConnection);
        });
    }
    return menu;
}

void CDesignCommands::OnContextMenu(int index, QPoint point)
{
    // The surface cleared its selection with the right click.
    m_selection.Clear();
    RedrawShapes();
    std::unique_ptr<QMenu> menu = MakeMenu(index);
    QMenu *shown = menu.release();
    shown->setAttribute(Qt::WA_DeleteOnClose);
    shown->popup(m_surface.mapToGlobal(point));
}

void CDesignCommands::OnDelete(int index)
{
    // Delete removes the whole selection when the key was meant for it.
    if (m_selection.Count() > 1 && m_selection.Contains(index)) {
        if (m_itemEdits->DeleteItems(m_row, m_selection.Slots()))
            m_selection.Clear();
        RedrawShapes();
        return;
    }
    RunCommand(designcmd::kDeleteItem, index);
}

void CDesignCommands::OnNudge(int index, int dx, int dy)
{
    if (!ValidSlot(index))
        return;
    if (m_selection.Contains(index))
        m_itemEdits->NudgeItems(m_row, m_selection.Slots(), dx, dy);
    else
        m_itemEdits->NudgeItem(m_row, index, dx, dy);
    RedrawShapes();
}

void CDesignCommands::ZoomBy(int steps, QPoint at)
{
    if (m_surface.IsDragging() || steps == 0)
        return;
    constexpr double kStep = 1.25;
    constexpr double kMin = 0.25;
    constexpr double kMax = 8;
    const double zoom = std::clamp(m_zoom * std::pow(kStep, std::clamp(steps, -20, 20)),
                                   kMin, kMax);
    // Whole steps from the fit land on 1 again exactly.
    const double nearest = std::pow(kStep, std::round(std::log(zoom) / std::log(kStep)));
    const double next = std::abs(zoom - nearest) < 1e-9 ? nearest : zoom;
    if (next == m_zoom)
        return;
    m_zoomPage = DesignToPage(m_scale, QPointF(at));
    m_zoomSurface = QPointF(at);
    SetZoom(std::abs(next - 1) < 1e-9 ? 1 : next);
    RedrawShapes();
}

void CDesignCommands::ZoomToFit()
{
    if (m_surface.IsDragging() || m_zoom == 1)
        return;
    SetZoom(1);
    RedrawShapes();
}

void CDesignCommands::SetZoom(double zoom)
{
    const bool changed = zoom != m_zoom;
    m_zoom = zoom;
    if (changed)
        emit ZoomChanged(m_zoom);
}

void CDesignCommands::SetSnap(bool enabled, int grid)
{
    m_snap = enabled;
    m_snapGrid = std::max(0, grid);
    m_surface.SetSnap(m_snap, m_snapGrid, QSizeF(m_pageSize));
}

void CDesignCommands::OnDrop(const QString &path, QPoint point)
{
    if (!m_binding.model->pages.IsValidIndex(m_row))
        return;
    const int slot = m_itemEdits->DropImage(m_row, DesignToPage(m_scale, QPointF(point)), path);
    RedrawShapes(slot);
}

void CDesignCommands::RunCommand(int command, int index)
{
    CContentModel &model = *m_binding.model;
    if (!model.pages.IsValidIndex(m_row))
        return;
    CMyProgramInfo *page = model.pages.At(m_row);
    switch (command) {
    case designcmd::kItemProperties:
        if (ValidSlot(index) && m_binding.edits && m_binding.colourMap)
            OpenItemProperties(&m_surface, model, *m_binding.edits, m_row, index,
                               *m_binding.colourMap, *m_binding.prompt);
        break;
    case designcmd::kSizeFromImage:
        if (ValidSlot(index))
            m_itemEdits->SizeFromImage(m_row, index);
        break;
    case designcmd::kCopy:
        if (ValidSlot(index) && m_binding.clipboard)
            m_binding.clipboard->CopyItem(page, index);
        break;
    case designcmd::kPasteFull:
    case designcmd::kPasteText:
    case designcmd::kPastePictureText: {
        if (!m_binding.clipboard || !m_binding.edits)
            break;
        const PasteMode mode = command == designcmd::kPasteFull   ? PasteMode::Full
                               : command == designcmd::kPasteText ? PasteMode::Text
                                                                  : PasteMode::PictureAndText;
        m_binding.edits->PasteItem(m_row, *m_binding.clipboard, mode, RightClickInPage());
        break;
    }
    case designcmd::kCreateItem:
    case designcmd::kCreateTextFrame:
        m_itemEdits->CreateItem(m_row, RightClickInPage(), command == designcmd::kCreateItem);
        break;
    case designcmd::kDeleteItem:
        if (ValidSlot(index) && m_itemEdits->DeleteItem(m_row, index))
            m_selection.Clear();
        break;
    default:
        return;
    }
    RedrawShapes();
}

} // namespace orin
