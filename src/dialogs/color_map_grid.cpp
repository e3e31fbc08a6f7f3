// SPDX-License-Identifier: MIT
#include "dialogs/color_map_grid.h"

#include <QMouseEvent>
#include <QPainter>

namespace orin {

CColorMapGrid::CColorMapGrid(QWidget *parent) : QWidget(parent)
{
    setFixedSize(kSide, kSide);
}

void CColorMapGrid::SetPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void CColorMapGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

void CColorMapGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit Clicked(event->position().toPoint());
}

} // namespace orin
