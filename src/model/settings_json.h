// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QJsonObject>

namespace orin {

// The program settings as one JSON object, each field under its own name (what `info --json`
// prints and what the web player reads).
QJsonObject SettingsJson(const ProgramSettings &s);

} // namespace orin
