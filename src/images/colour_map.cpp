// SPDX-License-Identifier: MIT
#include "images/colour_map.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace orin {

namespace {

// The 64 opaque base colours of the default map: indexes 0..7, then 9..15, then the 49 other
// colours of the 4 x 4 x 4 cube of {0, 85, 170, 255} in ascending R, G, B.
std::vector<ColourEntry> DefaultBaseColours()
{
    std::vector<ColourEntry> colours;
    for (int i = 0; i < 8; ++i) {
        colours.push_back({quint8((i & 1) ? 255 : 0), quint8((i & 2) ? 255 : 0),
                           quint8((i & 4) ? 255 : 0), 255});
    }
    for (int i = 1; i < 8; ++i) {
        colours.push_back({quint8((i & 1) ? 170 : 0), quint8((i & 2) ? 170 : 0),
                           quint8((i & 4) ? 170 : 0), 255});
    }
    const std::vector<ColourEntry> first(colours);
    for (int r = 0; r < 4; ++r) {
        for (int g = 0; g < 4; ++g) {
            for (int b = 0; b < 4; ++b) {
                const ColourEntry c{quint8(r * 85), quint8(g * 85), quint8(b * 85), 255};
                if (std::find(first.begin(), first.end(), c) == first.end())
                    colours.push_back(c);
            }
        }
    }
    return colours; // 8 + 7 + 49 = 64
}

// The most a colour-map file can use: the header byte, four corners, a 16-bit index range and
// four bytes for each of the 65536 entries. Anything after that is never read.
constexpr qint64 kMaxColourMapBytes = 1 + 4 * 2 + 2 * 2 + qint64(CColourMap::kEntries) * 4;

// Reads the bytes of the file taken at once; past the end every byte is 255, as the format has
// always read.
class CByteSource {
public:
    explicit CByteSource(QByteArray bytes) : m_bytes(std::move(bytes)) {}
    int Byte()
    {
        return m_at < m_bytes.size() ? static_cast<uchar>(m_bytes.at(m_at++)) : 0xFF;
    }
    int Word() // big-endian 16 bit
    {
        const int high = Byte();
        return (high << 8) | Byte();
    }

private:
    QByteArray m_bytes;
    qsizetype m_at = 0;
};

} // namespace

CColourMap::CColourMap() : m_entries(kEntries)
{
    ResetColourMap();
}

void CColourMap::FillDefaultEntries()
{
    std::fill(m_entries.begin(), m_entries.end(), ColourEntry{0, 0, 0, 0});
    const std::vector<ColourEntry> base = DefaultBaseColours();
    for (int i = 0; i < 8; ++i)
        m_entries[size_t(i)] = base[size_t(i)];
    m_entries[8] = {0, 0, 0, 0};
    for (int i = 8; i < 64; ++i)
        m_entries[size_t(i + 1)] = base[size_t(i)];
    for (int i = 0; i < 64; ++i) {
        ColourEntry half = base[size_t(i)];
        half.a = 128;
        m_entries[size_t(65 + i)] = half;
        ColourEntry quarter = base[size_t(i)];
        quarter.a = 64;
        m_entries[size_t(129 + i)] = quarter;
    }
}

void CColourMap::ResetColourMap()
{
    clutType = 0;
    depth = 1;
    regionFlag = 0;
    startEndFlag = 1;
    reserved = 0;
    region = {};
    startIndex = 192;
    endIndex = 192;
    FillDefaultEntries();
}

ColourEntry ColourFromYCbCr(int y, int cb, int cr, int alpha)
{
    // C++ integer division truncates toward zero, as the formula wants.
    const int r = (76284 * (y - 16) + 104595 * (cr - 128) + 32768) / 65536;
    const int g = (76284 * (y - 16) - 25624 * (cb - 128) - 53280 * (cr - 128) + 32768) / 65536;
    const int b = (76284 * (y - 16) + 132251 * (cb - 128) + 32768) / 65536;
    auto clamp = [](int v) { return quint8(std::clamp(v, 0, 255)); };
    return {clamp(r), clamp(g), clamp(b), quint8(alpha)};
}

bool CColourMap::LoadColourMap(const QString &path, QString *why)
{
    FillDefaultEntries();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (why)
            *why = file.errorString();
        return false;
    }
    // A map is usually a few hundred bytes: reading what the file holds (at most a whole map)
    // spares a quarter-megabyte buffer on each load.
    const qint64 size = file.size();
    CByteSource in(file.read(size > 0 ? std::min(size, kMaxColourMapBytes) : kMaxColourMapBytes));
    const int head = in.Byte();
    clutType = (head >> 7) & 1;
    depth = (head >> 5) & 3;
    if (depth == 3) {
        if (why)
            *why = QStringLiteral("depth 3 is not a valid colour-map depth");
        return false;
    }
    regionFlag = (head >> 4) & 1;
    startEndFlag = (head >> 3) & 1;
    reserved = head & 7;
    if (regionFlag) {
        for (quint16 &corner : region)
            corner = quint16(in.Word());
    }
    if (startEndFlag) {
        if (depth == 0) {
            const int range = in.Byte();
            startIndex = range >> 4;
            endIndex = range & 0x0F;
        } else if (depth == 1) {
            startIndex = in.Byte();
            endIndex = in.Byte();
        } else {
            startIndex = in.Word();
            endIndex = in.Word();
        }
    } else {
        startIndex = 0;
        endIndex = depth == 0 ? 15 : depth == 1 ? 255 : 65535;
    }
    // Every index read is below 65536, so the loop stays inside the map.
    for (int index = startIndex; index <= endIndex; ++index) {
        const int c1 = in.Byte();
        const int c2 = in.Byte();
        const int c3 = in.Byte();
        const int alpha = in.Byte();
        m_entries[size_t(index)] = clutType == 1
                                       ? ColourEntry{quint8(c1), quint8(c2), quint8(c3), quint8(alpha)}
                                       : ColourFromYCbCr(c1, c2, c3, alpha);
    }
    for (int index = endIndex + 1; index <= 256; ++index)
        m_entries[size_t(index)] = {0, 0, 0, 0};
    return true;
}

ColourEntry CColourMap::ColourOf(int index) const
{
    if (index < 0 || index >= kEntries)
        return {0, 0, 0, 0};
    return m_entries[size_t(index)];
}

bool LoadStartupColourMap(CColourMap &map, const QString &appFolder, const QString &dataFolder,
                          QString *why)
{
    for (const QString &folder : {appFolder, dataFolder}) {
        if (folder.isEmpty())
            continue;
        const QString path = QDir(folder).filePath(QString::fromUtf16(kColourMapFileName));
        if (QFileInfo::exists(path))
            return map.LoadColourMap(path, why);
    }
    map.ResetColourMap();
    return true;
}

} // namespace orin
