// SPDX-License-Identifier: MIT
#pragma once

#include <QRectF>
#include <QSizeF>

#include <vector>

// Snapping of a dragged item rectangle, in page units, on plain values: the lines it may cling
// to (the page's edges and centre, the other items' edges and centres) and an optional grid.
// The design surface calls these for the tracker's result; nothing here knows a window.

namespace orin {

// The lines a rectangle may snap to: vertical lines at xs, horizontal lines at ys.
struct SnapTargets {
    std::vector<double> xs;
    std::vector<double> ys;
};

// The page's edges and centre and, for every rectangle of `others`, its edges and centre.
SnapTargets CollectSnapTargets(QSizeF page, const std::vector<QRectF> &others);

// What a snap gave: the rectangle and the lines it clings to (drawn as guides).
struct SnapResult {
    QRectF rect;
    std::vector<double> guideXs;
    std::vector<double> guideYs;
};

// How to snap: a line counts when it is at most `tolerance` page units away; a line wins over
// the grid. `grid` > 0 rounds the left and top edge (a move) or each moving edge (a resize) to
// a multiple of `grid` when no line is near.
struct SnapRules {
    double tolerance = 8;
    int grid = 0;
};

// A rectangle moved from `original`: on each axis the nearest pair of (left, centre, right) and
// a target line within the tolerance moves the rectangle by their distance; the size stays. An
// axis along which it did not move (a move held to the other axis) stays as it is.
SnapResult SnapMove(const QRectF &original, const QRectF &rect, const SnapTargets &targets,
                    const SnapRules &rules);

// A resized rectangle: only the edges that differ from `original` snap, each on its own; an
// edge whose snap would leave the rectangle narrower than one unit stays where it was.
SnapResult SnapResize(const QRectF &original, const QRectF &rect, const SnapTargets &targets,
                      const SnapRules &rules);

// A resize that keeps its proportion (Shift): of the moving edges only the one that comes
// nearest to a line (or, with no line near, to the grid) snaps, and the rectangle is then
// scaled about the resize's fixed point so that its width-to-height ratio stays that of `rect`.
// A snap that would leave a side shorter than one unit is not taken.
SnapResult SnapResizeProportional(const QRectF &original, const QRectF &rect,
                                  const SnapTargets &targets, const SnapRules &rules);

// `value` rounded to the nearest multiple of `grid` (unchanged for grid <= 0).
double SnapToGrid(double value, int grid);

} // namespace orin
