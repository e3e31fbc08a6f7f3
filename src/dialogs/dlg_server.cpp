// SPDX-License-Identifier: MIT
#include "dialogs/dlg_server.h"

#include "dialogs/number_fields.h"
#include "document/prompt.h"
#include "model/ui_text.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace orin {

CDlgServer::CDlgServer(int type, int number, const QDateTime &recordTime, CPrompt &prompt,
                       QWidget *parent)
    : CDlgServer(Labels{tr("放送中データ (エディト中のデータ)"), tr("ID指定："),
                        tr("日時指定（すでに放送した同録データ取得）"), 8, true},
                 type, number, recordTime, prompt, parent)
{
}

CDlgServer::CDlgServer(const Labels &labels, int type, int number, const QDateTime &recordTime,
                       CPrompt &prompt, QWidget *parent)
    : QDialog(parent), m_prompt(prompt), m_maxNumber(labels.maxNumber)
{
    Build(labels, type, number, recordTime);
}

void CDlgServer::Build(const Labels &labels, int type, int number, const QDateTime &recordTime)
{
    setWindowTitle(UiText(kServerDialogTitle));
    auto *grid = new QGridLayout;
    auto *group = new QButtonGroup(this);
    const QString texts[3] = {labels.onAir, labels.number, labels.recorded};
    for (int i = 0; i < 3; ++i) {
        m_types[i] = new QRadioButton(texts[i], this);
        group->addButton(m_types[i], i);
        grid->addWidget(m_types[i], i, 0);
    }
    m_types[0]->setVisible(labels.onAirShown);
    if (!labels.onAirShown)
        grid->addWidget(new QLabel(tr("番組ＩＤ："), this), 0, 1);
    m_numberField = new QLineEdit(QString::number(number), this);
    grid->addWidget(m_numberField, 1, 1);
    m_date = new QDateEdit(recordTime.date(), this);
    m_date->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    m_time = new QTimeEdit(recordTime.time(), this);
    m_time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    grid->addWidget(m_date, 2, 1);
    grid->addWidget(m_time, 2, 2);
    m_now = new QPushButton(tr("現在値セット"), this);
    grid->addWidget(m_now, 3, 2);
    connect(m_now, &QPushButton::clicked, this, [this] {
        const QDateTime now = QDateTime::currentDateTime();
        m_date->setDate(now.date());
        m_time->setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    });
    // A type outside 0..2 checks nothing, as the radio buttons would.
    if (type >= 0 && type <= 2)
        m_types[type]->setChecked(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgServer::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgServer::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

QRadioButton *CDlgServer::TypeButton(int type) const
{
    return type >= 0 && type <= 2 ? m_types[type] : nullptr;
}

void CDlgServer::accept()
{
    const std::optional<int> number = ParseNumberField(m_numberField->text());
    if (!number || *number < 1 || *number > m_maxNumber) {
        m_prompt.MessageBox(UiText(kRangeMessage).arg(1).arg(m_maxNumber), tr("エラー"),
                            PromptButtons::Ok);
        m_numberField->setFocus();
        return;
    }
    m_number = *number;
    m_type = 2;
    for (int i = 0; i < 3; ++i) {
        if (m_types[i]->isChecked())
            m_type = i;
    }
    // Built from the pickers' fields, to the second.
    const QTime time = m_time->time();
    m_recordTime = QDateTime(m_date->date(), QTime(time.hour(), time.minute(), time.second()));
    QDialog::accept();
}

CDlgOnline::CDlgOnline(int type, int number, const QDateTime &recordTime, CPrompt &prompt,
                       std::function<void(QWidget *)> showChannelList, QWidget *parent)
    : CDlgServer(Labels{QString(), tr("最新データ"), tr("日時指定"), 15, false}, type, number,
                 recordTime, prompt, parent)
{
    m_channelList = new QPushButton(tr("チャンネルリスト"), this);
    layout()->addWidget(m_channelList);
    connect(m_channelList, &QPushButton::clicked, this,
            [this, showChannelList] {
                if (showChannelList)
                    showChannelList(this);
            });
}

} // namespace orin
