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

// The flags of the centred rule (idg 3).
int CentredFlags(const TextRequest &r)
{
    const int bits = ((r.wordwrap % 10) + 10) % 10;
    int flags = Qt::AlignHCenter | Qt::AlignTop;
    if (r.marquee)
        flags |= Qt::TextSingleLine;
    else if (bits & 1)
        flags |= Qt::TextWordWrap;
    return flags;
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

namespace {

// One character cell of the layout in client pixels; `bottom` is already cut at the
// rectangle's bottom.
struct Cell {
    qsizetype index = 0;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool firstLine = false;
};

// The client-pixel frame of a laid-out text: the rectangle, the scale and the fonts.
struct LayoutFrame {
    QRectF rect;
    double f = 0;
    const FontSet *drawSet = nullptr;
    const QFontMetricsF *measure = nullptr;
};

bool MakeFrame(const CCanvasMapping &mapping, const TextRequest &r, LayoutFrame &frame)
{
    if (r.text.isEmpty() || r.size <= 0)
        return false;
    const int left = TruncInt(double(r.x) + r.marginX + 2);
    const int top = TruncInt(double(r.y) + r.marginY + 2);
    const int width = TruncInt(double(r.width) - 2.0 * r.marginX);
    const int height = TruncInt(double(r.height) - 2.0 * r.marginY);
    frame.rect = mapping.MapToClientF(left, top, width, height);
    frame.f = mapping.Scale() * 1.99;
    const int drawPixels = FontPixels(r.size * frame.f);
    if (drawPixels <= 0)
        return false;
    frame.drawSet = &FontsFor(drawPixels, r.wordwrap);
    frame.measure = &FontsFor(FontPixels(r.size), r.wordwrap).metrics;
    return true;
}

// The per-character layout rule: calls `visit` with every cell that is not a line end, in
// order. Returns false when the layout stopped early because the rest could not be seen.
template <typename Visit>
bool WalkCells(const TextRequest &r, const LayoutFrame &frame, Visit visit)
{
    const QRectF &rect = frame.rect;
    const double f = frame.f;
    const QFontMetricsF &measure = *frame.measure;
    const double fullHeight = frame.drawSet->metrics.height();
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
            Cell cell;
            cell.index = i;
            cell.left = TruncInt(px + 0.5);
            cell.top = TruncInt(py + f * offset);
            cell.right = TruncInt(px + f * cx);
            cell.bottom = std::min(TruncInt(py + f * lineHeight), TruncInt(rect.bottom()));
            cell.firstLine = cell.top <= rect.top() + 1;
            visit(cell);
        }
        px += f * cx;
        const bool nextIsLineEnd = i + 1 < n && IsLineEnd(r.text.at(i + 1));
        if (c == u'\n' || (px + f * cx > rect.right() && !nextIsLineEnd)) {
            px = rect.left();
            py += f * lineHeight;
            if (py > rect.bottom() + fullHeight && !r.marquee) {
                // Nothing further can be seen; say whether anything further was to be seen.
                for (qsizetype k = i + 1; k < n; ++k) {
                    if (!r.text.at(k).isSpace())
                        return false;
                }
                return true;
            }
        }
    }
    return true;
}

// Qt's own word wrap (wordwrap bit 1) and the centred rule: the text fits when the box Qt
// needs for it lies within the rectangle.
TextFit FitWithFlags(const QFont &font, const QRectF &rect, int flags, const QString &text)
{
    TextFit fit;
    const QRectF needed = QFontMetricsF(font).boundingRect(rect, flags, text);
    // A pixel of rounding either way is not a cut.
    fit.fits = needed.height() <= rect.height() + 1 && needed.width() <= rect.width() + 1
               && needed.left() >= rect.left() - 1;
    fit.inked = needed.intersected(rect);
    return fit;
}

} // namespace

