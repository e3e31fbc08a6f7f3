// SPDX-License-Identifier: MIT
#include "editor/design_mapping.h"

#include <algorithm>
#include <cmath>

namespace orin {

namespace {

int ToPixel(double value)
{
    if (!std::isfinite(value))
        return 0;
    constexpr double kLimit = 1e8;
    return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

} // namespace

DesignScale ComputeDesignScale(QSize area, QSize page)
{
    DesignScale scale;
    const qint64 w = area.width();
    const qint64 h = area.height();
    const qint64 pw = page.width();
    const qint64 ph = page.height();
    if (w <= 0 || h <= 0 || pw <= 0 || ph <= 0)
        return scale;
    if (h * pw < w * ph) {
        scale.s = float(h) / float(ph);
        scale.ox = int((w * ph - h * pw) / (ph * 2));
    } else {
        scale.s = float(w) / float(pw);
        scale.oy = int((h * pw - w * ph) / (pw * 2));
    }
    return scale;
}

DesignScale ZoomDesignScale(const DesignScale &fit, double zoom, QPointF pagePoint,
                            QPointF surfacePoint)
{
    if (!(zoom > 0) || !std::isfinite(zoom) || zoom == 1)
        return fit;
    DesignScale scale;
    scale.s = float(double(fit.s) * zoom);
    scale.ox = ToPixel(std::round(surfacePoint.x() - double(scale.s) * pagePoint.x()));
    scale.oy = ToPixel(std::round(surfacePoint.y() - double(scale.s) * pagePoint.y()));
    return scale;
}

QRect MapToDesign(const DesignScale &scale, float x, float y, float width, float height)
{
    return QRect(ToPixel(double(scale.s * x)) + scale.ox, ToPixel(double(scale.s * y)) + scale.oy,
                 ToPixel(double(scale.s * width)), ToPixel(double(scale.s * height)));
}

QRectF MapToDesignF(const DesignScale &scale, float x, float y, float width, float height)
{
    const double s = scale.s;
    return QRectF(s * x + scale.ox, s * y + scale.oy, s * width, s * height);
}

QPointF DesignToPage(const DesignScale &scale, QPointF point)
{
    return QPointF((point.x() - scale.ox) / double(scale.s), (point.y() - scale.oy) / double(scale.s));
}

QRectF DesignToPage(const DesignScale &scale, const QRectF &rect)
{
    return QRectF(DesignToPage(scale, rect.topLeft()),
                  QSizeF(rect.width() / double(scale.s), rect.height() / double(scale.s)));
}

} // namespace orin
