// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>

// Plain ustar archives built byte by byte, so that the tests can make every kind of damaged or
// hostile entry that a real tool would refuse to write.

namespace orin::test {

struct TarEntry {
    QByteArray name;
    char type = '0'; // '0' file, '1' hard link, '2' symbolic link, '3' character device, '5' folder
    QByteArray data;
    QByteArray link;
    qint64 declaredSize = -1; // -1: the size of data
    bool badChecksum = false;
};

inline void PutOctal(QByteArray &block, int offset, int width, qint64 value)
{
    const QByteArray digits = QByteArray::number(value, 8).rightJustified(width - 1, '0');
    for (int i = 0; i < width - 1 && i < digits.size(); ++i)
        block[offset + i] = digits.at(i);
    block[offset + width - 1] = '\0';
}

inline QByteArray TarHeader(const TarEntry &entry)
{
    QByteArray block(512, '\0');
    block.replace(0, qMin<qsizetype>(entry.name.size(), 100), entry.name.left(100));
    PutOctal(block, 100, 8, entry.type == '5' ? 0755 : 0644);
    PutOctal(block, 108, 8, 0);
    PutOctal(block, 116, 8, 0);
    PutOctal(block, 124, 12, entry.declaredSize >= 0 ? entry.declaredSize : entry.data.size());
    PutOctal(block, 136, 12, 1700000000);
    block[156] = entry.type;
    block.replace(157, qMin<qsizetype>(entry.link.size(), 100), entry.link.left(100));
    block.replace(257, 6, QByteArray("ustar\0", 6));
    block.replace(263, 2, "00");
    block.replace(148, 8, QByteArray(8, ' '));
    int sum = 0;
    for (const char c : block)
        sum += static_cast<unsigned char>(c);
    if (entry.badChecksum)
        sum += 1;
    PutOctal(block, 148, 7, sum);
    block[155] = ' ';
    return block;
}

// The entries with their data padded to whole blocks, then the two empty end blocks.
inline QByteArray Tar(const QList<TarEntry> &entries)
{
    QByteArray tar;
    for (const TarEntry &entry : entries) {
        // A name longer than the header's field goes before it as a GNU long-name entry.
        if (entry.name.size() > 100) {
            const QByteArray name = entry.name + '\0';
            tar += TarHeader({"././@LongLink", 'L', name, {}, -1, false});
            tar += name;
            if (name.size() % 512)
                tar += QByteArray(512 - name.size() % 512, '\0');
        }
        tar += TarHeader(entry);
        tar += entry.data;
        if (entry.data.size() % 512)
            tar += QByteArray(512 - entry.data.size() % 512, '\0');
    }
    tar += QByteArray(1024, '\0');
    return tar;
}

} // namespace orin::test
