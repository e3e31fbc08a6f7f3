// SPDX-License-Identifier: MIT
#include "preview/page_snapshot.h"

#include "preview/page_renderer.h"
#include "preview/simulated_clock.h"

#include <QPainter>

namespace orin {

QImage RenderPageSnapshot(const CContentModel &model, const ProgramSettings &settings,
                          const CColourMap &map, CImageSource &images, int pageId, QSize size,
                          const QList<int> &outlined, QColor outline)
{
    if (pageId <= 0 || model.pages.IndexOfId(pageId) < 0 || size.isEmpty())
        return QImage();
    CSimulation sim(model, settings, images);
    sim.engine.ShowPage(pageId);
    sim.Settle();
    const CPageRenderer renderer(map, model);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    renderer.Paint(painter, size, sim.engine);
    QPen pen(outline, 3);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (int itemId : outlined) {
        const QRect rect = renderer.ItemRect(size, sim.engine, itemId);
        if (!rect.isEmpty())
            painter.drawRect(rect.adjusted(1, 1, -2, -2));
    }
    return image;
}

} // namespace orin