void DrawLaidOutText(QPainter &painter, const CCanvasMapping &mapping, const TextRequest &r)
{
    LayoutFrame frame;
    if (!MakeFrame(mapping, r, frame))
        return;
    const QRectF &rect = frame.rect;
    const int bits = ((r.wordwrap % 10) + 10) % 10;
    const FontSet &drawSet = *frame.drawSet;
    painter.setFont(drawSet.font);

    if (bits & 1) {
        const int flags = r.marquee ? int(Qt::TextSingleLine) : int(Qt::TextWordWrap);
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | flags, r.text);
        painter.restore();
        return;
    }

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
    const double ascent = drawSet.metrics.ascent();
    const double fullHeight = drawSet.metrics.height();
    WalkCells(r, frame, [&](const Cell &cell) {
        if (cell.top >= cell.bottom || (r.marquee && !cell.firstLine))
            return;
        const QChar c = r.text.at(cell.index);
        if (cell.top + fullHeight > cell.bottom) {
            // The cell is cut at the rectangle's bottom: its glyph is drawn on its own under
            // its own clip, from the glyphs already found where it has one (no shaping of a
            // one-character string per cell).
            painter.save();
            painter.setClipRect(QRect(cell.left, cell.top, std::max(1, cell.right - cell.left + 1),
                                      cell.bottom - cell.top),
                                Qt::IntersectClip);
            const QPointF at(cell.left, cell.top + ascent);
            if (byGlyphs) {
                cutGlyph[0] = glyphIndexes.at(cell.index);
                cutPosition[0] = at;
                cutRun.setGlyphIndexes(cutGlyph);
                cutRun.setPositions(cutPosition);
                painter.drawGlyphRun(QPointF(0, 0), cutRun);
            } else {
                painter.drawText(at, QString(c));
            }
            painter.restore();
        } else if (byGlyphs) {
            runGlyphs.append(glyphIndexes.at(cell.index));
            runPositions.append(QPointF(cell.left, cell.top + ascent));
        } else {
            painter.drawText(QPointF(cell.left, cell.top + ascent), QString(c));
        }
    });
    if (!runGlyphs.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(runGlyphs);
        run.setPositions(runPositions);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
}

TextFit FitLaidOutText(const CCanvasMapping &mapping, const TextRequest &r)
{
    TextFit fit;
    LayoutFrame frame;
    if (!MakeFrame(mapping, r, frame))
        return fit;
    const QRectF &rect = frame.rect;
    const int bits = ((r.wordwrap % 10) + 10) % 10;
    if (bits & 1) {
        const int flags = r.marquee ? int(Qt::TextSingleLine) : int(Qt::TextWordWrap);
        return FitWithFlags(frame.drawSet->font, rect, Qt::AlignLeft | Qt::AlignTop | flags,
                            r.text);
    }
    const double fullHeight = frame.drawSet->metrics.height();
    // A pixel of rounding either way is not a cut.
    const double bottom = rect.bottom() + 1;
    const double right = rect.right() + 1;
    const bool finished = WalkCells(r, frame, [&](const Cell &cell) {
        if (r.text.at(cell.index).isSpace())
            return;
        const bool shown = cell.top < cell.bottom && (!r.marquee || cell.firstLine);
        if (!shown || cell.top + fullHeight > bottom || cell.right > right)
            fit.fits = false;
        if (shown)
            fit.inked |= QRectF(QPointF(cell.left, cell.top),
                                QPointF(cell.right, std::min<double>(cell.top + fullHeight, cell.bottom)));
    });
    if (!finished)
        fit.fits = false;
    return fit;
}

TextFit FitCentredText(const CCanvasMapping &mapping, const TextRequest &r)
{
    if (r.text.isEmpty() || r.size <= 0)
        return TextFit();
    const QRect rect = mapping.MapItem(r.x, r.y + 2, r.width, r.height);
    const int full = FontPixels(r.size * 2.2 * mapping.Scale());
    const int pixels = full * 9 / 10;
    if (pixels <= 0)
        return TextFit();
    return FitWithFlags(ItemFont(pixels, r.wordwrap), rect, CentredFlags(r), r.text);
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
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(rect, CentredFlags(r), r.text);
    painter.restore();
}

} // namespace orin
