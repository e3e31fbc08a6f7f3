// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

// The pictures of the four special screens, made once by code: the video screen's colour bars
// (also drawn into a page's TV item) and the three black screens with their texts.

namespace orin {

struct ScreenPictures {
    QImage video;        // 255
    QImage guide;        // 254
    QImage otherChannel; // 1000
    QImage web;          // 2000

    // The picture of a special screen number; null for any other number.
    const QImage *ForScreen(int shown) const;
};

// Made on first use and kept for the process (needs a QGuiApplication for the fonts).
const ScreenPictures &SharedScreenPictures();

} // namespace orin
