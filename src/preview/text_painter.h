// SPDX-License-Identifier: MIT
#pragma once

#include "preview/canvas_mapping.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

// The two text rules of the canvas: the per-character layout that the receiver uses for every
// kind but the centred one, and the centred text of idg 3. Text uses "ＭＳ ゴシック", measured
// character by character at the item's size and drawn scaled to the client.

namespace orin {

struct TextRequest {
    float x = 0; // item rectangle in page units
    float y = 0;
    float width = 0;
    float height = 0;
    int marginX = 0;
    int marginY = 0;
    int size = 0;
    int wordwrap = 0;
    int lineHeight = 0; // 0: the character's own height
    bool marquee = false;
    QString text;
};

// The item text font: bold for wordwrap bit 1, italic for bit 2, pixel height `pixels`.
QFont ItemFont(int pixels, int wordwrap);

// Draws by the text-layout rule with the painter's current pen colour.
void DrawLaidOutText(QPainter &painter, const CCanvasMapping &mapping, const TextRequest &request);
// Draws by the centred-text rule (idg 3) with the painter's current pen colour.
void DrawCentredText(QPainter &painter, const CCanvasMapping &mapping, const TextRequest &request);

// How a text sits in its item, laid out by the same rule as it is drawn.
struct TextFit {
    // Every character that is not blank is shown whole inside the text rectangle.
    bool fits = true;
    // The box of the shown characters in client pixels; empty when nothing is shown.
    QRectF inked;
};

// The fit of DrawLaidOutText's layout.
TextFit FitLaidOutText(const CCanvasMapping &mapping, const TextRequest &request);
// The fit of DrawCentredText's layout.
TextFit FitCentredText(const CCanvasMapping &mapping, const TextRequest &request);

} // namespace orin
