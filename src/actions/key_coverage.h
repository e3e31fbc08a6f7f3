// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QString>

// What a key of the remote control would do on the shown page with the current focus, told the
// way the remote-control panel shows it: whether it would do anything at all, and in words
// ("ページ 3 へ", "アイテム 5 にフォーカス", "マクロ 2 を実行").

namespace orin {

struct KeyCoverage {
    bool active = false; // false: the key would do nothing (no value, no action, or one that runs nothing)
    QString tip;
};

// `key` is a PreviewKey; `shownPage` a page id or special screen; `memoryPage` the page that
// "ｄ" returns to from the guide and video screens (0: the first page).
KeyCoverage DescribeKey(const CContentModel &model, const ProgramSettings &settings,
                        int shownPage, int focusItem, int key, int memoryPage = 0);

// The words for an action string run in page context (kind 0) or focus context (kind 1) on
// `page`, for tool tips and the action trace; `active` false when it would do nothing.
KeyCoverage DescribeAction(const CContentModel &model, const ProgramSettings &settings,
                           const CMyProgramInfo &page, const QString &action, int kind);

} // namespace orin
