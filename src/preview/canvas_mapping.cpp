// SPDX-License-Identifier: MIT
#include "preview/canvas_mapping.h"

#include <algorithm>
#include <climits>

namespace orin {

namespace {

int ClampInt(qint64 value)
{
    return int(std::clamp<qint64>(value, INT_MIN / 2, INT_MAX / 2));
}

int Truncated(float value)
{
    // Geometry from files may be anything a float holds.
    if (!(value == value))
        return 0;
    return int(std::clamp<double>(value, -1e9, 1e9));
}

} // namespace

CCanvasMapping::CCanvasMapping(QSize client, bool vertical)
    : m_w(std::max(0, client.width())),
      m_h(std::max(0, client.height())),
      m_sw(vertical ? 1080 : 1920),
      m_sh(vertical ? 1920 : 1080)
{
}

QRect CCanvasMapping::MapToClient(int x, int y, int width, int height) const
{
    qint64 ox = 0;
    qint64 oy = 0;
    qint64 num = m_h;
    qint64 den = m_sh;
    if (ByWidth()) {
        oy = (m_h - m_w * m_sh / m_sw) / 2;
        num = m_w;
        den = m_sw;
    } else {
        ox = (m_w - m_h * m_sw / m_sh) / 2;
    }
    return QRect(ClampInt(2 * qint64(x) * num / den + ox), ClampInt(2 * qint64(y) * num / den + oy),
                 ClampInt(2 * qint64(width) * num / den), ClampInt(2 * qint64(height) * num / den));
}

QRect CCanvasMapping::MapItem(float x, float y, float width, float height) const
{
    return MapToClient(Truncated(x), Truncated(y), Truncated(width), Truncated(height));
}

QRectF CCanvasMapping::MapToClientF(double x, double y, double width, double height) const
{
    double ox = 0;
    double oy = 0;
    double scale = double(m_h) / double(m_sh);
    if (ByWidth()) {
        scale = double(m_w) / double(m_sw);
        oy = (double(m_h) - double(m_w) * double(m_sh) / double(m_sw)) / 2;
    } else {
        ox = (double(m_w) - double(m_h) * double(m_sw) / double(m_sh)) / 2;
    }
    return QRectF(2 * x * scale + ox, 2 * y * scale + oy, 2 * width * scale, 2 * height * scale);
}

double CCanvasMapping::Scale() const
{
    return ByWidth() ? double(m_w) / double(m_sw) : double(m_h) / double(m_sh);
}

QRect CCanvasMapping::FitRect(QSize picture) const
{
    const qint64 pw = picture.width();
    const qint64 ph = picture.height();
    if (pw <= 0 || ph <= 0)
        return QRect();
    if (m_w * ph / pw < m_h) {
        const qint64 height = m_w * ph / pw;
        return QRect(0, ClampInt((m_h - height) / 2), ClampInt(m_w), ClampInt(height));
    }
    const qint64 width = m_h * pw / ph;
    return QRect(ClampInt((m_w - width) / 2), 0, ClampInt(width), ClampInt(m_h));
}

QPointF CCanvasMapping::ClientToPage(QPointF point) const
{
    if (m_w <= 0 || m_h <= 0)
        return QPointF();
    if (ByWidth()) {
        const double oy = (double(m_h) - double(m_w) * double(m_sh) / double(m_sw)) / 2;
        const double factor = double(m_sw) / 2 / double(m_w);
        return QPointF(point.x() * factor, (point.y() - oy) * factor);
    }
    const double ox = (double(m_w) - double(m_h) * double(m_sw) / double(m_sh)) / 2;
    const double factor = double(m_sh) / 2 / double(m_h);
    return QPointF((point.x() - ox) * factor, point.y() * factor);
}

} // namespace orin
