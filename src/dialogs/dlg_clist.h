// SPDX-License-Identifier: MIT
#pragma once

#include "model/channel_list.h"

#include <QCoreApplication>
#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>

class QLabel;

namespace orin {

inline constexpr char16_t kChannelListTitle[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "チャンネルリスト");

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
