// SPDX-License-Identifier: MIT
#include "images/thumbnail_cache.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QTransform>

namespace orin {

namespace {

// The thumbnail on white, at exactly `size` (the picture is stretched to it).
QImage OnWhite(const QImage &image, QSize size)
{
    // A decoded JPEG at the size already is what the list shows.
    if (image.size() == size && !image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage out(size, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), size), image);
    return out;
}

} // namespace

QImage ThumbnailPlaceholder()
{
    // A grey card with a crossed frame: plainly "no picture", in every size it is scaled to.
    QImage image(200, 150, QImage::Format_RGB32);
    image.fill(QColor(0xd8, 0xd8, 0xd8));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 4));
    painter.drawRect(QRectF(2, 2, 196, 146));
    painter.drawLine(QPointF(2, 2), QPointF(198, 148));
    painter.drawLine(QPointF(198, 2), QPointF(2, 148));
    return image;
}

QImage MakeThumbnail(const QString &path, QSize size, bool vertical)
{
    if (size.isEmpty())
        return {};
    QImage decoded;
    if (!path.isEmpty()) {
        QImageReader reader(path);
        reader.setAutoTransform(false);
        // Only portrait content needs the picture's own shape, to know whether to turn it.
        const QSize full = vertical ? reader.size() : QSize();
        const bool turn = vertical && full.isValid() && full.width() > full.height();
        // Decoding straight to the thumbnail size lets the JPEG decoder skip most of the work.
        reader.setScaledSize(turn ? size.transposed() : size);
        decoded = reader.read();
        if (!decoded.isNull() && turn)
            decoded = decoded.transformed(QTransform().rotate(90));
    }
    if (decoded.isNull())
        decoded = ThumbnailPlaceholder();
    return OnWhite(decoded, size);
}

QImage CThumbnailCache::Thumbnail(const QString &path, QSize size, bool vertical)
{
    Key key;
    key.path = path;
    key.size = size;
    key.vertical = vertical;
    if (!path.isEmpty()) {
        const QFileInfo info(path);
        if (info.exists()) {
            key.bytes = info.size();
            key.modified = info.lastModified().toMSecsSinceEpoch();
        }
    }
    const auto found = m_entries.find(key);
    if (found != m_entries.end()) {
        m_ages.splice(m_ages.begin(), m_ages, found->age);
        return found->image;
    }
    ++m_decodes;
    const QImage image = MakeThumbnail(path, size, vertical);
    m_ages.push_front(key);
    m_entries.insert(key, Entry{image, m_ages.begin()});
    while (static_cast<int>(m_ages.size()) > std::max(1, m_capacity)) {
        m_entries.remove(m_ages.back());
        m_ages.pop_back();
    }
    return image;
}

void CThumbnailCache::Clear()
{
    m_entries.clear();
    m_ages.clear();
}

} // namespace orin
