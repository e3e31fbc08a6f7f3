// SPDX-License-Identifier: MIT
#include "editor/tracker_math.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orin {

namespace {

constexpr double kDegreesPerRadian = 180.0 / M_PI;

bool InStrip(int x, int y, int left, int top, int right, int bottom)
{
    return x >= left && x < right && y >= top && y < bottom;
}

// Truncation toward zero that stays defined for values out of the int range.
int TruncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double kLimit = 2147483647.0;
    return static_cast<int>(std::trunc(std::clamp(value, -kLimit, kLimit)));
}

// Whether the point lies in one of the four strips that reach kHitStrip units inward from the
// rectangle's edges (left and top borders included, right and bottom excluded). For a 6-unit
// handle this is a cross reaching 15 units to each side of it.
bool InEdgeStrips(const TrackFrame &r, QPoint p)
{
    const int x = p.x();
    const int y = p.y();
    return InStrip(x, y, r.left, r.top, r.left + kHitStrip, r.bottom)
           || InStrip(x, y, r.right - kHitStrip, r.top, r.right, r.bottom)
           || InStrip(x, y, r.left, r.top, r.right, r.top + kHitStrip)
           || InStrip(x, y, r.left, r.bottom - kHitStrip, r.right, r.bottom);
}

} // namespace

