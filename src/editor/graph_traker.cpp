// SPDX-License-Identifier: MIT
#include "editor/graph_traker.h"

#include "editor/buffer_dc.h"
#include "document/item_align.h"
#include "editor/design_selection.h"
#include "preview/canvas_mapping.h"

#include <QDragEnterEvent>
#include <QPaintEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPathStroker>
#include <QWheelEvent>

#include <algorithm>

namespace orin {

namespace {

constexpr int kHitPen = 20; // a press within 10 pixels of an outline hits it

// The tracker as the design surface sets it up.
constexpr int kDesignOptions = 0xBF;
constexpr int kDesignHandleSize = 6;
// A line pulls a dragged edge within this many pixels, whatever the scale.
constexpr double kSnapPixels = 8;
// Grid lines closer than this many pixels are not drawn.
constexpr double kMinGridPixels = 6;
const QColor kGuideColour(255, 0, 255);
// A band smaller than this many pixels both ways is a click on an empty place.
constexpr int kMinBandPixels = 3;

Qt::CursorShape CursorShapeOf(int slot)
{
    switch (slot) {
    case 0: return Qt::SizeFDiagCursor;
    case 1: return Qt::SizeBDiagCursor;
    case 2: return Qt::SizeVerCursor;
    case 3: return Qt::SizeHorCursor;
    case 4: return Qt::CrossCursor;
    case 5:
    case 6: return Qt::SizeAllCursor;
    case 7: return Qt::OpenHandCursor;
    case 8: return Qt::SplitHCursor;
    case 9: return Qt::SplitVCursor;
    default: return Qt::ArrowCursor;
    }
}

} // namespace

// The tracker that reports each step's text to the surface, which shows it in page units.
class CGraphTraker::CDesignTracker : public QTransformTracker {
public:
    explicit CDesignTracker(CGraphTraker *owner) : QTransformTracker(owner), m_owner(owner) {}

protected:
    void SetFeedbackText(int kind, double a, double b) override
    {
        QTransformTracker::SetFeedbackText(kind, a, b);
        m_owner->ShowStepText(kind, a, b);
    }

private:
    CGraphTraker *m_owner;
};

CGraphTraker::CGraphTraker(QWidget *parent)
    : QWidget(parent), m_tracker(std::make_unique<CDesignTracker>(this))
{
    m_tracker->options = kDesignOptions;
    m_tracker->frameColour = QColor(192, 192, 192);
    m_tracker->handleColour = QColor(0, 0, 0);
    m_tracker->centreColour = QColor(220, 20, 20);
    m_tracker->outlineColour = QColor(0, 0, 0);
    m_tracker->pathColour = QColor(0, 0, 0);
    m_tracker->SetSizes(kDesignHandleSize, 0, 0);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

CGraphTraker::~CGraphTraker() = default;

QPainterPath CGraphTraker::ShapePath(const QRect &rect, int id)
{
    QPainterPath path;
    path.addRect(QRectF(rect));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(18);
    const QFontMetrics metrics(font);
    path.addText(QPointF(rect.left(), rect.top() + metrics.ascent()), font,
                 QString::number(id));
    return path;
}

QPen CGraphTraker::ItemPen()
{
    return QPen(QColor(144, 238, 144, 255), 2.5);
}

QPen CGraphTraker::SelectedPen()
{
    return QPen(QColor(205, 92, 92, 255), 3);
}

void CGraphTraker::RemoveShapes()
{
    m_shapes.clear();
    m_group.clear();
    m_selection = -1;
    m_tracker->DetachPath();
    update();
}

void CGraphTraker::AddShape(int index, int id, const QRect &rect, bool selected,
                            const QRectF &exact)
{
    if (int(m_shapes.size()) >= kMaxShapes)
        return;
    DesignShape shape;
    shape.index = index;
    shape.rect = rect;
    shape.exact = exact.isEmpty() ? QRectF(rect) : exact;
    shape.pen = selected || InGroup(index) ? SelectedPen() : ItemPen();
    shape.path = ShapePath(rect, id);
    m_shapes.push_back(shape);
    if (selected) {
        m_selection = index;
        if (!InGroup(index))
            m_group.push_back(index);
        m_tracker->AttachPath(shape.path, true);
    }
    update();
}

bool CGraphTraker::InGroup(int index) const
{
    return index >= 0 && std::find(m_group.begin(), m_group.end(), index) != m_group.end();
}

QRect CGraphTraker::Band() const
{
    return m_banding ? QRect(m_bandStart, m_bandEnd).normalized() : QRect();
}

void CGraphTraker::StartBand(QPoint point, bool add)
{
    m_banding = true;
    m_bandAdd = add;
    m_bandStart = m_bandEnd = point;
    grabMouse();
    update();
}

void CGraphTraker::EndBand(bool cancelled)
{
    if (!m_banding)
        return;
    m_banding = false;
    releaseMouse();
    update();
    if (cancelled)
        return;
    const QRect band = QRect(m_bandStart, m_bandEnd).normalized();
    QList<int> chosen;
    if (band.width() >= kMinBandPixels || band.height() >= kMinBandPixels) {
        std::vector<QRectF> rects;
        for (const DesignShape &shape : m_shapes)
            rects.push_back(shape.exact);
        for (const int i : RectsInBand(QRectF(band), rects))
            chosen.push_back(m_shapes[size_t(i)].index);
    } else if (m_bandAdd) {
        return; // Shift and a click on an empty place keeps the selection
    }
    emit BandSelected(chosen, m_bandAdd);
}

DesignShape *CGraphTraker::SelectedShape()
{
    for (DesignShape &shape : m_shapes) {
        if (shape.index == m_selection)
            return &shape;
    }
    return nullptr;
}

int CGraphTraker::ShapeAt(QPoint point) const
{
    QPainterPathStroker stroker;
    stroker.setWidth(kHitPen);
    for (auto it = m_shapes.rbegin(); it != m_shapes.rend(); ++it) {
        if (stroker.createStroke(it->path).contains(QPointF(point)))
            return it->index;
    }
    // Inside: the shapes are outlines, all of them visible, so the innermost one is meant.
    int inside = -1;
    qint64 smallest = 0;
    for (auto it = m_shapes.rbegin(); it != m_shapes.rend(); ++it) {
        const qint64 area = qint64(it->rect.width()) * it->rect.height();
        if (it->rect.contains(point) && (inside < 0 || area < smallest)) {
            inside = it->index;
            smallest = area;
        }
    }
    return inside;
}

int CGraphTraker::ShapeUnder(QPoint point) const
{
    for (const DesignShape &shape : m_shapes) {
        if (shape.index == m_selection && m_selection >= 0 && shape.rect.contains(point))
            return m_selection;
    }
    return ShapeAt(point);
}

bool CGraphTraker::IsDragging() const
{
    return m_tracker->IsTracking();
}

void CGraphTraker::Select(int index)
{
    // Another member of the selection becomes the primary one; anything else is selected alone.
    if (!InGroup(index)) {
        m_group.clear();
        if (index >= 0)
            m_group.push_back(index);
    }
    m_selection = -1;
    m_tracker->DetachPath();
    for (DesignShape &shape : m_shapes) {
        shape.pen = InGroup(shape.index) ? SelectedPen() : ItemPen();
        if (shape.index == index) {
            m_selection = index;
            m_tracker->AttachPath(shape.path, true);
        }
    }
    update();
}

int CGraphTraker::KeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const
{
    int flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= trackkey::kLeftButton;
    if (buttons & Qt::RightButton)
        flags |= trackkey::kRightButton;
    if (buttons & Qt::MiddleButton)
        flags |= trackkey::kMiddleButton;
    if (modifiers & Qt::ShiftModifier)
        flags |= trackkey::kShift;
    if (modifiers & Qt::ControlModifier)
        flags |= trackkey::kCtrl;
    if (modifiers & Qt::AltModifier)
        flags |= trackkey::kAlt;
    if (m_spaceHeld)
        flags |= trackkey::kSpace;
    return flags;
}

void CGraphTraker::SetTrackerCursor(int slot)
{
    setCursor(CursorShapeOf(slot));
}

void CGraphTraker::TrackerChanged()
{
    update();
}

void CGraphTraker::SetSnap(bool enabled, int grid, QSizeF page)
{
    m_snap = enabled;
    m_snapGrid = std::max(0, grid);
    m_snapPage = page;
    update();
}

QRectF CGraphTraker::SnappedPageRect(const DesignShape &shape)
{
    const QRectF original = DesignToPage(m_scale, shape.exact);
    const QRectF page = DesignToPage(m_scale, m_tracker->Matrix().mapRect(shape.exact));
    m_snapped = SnapResult();
    const int mode = m_tracker->IsTracking() ? m_tracker->Mode() : m_tracker->LastMode();
    m_groupDelta = mode == kModeMove ? page.topLeft() - original.topLeft() : QPointF();
    const bool group = mode == kModeMove && m_group.size() > 1;
    if (!m_snap || (mode != kModeMove && mode != kModeScale) || m_scale.s <= 0)
        return page;
    std::vector<QRectF> others;
    std::vector<QRectF> members;
    for (const DesignShape &other : m_shapes) {
        const QRectF rect = DesignToPage(m_scale, other.exact);
        if (other.index == shape.index || (group && InGroup(other.index)))
            members.push_back(rect);
        else
            others.push_back(rect);
    }
    const SnapTargets targets = CollectSnapTargets(m_snapPage, others);
    const SnapRules rules{kSnapPixels / double(m_scale.s), m_snapGrid};
    if (group) {
        // The selection snaps as one box; every member follows the box.
        const QRectF box = BoundingRect(members);
        m_snapped = SnapMove(box, box.translated(m_groupDelta), targets, rules);
        m_groupDelta = m_snapped.rect.topLeft() - box.topLeft();
        return original.translated(m_groupDelta);
    }
    if (mode == kModeMove)
        m_snapped = SnapMove(original, page, targets, rules);
    else if (m_dragShift)
        m_snapped = SnapResizeProportional(original, page, targets, rules);
    else
        m_snapped = SnapResize(original, page, targets, rules);
    if (mode == kModeMove)
        m_groupDelta = m_snapped.rect.topLeft() - original.topLeft();
    return m_snapped.rect;
}

void CGraphTraker::PaintGroupFeedback(QPainter &painter) const
{
    if (m_banding) {
        painter.setPen(QPen(QColor(0, 90, 200), 1, Qt::DashLine));
        painter.setBrush(QColor(0, 90, 200, 40));
        painter.drawRect(Band());
        painter.setBrush(Qt::NoBrush);
    }
    // The other selected shapes follow a running move.
    if (!m_tracker->IsTracking() || m_tracker->Mode() != kModeMove || m_group.size() < 2)
        return;
    const QTransform shift = QTransform::fromTranslate(m_groupDelta.x() * m_scale.s,
                                                       m_groupDelta.y() * m_scale.s);
    painter.setPen(QPen(SelectedPen().color(), 1, Qt::DashLine));
    for (const DesignShape &shape : m_shapes) {
        if (shape.index != m_selection && InGroup(shape.index))
            painter.drawPath(shift.map(shape.path));
    }
}

void CGraphTraker::PaintSnap(QPainter &painter) const
{
    if (!m_snap)
        return;
    const QRectF page = MapToDesignF(m_scale, 0, 0, float(m_snapPage.width()),
                                     float(m_snapPage.height()));
    const double step = double(m_scale.s) * m_snapGrid;
    if (m_snapGrid > 0 && step >= kMinGridPixels) {
        painter.setPen(QPen(QColor(128, 128, 128, 90), 0));
        for (double x = page.left() + step; x < page.right(); x += step)
            painter.drawLine(QPointF(x, page.top()), QPointF(x, page.bottom()));
        for (double y = page.top() + step; y < page.bottom(); y += step)
            painter.drawLine(QPointF(page.left(), y), QPointF(page.right(), y));
    }
    if (!m_tracker->IsTracking() || m_snapped.rect.isNull())
        return;
    painter.setPen(QPen(kGuideColour, 1));
    for (const double x : m_snapped.guideXs) {
        const double at = double(m_scale.s) * x + m_scale.ox;
        painter.drawLine(QPointF(at, 0), QPointF(at, height()));
    }
    for (const double y : m_snapped.guideYs) {
        const double at = double(m_scale.s) * y + m_scale.oy;
        painter.drawLine(QPointF(0, at), QPointF(width(), at));
    }
    const QRectF &r = m_snapped.rect;
    painter.setPen(QPen(kGuideColour, 1, Qt::DashLine));
    painter.drawRect(MapToDesignF(m_scale, float(r.x()), float(r.y()), float(r.width()),
                                  float(r.height())));
}

void CGraphTraker::ShowStepText(int kind, double a, double b)
{
    QString text;
    DesignShape *shape = SelectedShape();
    if ((kind == 1 || kind == 2) && shape) {
        // Moving and resizing alike show where the item is and how large it is.
        text = MoveStepText(SnappedPageRect(*shape));
    } else if (kind == 5) {
        const QPointF page = DesignToPage(m_scale, QPointF(a, b));
        text = FeedbackText(5, page.x(), page.y());
    } else {
        text = FeedbackText(kind, a, b);
    }
    emit FeedbackTextChanged(text);
}

void CGraphTraker::paintEvent(QPaintEvent *)
{
    QBufferDC buffer(size(), m_fill);
    QPainter &picture = buffer.Picture();
    if (!m_background.isNull()) {
        if (m_zoomed) {
            picture.drawImage(MapToDesignF(m_scale, 0, 0, float(m_snapPage.width()),
                                           float(m_snapPage.height())),
                              m_background);
        } else {
            const CCanvasMapping mapping(size(), false);
            picture.drawImage(mapping.FitRect(m_background.size()), m_background);
        }
    }
    picture.setRenderHint(QPainter::Antialiasing, true);
    picture.setRenderHint(QPainter::SmoothPixmapTransform, true);
    picture.setBrush(Qt::NoBrush);
    PaintSafeGuides(picture);
    for (const DesignShape &shape : m_shapes) {
        picture.setPen(shape.pen);
        picture.drawPath(shape.path);
    }
    PaintSnap(picture);
    PaintGroupFeedback(picture);
    m_tracker->DrawTracker(buffer.Inverting());
    if (m_tracker->IsTracking())
        m_tracker->PaintFeedback(buffer.Inverting());
    QPainter window(this);
    buffer.CopyTo(window);
}

void CGraphTraker::PaintSafeGuides(QPainter &painter) const
{
    // Dashed, in colours the item outlines do not use: guides, not items. Sharp one-pixel lines
    // (no anti-aliasing), so that they show at full colour over any picture.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const struct {
        const QRectF &area;
        QColor colour;
        Qt::PenStyle style;
    } guides[] = {{m_actionSafe, QColor(0, 190, 230), Qt::DotLine},
                  {m_titleSafe, QColor(240, 180, 0), Qt::DashLine}};
    for (const auto &guide : guides) {
        if (guide.area.isEmpty())
            continue;
        QPen pen(guide.colour, 1, guide.style);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawRect(MapToDesignF(m_scale, float(guide.area.x()), float(guide.area.y()),
                                      float(guide.area.width()), float(guide.area.height())));
    }
    painter.restore();
}

void CGraphTraker::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    const QPoint p = event->position().toPoint();
    const int flags = KeyFlags(event->buttons(), event->modifiers());
    if (m_banding && event->button() == Qt::RightButton) {
        EndBand(true);
        return;
    }
    if (m_tracker->IsTracking()) {
        const int message = event->button() == Qt::RightButton  ? kTrackRightDown
                            : event->button() == Qt::LeftButton ? kTrackLeftDown
                                                                : kTrackMouseMove;
        if (const int result = m_tracker->Mouse(message, flags, p))
            DragEnded(result);
        return;
    }
    if (event->button() == Qt::RightButton) {
        m_rightClick = p;
        const int under = ShapeUnder(p);
        Select(-1);
        emit ContextMenuRequested(under, p);
        return;
    }
    if (event->button() != Qt::LeftButton || m_banding)
        return;
    m_dragShift = flags & trackkey::kShift;
    if (event->modifiers() & Qt::ShiftModifier) {
        // Shift: a handle of the tracker still resizes in proportion; a shape joins or leaves
        // the selection; an empty place starts a band that adds to it.
        const int element = m_selection >= 0 ? m_tracker->ElementAt(p.x(), p.y()) : kElementNone;
        if (element >= 0 && element < kElementBody) {
            if (const int result = m_tracker->RunDrag(flags, p); result != kDragRefused) {
                if (result != 0)
                    DragEnded(result);
                return;
            }
        }
        const int hit = ShapeAt(p);
        if (hit >= 0)
            emit SelectionToggled(hit);
        else
            StartBand(p, true);
        return;
    }
    // A handle or the centre marker of the selected shape's tracker drags it as that element.
    const int element = m_selection >= 0 ? m_tracker->ElementAt(p.x(), p.y()) : kElementNone;
    if (element >= 0 && element < kElementBody) {
        if (const int result = m_tracker->RunDrag(flags, p); result != kDragRefused) {
            if (result != 0)
                DragEnded(result);
            return;
        }
    }
    // Elsewhere the press picks the shape there (its outline, else the innermost one around the
    // point), selects it and moves it with the same press; a member of a selection of several
    // becomes the primary one and takes the others along. Only a handle of a shape that the
    // press selects resizes it at once. An empty place starts a band.
    const int hit = ShapeAt(p);
    if (hit < 0) {
        // The selection stays until the band ends (Escape keeps it).
        StartBand(p, false);
        return;
    }
    int result = 0;
    if (hit != m_selection) {
        Select(hit);
        emit ShapeSelected(hit);
        const int handle = m_tracker->ElementAt(p.x(), p.y());
        if (handle >= 0 && handle < kElementCentre)
            result = m_tracker->RunDrag(flags, p);
        else
            result = m_tracker->RunMoveDrag(flags, p);
    } else {
        result = m_tracker->RunMoveDrag(flags, p);
    }
    if (result != 0 && result != kDragRefused)
        DragEnded(result);
}

