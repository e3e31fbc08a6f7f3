// SPDX-License-Identifier: MIT
#include "editor/transform_tracker.h"

#include <QPainter>

#include <cmath>

namespace orin {

namespace {

// The tracker draws on a layer that the buffer lays over the picture by difference: a pen of
// the inverted colour there changes each pixel as the inverting pen NOT(pen XOR screen) would,
// so the frame shows on any background and vanishes with the next paint.
QPen InvertingPen(const QColor &colour, bool dotted)
{
    QPen pen(QColor(255 - colour.red(), 255 - colour.green(), 255 - colour.blue()));
    pen.setWidth(1);
    pen.setCosmetic(true);
    if (dotted)
        pen.setDashPattern({1, 1});
    return pen;
}

QPolygon Corners(const TrackPoints &points)
{
    return QPolygon({points[0], points[1], points[2], points[3]});
}

} // namespace

// ---------------------------------------------------------------- QTracker

int QTracker::RunDrag(int keyFlags, QPoint p, bool captureElsewhere)
{
    if (m_tracking)
        return 0;
    if (captureElsewhere)
        return kDragRefused;
    const int r = StartDrag(keyFlags, p.x(), p.y());
    if (r != 0)
        return r;
    m_moved = false;
    m_current = m_previous = m_start = p;
    m_tracking = true;
    m_lastKeys = keyFlags & 0x7F;
    DrawFeedback(nullptr, m_lastKeys + kDrawStart);
    if (m_window)
        m_window->TrackerChanged();
    return 0;
}

int QTracker::Mouse(int message, int keyFlags, QPoint p)
{
    if (!m_tracking)
        return 0;
    m_previous = m_current;
    m_current = p;
    if (m_current != m_previous)
        m_moved = true;
    m_lastKeys = keyFlags & 0x7F;
    const int result = HandleMouse(message, m_lastKeys, p.x(), p.y());
    DrawFeedback(nullptr, m_lastKeys + kDrawStep);
    if (m_window)
        m_window->TrackerChanged();
    return result != 0 ? Finish(result) : 0;
}

int QTracker::Key(int message, int key, int repeat, int keyData)
{
    if (!m_tracking)
        return 0;
    const int result = HandleKey(message, key, repeat, keyData);
    return result != 0 ? Finish(result) : 0;
}

int QTracker::Abort()
{
    return m_tracking ? Finish(kDragRefused) : 0;
}

int QTracker::Finish(int result)
{
    m_tracking = false;
    if (result > 0 && !m_moved)
        result = kDragClick;
    result = EndDrag(result);
    if (m_window)
        m_window->TrackerChanged();
    return result;
}

int QTracker::StartDrag(int, int, int)
{
    return 0;
}

int QTracker::HandleMouse(int message, int keyFlags, int, int)
{
    if (message == kTrackLeftUp)
        return (keyFlags & trackkey::kCtrl) ? kDragReleasedCtrl : kDragReleased;
    if (message == kTrackRightDown)
        return kDragCancelled;
    return 0;
}

int QTracker::HandleKey(int message, int key, int, int)
{
    if (message == kTrackKeyDown && key == Qt::Key_Escape)
        return kDragCancelled;
    return 0;
}

int QTracker::HandleOther(int)
{
    return 0;
}

void QTracker::DrawFeedback(QPainter *, int)
{
}

// ---------------------------------------------------------------- QTransformTracker

QTransformTracker::QTransformTracker(TrackerWindow *window) : QTracker(window)
{
}

QTransformTracker::~QTransformTracker() = default;

void QTransformTracker::ComputeBasePoints(bool recomputeCentre)
{
    m_base = BasePoints(m_frame, m_pointsInflation, recomputeCentre, m_base[4]);
    m_currentPoints = m_base;
}

void QTransformTracker::AttachPath(const QPainterPath &path, bool recomputeCentre)
{
    m_path = path;
    m_path.setFillRule(Qt::OddEvenFill);
    const QRectF bounds = path.boundingRect().normalized();
    m_frame = {int(std::floor(bounds.left())), int(std::floor(bounds.top())),
               int(std::ceil(bounds.right())), int(std::ceil(bounds.bottom()))};
    m_attached = !m_frame.IsEmpty();
    m_frame.left -= m_frameInflation;
    m_frame.top -= m_frameInflation;
    m_frame.right += m_frameInflation;
    m_frame.bottom += m_frameInflation;
    ComputeBasePoints(recomputeCentre);
    m_pathFigure = m_path;
}

void QTransformTracker::DetachPath()
{
    m_attached = false;
}

void QTransformTracker::SetSizes(int handleSize, int frameInflation, int pointsInflation)
{
    m_frame.left += m_frameInflation;
    m_frame.top += m_frameInflation;
    m_frame.right -= m_frameInflation;
    m_frame.bottom -= m_frameInflation;
    m_handleSize = handleSize;
    m_frameInflation = frameInflation;
    m_pointsInflation = pointsInflation;
    m_frame.left -= m_frameInflation;
    m_frame.top -= m_frameInflation;
    m_frame.right += m_frameInflation;
    m_frame.bottom += m_frameInflation;
    ComputeBasePoints(false);
}

int QTransformTracker::ElementAt(int x, int y) const
{
    return orin::ElementAt(m_frame, m_base, m_handleSize, options, QPoint(x, y));
}

int QTransformTracker::RunMoveDrag(int keyFlags, QPoint p)
{
    m_forcedElement = kElementBody;
    const int result = RunDrag(keyFlags, p);
    m_forcedElement = kElementNone;
    return result;
}

bool QTransformTracker::SetCursorForPointer(QPoint p, bool ctrl, bool space)
{
    if (!m_attached)
        return false;
    const int k = ElementAt(p.x(), p.y());
    if (k == kElementNone)
        return false;
    CursorQuery query;
    query.element = k;
    query.options = options;
    query.ctrl = ctrl;
    query.space = space;
    query.mode = m_mode;
    query.mirrored = m_mirrored;
    const int slot = CursorSlot(query);
    if (slot < 0 || !Window())
        return false;
    Window()->SetTrackerCursor(slot);
    return true;
}

void QTransformTracker::ChooseCursor(int keyFlags)
{
    if (!Window())
        return;
    CursorQuery query;
    query.element = m_hitElement;
    query.options = options;
    query.ctrl = keyFlags & trackkey::kCtrl;
    query.space = keyFlags & trackkey::kSpace;
    query.mode = m_mode;
    query.mirrored = m_mirrored;
    query.cornerScale = m_mode == kModeScale && m_hitElement >= 0 && m_hitElement < 8
                        && m_hitElement % 2 == 0;
    query.sxNegative = m_scale.x() < 0;
    query.syNegative = m_scale.y() < 0;
    const int slot = CursorSlot(query);
    if (slot >= 0)
        Window()->SetTrackerCursor(slot);
}

void QTransformTracker::SetAnchor(bool toggle)
{
    m_anchorToggle = toggle;
    const int anchor = AnchorElement(m_hitElement, toggle);
    m_baseAnchor = ElementPosition(m_base, anchor);
    m_currentAnchor = ElementPosition(m_currentPoints, anchor);
    if (m_mode == kModeRotate) {
        const QPoint corner = ElementPosition(m_base, m_hitElement);
        m_startAngle = std::atan2(double(corner.y() - m_baseAnchor.y()),
                                  double(corner.x() - m_baseAnchor.x()))
                       * 180.0 / M_PI;
    }
}

int QTransformTracker::StartDrag(int keyFlags, int x, int y)
{
    m_matrix = QTransform();
    m_currentPoints = m_base;
    m_scale = QPointF(1, 1);
    m_panned = false;
    if (!m_attached)
        return kDragRefused;
    m_hitElement = m_forcedElement != kElementNone ? m_forcedElement : ElementAt(x, y);
    if (m_hitElement == kElementNone)
        return kDragRefused;
    m_mode = ModeForElement(m_hitElement, keyFlags, options);
    m_keys = keyFlags;
    SetAnchor(AnchorToggle(m_mode, keyFlags, options));
    ChooseCursor(keyFlags);
    return 0;
}

int QTransformTracker::EndDrag(int result)
{
    if (m_mode == kModeCentre && result == kDragReleasedCtrl)
        result = kDragReleased;
    if (result < 0) {
        m_matrix = QTransform();
        m_currentPoints = m_base;
        m_pathFigure = m_path;
    }
    m_mode = kModeNone;
    m_feedbackText.clear();
    return result;
}

int QTransformTracker::HandleMouse(int message, int keyFlags, int x, int y)
{
    m_keys = keyFlags;
    const bool toggle = AnchorToggle(m_mode, keyFlags, options);
    if (toggle != m_anchorToggle)
        SetAnchor(toggle);
    QPoint p(x, y);
    const bool shift = keyFlags & trackkey::kShift;
    if (keyFlags & trackkey::kSpace) {
        const QPoint delta = p - m_previous;
        m_matrix *= QTransform::fromTranslate(delta.x(), delta.y());
        SetFeedbackText(1, x, y);
        m_panned = true;
    } else {
        if (m_panned) {
            SetAnchor(m_anchorToggle);
            m_panned = false;
        }
        const QPointF d = QPointF(p - m_currentAnchor);
        const QPointF e = QPointF(m_start - m_baseAnchor);
        switch (m_mode) {
        case kModeMove:
            if (shift)
                p = Constrain(p, m_start);
            m_matrix = MoveMatrix(m_start, p);
            SetFeedbackText(1, p.x(), p.y());
            break;
        case kModeScale: {
            m_scale = ScaleFactors(m_hitElement, d, e, options, shift);
            m_matrix = ScaleMatrix(m_baseAnchor, m_scale.x(), m_scale.y(), m_currentAnchor);
            if (m_hitElement % 2 == 0)
                ChooseCursor(keyFlags);
            SetFeedbackText(2, (m_frame.right - m_frame.left) * m_scale.x(),
                            (m_frame.bottom - m_frame.top) * m_scale.y());
            break;
        }
        case kModeRotate: {
            const double angle = RotationAngle(d, m_startAngle, shift);
            m_matrix = RotateMatrix(m_baseAnchor, angle, m_currentAnchor);
            SetFeedbackText(3, m_mirrored ? angle : -angle, 0);
            break;
        }
        case kModeShear: {
            const ShearStep step = ShearFactors(m_hitElement, d, e, options);
            m_matrix = ShearMatrix(m_baseAnchor, step, shift, m_currentAnchor);
            SetFeedbackText(4, step.feedback, 0);
            break;
        }
        case kModeCentre:
            if (shift)
                p = Constrain(p, m_start);
            m_currentPoints[4] = p;
            m_base[4] = p;
            SetFeedbackText(5, p.x(), p.y());
            break;
        default:
            break;
        }
        m_lastMode = m_mode;
    }
    return QTracker::HandleMouse(message, keyFlags, x, y);
}

int QTransformTracker::HandleKey(int message, int key, int repeat, int keyData)
{
    if (key == Qt::Key_Control || key == Qt::Key_Space) {
        const int bit = key == Qt::Key_Control ? trackkey::kCtrl : trackkey::kSpace;
        if (message == kTrackKeyDown)
            m_keys |= bit;
        else if (message == kTrackKeyUp)
            m_keys &= ~bit;
        ChooseCursor(m_keys);
    }
    return QTracker::HandleKey(message, key, repeat, keyData);
}

void QTransformTracker::SetFeedbackText(int kind, double a, double b)
{
    if (kind >= 1 && kind <= 5)
        m_feedbackText = FeedbackText(kind, a, b);
}

void QTransformTracker::DrawFeedback(QPainter *painter, int code)
{
    if (m_hitElement == kElementCentre) {
        if (painter)
            DrawCentreMark(*painter, m_base[4], true);
        return;
    }
    if (code & kDrawRecompute) {
        for (size_t i = 0; i < m_base.size(); ++i)
            m_currentPoints[i] = MapPoint(m_matrix, m_base[i]);
        m_pathFigure = m_matrix.map(m_path);
    }
    if (!painter)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(InvertingPen(outlineColour, options & trackopt::kDottedOutline));
    painter->drawPolygon(Corners(m_currentPoints));
    if (!m_pathFigure.isEmpty()) {
        painter->setPen(InvertingPen(pathColour, options & trackopt::kDottedPath));
        painter->drawPath(m_pathFigure);
    }
    painter->restore();
    DrawCentreMark(*painter, m_currentPoints[4], true);
}

void QTransformTracker::DrawTracker(QPainter &painter) const
{
    if (!m_attached)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(InvertingPen(frameColour, options & trackopt::kDottedFrame));
    painter.drawRect(QRect(QPoint(m_frame.left, m_frame.top),
                           QPoint(m_frame.right - 1, m_frame.bottom - 1)));
    painter.setPen(InvertingPen(handleColour, false));
    for (int k = 0; k < 8; ++k) {
        const TrackFrame r = ElementRect(m_frame, m_base, m_handleSize, k);
        painter.drawRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
    }
    painter.restore();
    DrawCentreMark(painter, m_base[4], false);
}

void QTransformTracker::DrawCentreMark(QPainter &painter, QPoint at, bool enlarged) const
{
    if (!(options & trackopt::kAltAnchor))
        return;
    const int r = m_handleSize / 2 + (enlarged ? 1 : 0);
    const int inner = 2 * r;
    const int outer = 2 * r + m_handleSize;
    const int x = at.x();
    const int y = at.y();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(InvertingPen(centreColour, false));
    painter.drawEllipse(QRect(QPoint(x - r, y - r), QPoint(x + r, y + r)));
    if (enlarged && (options & trackopt::kCentreElement)) {
        painter.drawLine(x - inner, y - inner, x - outer, y - outer);
        painter.drawLine(x + inner, y - inner, x + outer, y - outer);
        painter.drawLine(x + inner, y + inner, x + outer, y + outer);
        painter.drawLine(x - inner, y + inner, x - outer, y + outer);
    } else {
        painter.drawLine(x, y - inner, x, y - outer);
        painter.drawLine(x + inner, y, x + outer, y);
        painter.drawLine(x, y + inner, x, y + outer);
        painter.drawLine(x - inner, y, x - outer, y);
    }
    painter.restore();
}

} // namespace orin
