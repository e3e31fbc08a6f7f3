// SPDX-License-Identifier: MIT
#pragma once

#include <QStringView>

#include <cstddef>

// The named character references that the markup engine decodes: the 252 names of HTML 4.01
// (Latin-1, symbols and Greek letters, special characters) plus "apos".

namespace orin {

struct HtmlEntity {
    const char *name;
    char32_t codePoint;
};

constexpr int kHtmlEntityCount = 252; // without "apos"

// Every decodable name, "apos" last; kHtmlEntityCount + 1 entries.
const HtmlEntity *HtmlEntities();
int HtmlEntityTableSize();

// Looks up a reference name written as `name` (at most a few characters below U+0080).
// A name that differs from another table name only by letter case must match exactly; any
// other name matches regardless of case. Returns the code point, or 0 when the name is unknown.
char32_t LookupHtmlEntity(QStringView name);

} // namespace orin
