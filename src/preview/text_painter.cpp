// SPDX-License-Identifier: MIT
#include "preview/text_painter.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace orin {

namespace {

int TruncInt(double value)
{
    return int(std::clamp(value, -1e9, 1e9));
}

bool IsLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}

} // namespace

QFont ItemFont(int pixels, int wordwrap)
{
    const int bits = ((wordwrap % 10) + 10) % 10;
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(std::max(1, pixels));
    font.setStyleHint(QFont::TypeWriter, QFont::PreferQuality);
    font.setFixedPitch(true);
    font.setWeight((bits & 2) ? QFont::Black : QFont::Normal);
    font.setItalic((bits & 4) != 0);
    return font;
}

void DrawLaidOutText(QPainter &painter, const CCanvasMapping &mapping, const TextRequest &r)
{
    if (r.text.isEmpty() || r.size <= 0)
        return;
    const int left = TruncInt(double(r.x) + r.marginX + 2);
    const int top = TruncInt(double(r.y) + r.marginY + 2);
    const int width = TruncInt(double(r.width) - 2.0 * r.marginX);
    const int height = TruncInt(double(r.height) - 2.0 * r.marginY);
    const QRectF rect = mapping.MapToClientF(left, top, width, height);
    const double f = mapping.Scale() * 1.99;
    const int bits = ((r.wordwrap % 10) + 10) % 10;
    const int drawPixels = TruncInt(r.size * f);
    if (drawPixels <= 0)
        return;
    const QFont drawFont = ItemFont(drawPixels, r.wordwrap);
    painter.setFont(drawFont);

    if (bits & 1) {
        const int flags = r.marquee ? int(Qt::TextSingleLine) : int(Qt::TextWordWrap);
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | flags, r.text);
        painter.restore();
        return;
    }

    const QFontMetricsF measure(ItemFont(r.size, r.wordwrap));
    const QFontMetricsF drawn(drawFont);
    const double ascent = drawn.ascent();
    const double fullHeight = drawn.height();
    double px = rect.left();
    double py = rect.top();
    const qsizetype n = r.text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = r.text.at(i);
        const double cx = measure.horizontalAdvance(c);
        const double cy = measure.height();
        double offset = 0;
        double lineHeight = cy;
        if (r.lineHeight != 0 && r.lineHeight > cy) {
            offset = double(int((r.lineHeight - cy) / 2));
            lineHeight = r.lineHeight;
        }
        if (!IsLineEnd(c)) {
            const int cellLeft = TruncInt(px + 0.5);
            const int cellTop = TruncInt(py + f * offset);
            const int cellRight = TruncInt(px + f * cx);
            const int cellBottom = std::min(TruncInt(py + f * lineHeight), TruncInt(rect.bottom()));
            const bool firstLine = cellTop <= rect.top() + 1;
            if (cellTop < cellBottom && (!r.marquee || firstLine)) {
                if (cellTop + fullHeight > cellBottom) {
                    // The cell is cut at the rectangle's bottom.
                    painter.save();
                    painter.setClipRect(QRect(cellLeft, cellTop, std::max(1, cellRight - cellLeft + 1),
                                              cellBottom - cellTop),
                                        Qt::IntersectClip);
                    painter.drawText(QPointF(cellLeft, cellTop + ascent), QString(c));
                    painter.restore();
                } else {
                    painter.drawText(QPointF(cellLeft, cellTop + ascent), QString(c));
                }
            }
        }
        px += f * cx;
        const bool nextIsLineEnd = i + 1 < n && IsLineEnd(r.text.at(i + 1));
        if (c == u'\n' || (px + f * cx > rect.right() && !nextIsLineEnd)) {
            px = rect.left();
            py += f * lineHeight;
            if (py > rect.bottom() + fullHeight && !r.marquee)
                break; // nothing further can be seen
        }
    }
}

void DrawCentredText(QPainter &painter, const CCanvasMapping &mapping, const TextRequest &r)
{
    if (r.text.isEmpty() || r.size <= 0)
        return;
    const QRect rect = mapping.MapItem(r.x, r.y + 2, r.width, r.height);
    const int full = TruncInt(r.size * 2.2 * mapping.Scale());
    const int pixels = full * 9 / 10;
    if (pixels <= 0)
        return;
    painter.setFont(ItemFont(pixels, r.wordwrap));
    const int bits = ((r.wordwrap % 10) + 10) % 10;
    int flags = Qt::AlignHCenter | Qt::AlignTop;
    if (r.marquee)
        flags |= Qt::TextSingleLine;
    else if (bits & 1)
        flags |= Qt::TextWordWrap;
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(rect, flags, r.text);
    painter.restore();
}

} // namespace orin
