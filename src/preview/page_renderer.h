// SPDX-License-Identifier: MIT
#pragma once

#include "images/colour_map.h"
#include "model/content_model.h"
#include "preview/canvas_mapping.h"
#include "preview/preview_engine.h"
#include "preview/text_painter.h"

#include <QImage>
#include <QSize>

class QPainter;

// The one renderer of the page canvas: it paints the shown page, its display list and the
// special screens into any QPainter for a client size. The canvas widget, the command-line
// tool and the thumbnails draw through it, so all show the same pixels.

namespace orin {

// The frame toggles of the view menu.
struct FrameToggles {
    bool itemFrames = false;
    int frameColour = 1;
    bool editableFrames = false;
    bool editedFrames = false;
};

class CPageRenderer {
public:
    CPageRenderer(const CColourMap &map, const CContentModel &model);

    void SetFrameToggles(const FrameToggles &toggles) { m_toggles = toggles; }
    const FrameToggles &Toggles() const { return m_toggles; }
    // The ModeAccess setting and the model's server labels decide which frames count as
    // editable and edited.
    void SetModeAccess(int modeAccess) { m_modeAccess = modeAccess; }
    int ModeAccess() const { return m_modeAccess; }
    // The display index whose text is being edited in place (its text is not drawn); -1: none.
    void SetEditingIndex(int index) { m_editingIndex = index; }
    // Paints what lies under the texts only: no text and no focus frame.
    void SetGroundOnly(bool groundOnly) { m_groundOnly = groundOnly; }

    // Paints the whole canvas of `client` size.
    void Paint(QPainter &painter, QSize client, const CPreviewEngine &engine) const;
    // Paints one item with `text` over the part of the background beneath it (the marquee and
    // the clock); nothing when the id is not in the display list.
    void PaintItemDirect(QPainter &painter, QSize client, const CPreviewEngine &engine,
                         int itemId, const QString &text) const;
    // The client rectangle of an item, empty when it is not in the display list.
    QRect ItemRect(QSize client, const CPreviewEngine &engine, int itemId) const;
    // The colour Paint draws the text of display index `index` in: the item's own colour, or
    // the colour of the text drawn before it when it has none.
    QColor TextColourAt(const CPreviewEngine &engine, int index) const;
    // Whether a text source or a picture number may be edited under the ModeAccess setting.
    bool TextEditable(int source) const;
    bool PictureEditable(int picture) const;

private:
    struct PaintState;
    void PaintItem(QPainter &painter, const CCanvasMapping &mapping, const CPreviewEngine &engine,
                   int index, PaintState &state) const;
    void DrawBackground(QPainter &painter, const QImage &background, const QRect &fit) const;
    // Over the items: the message of a background placeholder drawn into `fit`.
    void DrawPlaceholderNote(QPainter &painter, const DisplayImage &background,
                             const QRect &fit) const;
    void DrawJpeg(QPainter &painter, const CCanvasMapping &mapping, const DisplayItem &entry,
                  const QRect &target) const;
    void DrawOverlay(QPainter &painter, const CCanvasMapping &mapping,
                     const DisplayItem &entry) const;
    void DrawFrame(QPainter &painter, const QRect &rect, int colour, Qt::PenStyle style,
                   int width) const;
    void DrawText(QPainter &painter, const CCanvasMapping &mapping, const CPreviewEngine &engine,
                  const PageItem &item, const QString &text, bool marquee, bool clock,
                  PaintState &state) const;
    bool Fill(QPainter &painter, const QRect &rect, int colour) const;
    // The colour map entry, with an index outside the map taken as index 8.
    ColourEntry Colour(int index) const;
    static bool IsNone(int index);
    bool TextEdited(int source) const;
    bool PictureEdited(int picture) const;

    const CColourMap &m_map;
    const CContentModel &m_model;
    FrameToggles m_toggles;
    int m_modeAccess = 0;
    int m_editingIndex = -1;
    bool m_groundOnly = false;

    // The page background as last scaled to the rectangle it fills (see DrawBackground).
    struct ScaledBackground {
        qint64 source = 0; // the cache key of the picture it was made from
        bool smooth = false;
        QImage image;
    };
    mutable ScaledBackground m_scaledBackground;
};

// The request the renderer lays an item's text out with: its rectangle, its margins where the
// item kind has them, and the line height of the kind.
TextRequest ItemTextRequest(const PageItem &item, const QString &text, bool exPng);
// Whether the renderer draws the item's picture: text-only kinds show none unless ExPNG is set.
bool ItemShowsPicture(const PageItem &item, bool exPng);
// Whether the item's text follows the centred rule (idg 3).
bool IsCentredTextItem(const PageItem &item);
// How `text` sits in the item, laid out as the renderer draws it on `mapping`.
TextFit FitItemText(const CCanvasMapping &mapping, const PageItem &item, const QString &text,
                    bool exPng);

} // namespace orin
