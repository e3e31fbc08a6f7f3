// SPDX-License-Identifier: MIT
// The colour-map loader on any file, checked entry by entry against a plain reading of the
// format: header byte, optional corners, optional index range, then four bytes per entry
// (missing bytes read as 255).

#include "fuzz_check.h"

#include "images/colour_map.h"

#include <QDir>
#include <QFile>

#include <algorithm>

#include <unistd.h>

using namespace orin;

namespace {

struct Reader {
    const QByteArray &bytes;
    qsizetype at = 0;
    int Byte() { return at < bytes.size() ? uchar(bytes.at(at++)) : (++at, 255); }
    int Word()
    {
        const int high = Byte();
        return (high << 8) | Byte();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path =
        FuzzScratchDir() + QStringLiteral("/orin-fuzz-clt-%1.clt").arg(::getpid());
    {
        QFile file(path);
        ORIN_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ORIN_FUZZ_CHECK(file.write(bytes) == bytes.size());
    }
    static const CColourMap defaults;
    // One map for every run, as the program keeps one: each load starts from the default
    // entries, the header fields are read afresh.
    static CColourMap map;
    QString why;
    const bool loaded = map.LoadColourMap(path, &why);

    Reader in{bytes};
    const int head = in.Byte();
    const int depth = (head >> 5) & 3;
    ORIN_FUZZ_CHECK(map.depth == depth);
    ORIN_FUZZ_CHECK(map.clutType == ((head >> 7) & 1));
    ORIN_FUZZ_CHECK(loaded == (depth != 3));
    ORIN_FUZZ_CHECK(map.ColourOf(-1) == ColourEntry{} && map.ColourOf(CColourMap::kEntries) == ColourEntry{});
    if (!loaded) {
        ORIN_FUZZ_CHECK(!why.isEmpty());
        for (int i : {0, 1, 192, 193, 255, 256, CColourMap::kEntries - 1})
            ORIN_FUZZ_CHECK(map.ColourOf(i) == defaults.ColourOf(i));
        return 0;
    }
    if ((head >> 4) & 1) {
        for (int corner = 0; corner < 4; ++corner)
            ORIN_FUZZ_CHECK(map.region[size_t(corner)] == in.Word());
    }
    int start = 0;
    int end = depth == 0 ? 15 : depth == 1 ? 255 : 65535;
    if ((head >> 3) & 1) {
        if (depth == 0) {
            const int range = in.Byte();
            start = range >> 4;
            end = range & 0x0F;
        } else if (depth == 1) {
            start = in.Byte();
            end = in.Byte();
        } else {
            start = in.Word();
            end = in.Word();
        }
    }
    ORIN_FUZZ_CHECK(map.startIndex == start && map.endIndex == end);
    // Past the range and past 256 the entries are the defaults; the last one stands for them.
    const int checked = std::max(end, 256) + 1;
    for (int i = 0; i < checked; ++i) {
        ColourEntry expected = defaults.ColourOf(i);
        if (i >= start && i <= end) {
            const int c1 = in.Byte();
            const int c2 = in.Byte();
            const int c3 = in.Byte();
            const int alpha = in.Byte();
            expected = map.clutType == 1
                           ? ColourEntry{quint8(c1), quint8(c2), quint8(c3), quint8(alpha)}
                           : ColourFromYCbCr(c1, c2, c3, alpha);
        } else if (i > end && i <= 256) {
            expected = ColourEntry{};
        }
        ORIN_FUZZ_CHECK(map.ColourOf(i) == expected);
    }
    if (checked < CColourMap::kEntries) {
        ORIN_FUZZ_CHECK(map.ColourOf(CColourMap::kEntries - 1)
                        == defaults.ColourOf(CColourMap::kEntries - 1));
    }
    return 0;
}