void CGraphTraker::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    const int flags = KeyFlags(event->buttons(), event->modifiers());
    if (m_banding) {
        m_bandEnd = p;
        update();
        return;
    }
    if (m_tracker->IsTracking()) {
        m_dragShift = flags & trackkey::kShift;
        if (const int result = m_tracker->Mouse(kTrackMouseMove, flags, p))
            DragEnded(result);
        return;
    }
    if (!m_tracker->SetCursorForPointer(p, flags & trackkey::kCtrl, m_spaceHeld))
        unsetCursor();
}

void CGraphTraker::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_banding) {
        if (event->button() == Qt::LeftButton) {
            m_bandEnd = event->position().toPoint();
            EndBand(false);
        }
        return;
    }
    if (!m_tracker->IsTracking())
        return;
    const int message = event->button() == Qt::LeftButton    ? kTrackLeftUp
                        : event->button() == Qt::RightButton ? kTrackRightUp
                                                             : kTrackMouseMove;
    // The flags are those at the release: the released button is no longer held.
    const int flags = KeyFlags(event->buttons(), event->modifiers());
    m_dragShift = flags & trackkey::kShift;
    if (const int result = m_tracker->Mouse(message, flags, event->position().toPoint()))
        DragEnded(result);
}

void CGraphTraker::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        m_spaceHeld = true;
    if (m_banding) {
        if (event->key() == Qt::Key_Escape)
            EndBand(true);
        return;
    }
    if (m_tracker->IsTracking()) {
        if (const int result = m_tracker->Key(kTrackKeyDown, event->key(),
                                              event->isAutoRepeat() ? 2 : 1))
            DragEnded(result);
        return;
    }
    if (event->key() == Qt::Key_0 && (event->modifiers() & Qt::ControlModifier)) {
        emit ZoomFitRequested();
        event->accept();
        return;
    }
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default: break;
    }
    if ((dx != 0 || dy != 0) && m_selection >= 0
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
        emit NudgeRequested(m_selection, dx * step, dy * step);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CGraphTraker::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat())
        return;
    if (event->key() == Qt::Key_Space)
        m_spaceHeld = false;
    if (m_tracker->IsTracking()) {
        if (const int result = m_tracker->Key(kTrackKeyUp, event->key()))
            DragEnded(result);
        return;
    }
    if (event->key() == Qt::Key_Delete) {
        emit DeleteReleased(m_selection);
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void CGraphTraker::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier) || m_tracker->IsTracking()) {
        QWidget::wheelEvent(event);
        return;
    }
    event->accept();
    // A notch is 120 eighths of a degree; finer wheels add up to whole notches.
    m_wheelRest += event->angleDelta().y();
    const int steps = m_wheelRest / 120;
    m_wheelRest -= steps * 120;
    if (steps != 0)
        emit ZoomRequested(steps, event->position().toPoint());
}

