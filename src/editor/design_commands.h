// SPDX-License-Identifier: MIT
#pragma once

#include "document/item_align.h"
#include "editor/design_mapping.h"
#include "editor/design_selection.h"
#include "images/work_copies.h"

#include <QObject>
#include <QPoint>
#include <QRectF>
#include <QSize>
#include <QString>

#include <memory>

class QMenu;

// What the page pane does in design mode: it shows the page on the design surface, answers
// the surface's notifications and runs the commands of its item menu. Every change goes
// through the edit operations of the document, after which the shapes are drawn again from
// the model.

namespace orin {

class CColourMap;
class CContentModel;
class CDisplayCopy;
class CDocument;
class CDocumentEdits;
class CGraphTraker;
class CImageEdits;
class CItemClipboard;
class CItemEdits;
class CPrompt;

// The commands of the design surface's item menu.
namespace designcmd {
inline constexpr int kItemProperties = 32799;
inline constexpr int kSizeFromImage = 32801;
inline constexpr int kCopy = 32773;
inline constexpr int kPasteFull = 32775;
inline constexpr int kPasteText = 32811;
inline constexpr int kPastePictureText = 32809;
inline constexpr int kCreateItem = 32803;
inline constexpr int kCreateTextFrame = 32805;
inline constexpr int kDeleteItem = 32808;
} // namespace designcmd

// How AddItem reads its values.
enum class AddItemMode {
    PageUnits,     // position and size in page units
    DesignPoint,   // position in surface pixels, size 100 x 100
    DesignRect,    // position and size in surface pixels
    DesignPosition // position in surface pixels, size in page units
};

// What the design side works on; everything outlives the pane.
struct DesignBinding {
    CContentModel *model = nullptr;
    CDocument *document = nullptr;
    CDocumentEdits *edits = nullptr;
    CImageEdits *imageEdits = nullptr;
    CItemClipboard *clipboard = nullptr;
    const CColourMap *colourMap = nullptr;
    CPrompt *prompt = nullptr;
    QString workFolder;
};

class CDesignCommands : public QObject {
    Q_OBJECT
public:
    CDesignCommands(CGraphTraker &surface, const DesignBinding &binding,
                    QObject *parent = nullptr);
    ~CDesignCommands() override;

    // Shows the page at `row` on the surface (its background, one shape per item); -1 clears.
    void ShowDesign(int row, QSize pageSize);
    // Draws the shapes again from the model; `select` becomes the only selected slot (-1 keeps
    // the selection). Selected slots that the page no longer holds leave the selection.
    void RedrawShapes(int select = -1);
    // Forgets the shown page and its background.
    void Reset();

    int Row() const { return m_row; }
    // The primary selected slot (the tracker's, the item menu's), or -1.
    int SelectedItem() const { return m_selection.Primary(); }
    // Every selected slot of the shown page, ascending.
    std::vector<int> SelectedSlots() const { return m_selection.Slots(); }
    const DesignScale &Scale() const { return m_scale; }
    CItemEdits &ItemEdits() const { return *m_itemEdits; }

    // Snapping of drags to the page, the other items and a grid of `grid` page units (0: none).
    void SetSnap(bool enabled, int grid);
    bool SnapEnabled() const { return m_snap; }
    int SnapGrid() const { return m_snapGrid; }

    // The title-safe guide with a margin of `percent` a side and the action-safe guide, shown
    // or not.
    void SetSafeArea(bool guides, int percent);

    // The zoom of the surface: 1 is the page fit into it (100 %).
    double Zoom() const { return m_zoom; }
    // Zooms by `steps` notches of 25 % (negative: out) keeping the page point under the
    // surface point `at` where it is; the zoom stays within 25 % and 800 %.
    void ZoomBy(int steps, QPoint at);
    // Back to the page fit into the surface.
    void ZoomToFit();

    // Aligns the selected items (one: to the page) as one undo step.
    void Align(AlignEdge edge);
    // Whether Align has something to work on.
    bool CanAlign() const;

    // The pane's operations on the shown page.
    int AddItem(float x, float y, float width, float height, AddItemMode mode);
    // A press picked slot `index`: a selected slot becomes the primary one, another slot is
    // selected alone (-1: none). Draws the shapes again when it differs.
    void SelectItem(int index);
    // Slot `index` alone (-1: none).
    void SelectOnly(int index);
    // Shift and a click: `index` joins the selection or leaves it.
    void ToggleItem(int index);
    // A rubber band over `chosen`: they become the selection, or join it with `add`.
    void SelectBand(const std::vector<int> &chosen, bool add);
    // The item menu for the slot `index` (-1: none under the pointer). Its actions carry the
    // command numbers (data) and post them to RunCommand with the index.
    std::unique_ptr<QMenu> MakeMenu(int index);
    // Runs a command of the item menu for the slot `index`; slots that are not used by the
    // shown page are ignored.
    void RunCommand(int command, int index);

signals:
    // The text of a running drag step for the status line; empty when it ended.
    void StatusText(const QString &text);
    // The zoom changed (1: the fit, 100 %).
    void ZoomChanged(double zoom);

private:
    void OnMoved(int index, const QRectF &rect, bool resized);
    void OnContextMenu(int index, QPoint point);
    void OnDelete(int index);
    void OnNudge(int index, int dx, int dy);
    void OnGroupMoved(const QPointF &delta);
    void SetZoom(double zoom);
    int ItemIdAt(int slot) const;
    void OnDrop(const QString &path, QPoint point);
    void OnModelEdited(int pageIndex, bool pageTable);
    bool ValidSlot(int index) const;
    QPointF RightClickInPage() const;

    CGraphTraker &m_surface;
    DesignBinding m_binding;
    std::unique_ptr<CItemEdits> m_itemEdits;
    // Background copies, each unchanged background copied once.
    CWorkCopies m_backgroundCopies{m_binding.workFolder};
    std::unique_ptr<CDisplayCopy> m_background;
    QString m_backgroundPath;
    QSize m_pageSize{960, 540};
    DesignScale m_scale;
    int m_row = -1;
    // The record shown: when the page table changes, the surface follows it to its new row.
    quint64 m_serial = 0;
    CDesignSelection m_selection;
    bool m_snap = false;
    int m_snapGrid = 0;
    bool m_safeGuides = false;
    int m_safePercent = 0;
    double m_zoom = 1;
    QPointF m_zoomPage;    // the page point kept at m_zoomSurface while zoomed
    QPointF m_zoomSurface;
};

} // namespace orin
