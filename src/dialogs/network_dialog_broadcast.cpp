// SPDX-License-Identifier: MIT
// The network settings of editions 0 and 1: how the content reaches the broadcast side (direct
// TS to the modulator, through the control software, or through the data-broadcast server) and
// the connection of each.

#include "dialogs/network_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orin {

namespace {

constexpr int kDirectTs = 1024;
constexpr int kControlSoftware = 1025;
constexpr int kServer = 1026;
// The hardware kinds whose own fields this dialog serves.
constexpr int kTypedHardware = 0;
constexpr int kConfigurationHardware = 4;

void AddRow(QGridLayout *grid, QWidget *owner, const QString &label, QWidget *field)
{
    const int row = grid->rowCount();
    if (!label.isEmpty())
        grid->addWidget(new QLabel(label, owner), row, 0);
    grid->addWidget(field, row, 1);
}

} // namespace

CDlgNetwork::CDlgNetwork(const AppSettings &settings, CPrompt &prompt, QWidget *parent)
    : CNetworkDialog(settings, prompt, parent)
{
    auto *layout = new QVBoxLayout(this);
    auto *top = new QGridLayout;
    AddRow(top, this, tr("アクセス先"), AddText(1125, m_values.AccessTitle));
    layout->addLayout(top);

    const int mode = m_values.ModeAccess;
    auto *modes = new QButtonGroup(this);

    // Direct TS to the modulator.
    auto *direct = new QGroupBox(this);
    auto *directGrid = new QGridLayout(direct);
    QRadioButton *directRadio = AddRadio(kDirectTs, tr("ダイレクトTS伝送"), mode == 0);
    modes->addButton(directRadio);
    directGrid->addWidget(directRadio, 0, 0, 1, 2);
    // This hardware kind has no modulator address: the field opens empty and is not kept.
    AddRow(directGrid, direct, tr("変調器IP Address："), AddText(1021, QStringLiteral("0.0.0.0")));
    auto *types = new QButtonGroup(this);
    auto *typeRow = new QHBoxLayout;
    typeRow->addWidget(new QLabel(tr("タイプ"), direct));
    QRadioButton *typeA = AddRadio(1077, QStringLiteral("A"), m_values.Model == 0);
    QRadioButton *typeB = AddRadio(1079, QStringLiteral("B"), m_values.Model != 0);
    types->addButton(typeA);
    types->addButton(typeB);
    typeRow->addWidget(typeA);
    typeRow->addWidget(typeB);
    typeRow->addStretch();
    directGrid->addLayout(typeRow, directGrid->rowCount(), 0, 1, 2);
    directGrid->addWidget(AddCheck(1044, tr("dボタンでデータ放送に移る"), m_values.DButton),
                          directGrid->rowCount(), 0, 1, 2);
    QCheckBox *sdMemory =
        AddCheck(1045, tr("SDメモリ書込み（書込み後、チェックはクリアされます）"), 0);
    sdMemory->setEnabled(false);
    directGrid->addWidget(sdMemory, directGrid->rowCount(), 0, 1, 2);
    QCheckBox *nullVideo =
        AddCheck(1046, tr("NULLビデオ出力(注意：映像がない場合のみ)"), m_values.NullVideo);
    nullVideo->setEnabled(false);
    directGrid->addWidget(nullVideo, directGrid->rowCount(), 0, 1, 2);
    layout->addWidget(direct);

    // Through the control software.
    auto *control = new QGroupBox(this);
    auto *controlGrid = new QGridLayout(control);
    QRadioButton *controlRadio = AddRadio(kControlSoftware, tr("制御ソフト経由伝送"), mode == 1);
    modes->addButton(controlRadio);
    controlGrid->addWidget(controlRadio, 0, 0, 1, 2);
    AddRow(controlGrid, control, tr("制御ソフト IP Address："),
           AddAddress(1022, m_values.FTPAddress));
    AddRow(controlGrid, control, tr("制御ソフト FTP port："), AddPort(1023, m_values.FTPPort));
    layout->addWidget(control);

    // Through the data-broadcast server; any other mode counts as this one.
    auto *server = new QGroupBox(this);
    auto *serverGrid = new QGridLayout(server);
    QRadioButton *serverRadio =
        AddRadio(kServer, tr("データ放送サーバー経由伝送"), mode != 0 && mode != 1);
    modes->addButton(serverRadio);
    serverGrid->addWidget(serverRadio, 0, 0, 1, 2);
    AddRow(serverGrid, server, tr("データ放送サーバー IP Address："),
           AddAddress(1027, m_values.FTPDataAddress));
    AddRow(serverGrid, server, tr("データ放送サーバー FTP port："),
           AddPort(1029, m_values.FTPDataPort));
    AddRow(serverGrid, server, QString(), AddCheck(1048, QStringLiteral("PASV"), m_values.PASV2));
    AddRow(serverGrid, server, tr("ユーザー名："), AddText(1031, m_values.ServerUser));
    AddRow(serverGrid, server, tr("パスワード："), AddPassword(1032, m_values.ServerPassword));
    layout->addWidget(server);

    // Fields of other hardware kinds: kept hidden, their values pass through unchanged.
    auto *hidden = new QWidget(this);
    auto *hiddenGrid = new QGridLayout(hidden);
    AddRow(hiddenGrid, hidden, tr("PID番号：0x"),
           new QLineEdit(QString::number(m_values.DataPID, 16), hidden));
    AddRow(hiddenGrid, hidden, QStringLiteral("Port"), new QLineEdit(hidden));
    AddRow(hiddenGrid, hidden, QStringLiteral("User"), new QLineEdit(hidden));
    AddRow(hiddenGrid, hidden, QStringLiteral("Password"), new QLineEdit(hidden));
    AddRow(hiddenGrid, hidden, QString(), AddCheck(1047, QStringLiteral("PASV"), m_values.PASV1));
    AddRow(hiddenGrid, hidden, tr("FTPサーバー："), new QLineEdit(m_values.FTPAddressFTP, hidden));
    AddRow(hiddenGrid, hidden, QStringLiteral("UNIT ID"),
           new QLineEdit(QString::number(m_values.FTPUnitID), hidden));
    hidden->hide();
    layout->addWidget(hidden);

    layout->addWidget(MakeButtons());
}

void CDlgNetwork::Collect()
{
    m_values.AccessTitle = TextOf(1125);
    m_values.ModeAccess = CheckOf(kDirectTs) ? 0 : CheckOf(kControlSoftware) ? 1 : 2;
    if (m_values.Hardware == kTypedHardware)
        m_values.Model = CheckOf(1077) ? 0 : 1;
    m_values.DButton = CheckOf(1044);
    m_values.NullVideo = CheckOf(1046);
    m_values.FTPAddress = AddressOf(1022);
    m_values.FTPPort = PortOf(1023);
    m_values.FTPDataAddress = AddressOf(1027);
    m_values.FTPDataPort = PortOf(1029);
    m_values.PASV2 = CheckOf(1048);
    m_values.ServerUser = TextOf(1031);
    m_values.ServerPassword = TextOf(1032);
    m_values.PASV1 = CheckOf(1047);
}

bool CDlgNetwork::RequestsConfigurationUpload() const
{
    return result() == QDialog::Accepted && m_values.ModeAccess == 0
           && m_values.Hardware == kConfigurationHardware;
}

} // namespace orin
