// SPDX-License-Identifier: MIT
#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

// How page units map to the canvas: the screen (SW x SH, twice the page) is scaled to fit the
// client area keeping its aspect ratio and centred. Integer arithmetic with truncating
// divisions as the receiver's rule says, in 64 bits so that unchecked geometry from files
// cannot overflow.

namespace orin {

class CCanvasMapping {
public:
    CCanvasMapping(QSize client, bool vertical);

    // An item rectangle in page units (truncated to ints first) as client pixels.
    QRect MapToClient(int x, int y, int width, int height) const;
    QRect MapItem(float x, float y, float width, float height) const;
    // The same rule in double precision (text placement).
    QRectF MapToClientF(double x, double y, double width, double height) const;
    // Client pixels per screen pixel: W / SW when the width limits, else H / SH.
    double Scale() const;
    // The rectangle a picture of that size takes when drawn "fit" into the client area.
    QRect FitRect(QSize picture) const;
    // A client point as page coordinates (16:9, or 9:16 while vertical, centred as above).
    QPointF ClientToPage(QPointF point) const;

    int ScreenWidth() const { return m_sw; }
    int ScreenHeight() const { return m_sh; }
    QSize Client() const { return QSize(int(m_w), int(m_h)); }

private:
    bool ByWidth() const { return m_sw * m_h > m_sh * m_w; }

    qint64 m_w;
    qint64 m_h;
    qint64 m_sw;
    qint64 m_sh;
};

} // namespace orin
