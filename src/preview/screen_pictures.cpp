// SPDX-License-Identifier: MIT
#include "preview/screen_pictures.h"

#include "preview/display_state.h"

#include <QCoreApplication>
#include <QFont>
#include <QPainter>

namespace orin {

namespace {

constexpr int kWidth = 960;
constexpr int kHeight = 540;

QFont ScreenFont(int pixels)
{
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(pixels);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QImage ColourBars()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const QColor bars[] = {Qt::white, Qt::yellow, Qt::cyan, Qt::green,
                           Qt::magenta, Qt::red, Qt::blue};
    QPainter painter(&image);
    const int count = int(std::size(bars));
    for (int i = 0; i < count; ++i) {
        const int left = i * kWidth / count;
        const int right = (i + 1) * kWidth / count;
        painter.fillRect(QRect(left, 0, right - left, kHeight), bars[i]);
    }
    painter.setPen(Qt::black);
    painter.setFont(ScreenFont(36));
    painter.drawText(QRect(16, 12, kWidth - 32, 60), Qt::AlignLeft | Qt::AlignTop,
                     QCoreApplication::translate("OrinEdit", "映像画面"));
    return image;
}

QImage BlackScreen(const QString &title, const QString &hint)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.setFont(ScreenFont(40));
    painter.drawText(QRect(0, 180, kWidth, 60), Qt::AlignHCenter | Qt::AlignVCenter, title);
    painter.setFont(ScreenFont(26));
    painter.drawText(QRect(0, 300, kWidth, 40), Qt::AlignHCenter | Qt::AlignVCenter, hint);
    return image;
}

} // namespace

const QImage *ScreenPictures::ForScreen(int shown) const
{
    switch (shown) {
    case kVideoScreen: return &video;
    case kGuideScreen: return &guide;
    case kOtherChannelScreen: return &otherChannel;
    case kWebScreen: return &web;
    default: return nullptr;
    }
}

const ScreenPictures &SharedScreenPictures()
{
    static const ScreenPictures pictures = [] {
        ScreenPictures made;
        made.video = ColourBars();
        made.guide =
            BlackScreen(QCoreApplication::translate("OrinEdit", "ガイド画面"),
                        QCoreApplication::translate("OrinEdit", "決定キーで映像画面に移行します"));
        made.otherChannel =
            BlackScreen(QCoreApplication::translate("OrinEdit", "他のチャンネル"),
                        QCoreApplication::translate("OrinEdit", "決定キーで戻ります。"));
        made.web =
            BlackScreen(QCoreApplication::translate("OrinEdit", "ウェブにあるデータ放送画面"),
                        QCoreApplication::translate("OrinEdit", "決定キーで映像画面に移行します"));
        return made;
    }();
    return pictures;
}

} // namespace orin
