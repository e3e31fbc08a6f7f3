// SPDX-License-Identifier: MIT
#include "editor/buffer_dc.h"

#include <algorithm>

namespace orin {

namespace {

QImage &SharedImage(QImage::Format format, int which)
{
    static QImage images[2];
    QImage &image = images[which];
    if (image.format() != format)
        image = QImage();
    return image;
}

// The shared image at least `size` large; a smaller one is replaced, none is shrunk.
QImage &Ensure(int which, QImage::Format format, QSize size)
{
    QImage &image = SharedImage(format, which);
    if (image.width() < size.width() || image.height() < size.height()) {
        const QSize grown(std::max(image.width(), size.width()),
                          std::max(image.height(), size.height()));
        image = QImage(grown.expandedTo(QSize(1, 1)), format);
    }
    return image;
}

} // namespace

QBufferDC::QBufferDC(QSize size, const QColor &background) : m_size(size.expandedTo(QSize(1, 1)))
{
    QImage &picture = Ensure(0, QImage::Format_RGB32, m_size);
    QImage &layer = Ensure(1, QImage::Format_ARGB32_Premultiplied, m_size);
    m_picture.begin(&picture);
    m_picture.setClipRect(QRect(QPoint(0, 0), m_size));
    m_picture.fillRect(QRect(QPoint(0, 0), m_size), background);
    m_layer.begin(&layer);
    m_layer.setClipRect(QRect(QPoint(0, 0), m_size));
    m_layer.setCompositionMode(QPainter::CompositionMode_Source);
    m_layer.fillRect(QRect(QPoint(0, 0), m_size), Qt::transparent);
    m_layer.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

QBufferDC::~QBufferDC()
{
    Finish();
}

void QBufferDC::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_layer.end();
    m_picture.setCompositionMode(QPainter::CompositionMode_Difference);
    m_picture.drawImage(QPoint(0, 0), SharedImage(QImage::Format_ARGB32_Premultiplied, 1),
                        QRect(QPoint(0, 0), m_size));
    m_picture.end();
}

void QBufferDC::CopyTo(QPainter &target)
{
    Finish();
    target.drawImage(QPoint(0, 0), SharedImage(QImage::Format_RGB32, 0),
                     QRect(QPoint(0, 0), m_size));
}

QImage QBufferDC::Result()
{
    Finish();
    return SharedImage(QImage::Format_RGB32, 0).copy(QRect(QPoint(0, 0), m_size));
}

} // namespace orin
