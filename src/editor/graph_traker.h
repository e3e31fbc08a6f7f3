// SPDX-License-Identifier: MIT
#pragma once

#include "editor/design_mapping.h"
#include "editor/snap_math.h"
#include "editor/transform_tracker.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPen>
#include <QWidget>

#include <memory>
#include <vector>

// The design surface: every item of the page as an outlined rectangle with its id, some of them
// selected, the primary one with the transform tracker around it. A press on an item (its
// outline or anywhere inside) selects it, and dragging on moves it (taking the other selected
// items along); a handle's drag resizes the primary item, the centre marker's drag moves only
// its centre. A drag from an empty place draws a rubber band that selects what it touches,
// Shift with a click adds or removes an item. The surface only reports what happened, its pane changes the model and the
// selection and has the shapes drawn again from them.

namespace orin {

inline constexpr int kMaxShapes = 512;

// One item as the surface shows it.
struct DesignShape {
    int index = -1;     // the item slot it stands for
    QRect rect;         // the item's rectangle in surface pixels, as drawn
    QRectF exact;       // the same without rounding: what a drag moves and scales
    QPen pen;
    QPainterPath path;  // the rectangle and the item id
};

class CGraphTraker : public QWidget, public TrackerWindow {
    Q_OBJECT
public:
    explicit CGraphTraker(QWidget *parent = nullptr);
    ~CGraphTraker() override;

    // The outline of an item: its rectangle and its id in Arial at 18 units from the corner.
    static QPainterPath ShapePath(const QRect &rect, int id);
    static QPen ItemPen();
    static QPen SelectedPen();

    // Removes every shape and the tracker.
    void RemoveShapes();
    // Adds the shape of item slot `index` (nothing past 512 shapes); `selected` draws it with
    // the selection pen and attaches the tracker to it. `exact` is the item's rectangle before
    // rounding to pixels (empty: `rect`).
    void AddShape(int index, int id, const QRect &rect, bool selected,
                  const QRectF &exact = QRectF());
    const std::vector<DesignShape> &Shapes() const { return m_shapes; }
    // The slot of the selected shape (the primary one), or -1.
    int Selection() const { return m_selection; }
    // The selected slots drawn with the selection pen, the primary among them; set after
    // RemoveShapes and before the shapes are added.
    void SetGroup(const std::vector<int> &chosen) { m_group = chosen; }
    const std::vector<int> &Group() const { return m_group; }
    // The rubber band being drawn, in surface pixels (normalised); null when none.
    QRect Band() const;

    void SetFillColour(const QColor &colour) { m_fill = colour; }
    // The picture drawn behind the shapes, fit into the surface; a null image draws none.
    void SetBackground(const QImage &image) { m_background = image; }
    // The page-to-surface mapping, for the feedback texts in page units.
    void SetScale(const DesignScale &scale) { m_scale = scale; }

    // Snapping of moved and resized shapes to the edges and centres of the page (`page` in
    // page units) and of the other shapes, and to a grid of `grid` units (0: none). Off, a
    // drag ends exactly where the tracker left it.
    void SetSnap(bool enabled, int grid, QSizeF page);
    bool SnapEnabled() const { return m_snap; }
    int SnapGrid() const { return m_snapGrid; }
    // The lines the running drag clings to (page units), for its guides; empty when none.
    const SnapResult &SnapGuides() const { return m_snapped; }

    // The title-safe and action-safe areas, drawn as guides (page units); empty: none.
    void SetSafeGuides(const QRectF &titleSafe, const QRectF &actionSafe)
    {
        m_titleSafe = titleSafe;
        m_actionSafe = actionSafe;
        update();
    }
    QRectF TitleSafeGuide() const { return m_titleSafe; }
    // Zoomed (not the fit): the background follows the page's rectangle instead of the fit.
    void SetZoomed(bool zoomed) { m_zoomed = zoomed; update(); }

