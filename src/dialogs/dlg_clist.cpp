// SPDX-License-Identifier: MIT
#include "dialogs/dlg_clist.h"

#include "model/ui_text.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

namespace orin {

CDlgCList::CDlgCList(const QByteArray &file, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(UiText(kChannelListTitle));
    auto *grid = new QGridLayout(this);
    const QList<ChannelListRow> rows = ParseChannelList(file);
    for (int i = 0; i < kChannelListRows; ++i) {
        grid->addWidget(new QLabel(QString::number(i + 1), this), i, 0);
        auto *name = new QLabel(i < rows.size() ? rows.at(i).name : QString(), this);
        auto *type = new QLabel(i < rows.size() ? rows.at(i).type : QString(), this);
        name->setProperty("controlId", 1004 + i);
        type->setProperty("controlId", i == 0 ? 1023 : 1024 + i);
        name->setMinimumWidth(160);
        grid->addWidget(name, i, 1);
        grid->addWidget(type, i, 2);
        m_names.append(name);
        m_types.append(type);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    grid->addWidget(buttons, kChannelListRows, 0, 1, 3);
}

QString CDlgCList::NameAt(int row) const
{
    return m_names.value(row) ? m_names.value(row)->text() : QString();
}

QString CDlgCList::TypeAt(int row) const
{
    return m_types.value(row) ? m_types.value(row)->text() : QString();
}

} // namespace orin
