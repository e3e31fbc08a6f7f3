// SPDX-License-Identifier: MIT
#include "images/display_copy.h"

#include "images/png_header.h"
#include "images/png_palette.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
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

// A new, empty, uniquely named file in the work folder; empty when none can be made.
QString NewCopyPath(const QString &workFolder, const CopyKind &kind)
{
    QDir().mkpath(workFolder);
    QTemporaryFile file(QDir(workFolder).filePath(kind.prefix + QStringLiteral("XXXXXX")
                                                  + kind.extension));
    file.setAutoRemove(false);
    if (!file.open())
        return {};
    return file.fileName();
}

// Copies byte for byte over an existing destination.
bool CopyOver(const QString &source, const QString &destination)
{
    QFile::remove(destination);
    return QFile::copy(source, destination);
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

CDisplayCopy::CDisplayCopy(QImage image, QString copyPath, bool placeholder)
    : m_image(std::move(image)), m_copyPath(std::move(copyPath)), m_placeholder(placeholder)
{
}

CDisplayCopy::~CDisplayCopy()
{
    if (!m_copyPath.isEmpty())
        QFile::remove(m_copyPath);
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
    // The message grows with the picture: 16 pixels high in the 200 x 150 one.
    const int textHeight =
        std::max(16, std::min(size.width() * 16 / kPlaceholderWidth,
                              size.height() * 16 / kPlaceholderHeight));
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(textHeight);
    font.setBold(true);
    painter.setFont(font);
    // Two lines of the message with room to spare, whatever the font's line spacing.
    const int bandHeight =
        std::max(textHeight * 46 / 16, 2 * QFontMetrics(font).lineSpacing() + textHeight / 4);
    const QRect band(textHeight / 2, (size.height() - bandHeight) / 2,
                     size.width() - textHeight, bandHeight);
    painter.fillRect(band, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(band, Qt::AlignCenter,
                     QStringLiteral("画像を読み込めません\nimage cannot be read"));
    painter.end();
    return image;
}

std::unique_ptr<CDisplayCopy> MakeDisplayCopy(const CMyPictureInfo &record,
                                              const CColourMap &map, const QString &workFolder)
{
    if (record.path.isEmpty())
        return nullptr;
    const CopyKind kind = CopyKindOf(record.path);
    const QString copy = NewCopyPath(workFolder, kind);
    bool copied = false;
    if (!copy.isEmpty()) {
        copied = IsColourMapPng(record.path) == kColourMapPng
                     ? InsertPalette(record.path, copy, map)
                     : CopyOver(record.path, copy);
    }
    QImage image = copied ? Decode(copy) : QImage();
    const bool placeholder = image.isNull();
    if (placeholder)
        image = PlaceholderPicture();
    return std::make_unique<CDisplayCopy>(std::move(image), copy, placeholder);
}

std::unique_ptr<CDisplayCopy> MakeBackgroundCopy(const QString &background, bool vertical,
                                                 const QString &workFolder)
{
    if (background.isEmpty()) {
        QImage blank(vertical ? 540 : 960, vertical ? 960 : 540, QImage::Format_RGB32);
        blank.fill(Qt::black);
        return std::make_unique<CDisplayCopy>(std::move(blank), QString(), false);
    }
    const QString copy = NewCopyPath(workFolder, {QStringLiteral("jpg"), QStringLiteral(".jpg")});
    QImage image = !copy.isEmpty() && CopyOver(background, copy) ? Decode(copy) : QImage();
    const bool placeholder = image.isNull();
    if (placeholder)
        image = PlaceholderPicture(vertical ? QSize(540, 960) : QSize(960, 540));
    else if (vertical && image.height() < image.width())
        image = image.transformed(QTransform().rotate(90));
    return std::make_unique<CDisplayCopy>(std::move(image), copy, placeholder);
}

} // namespace orin