    // The last point of a right click, in surface pixels.
    QPoint LastRightClick() const { return m_rightClick; }
    // The shape (slot) a press at the point picks: the topmost one whose outline passes within
    // 10 pixels of it, else the smallest one whose rectangle holds it (the topmost of equal
    // ones), else -1.
    int ShapeAt(QPoint point) const;
    // The shape under the pointer for the context menu: the selected one when the point is in
    // it, else the one a press there picks (ShapeAt); -1 when none.
    int ShapeUnder(QPoint point) const;

    QTransformTracker &Tracker() { return *m_tracker; }
    bool IsDragging() const;

    // --- TrackerWindow ---
    void SetTrackerCursor(int slot) override;
    void TrackerChanged() override;

signals:
    // A press picked the shape (-1: none); a shape that is selected becomes the primary one
    // and the others stay selected.
    void ShapeSelected(int index);
    // A click without a move on a shape of a selection of several: that shape alone.
    void ShapeClicked(int index);
    // Shift and a click on a shape: it joins the selection or leaves it.
    void SelectionToggled(int index);
    // A rubber band ended over the shapes of `chosen` (possibly none); `add` (Shift) keeps what
    // was selected.
    void BandSelected(const QList<int> &chosen, bool add);
    // A move drag of the primary shape of a selection of several ended: every selected item
    // moves by `delta` page units (snapped as one box).
    void GroupMoved(const QPointF &delta);
    // A move or resize drag of the shape ended; `rect` is the item's new rectangle in surface
    // pixels (the tracker's matrix applied to the item's exact rectangle, so that a move along
    // one axis leaves the other coordinate as it was).
    void ShapeMoved(int index, const QRectF &rect);
    void ShapeResized(int index, const QRectF &rect);
    void ReleasedWithCtrl(int index);
    // The right button was pressed at `point`; `index` is the shape under it (-1: none).
    void ContextMenuRequested(int index, QPoint point);
    void DeleteReleased(int index);
    // An arrow key moved the selected shape by (dx, dy) page units.
    void NudgeRequested(int index, int dx, int dy);
    // Ctrl and the wheel turned by `steps` notches (positive: in) at `point`; Ctrl+0: fit.
    void ZoomRequested(int steps, QPoint point);
    void ZoomFitRequested();
    void ImageDropped(const QString &path, QPoint point);
    // The text of the running drag step; empty when the drag ended.
    void FeedbackTextChanged(const QString &text);
    // The surface changed its size: the page is to be mapped again.
    void SurfaceResized();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    class CDesignTracker;
    friend class CDesignTracker;

    int KeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const;
    void Select(int index);
    void StartDrag(QMouseEvent *event);
    // What a drag returned: the shape follows, the notifications go out.
    void DragEnded(int result);
    void ShowStepText(int kind, double a, double b);
    DesignShape *SelectedShape();
    // The tracker's result for the selected shape in page units, snapped when snapping is
    // on; the guides of the snap are kept for the paint.
    QRectF SnappedPageRect(const DesignShape &shape);
    void PaintSnap(QPainter &painter) const;
    void PaintSafeGuides(QPainter &painter) const;
    void PaintGroupFeedback(QPainter &painter) const;
    bool InGroup(int index) const;
    void StartBand(QPoint point, bool add);
    void EndBand(bool cancelled);

    std::vector<DesignShape> m_shapes;
    std::unique_ptr<QTransformTracker> m_tracker;
    int m_selection = -1;
    QColor m_fill{100, 100, 100};
    QImage m_background;
    DesignScale m_scale;
    QPoint m_rightClick;
    bool m_spaceHeld = false;
    bool m_zoomed = false;
    int m_wheelRest = 0; // eighths of a degree not yet a whole notch
    bool m_snap = false;
    int m_snapGrid = 0;
    QSizeF m_snapPage{960, 540};
    SnapResult m_snapped;
    QRectF m_titleSafe;
    QRectF m_actionSafe;
    bool m_dragShift = false;  // Shift held at the drag's last step
    std::vector<int> m_group;  // the selected slots
    QPointF m_groupDelta;      // the running group move in page units
    bool m_banding = false;
    bool m_bandAdd = false;
    QPoint m_bandStart;
    QPoint m_bandEnd;
};

} // namespace orin
