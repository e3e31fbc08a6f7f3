// SPDX-License-Identifier: MIT
#pragma once

#include "orin_version.h"

#include <QString>

// The names under which the program presents itself, by edition.

namespace orin {

// The product name shown in the about box and the menu.
inline constexpr char16_t kProductName[] = u"OrinEditContents";

// The title of the main window without a file: "OrinEditContents" (0, 1),
// "OrinEditContentsWeb" (2), "OrinEditContentsOnline" (3), "OrinEditHTML" (4).
QString EditionTitle(int edition = kEdition);

// The name of the project file type on the desktop: the edition title without its "Orin"
// prefix and "ファイル" ("EditHTMLファイル").
QString FileTypeName(int edition = kEdition);

// The version text of the about box: "ver. " + the product version.
QString VersionText();

// False for the editions that only edit (0 and 4): their transmission command is refused.
bool EditionTransmits(int edition = kEdition);

} // namespace orin
