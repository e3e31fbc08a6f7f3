// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QTransform>

#include <array>

// The rules of the transform tracker on plain values: where its ten elements are, which one a
// point hits, how a drag step turns into a matrix, which cursor shows. The tracker and the
// design surface call these; nothing here knows a window.

namespace orin {

// Option bits of the tracker.
namespace trackopt {
inline constexpr int kCtrlCornerRotates = 0x01;
inline constexpr int kCtrlEdgeShears = 0x02;
inline constexpr int kMirroring = 0x04;
inline constexpr int kAltAnchor = 0x08;
inline constexpr int kCentreElement = 0x10;
inline constexpr int kRotateAboutCentre = 0x20;
inline constexpr int kDottedFrame = 0x40;
inline constexpr int kDottedOutline = 0x80;
inline constexpr int kDottedPath = 0x100;
} // namespace trackopt

// Element codes: 0..7 clockwise from the top-left corner (even: corners, odd: middles).
inline constexpr int kElementNone = -1;
inline constexpr int kElementCentre = 8;
inline constexpr int kElementBody = 9;

// Drag modes.
enum TrackMode : int { kModeNone = 0, kModeMove, kModeScale, kModeRotate, kModeShear,
                       kModeCentre };

// Key flags of a tracker message: the buttons and keys held. Alt and Space are not mouse
// flags of the platform; the owner adds them from the keyboard state.
namespace trackkey {
inline constexpr int kLeftButton = 0x01;
inline constexpr int kRightButton = 0x02;
inline constexpr int kShift = 0x04;
inline constexpr int kCtrl = 0x08;
inline constexpr int kMiddleButton = 0x10;
inline constexpr int kAlt = 0x20;
inline constexpr int kSpace = 0x40;
} // namespace trackkey

// The width of the strips that make an element hit, in logical units.
inline constexpr int kHitStrip = 18;

// Corners top-left, top-right, bottom-right, bottom-left, then the centre.
using TrackPoints = std::array<QPoint, 5>;

// The frame's edges as the platform keeps them: right and bottom are outside.
struct TrackFrame {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

// The corners of `frame` grown by `inflation`; the centre is the frame's (integer halves) when
// `recomputeCentre`, else `keptCentre`.
TrackPoints BasePoints(const TrackFrame &frame, int inflation, bool recomputeCentre,
                       QPoint keptCentre);

// Where element k (0..8) stands: 8 the centre, even k corner k/2, odd k the midpoint of
// corners k/2 and k/2+1 (corner 4 being corner 0).
QPoint ElementPosition(const TrackPoints &points, int k);

// Element 9: the frame; 0..8: the handle square around the element's position.
TrackFrame ElementRect(const TrackFrame &frame, const TrackPoints &points, int handleSize,
                       int k);

// The centre marker takes a press within one handle size of the centre point, both ways, on a
// frame at least this many handle sizes wide and high; a smaller frame has no centre to grab.
inline constexpr int kCentreMinFrame = 4;

// Whether the point is on the centre marker (see kCentreMinFrame).
bool OnCentreMarker(const TrackFrame &frame, const TrackPoints &points, int handleSize,
                    QPoint p);

// The element under the point: a handle (0..7) when the point lies in one of the four strips
// reaching kHitStrip units inward from the edges of its handle square (for a 6-unit handle a
// cross reaching 15 units to each side; the lower code wins); else the centre marker (8) while
// option 0x10 is set; else the body (9) anywhere inside the frame; else -1. So the centre's
// drag stays on its marker and a press anywhere else in the frame moves.
int ElementAt(const TrackFrame &frame, const TrackPoints &points, int handleSize, int options,
              QPoint p);

// The drag mode for a press on element k with the key flags.
int ModeForElement(int k, int keyFlags, int options);

// Whether the anchor is the centre: Alt with option 0x08, inverted for rotation with 0x20.
bool AnchorToggle(int mode, int keyFlags, int options);

// The anchor element of a drag: the centre when toggled, else the element opposite k.
int AnchorElement(int hitElement, bool toggle);

// Keeps p on the horizontal, vertical or diagonal line through `reference` nearest to it.
QPoint Constrain(QPoint p, QPoint reference);

// A rotation angle with Shift: the nearest multiple of 15 degrees (halves upward), in
// (-180, 180].
double RoundAngle(double angle);

// The rotation of a step: the direction from the anchor to the pointer less the start angle,
// above -180; rounded with Shift.
double RotationAngle(QPointF fromAnchor, double startAngle, bool shift);

// The scale factors of a step on element k: d is the pointer less the current anchor, e the
// start point less the base anchor.
QPointF ScaleFactors(int k, QPointF d, QPointF e, int options, bool shift);

// Shear of a step on middle element k: factors hx, hy, the scale factors and the value shown.
struct ShearStep {
    double hx = 0;
    double hy = 0;
    double sx = 1;
    double sy = 1;
    double feedback = 0;
};
ShearStep ShearFactors(int k, QPointF d, QPointF e, int options);

// The matrices of the modes; each maps base points to current ones.
QTransform MoveMatrix(QPoint start, QPoint p);
QTransform ScaleMatrix(QPointF baseAnchor, double sx, double sy, QPointF currentAnchor);
QTransform RotateMatrix(QPointF baseAnchor, double angle, QPointF currentAnchor);
QTransform ShearMatrix(QPointF baseAnchor, const ShearStep &step, bool shift,
                       QPointF currentAnchor);

// The points mapped by the matrix, rounded to whole units.
QPoint MapPoint(const QTransform &matrix, QPoint p);

// The cursor slot (0..9) for element k. `cornerScale`: a corner scale step is running, with the
// signs of its factors.
struct CursorQuery {
    int element = kElementNone;
    int options = 0;
    bool ctrl = false;
    bool space = false;
    int mode = kModeNone;
    bool mirrored = false;
    bool cornerScale = false;
    bool sxNegative = false;
    bool syNegative = false;
};
int CursorSlot(const CursorQuery &query);

// The text of a drag step: "x:%d  y:%d", "%d × %d", "%d°" or "%d%%" by kind; empty for other
// kinds. a and b are truncated.
QString FeedbackText(int kind, double a, double b);

// What the status line shows during a move or a resize of an item: its position and its size,
// "x:%d  y:%d  %d × %d" (truncated).
QString MoveStepText(const QRectF &rect);

} // namespace orin
