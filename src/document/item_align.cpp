// SPDX-License-Identifier: MIT
#include "document/item_align.h"

#include <QCoreApplication>

#include <algorithm>

namespace orin {

QString AlignLabel(AlignEdge edge)
{
    switch (edge) {
    case AlignEdge::Left: return QCoreApplication::translate("OrinEdit", "左揃え");
    case AlignEdge::Right: return QCoreApplication::translate("OrinEdit", "右揃え");
    case AlignEdge::Top: return QCoreApplication::translate("OrinEdit", "上揃え");
    case AlignEdge::Bottom: return QCoreApplication::translate("OrinEdit", "下揃え");
    case AlignEdge::HCentre: return QCoreApplication::translate("OrinEdit", "左右中央揃え");
    case AlignEdge::VCentre: return QCoreApplication::translate("OrinEdit", "上下中央揃え");
    }
    return QString();
}

QRectF BoundingRect(const std::vector<QRectF> &rects)
{
    QRectF box;
    bool first = true;
    for (const QRectF &rect : rects) {
        const QRectF r = rect.normalized();
        // united() drops empty rectangles; an item of no width still counts by its position.
        box = first ? r
                    : QRectF(QPointF(std::min(box.left(), r.left()),
                                            std::min(box.top(), r.top())),
                                    QPointF(std::max(box.right(), r.right()),
                                            std::max(box.bottom(), r.bottom())));
        first = false;
    }
    return box;
}

std::vector<QRectF> AlignRects(const std::vector<QRectF> &rects, AlignEdge edge, QSizeF page)
{
    const QRectF reference = rects.size() > 1 ? BoundingRect(rects) : QRectF(QPointF(), page);
    std::vector<QRectF> result;
    result.reserve(rects.size());
    for (QRectF rect : rects) {
        switch (edge) {
        case AlignEdge::Left: rect.moveLeft(reference.left()); break;
        case AlignEdge::Right: rect.moveRight(reference.right()); break;
        case AlignEdge::Top: rect.moveTop(reference.top()); break;
        case AlignEdge::Bottom: rect.moveBottom(reference.bottom()); break;
        case AlignEdge::HCentre:
            rect.moveLeft(reference.center().x() - rect.width() / 2);
            break;
        case AlignEdge::VCentre:
            rect.moveTop(reference.center().y() - rect.height() / 2);
            break;
        }
        result.push_back(rect);
    }
    return result;
}

} // namespace orin
