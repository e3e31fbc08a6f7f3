// SPDX-License-Identifier: MIT
#include "dialogs/network_dialogs.h"

#include "dialogs/network_fields.h"
#include "document/prompt.h"
#include "model/ui_text.h"
#include "settings/password_scramble.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace orin {

namespace {

const char kControlId[] = "controlId";

} // namespace

CNetworkDialog::CNetworkDialog(const AppSettings &settings, CPrompt &prompt, QWidget *parent)
    : QDialog(parent), m_values(settings), m_prompt(prompt)
{
    setWindowTitle(UiText(kNetworkSettingsTitle));
}

QWidget *CNetworkDialog::Control(int controlId) const
{
    for (QWidget *control : m_controls) {
        if (control->property(kControlId).toInt() == controlId)
            return control;
    }
    return nullptr;
}

void CNetworkDialog::Register(int controlId, QWidget *control)
{
    control->setProperty(kControlId, controlId);
    m_controls.append(control);
}

QLineEdit *CNetworkDialog::AddText(int controlId, const QString &text)
{
    auto *edit = new QLineEdit(text, this);
    Register(controlId, edit);
    return edit;
}

QLineEdit *CNetworkDialog::AddAddress(int controlId, const QString &address)
{
    QLineEdit *edit = AddText(controlId, AddressFieldText(address));
    m_addresses.append(edit);
    return edit;
}

QLineEdit *CNetworkDialog::AddPort(int controlId, int port)
{
    QLineEdit *edit = AddText(controlId, QString::number(port));
    m_ports.append(edit);
    return edit;
}

QLineEdit *CNetworkDialog::AddPassword(int controlId, const QString &password)
{
    QLineEdit *edit = AddText(controlId, password);
    edit->setEchoMode(QLineEdit::Password);
    m_passwords.append(edit);
    return edit;
}

QCheckBox *CNetworkDialog::AddCheck(int controlId, const QString &label, int value)
{
    auto *check = new QCheckBox(label, this);
    check->setChecked(value != 0);
    Register(controlId, check);
    return check;
}

QRadioButton *CNetworkDialog::AddRadio(int controlId, const QString &label, bool checked)
{
    auto *radio = new QRadioButton(label, this);
    radio->setChecked(checked);
    Register(controlId, radio);
    return radio;
}

QWidget *CNetworkDialog::MakeButtons()
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

QString CNetworkDialog::AddressOf(int controlId) const
{
    // Only called after CheckFields accepted every address.
    return NormalizedAddress(TextOf(controlId)).value_or(QString());
}

int CNetworkDialog::PortOf(int controlId) const
{
    return ParsePort(TextOf(controlId)).value_or(0);
}

QString CNetworkDialog::TextOf(int controlId) const
{
    const auto *edit = qobject_cast<const QLineEdit *>(Control(controlId));
    return edit ? edit->text() : QString();
}

int CNetworkDialog::CheckOf(int controlId) const
{
    const auto *button = qobject_cast<const QAbstractButton *>(Control(controlId));
    return button && button->isChecked() ? 1 : 0;
}

bool CNetworkDialog::CheckFields()
{
    for (QWidget *control : m_controls) {
        auto *edit = qobject_cast<QLineEdit *>(control);
        if (!edit || !edit->isEnabled())
            continue;
        QString message;
        if (m_addresses.contains(edit) && !NormalizedAddress(edit->text()))
            message = UiText(kAddressMessage);
        else if (m_ports.contains(edit) && !ParsePort(edit->text()))
            message = UiText(kPortMessage);
        else if (m_passwords.contains(edit))
            message = PasswordRefusalMessage(edit->text());
        if (message.isEmpty())
            continue;
        m_prompt.MessageBox(message, tr("エラー"), PromptButtons::Ok);
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    return true;
}

void CNetworkDialog::accept()
{
    if (!CheckFields())
        return;
    Collect();
    QDialog::accept();
}

std::unique_ptr<CNetworkDialog> MakeNetworkDialog(const AppSettings &settings, CPrompt &prompt,
                                                  QWidget *parent, int edition)
{
    switch (edition) {
    case 2:
        return std::make_unique<CDlgFTPWEB>(settings, prompt, parent);
    case 3:
        return std::make_unique<CDlgFTPNET>(settings, prompt, parent);
    case 4:
        return nullptr;
    default:
        return std::make_unique<CDlgNetwork>(settings, prompt, parent);
    }
}

} // namespace orin
