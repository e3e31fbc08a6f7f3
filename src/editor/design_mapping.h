// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

// How the design surface maps page units to its pixels: the page scaled to fit the area and
// centred. A page point (x, y) is drawn at (int)(s x) + ox, (int)(s y) + oy.

namespace orin {

struct DesignScale {
    float s = 1;
    int ox = 0;
    int oy = 0;
};

// The scale and offsets for a design area of `area` showing a page of `page` (960 x 540, or
// 540 x 960 for vertical content). An empty area or page gives s = 1 and no offsets.
DesignScale ComputeDesignScale(QSize area, QSize page);

// The fit scale `fit` zoomed by `zoom` (1: the fit itself) so that page point `pagePoint` is
// drawn at surface point `surfacePoint`. A zoom that is not a positive finite number gives `fit`.
DesignScale ZoomDesignScale(const DesignScale &fit, double zoom, QPointF pagePoint,
                            QPointF surfacePoint);

// An item rectangle in page units as design pixels.
QRect MapToDesign(const DesignScale &scale, float x, float y, float width, float height);
// The same rectangle without rounding to pixels.
QRectF MapToDesignF(const DesignScale &scale, float x, float y, float width, float height);
// A design point in page units (fractions kept).
QPointF DesignToPage(const DesignScale &scale, QPointF point);
// A design rectangle in page units (fractions kept).
QRectF DesignToPage(const DesignScale &scale, const QRectF &rect);

} // namespace orin
