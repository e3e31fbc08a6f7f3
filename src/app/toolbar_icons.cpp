// SPDX-License-Identifier: MIT
#include "app/toolbar_icons.h"

#include "app/command_ids.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace orin {

namespace {

constexpr int kSize = 24;
const QColor kInk(0x30, 0x30, 0x30);

void DrawOpen(QPainter &p)
{
    p.setBrush(QColor(0xf0, 0xc0, 0x50));
    QPainterPath back;
    back.moveTo(2, 6);
    back.lineTo(9, 6);
    back.lineTo(11, 8);
    back.lineTo(20, 8);
    back.lineTo(20, 19);
    back.lineTo(2, 19);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(0xf8, 0xd8, 0x80));
    const QPointF front[] = {{2, 19}, {5, 11}, {23, 11}, {20, 19}};
    p.drawPolygon(front, 4);
}

void DrawSave(QPainter &p)
{
    p.setBrush(QColor(0x40, 0x70, 0xc0));
    p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 3, 10, 7));
    p.setBrush(QColor(0xd0, 0xd0, 0xd0));
    p.drawRect(QRectF(6, 14, 12, 7));
}

void DrawCut(QPainter &p)
{
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(7, 3), QPointF(15, 15));
    p.drawLine(QPointF(17, 3), QPointF(9, 15));
    p.setBrush(QColor(0xc0, 0x40, 0x40));
    p.drawEllipse(QPointF(7, 18), 3.2, 3.2);
    p.drawEllipse(QPointF(17, 18), 3.2, 3.2);
}

void DrawSheet(QPainter &p, const QRectF &r)
{
    p.setBrush(Qt::white);
    p.drawRect(r);
    for (qreal y = r.top() + 3; y < r.bottom() - 1; y += 3)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void DrawCopy(QPainter &p)
{
    DrawSheet(p, QRectF(3, 3, 11, 13));
    DrawSheet(p, QRectF(10, 8, 11, 13));
}

void DrawPaste(QPainter &p)
{
    p.setBrush(QColor(0xb0, 0x80, 0x50));
    p.drawRoundedRect(QRectF(3, 4, 15, 18), 2, 2);
    p.setBrush(QColor(0x90, 0x90, 0x90));
    p.drawRect(QRectF(7, 2, 7, 4));
    DrawSheet(p, QRectF(11, 10, 10, 12));
}

void DrawDesign(QPainter &p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x20, 0x60, 0xc0), 1.5, Qt::DashLine));
    p.drawRect(QRectF(4, 6, 16, 12));
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    for (const QPointF corner : {QPointF(4, 6), QPointF(20, 6), QPointF(4, 18), QPointF(20, 18)})
        p.drawRect(QRectF(corner.x() - 2, corner.y() - 2, 4, 4));
}

void DrawTransmit(QPainter &p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xc0, 0x30, 0x30), 1.6));
    p.drawLine(QPointF(12, 10), QPointF(12, 22));
    p.drawLine(QPointF(12, 12), QPointF(8, 22));
    p.drawLine(QPointF(12, 12), QPointF(16, 22));
    p.drawArc(QRectF(7, 5, 10, 10), 30 * 16, 120 * 16);
    p.drawArc(QRectF(3, 1, 18, 18), 30 * 16, 120 * 16);
}

void DrawAbout(QPainter &p)
{
    p.setBrush(QColor(0x30, 0x80, 0xd0));
    p.drawEllipse(QRectF(2, 2, 20, 20));
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(15);
    p.setFont(font);
    p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
}

} // namespace

QIcon CommandIcon(int commandId)
{
    void (*draw)(QPainter &) = nullptr;
    switch (commandId) {
    case cmd::kToolbarOpen:
    case cmd::kFileOpen:
        draw = DrawOpen;
        break;
    case cmd::kFileSave:
        draw = DrawSave;
        break;
    case cmd::kEditCut:
        draw = DrawCut;
        break;
    case cmd::kEditCopy:
        draw = DrawCopy;
        break;
    case cmd::kEditPaste:
        draw = DrawPaste;
        break;
    case cmd::kDesignMode:
        draw = DrawDesign;
        break;
    case cmd::kTransmit:
        draw = DrawTransmit;
        break;
    case cmd::kAbout:
        draw = DrawAbout;
        break;
    default:
        return {};
    }
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kInk, 1));
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

} // namespace orin
