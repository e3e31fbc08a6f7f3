// SPDX-License-Identifier: MIT
#include "dialogs/dlg_gtext.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QTextEdit>

namespace orin {

namespace {
constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 30;
} // namespace

CDlgGText::CDlgGText(QWidget *parent) : QDialog(parent)
{
    setModal(false);
    setSizeGripEnabled(true);
    m_edit = new QTextEdit(this);
    m_edit->setProperty("controlId", 1001);
    m_edit->setAcceptRichText(false);
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_update = new QPushButton(tr("更新"), this);
    m_update->setProperty("controlId", 1002);
    m_update->setAutoDefault(false);
    m_cancel = new QPushButton(tr("キャンセル"), this);
    m_cancel->setProperty("controlId", 1003);
    m_cancel->setAutoDefault(false);
    connect(m_update, &QPushButton::clicked, this, [this] {
        const QString text = Text();
        hide();
        emit TextCommitted(text);
    });
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::hide);
    resize(400, 300);
}

void CDlgGText::SetText(const QString &text)
{
    m_edit->setPlainText(text);
}

QString CDlgGText::Text() const
{
    return m_edit->toPlainText();
}

void CDlgGText::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const int w = width();
    const int h = height();
    m_edit->setGeometry(4, 4, std::max(0, w - 4), std::max(0, h - 50));
    m_update->setGeometry(w - 160, h - 40, kButtonWidth, kButtonHeight);
    m_cancel->setGeometry(w - 80, h - 40, kButtonWidth, kButtonHeight);
}

void CDlgGText::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}

void CDlgGText::reject()
{
    hide();
}

} // namespace orin
