// SPDX-License-Identifier: MIT
#include "app/about_dialog.h"

#include "settings/edition_info.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace orin {

CAboutDialog::CAboutDialog(int edition, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("バージョン情報 ") + QString::fromUtf16(kProductName));
    m_title = new QLabel(EditionTitle(edition), this);
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    m_title->setFont(titleFont);
    m_product = new QLabel(QString::fromUtf16(kProductName), this);
    m_version = new QLabel(VersionText(), this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_product);
    layout->addWidget(m_version);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QStringList CAboutDialog::Texts() const
{
    return {m_title->text(), m_product->text(), m_version->text()};
}

} // namespace orin
