// SPDX-License-Identifier: MIT
// The network settings of the web and the online editions: one FTP server each.

#include "dialogs/network_dialogs.h"

#include <QCoreApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orin {

namespace {

// The rows of a server group: label, field.
class CRows {
public:
    explicit CRows(QGroupBox *group) : m_group(group), m_grid(new QGridLayout(group)) {}
    void Add(const QString &label, QWidget *field)
    {
        if (!label.isEmpty())
            m_grid->addWidget(new QLabel(label, m_group), m_row, 0);
        m_grid->addWidget(field, m_row, 1);
        ++m_row;
    }

private:
    QGroupBox *m_group;
    QGridLayout *m_grid;
    int m_row = 0;
};

// The access-title row and, below it, the server's group: the layout both FTP dialogs share.
QGroupBox *AddAccessRowAndGroup(QDialog *dialog, QVBoxLayout *layout, QWidget *accessField,
                                const QString &groupTitle)
{
    auto *top = new QGridLayout;
    top->addWidget(new QLabel(QCoreApplication::translate("OrinEdit", "アクセス先"), dialog), 0, 0);
    top->addWidget(accessField, 0, 1);
    layout->addLayout(top);
    auto *group = new QGroupBox(groupTitle, dialog);
    layout->addWidget(group);
    return group;
}

} // namespace

CDlgFTPWEB::CDlgFTPWEB(const AppSettings &settings, CPrompt &prompt, QWidget *parent)
    : CNetworkDialog(settings, prompt, parent)
{
    auto *layout = new QVBoxLayout(this);
    CRows rows(AddAccessRowAndGroup(this, layout, AddText(1125, m_values.AccessTitle),
                                    tr("FTPサーバ （BML用Webアクセス）")));
    rows.Add(tr("サーバーIP Address："), AddAddress(1086, m_values.FTPWebAddress));
    rows.Add(QStringLiteral("Port"), AddPort(1084, m_values.FTPWebPort));
    rows.Add(QStringLiteral("User"), AddText(1085, m_values.FTPWebUser));
    rows.Add(QStringLiteral("Password"), AddPassword(1087, m_values.FTPWebPassword));
    rows.Add(tr("書込みフォルダ"), AddText(1077, m_values.FTPWebFolder));
    rows.Add(QString(), AddCheck(1119, QStringLiteral("PASV"), m_values.PASV4));
    layout->addWidget(MakeButtons());
}

void CDlgFTPWEB::Collect()
{
    m_values.AccessTitle = TextOf(1125);
    m_values.FTPWebAddress = AddressOf(1086);
    m_values.FTPWebPort = PortOf(1084);
    m_values.FTPWebUser = TextOf(1085);
    m_values.FTPWebPassword = TextOf(1087);
    m_values.FTPWebFolder = TextOf(1077);
    m_values.PASV4 = CheckOf(1119);
}

CDlgFTPNET::CDlgFTPNET(const AppSettings &settings, CPrompt &prompt, QWidget *parent)
    : CNetworkDialog(settings, prompt, parent)
{
    auto *layout = new QVBoxLayout(this);
    CRows rows(AddAccessRowAndGroup(this, layout, AddText(1125, m_values.AccessTitle),
                                    tr("データ放送サーバ Networkアクセス")));
    rows.Add(tr("サーバーIP Address："), AddAddress(1096, m_values.FTPNetAddress));
    rows.Add(QStringLiteral("Port"), AddPort(1095, m_values.FTPNetPort));
    rows.Add(QStringLiteral("User"), AddText(1094, m_values.FTPNetUser));
    rows.Add(QStringLiteral("Password"), AddPassword(1093, m_values.FTPNetPassword));
    rows.Add(QString(), AddCheck(1120, QStringLiteral("PASV"), m_values.PASV2));
    layout->addWidget(MakeButtons());
}

void CDlgFTPNET::Collect()
{
    m_values.AccessTitle = TextOf(1125);
    m_values.FTPNetAddress = AddressOf(1096);
    m_values.FTPNetPort = PortOf(1095);
    m_values.FTPNetUser = TextOf(1094);
    m_values.FTPNetPassword = TextOf(1093);
    m_values.PASV2 = CheckOf(1120);
}

} // namespace orin
