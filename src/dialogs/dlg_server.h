// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>

#include <functional>

class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;

// "サーバーロード": what to fetch from the server. CDlgServer (data-broadcast server): the
// content on air, a content by number (1 to 8) or recorded content at a date and time.
// CDlgOnline (online edition): the latest data of a programme number (1 to 15) or recorded data
// at a date and time, and the channel list.

namespace orin {

class CPrompt;

inline constexpr char16_t kServerDialogTitle[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "サーバーロード");
inline constexpr char16_t kRangeMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "%1 から %2 までの整数を入力してください。");

class CDlgServer : public QDialog {
    Q_OBJECT
public:
    // The dialog opens with the given type (0, 1, 2), number and record time.
    CDlgServer(int type, int number, const QDateTime &recordTime, CPrompt &prompt,
               QWidget *parent = nullptr);

    // After OK: the checked type, the number, and the record time built from the pickers'
    // fields (local time).
    int Type() const { return m_type; }
    int Number() const { return m_number; }
    QDateTime RecordTime() const { return m_recordTime; }

    QRadioButton *TypeButton(int type) const;
    QLineEdit *NumberField() const { return m_numberField; }
    QDateEdit *DateField() const { return m_date; }
    QTimeEdit *TimeField() const { return m_time; }
    QPushButton *NowButton() const { return m_now; }

    void accept() override;

protected:
    struct Labels {
        QString onAir;
        QString number;
        QString recorded;
        int maxNumber = 8;
        bool onAirShown = true;
    };
    CDlgServer(const Labels &labels, int type, int number, const QDateTime &recordTime,
               CPrompt &prompt, QWidget *parent);

private:
    void Build(const Labels &labels, int type, int number, const QDateTime &recordTime);

    CPrompt &m_prompt;
    int m_maxNumber = 8;
    QRadioButton *m_types[3] = {};
    QLineEdit *m_numberField = nullptr;
    QDateEdit *m_date = nullptr;
    QTimeEdit *m_time = nullptr;
    QPushButton *m_now = nullptr;
    int m_type = 0;
    int m_number = 1;
    QDateTime m_recordTime;
};

class CDlgOnline : public CDlgServer {
    Q_OBJECT
public:
    // `showChannelList` opens the channel list (the frame fetches it); may be empty.
    CDlgOnline(int type, int number, const QDateTime &recordTime, CPrompt &prompt,
               std::function<void(QWidget *)> showChannelList, QWidget *parent = nullptr);

    QPushButton *ChannelListButton() const { return m_channelList; }

private:
    QPushButton *m_channelList = nullptr;
};

} // namespace orin
