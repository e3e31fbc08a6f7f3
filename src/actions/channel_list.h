// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The channel list that a server hands out ("ListChannel.xml"): a document whose root element
// lists the channels by name and type. The read-only channel-list dialog shows its rows.

namespace orin {

inline constexpr int kChannelListRows = 15;
inline constexpr int kChannelListBytes = 1024;

struct ChannelListRow {
    QString name;
    QString type; // "D" (type 0), "H" (type 1) or empty
};

// The rows of a channel list document: at most its first 1024 bytes are read as UTF-16 text
// up to the first zero character; the root element's children named "Channel" fill the rows in
// order until another name, the last child or 15 rows.
QList<ChannelListRow> ParseChannelList(const QByteArray &file);

} // namespace orin
