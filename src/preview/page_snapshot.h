// SPDX-License-Identifier: MIT
#pragma once

#include "images/colour_map.h"
#include "model/content_model.h"
#include "preview/display_state.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QSize>

namespace orin {

// A picture of one page as the canvas shows it right after the page is opened (its start
// actions run on a simulated clock), drawn by the canvas's renderer at `size`, with a frame of
// `outline` colour around each item of `outlined` that the page shows. A null image when the
// model has no page with that id.
QImage RenderPageSnapshot(const CContentModel &model, const ProgramSettings &settings,
                          const CColourMap &map, CImageSource &images, int pageId, QSize size,
                          const QList<int> &outlined, QColor outline = QColor(255, 0, 160));

} // namespace orin
