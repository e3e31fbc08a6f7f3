// SPDX-License-Identifier: MIT
#pragma once

#include "editor/tracker_math.h"

#include <QColor>
#include <QPainterPath>
#include <QPoint>
#include <QString>
#include <QTransform>

class QPainter;

// The transform tracker: a frame around one outline that the operator drags to move, scale,
// rotate or shear it, or to move its centre. The drag is a state machine fed by the owner's
// mouse, key and focus events (a press starts it, each message steps it, a release or a cancel
// ends it and returns the result); it never runs a loop of its own, so the program keeps
// painting and answering while the button is held.

namespace orin {

// Messages that step a drag.
enum TrackMessage : int {
    kTrackMouseMove,
    kTrackLeftDown,
    kTrackLeftUp,
    kTrackRightDown,
    kTrackRightUp,
    kTrackKeyDown,
    kTrackKeyUp,
};

// Drag results.
inline constexpr int kDragRefused = -2;   // refused, or the capture or focus was lost
inline constexpr int kDragCancelled = -1; // Escape or the right button
inline constexpr int kDragReleased = 1;
inline constexpr int kDragReleasedCtrl = 2;
inline constexpr int kDragClick = 3;      // released where it was pressed, never moved

// Drawing codes: bit 0x400 recomputes the figure; the others repeat the last one.
inline constexpr int kDrawStart = 0xC00;
inline constexpr int kDrawErase = 0x1000;
inline constexpr int kDrawStep = 0x2400;
inline constexpr int kDrawEnd = 0x4000;
inline constexpr int kDrawRecompute = 0x400;

// What the tracker asks of the window it belongs to.
class TrackerWindow {
public:
    virtual ~TrackerWindow() = default;
    // Show cursor slot `slot` (0..9, see CursorSlot).
    virtual void SetTrackerCursor(int slot) = 0;
    // The feedback changed: paint again.
    virtual void TrackerChanged() = 0;
};

// The drag as a sequence of steps with overridable parts.
class QTracker {
public:
    explicit QTracker(TrackerWindow *window) : m_window(window) {}
    virtual ~QTracker() = default;
    QTracker(const QTracker &) = delete;
    QTracker &operator=(const QTracker &) = delete;

    // A press at `p`: 0 when the drag now runs, else its result (the drag did not start):
    // -2 while another window holds the mouse (`captureElsewhere`) or when StartDrag refuses.
    int RunDrag(int keyFlags, QPoint p, bool captureElsewhere = false);
    // A mouse message during the drag: 0 while it runs on, else the drag's result.
    int Mouse(int message, int keyFlags, QPoint p);
    // A key message during the drag (Qt key code): 0 while it runs on, else the result.
    int Key(int message, int key, int repeat = 1, int keyData = 0);
    // The mouse grab or the window focus was lost: the drag ends with -2.
    int Abort();

    bool IsTracking() const { return m_tracking; }
    QPoint CurrentPoint() const { return m_current; }
    QPoint PreviousPoint() const { return m_previous; }
    QPoint StartPoint() const { return m_start; }
    bool Moved() const { return m_moved; }

    // Draws the feedback of the running drag as last computed (the owner's paint).
    void PaintFeedback(QPainter &painter) { DrawFeedback(&painter, m_lastKeys | kDrawErase); }

protected:
    virtual int StartDrag(int keyFlags, int x, int y);
    virtual int EndDrag(int result) { return result; }
    virtual int HandleMouse(int message, int keyFlags, int x, int y);
    virtual int HandleKey(int message, int key, int repeat, int keyData);
    virtual int HandleOther(int message);
    // With bit 0x400 of `code` the figure is computed again; a null painter only computes.
    virtual void DrawFeedback(QPainter *painter, int code);

    TrackerWindow *Window() const { return m_window; }

    QPoint m_current;
    QPoint m_previous;
    QPoint m_start;
    bool m_tracking = false;
    bool m_moved = false;

private:
    int Finish(int result);

    TrackerWindow *m_window;
    int m_lastKeys = 0;
};

// The frame with its ten elements, the five drag modes and their matrices, and the drawing.
class QTransformTracker : public QTracker {
public:
    explicit QTransformTracker(TrackerWindow *window);
    ~QTransformTracker() override;

    int options = 0xBF;
    QColor frameColour{192, 192, 192};
    QColor handleColour{0, 0, 0};
    QColor centreColour{0, 0, 50};
    QColor outlineColour{0, 0, 0};
    QColor pathColour{0, 0, 0};

    // Takes a copy of the outline; the frame is its integer bounds grown by the frame
    // inflation. An empty bounds leaves the tracker detached.
    void AttachPath(const QPainterPath &path, bool recomputeCentre);
    void DetachPath();
    bool IsAttached() const { return m_attached; }
    // Draws the tracker at rest (frame, handles, centre mark); nothing when detached.
    void DrawTracker(QPainter &painter) const;
    void SetSizes(int handleSize, int frameInflation, int pointsInflation);
    int ElementAt(int x, int y) const;
    // RunDrag as a move of the whole outline, wherever the press is (the owner has decided that
    // the press grabs the item itself).
    int RunMoveDrag(int keyFlags, QPoint p);
    // Sets the window's cursor for the element under the pointer at `p`; false (the window
    // keeps its own cursor) when the tracker is detached or no element is there.
    bool SetCursorForPointer(QPoint p, bool ctrl, bool space);
    void SetMirrored(bool mirrored) { m_mirrored = mirrored; }

    // The result of the last drag, valid until the next one starts.
    QTransform Matrix() const { return m_matrix; }
    int LastMode() const { return m_lastMode; }
    int Mode() const { return m_mode; }
    int HitElement() const { return m_hitElement; }
    const QString &FeedbackTextValue() const { return m_feedbackText; }
    TrackFrame Frame() const { return m_frame; }
    const TrackPoints &BasePointsValue() const { return m_base; }
    const TrackPoints &CurrentPointsValue() const { return m_currentPoints; }
    int HandleSize() const { return m_handleSize; }

protected:
    int StartDrag(int keyFlags, int x, int y) override;
    int EndDrag(int result) override;
    int HandleMouse(int message, int keyFlags, int x, int y) override;
    int HandleKey(int message, int key, int repeat, int keyData) override;
    void DrawFeedback(QPainter *painter, int code) override;
    // The text of a step (kinds 1..5); the owner may show it.
    virtual void SetFeedbackText(int kind, double a, double b);

private:
    void SetAnchor(bool toggle);
    void ComputeBasePoints(bool recomputeCentre);
    void ChooseCursor(int keyFlags);
    void DrawCentreMark(QPainter &painter, QPoint at, bool enlarged) const;

    int m_lastMode = kModeNone;
    int m_mode = kModeNone;
    bool m_attached = false;
    bool m_panned = false;
    bool m_mirrored = false;
    bool m_anchorToggle = false;
    int m_hitElement = kElementNone;
    int m_forcedElement = kElementNone; // the element RunMoveDrag grabs
    QPainterPath m_path;
    TrackFrame m_frame;
    TrackPoints m_base{};
    TrackPoints m_currentPoints{};
    QPoint m_baseAnchor;
    QPoint m_currentAnchor;
    QTransform m_matrix;
    double m_startAngle = 0;
    int m_handleSize = 4;
    int m_frameInflation = 4;
    int m_pointsInflation = 0;
    QString m_feedbackText;
    QPainterPath m_pathFigure; // the path as the matrix maps it
    QPointF m_scale{1, 1};     // factors of the running scale step
    int m_keys = 0;            // key flags as the last message or key left them
};

} // namespace orin
