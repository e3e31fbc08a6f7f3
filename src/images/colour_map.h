// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <array>
#include <vector>

// The broadcast colour map (colour lookup table): texts, cursors and backgrounds name colours
// by index, and colour-map PNGs (indexed, without a palette of their own) are shown with it as
// their palette. The main frame owns one and hands it by reference to those who read it; it is
// filled once at start-up from "default.clt" or the built-in default.

namespace orin {

// One entry: R, G, B and A (255 opaque, 0 transparent).
struct ColourEntry {
    quint8 r = 0;
    quint8 g = 0;
    quint8 b = 0;
    quint8 a = 0;
    friend bool operator==(const ColourEntry &x, const ColourEntry &y)
    {
        return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a;
    }
    friend bool operator!=(const ColourEntry &x, const ColourEntry &y) { return !(x == y); }
};

// The name of the colour-map file looked for in the application folder.
inline constexpr char16_t kColourMapFileName[] = u"default.clt";

class CColourMap {
public:
    static constexpr int kEntries = 65536;

    // The built-in default (as ResetColourMap).
    CColourMap();

    // Header and entries become the built-in default: type 0, depth 1, the start/end flag set,
    // range 192..192; entries 0..192 by the fixed rule, 193 and above (0, 0, 0, 0).
    void ResetColourMap();

    // Reads a colour-map file over the default entries (the header is not reset first). False
    // when the file cannot be opened or its depth is 3: the entries are then the defaults and
    // the header fields read before the failure keep their new values. Bytes missing at the
    // end of the file read as 255. `why`, when given, receives the reason of a failure.
    bool LoadColourMap(const QString &path, QString *why = nullptr);

    // The entry at `index`; (0, 0, 0, 0) for an index outside the map.
    ColourEntry ColourOf(int index) const;

    // --- header fields as last read ---
    int clutType = 0;      // 1: the file's entries are R, G, B; 0: Y, Cb, Cr
    int depth = 1;         // 0: 4-bit indexes, 1: 8-bit, 2: 16-bit (3 is refused)
    int regionFlag = 0;    // four corner values follow in the file
    int startEndFlag = 1;  // an index range follows in the file
    int reserved = 0;      // kept as read
    std::array<quint16, 4> region{}; // top-left x, y, bottom-right x, y; kept, used nowhere
    int startIndex = 192;
    int endIndex = 192;

private:
    void FillDefaultEntries();

    std::vector<ColourEntry> m_entries;
};

// R, G, B from Y, Cb, Cr with the broadcast integer formula: each result divided by 65536
// truncating toward zero, then clamped to 0..255.
ColourEntry ColourFromYCbCr(int y, int cb, int cr, int alpha);

// The start-up rule: "default.clt" in `appFolder` is read when it exists (a refused file leaves
// the default entries); else the one in `dataFolder` (the per-user folder that stands in for an
// application folder that cannot be written), when given; otherwise the map is reset to the
// built-in default. Returns false only when a file was there and could not be used; `why` then
// says why.
bool LoadStartupColourMap(CColourMap &map, const QString &appFolder,
                          const QString &dataFolder = QString(), QString *why = nullptr);

} // namespace orin