void CGraphTraker::focusOutEvent(QFocusEvent *event)
{
    // A drag that loses the keyboard (another window, a message box) ends without a change.
    m_spaceHeld = false;
    EndBand(true);
    if (m_tracker->IsTracking())
        DragEnded(m_tracker->Abort());
    QWidget::focusOutEvent(event);
}

void CGraphTraker::hideEvent(QHideEvent *event)
{
    EndBand(true);
    if (m_tracker->IsTracking())
        DragEnded(m_tracker->Abort());
    QWidget::hideEvent(event);
}

void CGraphTraker::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit SurfaceResized();
}

void CGraphTraker::DragEnded(int result)
{
    emit FeedbackTextChanged(QString());
    unsetCursor();
    if (result < 0) {
        // Cancelled or aborted: the tracker is back where it was, nothing else changes.
        m_snapped = SnapResult();
        update();
        return;
    }
    DesignShape *shape = SelectedShape();
    if (!shape)
        return;
    const int index = shape->index;
    const QTransform matrix = m_tracker->Matrix();
    QRectF newRect = matrix.mapRect(shape->exact);
    const int mode = m_tracker->LastMode();
    const bool group = mode == kModeMove && m_group.size() > 1;
    // Also computes the group's (snapped) move.
    const QRectF page = SnappedPageRect(*shape);
    if (m_snap && (mode == kModeMove || mode == kModeScale))
        newRect = MapToDesignF(m_scale, float(page.x()), float(page.y()), float(page.width()),
                               float(page.height()));
    const QPointF groupDelta = m_groupDelta;
    m_snapped = SnapResult();
    m_groupDelta = QPointF();
    const QRect oldBounds = shape->path.boundingRect().toAlignedRect();
    shape->path = matrix.map(shape->path);
    m_tracker->AttachPath(shape->path, false);
    update(oldBounds.united(shape->path.boundingRect().toAlignedRect()).adjusted(-8, -8, 8, 8));
    if (result == kDragClick && m_group.size() > 1) {
        emit ShapeClicked(index);
        return;
    }
    emit ShapeSelected(index);
    if (result == kDragReleased) {
        if (group)
            emit GroupMoved(groupDelta);
        else if (m_tracker->LastMode() == kModeMove)
            emit ShapeMoved(index, newRect);
        else if (m_tracker->LastMode() == kModeScale)
            emit ShapeResized(index, newRect);
    } else if (result == kDragReleasedCtrl) {
        emit ReleasedWithCtrl(index);
    }
}

void CGraphTraker::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CGraphTraker::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CGraphTraker::dropEvent(QDropEvent *event)
{
    // Only the first dropped file counts.
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    emit ImageDropped(urls.first().toLocalFile(), event->position().toPoint());
}

} // namespace orin
