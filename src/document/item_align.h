// SPDX-License-Identifier: MIT
#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

// The alignment of several item rectangles, on plain values: every rectangle moves (never
// resizes) so that the chosen edge or centre lies on that of the reference. Several rectangles
// align to the box that bounds them all; a single one aligns to the page.

namespace orin {

enum class AlignEdge : int {
    Left,
    Right,
    Top,
    Bottom,
    HCentre, // the centres on one vertical line
    VCentre, // the centres on one horizontal line
};

inline constexpr AlignEdge kAlignEdges[] = {AlignEdge::Left,    AlignEdge::Right,
                                            AlignEdge::Top,     AlignEdge::Bottom,
                                            AlignEdge::HCentre, AlignEdge::VCentre};

// The menu label, which is also the undo step's text ("左揃え", ...).
QString AlignLabel(AlignEdge edge);

// The rectangle that bounds all of `rects` (a null rectangle for none).
QRectF BoundingRect(const std::vector<QRectF> &rects);

// `rects` aligned by `edge`: to their bounding box when there are two or more, to the page
// (0, 0, page) when there is one. Sizes are kept; only x or y changes.
std::vector<QRectF> AlignRects(const std::vector<QRectF> &rects, AlignEdge edge, QSizeF page);

} // namespace orin
