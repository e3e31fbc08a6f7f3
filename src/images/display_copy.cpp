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

namespace {

QSize PlaceholderSize(QSize size)
{
    if (size.width() < kPlaceholderWidth || size.height() < kPlaceholderHeight)
        return QSize(kPlaceholderWidth, kPlaceholderHeight);
    return size;
}

// Where the placeholder of a size puts its message: the white band across its middle and the
// font of the text in it.
struct PlaceholderMessage {
    QRect band;
    QFont font;
    int textHeight = 0;
    bool drawsText = false;
};

PlaceholderMessage MessageLayout(QSize size)
{
    PlaceholderMessage message;
    // Text needs the font database, which only a GUI application has; without one (a tool
    // that does not draw pages) the picture keeps its frame, cross and band.
    message.drawsText = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
    // The message grows with the picture: 16 pixels high in the 200 x 150 one.
    message.textHeight = std::max(16, std::min(size.width() * 16 / kPlaceholderWidth,
                                               size.height() * 16 / kPlaceholderHeight));
    int bandHeight = message.textHeight * 46 / 16;
    if (message.drawsText) {
        message.font = QFont(QStringLiteral("ＭＳ ゴシック"));
        message.font.setPixelSize(message.textHeight);
        message.font.setBold(true);
        // Two lines of the message with room to spare, whatever the font's line spacing.
        bandHeight = std::max(bandHeight,
                              2 * QFontMetrics(message.font).lineSpacing() + message.textHeight / 4);
    }
    message.band = QRect(message.textHeight / 2, (size.height() - bandHeight) / 2,
                         size.width() - message.textHeight, bandHeight);
    return message;
}

QString MessageText()
{
    return QStringLiteral("画像を読み込めません\nimage cannot be read");
}

} // namespace

QImage PlaceholderPicture(QSize requested)
{
    const QSize size = PlaceholderSize(requested);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(224, 224, 224));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect frame = image.rect().adjusted(2, 2, -3, -3);
    painter.setPen(QPen(QColor(200, 0, 0), 3));
    painter.drawRect(frame);
    painter.drawLine(frame.topLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomLeft());
    const PlaceholderMessage message = MessageLayout(size);
    painter.fillRect(message.band, Qt::white);
    if (message.drawsText) {
        painter.setFont(message.font);
        painter.setPen(Qt::black);
        painter.drawText(message.band, Qt::AlignCenter, MessageText());
    }
    painter.end();
    return image;
}

void DrawPlaceholderMessage(QPainter &painter, QSize requested)
{
    const PlaceholderMessage message = MessageLayout(PlaceholderSize(requested));
    if (!message.drawsText)
        return;
    painter.save();
    painter.setFont(message.font);
    // A white rim around every glyph instead of the band: the text reads whole over anything,
    // and what lies between its letters stays in sight.
    const int rim = std::max(1, message.textHeight / 10);
    painter.setPen(Qt::white);
    for (int dy = -rim; dy <= rim; dy += rim) {
        for (int dx = -rim; dx <= rim; dx += rim) {
            if (dx != 0 || dy != 0)
                painter.drawText(message.band.translated(dx, dy), Qt::AlignCenter, MessageText());
        }
    }
    painter.setPen(Qt::black);
    painter.drawText(message.band, Qt::AlignCenter, MessageText());
    painter.restore();
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
