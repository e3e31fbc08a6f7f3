// SPDX-License-Identifier: MIT
#include "preview/page_renderer.h"

#include "images/display_copy.h"
#include "preview/screen_pictures.h"
#include "preview/text_painter.h"
#include "preview/text_sections.h"

#include <QPainter>

#include <algorithm>

namespace orin {

namespace {

bool IsTextOnlyKind(int idg)
{
    return idg == 2 || idg == 3 || idg == 5 || idg == 6 || idg == 7;
}

int LineHeightOf(int idg)
{
    switch (idg) {
    case 5: return 24;
    case 6: return 28;
    case 7: return 32;
    default: return 0;
    }
}

int Truncated(float value)
{
    if (!(value == value))
        return 0;
    return int(std::clamp<double>(value, -1e9, 1e9));
}

} // namespace

struct CPageRenderer::PaintState {
    QColor textColour = Qt::black;
};

CPageRenderer::CPageRenderer(const CColourMap &map, const CContentModel &model)
    : m_map(map), m_model(model)
{
}

bool CPageRenderer::IsNone(int index)
{
    return index == kNoColour || index < 0 || index >= CColourMap::kEntries;
}

ColourEntry CPageRenderer::Colour(int index) const
{
    return m_map.ColourOf(IsNone(index) ? kNoColour : index);
}

bool CPageRenderer::Fill(QPainter &painter, const QRect &rect, int colour) const
{
    if (IsNone(colour))
        return false;
    const ColourEntry c = Colour(colour);
    painter.fillRect(rect, QColor(c.r, c.g, c.b, c.a));
    return true;
}

void CPageRenderer::DrawFrame(QPainter &painter, const QRect &r, int colour,
                              Qt::PenStyle style, int width) const
{
    if (IsNone(colour))
        return;
    const ColourEntry c = Colour(colour);
    QPen pen(QColor(c.r, c.g, c.b), width, style);
    pen.setCosmetic(width <= 1);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QPoint points[] = {{r.x() - 1, r.y() - 1},
                             {r.x() + r.width() + 2, r.y() - 1},
                             {r.x() + r.width() + 2, r.y() + r.height() + 2},
                             {r.x() - 1, r.y() + r.height() + 2},
                             {r.x() - 1, r.y() - 1}};
    painter.drawPolyline(points, 5);
}

QRect CPageRenderer::ItemRect(QSize client, const CPreviewEngine &engine, int itemId) const
{
    const int index = engine.IndexOfItem(itemId);
    if (index < 0)
        return QRect();
    const PageItem &item = engine.Items()[size_t(index)].item;
    return CCanvasMapping(client, engine.Vertical()).MapItem(item.x, item.y, item.width, item.height);
}

void CPageRenderer::Paint(QPainter &painter, QSize client, const CPreviewEngine &engine) const
{
    const int shown = engine.ShownPageNumber();
    if (shown == 0 || client.isEmpty())
        return;
    const CCanvasMapping mapping(client, engine.Vertical());
    if (IsSpecialScreen(shown)) {
        painter.fillRect(QRect(QPoint(0, 0), client), QColor(127, 127, 127));
        const QImage *picture = SharedScreenPictures().ForScreen(shown);
        painter.drawImage(mapping.FitRect(picture->size()), *picture);
        return;
    }
    PaintState state;
    const ShownPage &page = engine.Page();
    const QImage &background = page.background.image;
    const QRect clientRect(QPoint(0, 0), client);
    const bool hasBackground = !background.isNull() && background.width() > 0
                               && background.height() > 0;
    const QRect fit = hasBackground ? mapping.FitRect(background.size()) : QRect();
    // Drawn over as usual, an opaque background that covers the whole client hides the black
    // under it, and a transparent colour over it changes nothing: neither is painted then.
    const bool over = painter.compositionMode() == QPainter::CompositionMode_SourceOver;
    if (!over || !hasBackground || background.hasAlphaChannel() || !fit.contains(clientRect))
        painter.fillRect(clientRect, Qt::black);
    if (hasBackground) {
        DrawBackground(painter, background, fit);
        const ColourEntry c = Colour(page.backcol);
        if (!over || c.a != 0)
            painter.fillRect(fit, QColor(c.r, c.g, c.b, c.a));
    }
    const int tvIndex = engine.IndexOfItem(page.tvitem);
    if (page.tvitem != 0 && tvIndex >= 0) {
        const PageItem &tv = engine.Items()[size_t(tvIndex)].item;
        painter.drawImage(mapping.MapItem(tv.x, tv.y, tv.width, tv.height),
                          SharedScreenPictures().video);
    }
    for (int i = 0; i < int(engine.Items().size()); ++i)
        PaintItem(painter, mapping, engine, i, state);
    if (hasBackground)
        DrawPlaceholderNote(painter, page.background, fit);
    const int focusIndex = engine.IndexOfItem(engine.FocusItem());
    if (engine.FocusItem() != 0 && focusIndex >= 0 && !m_groundOnly) {
        const PageItem &item = engine.Items()[size_t(focusIndex)].item;
        DrawFrame(painter, mapping.MapItem(item.x, item.y, item.width, item.height), page.curcol,
                  Qt::SolidLine, 3);
    }
}

void CPageRenderer::PaintItem(QPainter &painter, const CCanvasMapping &mapping,
                              const CPreviewEngine &engine, int index, PaintState &state) const
{
    const DisplayItem &entry = engine.Items()[size_t(index)];
    const PageItem &item = entry.item;
    const QRect rect = mapping.MapItem(item.x, item.y, item.width, item.height);
    if (m_toggles.itemFrames)
        DrawFrame(painter, rect, m_toggles.frameColour, Qt::DotLine, 1);
    if (item.idg == 1 && engine.FocusItem() != item.id && engine.CursorOnlyItem() != item.id)
        return;
    if (!engine.IsVisible(item.id))
        return;
    if (!ItemShowsPicture(item, engine.ExPng())) {
        Fill(painter, rect, item.bcolor);
    } else {
        if (entry.image.type == kImageJpeg && !entry.image.IsNull())
            DrawJpeg(painter, mapping, entry, rect);
        Fill(painter, rect, item.bcolor);
        DrawOverlay(painter, mapping, entry);
    }
    const int source = engine.TextSource(item.id);
    const int picture = engine.PictureNumber(item.id);
    if (m_toggles.editableFrames) {
        if (TextEditable(source))
            DrawFrame(painter, rect, 2, Qt::DotLine, 1);
        if (PictureEditable(picture))
            DrawFrame(painter, rect, 5, Qt::DotLine, 1);
    }
    if (m_toggles.editedFrames) {
        if (TextEdited(source))
            DrawFrame(painter, rect, 2, Qt::SolidLine, 2);
        if (PictureEdited(picture))
            DrawFrame(painter, rect, 5, Qt::SolidLine, 2);
    }
    if (m_groundOnly)
        return;
    const bool isMarquee = item.id == engine.MarqueeItem() && engine.MarqueeItem() != 0;
    if (!isMarquee && !item.text.isEmpty() && index != m_editingIndex)
        DrawText(painter, mapping, engine, item, item.text, false, false, state);
    if (item.id == engine.ClockItem() && engine.ClockItem() != 0)
        DrawText(painter, mapping, engine, item, engine.ClockText(), false, true, state);
}

void CPageRenderer::DrawText(QPainter &painter, const CCanvasMapping &mapping,
                             const CPreviewEngine &engine, const PageItem &item,
                             const QString &text, bool marquee, bool clock,
                             PaintState &state) const
{
    if (!IsNone(item.color)) {
        const ColourEntry c = Colour(item.color);
        state.textColour = QColor(c.r, c.g, c.b);
    }
    painter.setPen(state.textColour);
    TextRequest request = ItemTextRequest(item, text, engine.ExPng());
    request.marquee = marquee;
    if (clock) {
        // The clock is laid out with the item's margins and the glyphs' own height, whatever
        // the item's kind.
        request.marginX = item.margin_x;
        request.marginY = item.margin_y;
        request.lineHeight = 0;
        DrawLaidOutText(painter, mapping, request);
        return;
    }
    if (IsCentredTextItem(item))
        DrawCentredText(painter, mapping, request);
    else
        DrawLaidOutText(painter, mapping, request);
}

QColor CPageRenderer::TextColourAt(const CPreviewEngine &engine, int index) const
{
    // The walk of Paint: the colour carries over from one drawn text to the next.
    QColor colour = Qt::black;
    const int last = std::min(index, int(engine.Items().size()) - 1);
    for (int i = 0; i <= last; ++i) {
        const PageItem &item = engine.Items()[size_t(i)].item;
        if (item.idg == 1 && engine.FocusItem() != item.id && engine.CursorOnlyItem() != item.id)
            continue;
        if (!engine.IsVisible(item.id))
            continue;
        const bool isMarquee = item.id == engine.MarqueeItem() && engine.MarqueeItem() != 0;
        const bool clock = item.id == engine.ClockItem() && engine.ClockItem() != 0;
        const bool drawn = (!isMarquee && !item.text.isEmpty() && i != m_editingIndex) || clock;
        if ((drawn || i == index) && !IsNone(item.color)) {
            const ColourEntry c = Colour(item.color);
            colour = QColor(c.r, c.g, c.b);
        }
    }
    return colour;
}

TextRequest ItemTextRequest(const PageItem &item, const QString &text, bool exPng)
{
    TextRequest request;
    request.x = item.x;
    request.y = item.y;
    request.width = item.width;
    request.height = item.height;
    request.size = item.size;
    request.wordwrap = item.wordwrap;
    request.text = text;
    if (IsCentredTextItem(item))
        return request;
    const bool margins = item.idg == 0 || item.idg == 4 || exPng;
    request.marginX = margins ? item.margin_x : 0;
    request.marginY = margins ? item.margin_y : 0;
    request.lineHeight = LineHeightOf(item.idg);
    return request;
}

bool ItemShowsPicture(const PageItem &item, bool exPng)
{
    return !(IsTextOnlyKind(item.idg) && !exPng);
}

bool IsCentredTextItem(const PageItem &item)
{
    return item.idg == 3;
}

TextFit FitItemText(const CCanvasMapping &mapping, const PageItem &item, const QString &text,
                    bool exPng)
{
    const TextRequest request = ItemTextRequest(item, text, exPng);
    return IsCentredTextItem(item) ? FitCentredText(mapping, request)
                                   : FitLaidOutText(mapping, request);
}

void CPageRenderer::DrawBackground(QPainter &painter, const QImage &background,
                                    const QRect &fit) const
{
    // Scaling the whole screen's picture costs more than drawing all the items of a page, so
    // an opaque picture drawn at another size is scaled once into a copy of the size it fills,
    // the same way the painter would scale it, and that copy is drawn as it is while the
    // picture, its size and the painter's smoothing stay the same. A painter that transforms
    // (a scaled or high-density device) scales the picture itself.
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    if (fit.size() == background.size() || background.format() != QImage::Format_RGB32
        || painter.deviceTransform().type() != QTransform::TxNone) {
        painter.drawImage(fit, background);
        return;
    }
    ScaledBackground &scaled = m_scaledBackground;
    if (scaled.image.size() != fit.size() || scaled.source != background.cacheKey()
        || scaled.smooth != smooth) {
        scaled.image = QImage(fit.size(), QImage::Format_RGB32);
        scaled.source = background.cacheKey();
        scaled.smooth = smooth;
        QPainter scaler(&scaled.image);
        scaler.setCompositionMode(QPainter::CompositionMode_Source);
        scaler.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
        scaler.drawImage(QRect(QPoint(0, 0), fit.size()), background);
    }
    painter.drawImage(fit.topLeft(), scaled.image);
}

void CPageRenderer::DrawJpeg(QPainter &painter, const CCanvasMapping &mapping,
                             const DisplayItem &entry, const QRect &target) const
{
    const QImage &image = entry.image.image;
    const int idg = entry.item.idg;
    if (idg == 55) {
        painter.drawImage(target, image);
        return;
    }
    // The image's pixels are screen pixels, scaled as the screen is.
    const double scale = mapping.Scale();
    int width = int(image.width() * scale);
    int height = int(image.height() * scale);
    static const int kDivisors[] = {2, 3, 4, 6, 8};
    if (idg >= 50 && idg <= 54) {
        width /= kDivisors[idg - 50];
        height /= kDivisors[idg - 50];
    }
    if (width <= 0 || height <= 0)
        return;
    const int shownWidth = std::min(target.width(), width);
    const int shownHeight = std::min(target.height(), height);
    if (shownWidth <= 0 || shownHeight <= 0)
        return;
    const QRectF source(0, 0, double(shownWidth) * image.width() / width,
                        double(shownHeight) * image.height() / height);
    painter.drawImage(QRectF(target.x(), target.y(), shownWidth, shownHeight), image, source);
}

void CPageRenderer::DrawOverlay(QPainter &painter, const CCanvasMapping &mapping,
                                const DisplayItem &entry) const
{
    const int type = entry.image.type;
    const QImage &image = entry.image.image;
    if (image.isNull()
        || (type != kImageColourMapPng && type != kImageGeneralPng && type != kImageGif))
        return;
    const PageItem &item = entry.item;
    const int itemWidth = Truncated(item.width);
    const int itemHeight = Truncated(item.height);
    int targetWidth = 0;
    int targetHeight = 0;
    int sourceWidth = 0;
    int sourceHeight = 0;
    if (type == kImageColourMapPng) {
        // Page pixels.
        targetWidth = sourceWidth = std::min(image.width(), itemWidth);
        targetHeight = sourceHeight = std::min(image.height(), itemHeight);
    } else {
        // Screen pixels: half as many page units.
        if (image.width() < 2 * qint64(itemWidth)) {
            targetWidth = image.width() / 2;
            sourceWidth = image.width();
        } else {
            targetWidth = itemWidth;
            sourceWidth = 2 * itemWidth;
        }
        if (image.height() < 2 * qint64(itemHeight)) {
            targetHeight = image.height() / 2;
            sourceHeight = image.height();
        } else {
            targetHeight = itemHeight;
            sourceHeight = 2 * itemHeight;
        }
    }
    if (sourceWidth <= 0 || sourceHeight <= 0)
        return;
    const QRect target = mapping.MapToClient(Truncated(item.x), Truncated(item.y), targetWidth,
                                             targetHeight);
    painter.drawImage(target, image, QRect(0, 0, sourceWidth, sourceHeight));
}

void CPageRenderer::PaintItemDirect(QPainter &painter, QSize client, const CPreviewEngine &engine,
                                    int itemId, const QString &text) const
{
    const int index = engine.IndexOfItem(itemId);
    if (index < 0 || client.isEmpty() || IsSpecialScreen(engine.ShownPageNumber()))
        return;
    const CCanvasMapping mapping(client, engine.Vertical());
    const DisplayItem &entry = engine.Items()[size_t(index)];
    const PageItem &item = entry.item;
    const QRect rect = mapping.MapItem(item.x, item.y, item.width, item.height);
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    const ShownPage &page = engine.Page();
    const QImage &background = page.background.image;
    painter.fillRect(rect, Qt::black);
    if (!background.isNull()) {
        const QRect fit = mapping.FitRect(background.size());
        const QRect under = rect.intersected(fit);
        if (!under.isEmpty()) {
            const double sx = double(background.width()) / fit.width();
            const double sy = double(background.height()) / fit.height();
            const QRectF source((under.x() - fit.x()) * sx, (under.y() - fit.y()) * sy,
                                under.width() * sx, under.height() * sy);
            painter.drawImage(under, background, source);
            const ColourEntry c = Colour(page.backcol);
            painter.fillRect(under, QColor(c.r, c.g, c.b, c.a));
        }
    }
    if (entry.image.type == kImageJpeg && !entry.image.IsNull())
        DrawJpeg(painter, mapping, entry, rect);
    Fill(painter, rect, item.bcolor);
    if (entry.image.type == kImageColourMapPng || entry.image.type == kImageGeneralPng)
        DrawOverlay(painter, mapping, entry);
    PaintState state;
    TextRequest request;
    request.x = item.x;
    request.y = item.y;
    request.width = item.width;
    request.height = item.height;
    request.marginX = item.margin_x;
    request.marginY = item.margin_y;
    request.size = item.size;
    request.wordwrap = item.wordwrap;
    request.lineHeight = LineHeightOf(item.idg);
    request.marquee = itemId == engine.MarqueeItem();
    request.text = text;
    if (!IsNone(item.color)) {
        const ColourEntry c = Colour(item.color);
        state.textColour = QColor(c.r, c.g, c.b);
    }
    painter.setPen(state.textColour);
    DrawLaidOutText(painter, mapping, request);
    if (!background.isNull())
        DrawPlaceholderNote(painter, page.background, mapping.FitRect(background.size()));
    painter.restore();
}

void CPageRenderer::DrawPlaceholderNote(QPainter &painter, const DisplayImage &background,
                                        const QRect &fit) const
{
    // The message of a background that cannot be read is no part of the page: it stays in
    // sight over the items (a row of buttons across the middle would otherwise cut it).
    if (!background.placeholder || m_groundOnly || fit.isEmpty())
        return;
    painter.save();
    painter.translate(fit.topLeft());
    painter.scale(double(fit.width()) / background.image.width(),
                  double(fit.height()) / background.image.height());
    DrawPlaceholderMessage(painter, background.image.size());
    painter.restore();
}

// ---------------------------------------------------------------- editable and edited frames

bool CPageRenderer::TextEditable(int source) const
{
    return source >= 0 && IsTextEditable(m_model, m_modeAccess, source);
}

bool CPageRenderer::PictureEditable(int picture) const
{
    return IsPictureEditable(m_model, m_modeAccess, picture);
}

bool CPageRenderer::TextEdited(int source) const
{
    return IsTextChanged(m_model, m_modeAccess, source);
}

bool CPageRenderer::PictureEdited(int picture) const
{
    return IsPictureChanged(m_model, m_modeAccess, picture);
}

} // namespace orin
