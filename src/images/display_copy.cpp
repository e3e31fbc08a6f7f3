// SPDX-License-Identifier: MIT
#include "images/display_copy.h"

#include "images/png_header.h"
#include "images/png_palette.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryFile>
#include <QTransform>

#include <algorithm>

namespace orin {

namespace {

struct CopyKind {
    QString prefix;
    QString extension;
};

CopyKind CopyKindOf(const QString &path)
{
    const QString ending = path.right(4).toLower();
    if (ending == u".png")
        return {QStringLiteral("png"), QStringLiteral(".png")};
    if (ending == u".gif")
        return {QStringLiteral("gif"), QStringLiteral(".gif")};
    return {QStringLiteral("jpg"), QStringLiteral(".jpg")};
}

QImage Decode(const QString &path)
{
    QImageReader reader(path);
    // A PNG whose chunks do not hold together is not handed to the decoder, which can take
    // seconds over a chunk that claims gigabytes.
    if (reader.format() == "png" && !HasWholePngChunks(path))
        return {};
    return reader.read();
}

} // namespace

CDisplayCopy::CDisplayCopy(QImage image, std::shared_ptr<const CWorkCopyFile> file,
                           bool placeholder)
    : m_image(std::move(image)), m_file(std::move(file)), m_placeholder(placeholder)
{
}

QImage PlaceholderPicture(QSize size)
{
    if (size.width() < kPlaceholderWidth || size.height() < kPlaceholderHeight)
        size = QSize(kPlaceholderWidth, kPlaceholderHeight);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(224, 224, 224));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect frame = image.rect().adjusted(2, 2, -3, -3);
    painter.setPen(QPen(QColor(200, 0, 0), 3));
    painter.drawRect(frame);
    painter.drawLine(frame.topLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomLeft());
    // Text needs the font database, which only a GUI application has; without one (a tool
    // that does not draw pages) the picture keeps its frame, cross and band.
    const bool drawsText = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
    // The message grows with the picture: 16 pixels high in the 200 x 150 one.
    const int textHeight =
        std::max(16, std::min(size.width() * 16 / kPlaceholderWidth,
                              size.height() * 16 / kPlaceholderHeight));
    QFont font;
    int bandHeight = textHeight * 46 / 16;
    if (drawsText) {
        font = QFont(QStringLiteral("ＭＳ ゴシック"));
        font.setPixelSize(textHeight);
        font.setBold(true);
        // Two lines of the message with room to spare, whatever the font's line spacing.
        bandHeight = std::max(bandHeight, 2 * QFontMetrics(font).lineSpacing() + textHeight / 4);
    }
    const QRect band(textHeight / 2, (size.height() - bandHeight) / 2,
                     size.width() - textHeight, bandHeight);
    painter.fillRect(band, Qt::white);
    if (drawsText) {
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(band, Qt::AlignCenter,
                         QStringLiteral("画像を読み込めません\nimage cannot be read"));
    }
    painter.end();
    return image;
}

std::unique_ptr<CDisplayCopy> MakeDisplayCopy(const CMyPictureInfo &record,
                                              const CColourMap &map, CWorkCopies &copies)
{
    if (record.path.isEmpty())
        return nullptr;
    const CopyKind kind = CopyKindOf(record.path);
    std::shared_ptr<const CWorkCopyFile> copy =
        IsColourMapPng(record.path) == kColourMapPng
            ? copies.Paletted(record.path, map)
            : copies.Plain(record.path, kind.prefix, kind.extension);
    QImage image = copy ? Decode(copy->Path()) : QImage();
    const bool placeholder = image.isNull();
    if (placeholder)
        image = PlaceholderPicture();
    return std::make_unique<CDisplayCopy>(std::move(image), std::move(copy), placeholder);
}

std::unique_ptr<CDisplayCopy> MakeDisplayCopy(const CMyPictureInfo &record,
                                              const CColourMap &map, const QString &workFolder)
{
    CWorkCopies copies(workFolder);
    return MakeDisplayCopy(record, map, copies);
}

std::unique_ptr<CDisplayCopy> MakeBackgroundCopy(const QString &background, bool vertical,
                                                 CWorkCopies &copies)
{
    if (background.isEmpty()) {
        QImage blank(vertical ? 540 : 960, vertical ? 960 : 540, QImage::Format_RGB32);
        blank.fill(Qt::black);
        return std::make_unique<CDisplayCopy>(std::move(blank), nullptr, false);
    }
    std::shared_ptr<const CWorkCopyFile> copy =
        copies.Plain(background, QStringLiteral("jpg"), QStringLiteral(".jpg"));
    QImage image = copy ? Decode(copy->Path()) : QImage();
    const bool placeholder = image.isNull();
    if (placeholder)
        image = PlaceholderPicture(vertical ? QSize(540, 960) : QSize(960, 540));
    else if (vertical && image.height() < image.width())
        image = image.transformed(QTransform().rotate(90));
    return std::make_unique<CDisplayCopy>(std::move(image), std::move(copy), placeholder);
}

std::unique_ptr<CDisplayCopy> MakeBackgroundCopy(const QString &background, bool vertical,
                                                 const QString &workFolder)
{
    CWorkCopies copies(workFolder);
    return MakeBackgroundCopy(background, vertical, copies);
}

} // namespace orin