TrackPoints BasePoints(const TrackFrame &frame, int inflation, bool recomputeCentre,
                       QPoint keptCentre)
{
    const int l = frame.left - inflation;
    const int t = frame.top - inflation;
    const int r = frame.right + inflation;
    const int b = frame.bottom + inflation;
    TrackPoints points{QPoint(l, t), QPoint(r, t), QPoint(r, b), QPoint(l, b), keptCentre};
    if (recomputeCentre)
        points[4] = QPoint((frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2);
    return points;
}

QPoint ElementPosition(const TrackPoints &points, int k)
{
    if (k == kElementCentre)
        return points[4];
    if (k < 0 || k > kElementCentre)
        return points[4];
    const QPoint a = points[size_t(k / 2)];
    if (k % 2 == 0)
        return a;
    const QPoint b = points[size_t((k / 2 + 1) % 4)];
    return QPoint((a.x() + b.x()) / 2, (a.y() + b.y()) / 2);
}

TrackFrame ElementRect(const TrackFrame &frame, const TrackPoints &points, int handleSize, int k)
{
    if (k == kElementBody)
        return frame;
    const QPoint at = ElementPosition(points, k);
    const int half = handleSize / 2;
    return {at.x() - half, at.y() - half, at.x() + half, at.y() + half};
}

bool OnCentreMarker(const TrackFrame &frame, const TrackPoints &points, int handleSize, QPoint p)
{
    // A frame too small to hold the marker beside some body keeps all of it for moving.
    const int size = std::max(handleSize, 1);
    if (frame.right - frame.left < kCentreMinFrame * size
        || frame.bottom - frame.top < kCentreMinFrame * size)
        return false;
    const QPoint centre = points[4];
    return std::abs(p.x() - centre.x()) <= size && std::abs(p.y() - centre.y()) <= size;
}

int ElementAt(const TrackFrame &frame, const TrackPoints &points, int handleSize, int options,
              QPoint p)
{
    // The handles first, each with its strips; then the centre marker; then the whole inside
    // of the frame is the body, so that a press anywhere in the item moves it.
    for (int k = 0; k < kElementCentre; ++k) {
        if (InEdgeStrips(ElementRect(frame, points, handleSize, k), p))
            return k;
    }
    if ((options & trackopt::kCentreElement) && OnCentreMarker(frame, points, handleSize, p))
        return kElementCentre;
    if (InStrip(p.x(), p.y(), frame.left, frame.top, frame.right, frame.bottom))
        return kElementBody;
    return kElementNone;
}

int ModeForElement(int k, int keyFlags, int options)
{
    if (k == kElementCentre)
        return kModeCentre;
    if (k == kElementBody)
        return kModeMove;
    if (keyFlags & trackkey::kCtrl) {
        if (k % 2 == 1 && (options & trackopt::kCtrlEdgeShears))
            return kModeShear;
        if (k % 2 == 0 && (options & trackopt::kCtrlCornerRotates))
            return kModeRotate;
    }
    return kModeScale;
}

bool AnchorToggle(int mode, int keyFlags, int options)
{
    bool toggle = (options & trackopt::kAltAnchor) && (keyFlags & trackkey::kAlt);
    if (mode == kModeRotate && (options & trackopt::kRotateAboutCentre))
        toggle = !toggle;
    return toggle;
}

int AnchorElement(int hitElement, bool toggle)
{
    if (toggle || hitElement < 0 || hitElement >= kElementCentre)
        return kElementCentre;
    return hitElement ^ 4;
}

QPoint Constrain(QPoint p, QPoint reference)
{
    const int vx = p.x() - reference.x();
    const int vy = p.y() - reference.y();
    const int ax = std::abs(vx);
    const int ay = std::abs(vy);
    if (ax > 2 * ay)
        return QPoint(p.x(), reference.y());
    if (ay > 2 * ax)
        return QPoint(reference.x(), p.y());
    if (ax > ay)
        return QPoint(reference.x() + (vx < 0 ? -ay : ay), p.y());
    return QPoint(p.x(), reference.y() + (vy < 0 ? -ax : ax));
}

double RoundAngle(double angle)
{
    double n = std::trunc((angle + 367.5) / 15) * 15;
    while (n > 180)
        n -= 360;
    return n;
}

double RotationAngle(QPointF fromAnchor, double startAngle, bool shift)
{
    double angle = std::atan2(fromAnchor.y(), fromAnchor.x()) * kDegreesPerRadian - startAngle;
    while (angle <= -180)
        angle += 360;
    return shift ? RoundAngle(angle) : angle;
}

QPointF ScaleFactors(int k, QPointF d, QPointF e, int options, bool shift)
{
    const bool mirroring = options & trackopt::kMirroring;
    auto factor = [mirroring](double num, double den) {
        if (den == 0)
            return 1.0;
        const double f = num / den;
        return f < 0 && !mirroring ? 0.0 : f;
    };
    double sx = factor(d.x(), e.x());
    double sy = factor(d.y(), e.y());
    if (k == 1 || k == 5) {
        sx = shift ? sy : 1.0;
    } else if (k == 3 || k == 7) {
        sy = shift ? sx : 1.0;
    } else if (shift) {
        const double m = std::min(std::abs(sx), std::abs(sy));
        sx = std::copysign(m, sx);
        sy = std::copysign(m, sy);
    }
    return QPointF(sx, sy);
}

ShearStep ShearFactors(int k, QPointF d, QPointF e, int options)
{
    ShearStep step;
    const bool mirroring = options & trackopt::kMirroring;
    auto scale = [mirroring](double num, double den) {
        const double f = num / den;
        return f < 0 && !mirroring ? 0.0 : f;
    };
    if (k == 3 || k == 7) {
        if (d.x() != 0)
            step.hy = d.y() / d.x();
        if (e.x() != 0)
            step.sx = scale(d.x(), e.x());
        step.feedback = step.hy * -100;
    } else if (k == 1 || k == 5) {
        if (d.y() != 0)
            step.hx = d.x() / d.y();
        if (e.y() != 0)
            step.sy = scale(d.y(), e.y());
        step.feedback = step.hx * -100;
    }
    return step;
}

QTransform MoveMatrix(QPoint start, QPoint p)
{
    return QTransform::fromTranslate(p.x() - start.x(), p.y() - start.y());
}

QTransform ScaleMatrix(QPointF baseAnchor, double sx, double sy, QPointF currentAnchor)
{
    return QTransform::fromTranslate(-baseAnchor.x(), -baseAnchor.y())
           * QTransform::fromScale(sx, sy)
           * QTransform::fromTranslate(currentAnchor.x(), currentAnchor.y());
}

QTransform RotateMatrix(QPointF baseAnchor, double angle, QPointF currentAnchor)
{
    // On a y-down surface a positive angle turns clockwise.
    return QTransform::fromTranslate(-baseAnchor.x(), -baseAnchor.y())
           * QTransform().rotate(angle)
           * QTransform::fromTranslate(currentAnchor.x(), currentAnchor.y());
}

QTransform ShearMatrix(QPointF baseAnchor, const ShearStep &step, bool shift,
                       QPointF currentAnchor)
{
    QTransform matrix = QTransform::fromTranslate(-baseAnchor.x(), -baseAnchor.y());
    if (!shift)
        matrix *= QTransform::fromScale(step.sx, step.sy);
    // x' = x + hx * y, y' = hy * x + y
    matrix *= QTransform(1, step.hy, step.hx, 1, 0, 0);
    matrix *= QTransform::fromTranslate(currentAnchor.x(), currentAnchor.y());
    return matrix;
}

QPoint MapPoint(const QTransform &matrix, QPoint p)
{
    const QPointF mapped = matrix.map(QPointF(p));
    return QPoint(TruncToInt(std::round(mapped.x())), TruncToInt(std::round(mapped.y())));
}

int CursorSlot(const CursorQuery &query)
{
    int k = query.element;
    if (k == kElementNone)
        return -1;
    const bool centreElement = query.options & trackopt::kCentreElement;
    if (k == kElementCentre && !centreElement)
        k = kElementBody;
    if (query.space && k != kElementCentre)
        k = kElementBody;
    if (k == kElementCentre)
        return 4;
    if (k == kElementBody)
        return query.ctrl ? 6 : 5;
    if (k % 2 == 1) {
        const int b = (k == 3 || k == 7) ? 1 : 0;
        const bool shear = (query.ctrl && (query.options & trackopt::kCtrlEdgeShears))
                           || query.mode == kModeShear;
        return shear ? 8 + b : 2 + b;
    }
    if ((query.ctrl && (query.options & trackopt::kCtrlCornerRotates))
        || query.mode == kModeRotate)
        return 7;
    int b = (k == 2 || k == 6) ? 1 : 0;
    b ^= query.mirrored ? 1 : 0;
    if (query.cornerScale)
        b ^= (query.sxNegative ? 1 : 0) ^ (query.syNegative ? 1 : 0);
    return b;
}

QString FeedbackText(int kind, double a, double b)
{
    const int ia = TruncToInt(a);
    const int ib = TruncToInt(b);
    switch (kind) {
    case 1:
    case 5: return QStringLiteral("x:%1  y:%2").arg(ia).arg(ib);
    case 2: return QStringLiteral("%1 × %2").arg(ia).arg(ib);
    case 3: return QStringLiteral("%1°").arg(ia);
    case 4: return QStringLiteral("%1%").arg(ia);
    default: return QString();
    }
}

QString MoveStepText(const QRectF &rect)
{
    return FeedbackText(1, rect.x(), rect.y()) + QStringLiteral("  ")
           + FeedbackText(2, rect.width(), rect.height());
}

} // namespace orin
