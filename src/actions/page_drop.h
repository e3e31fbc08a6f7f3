// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QString>

#include <optional>

class QMimeData;

// Whether text dropped on the page list from outside is merged as pages.

namespace orin {

// Shown with the caption "警告" when pages are dropped before any content set was opened.
inline constexpr char16_t kLoadContentFirstMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "まずコンテンツのロードが必要です");

// What a drop of text on the page list leads to.
enum class PageDrop {
    Refuse,      // not accepted: ModeAction 0, no text, or no "<BMLJPEG" in it
    ContentFirst, // accepted as a page drop but nothing is open: kLoadContentFirstMessage
    Merge,       // merge the text
};

// The drop rules of the page list for text from outside.
PageDrop DecidePageDrop(int modeAction, const std::optional<QString> &text, bool contentLoaded);

// The text of a drop: Unicode text when offered (UTF-16, UTF-8 or plain text that is valid
// UTF-8), otherwise code page 932 text (labelled so, or plain text that is not UTF-8). None
// when no text is offered.
std::optional<QString> DroppedText(const QMimeData &data);

} // namespace orin
