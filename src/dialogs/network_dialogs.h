// SPDX-License-Identifier: MIT
#pragma once

#include "settings/app_settings.h"

#include <QCoreApplication>
#include <QDialog>
#include <QList>

#include <memory>

class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QRadioButton;

// The network settings "ネットワーク設定" of the editions that transmit: the web edition edits
// its FTP server (CDlgFTPWEB), the online edition its online server (CDlgFTPNET), editions 0
// and 1 the broadcast connections (CDlgNetwork). Each works on a copy of the settings and gives
// them back on OK; the HTML edition has none.

namespace orin {

class CPrompt;

inline constexpr char16_t kNetworkSettingsTitle[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "ネットワーク設定");

// What the three dialogs share: the fields by control number and the checks made on OK
// (addresses, ports and passwords, in the order of the fields; the first bad one shows its
// message, takes the focus and keeps the dialog open).
class CNetworkDialog : public QDialog {
    Q_OBJECT
public:
    // The settings with the dialog's values (after OK).
    const AppSettings &Values() const { return m_values; }
    // The control with that number (null when the dialog has none).
    QWidget *Control(int controlId) const;

    void accept() override;

protected:
    CNetworkDialog(const AppSettings &settings, CPrompt &prompt, QWidget *parent);
    // Copies the checked fields into m_values.
    virtual void Collect() = 0;

    QLineEdit *AddText(int controlId, const QString &text);
    QLineEdit *AddAddress(int controlId, const QString &address);
    QLineEdit *AddPort(int controlId, int port);
    QLineEdit *AddPassword(int controlId, const QString &password);
    QCheckBox *AddCheck(int controlId, const QString &label, int value);
    QRadioButton *AddRadio(int controlId, const QString &label, bool checked);
    // OK and キャンセル.
    QWidget *MakeButtons();

    QString AddressOf(int controlId) const;
    int PortOf(int controlId) const;
    QString TextOf(int controlId) const;
    int CheckOf(int controlId) const;

    AppSettings m_values;

private:
    void Register(int controlId, QWidget *control);
    bool CheckFields();

    CPrompt &m_prompt;
    QList<QWidget *> m_controls; // in the order of the checks
    QList<QLineEdit *> m_addresses;
    QList<QLineEdit *> m_ports;
    QList<QLineEdit *> m_passwords;
};

// The web edition: group "FTPサーバ （BML用Webアクセス）".
class CDlgFTPWEB : public CNetworkDialog {
    Q_OBJECT
public:
    CDlgFTPWEB(const AppSettings &settings, CPrompt &prompt, QWidget *parent = nullptr);

protected:
    void Collect() override;
};

// The online edition: group "データ放送サーバ Networkアクセス".
class CDlgFTPNET : public CNetworkDialog {
    Q_OBJECT
public:
    CDlgFTPNET(const AppSettings &settings, CPrompt &prompt, QWidget *parent = nullptr);

protected:
    void Collect() override;
};

// Editions 0 and 1: the access mode, the control software, the data-broadcast server and the
// direct TS options.
class CDlgNetwork : public CNetworkDialog {
    Q_OBJECT
public:
    CDlgNetwork(const AppSettings &settings, CPrompt &prompt, QWidget *parent = nullptr);

    // The configuration upload follows an OK with direct TS on hardware kind 4 (never with the
    // hardware kind of this build).
    bool RequestsConfigurationUpload() const;

protected:
    void Collect() override;
};

// The dialog of the edition on a copy of `settings`, or null for the HTML edition.
std::unique_ptr<CNetworkDialog> MakeNetworkDialog(const AppSettings &settings, CPrompt &prompt,
                                                  QWidget *parent, int edition = kEdition);

} // namespace orin
