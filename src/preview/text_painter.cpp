// SPDX-License-Identifier: MIT
#include "preview/text_painter.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <memory>

namespace orin {

namespace {

int TruncInt(double value)
{
    return int(std::clamp(value, -1e9, 1e9));
}

// Sizes from files are unchecked; glyphs beyond this are larger than any screen anyway.
constexpr int kMaxFontPixels = 4096;

int FontPixels(double value)
{
    return std::clamp(TruncInt(value), 0, kMaxFontPixels);
}

bool IsLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// The fonts of one size and style, made once: building fonts and raw fonts for every item
// would cost more than drawing its text.
struct FontSet {
    QFont font;
    QFontMetricsF metrics{QFont()};
    QRawFont raw;
};

const FontSet &FontsFor(int pixels, int wordwrap)
{
    const int bits = ((wordwrap % 10) + 10) % 10;
    thread_local QHash<quint64, std::shared_ptr<FontSet>> cache;
    const quint64 key = (quint64(quint32(std::max(1, pixels))) << 8) | quint64(bits & 6);
    std::shared_ptr<FontSet> &entry = cache[key];
    if (!entry) {
        if (cache.size() > 256) {
            cache.clear();
            return FontsFor(pixels, wordwrap);
        }
        entry = std::make_shared<FontSet>();
        entry->font = ItemFont(pixels, wordwrap);
        entry->metrics = QFontMetricsF(entry->font);
        entry->raw = QRawFont::fromFont(entry->font);
    }
    return *entry;
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
    const int drawPixels = FontPixels(r.size * f);
    if (drawPixels <= 0)
        return;
    const FontSet &drawSet = FontsFor(drawPixels, r.wordwrap);
    const QFont &drawFont = drawSet.font;
    painter.setFont(drawFont);

    if (bits & 1) {
        const int flags = r.marquee ? int(Qt::TextSingleLine) : int(Qt::TextWordWrap);
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | flags, r.text);
        painter.restore();
        return;
    }

    const QFontMetricsF &measure = FontsFor(FontPixels(r.size), r.wordwrap).metrics;
    const QFontMetricsF &drawn = drawSet.metrics;
    // Whole cells are gathered into one glyph run with the positions of the layout; shaping
    // each character on its own would cost most of a paint. Texts with surrogate pairs are
    // drawn character by character.
    const QRawFont &raw = drawSet.raw;
    const QList<quint32> glyphIndexes = raw.isValid() ? raw.glyphIndexesForString(r.text)
                                                      : QList<quint32>();
    const bool byGlyphs = glyphIndexes.size() == r.text.size();
    QList<quint32> runGlyphs;
    QList<QPointF> runPositions;
    QGlyphRun cutRun;
    QList<quint32> cutGlyph(1);
    QList<QPointF> cutPosition(1);
    if (byGlyphs)
        cutRun.setRawFont(raw);
    const double ascent = drawn.ascent();
    const double fullHeight = drawn.height();
    const double cy = measure.height();
    double px = rect.left();
    double py = rect.top();
    const qsizetype n = r.text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = r.text.at(i);
        const double cx = measure.horizontalAdvance(c);
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
                    // The cell is cut at the rectangle's bottom: its glyph is drawn on its own
                    // under its own clip, from the glyphs already found where it has one (no
                    // shaping of a one-character string per cell).
                    painter.save();
                    painter.setClipRect(QRect(cellLeft, cellTop, std::max(1, cellRight - cellLeft + 1),
                                              cellBottom - cellTop),
                                        Qt::IntersectClip);
                    const QPointF at(cellLeft, cellTop + ascent);
                    if (byGlyphs) {
                        cutGlyph[0] = glyphIndexes.at(i);
                        cutPosition[0] = at;
                        cutRun.setGlyphIndexes(cutGlyph);
                        cutRun.setPositions(cutPosition);
                        painter.drawGlyphRun(QPointF(0, 0), cutRun);
                    } else {
                        painter.drawText(at, QString(c));
                    }
                    painter.restore();
                } else if (byGlyphs) {
                    runGlyphs.append(glyphIndexes.at(i));
                    runPositions.append(QPointF(cellLeft, cellTop + ascent));
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
    if (!runGlyphs.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(runGlyphs);
        run.setPositions(runPositions);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
}

void DrawCentredText(QPainter &painter, const CCanvasMapping &mapping, const TextRequest &r)
{
    if (r.text.isEmpty() || r.size <= 0)
        return;
    const QRect rect = mapping.MapItem(r.x, r.y + 2, r.width, r.height);
    const int full = FontPixels(r.size * 2.2 * mapping.Scale());
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
