// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include "orin_version.h"

namespace orin {

class CPrompt;

inline constexpr char16_t kTransmitRefusal[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "本アプリケーションはデータを伝送できません");
inline constexpr char16_t kTransmitCaption[] = u"ERROR";

// The first step of the transmission command: an edition that only edits says so
// ("本アプリケーションはデータを伝送できません", caption "ERROR") and returns true; the
// editions that transmit return false without a word and go on to the dispatcher.
bool RefuseTransmission(CPrompt &prompt, int edition = kEdition);

} // namespace orin
