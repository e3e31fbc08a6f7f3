// SPDX-License-Identifier: MIT
// The channel-list parser on any server file: at most 15 rows, each name is text that the file
// holds inside its first 1024 bytes, each type "D", "H" or empty; bytes after the first 1024
// and after the first zero character change nothing.

#include "fuzz_check.h"

#include "model/channel_list.h"

#include <QByteArray>
#include <QString>

using namespace orin;

namespace {

bool SameRows(const QList<ChannelListRow> &a, const QList<ChannelListRow> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a.at(i).name != b.at(i).name || a.at(i).type != b.at(i).type)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<ChannelListRow> rows = ParseChannelList(file);
    ORIN_FUZZ_CHECK(rows.size() <= kChannelListRows);

    // The text the parser sees: UTF-16 up to the first zero character of the first 1024 bytes.
    const QByteArray head = file.left(kChannelListBytes);
    QString text;
    for (qsizetype i = 0; i < head.size(); i += 2) {
        const auto low = uchar(head.at(i));
        const auto high = i + 1 < head.size() ? uchar(head.at(i + 1)) : 0;
        const char16_t c = char16_t(low | (high << 8));
        if (c == 0)
            break;
        text.append(QChar(c));
    }
    for (const ChannelListRow &row : rows) {
        ORIN_FUZZ_CHECK(row.type.isEmpty() || row.type == u"D" || row.type == u"H");
        ORIN_FUZZ_CHECK(row.name.size() <= text.size());
    }
    // Nothing after the first 1024 bytes reaches a row, nor anything after a zero character.
    if (file.size() > kChannelListBytes)
        ORIN_FUZZ_CHECK(SameRows(rows, ParseChannelList(head)));
    const QByteArray cut = QByteArray(reinterpret_cast<const char *>(text.utf16()),
                                      text.size() * 2);
    ORIN_FUZZ_CHECK(SameRows(rows, ParseChannelList(cut)));
    return 0;
}
