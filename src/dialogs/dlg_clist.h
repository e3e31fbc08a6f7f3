// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>

class QLabel;

namespace orin {

inline constexpr char16_t kChannelListTitle[] = u"チャンネルリスト";
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

// The read-only list "チャンネルリスト": 15 numbered rows of name and type.
class CDlgCList : public QDialog {
    Q_OBJECT
public:
    // `file` is the channel list fetched from the server (empty when it could not be read).
    explicit CDlgCList(const QByteArray &file, QWidget *parent = nullptr);

    QString NameAt(int row) const;
    QString TypeAt(int row) const;

private:
    QList<QLabel *> m_names;
    QList<QLabel *> m_types;
};

} // namespace orin
