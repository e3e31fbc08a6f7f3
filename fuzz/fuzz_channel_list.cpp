// SPDX-License-Identifier: MIT
// The channel list on any bytes: at most 15 rows, each type "D", "H" or empty, and nothing
// after the first 1024 bytes changes the rows.

#include "fuzz_check.h"

#include "model/channel_list.h"

using namespace orin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<ChannelListRow> rows = ParseChannelList(file);
    ORIN_FUZZ_CHECK(rows.size() <= kChannelListRows);
    for (const ChannelListRow &row : rows)
        ORIN_FUZZ_CHECK(row.type.isEmpty() || row.type == u"D" || row.type == u"H");
    const QList<ChannelListRow> cut = ParseChannelList(file.left(kChannelListBytes));
    ORIN_FUZZ_CHECK(cut.size() == rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        ORIN_FUZZ_CHECK(cut.at(i).name == rows.at(i).name && cut.at(i).type == rows.at(i).type);
    return 0;
}
