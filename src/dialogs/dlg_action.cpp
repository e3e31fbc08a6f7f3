// SPDX-License-Identifier: MIT
#include "dialogs/dlg_action.h"

#include "dialogs/number_fields.h"
#include "document/document_edits.h"
#include "model/content_model.h"
#include "model/ui_text.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace orin {

CDlgAction::CDlgAction(const QString &ret, bool pushTextItem, int timerItem, CPrompt &prompt,
                       QWidget *parent)
    : QDialog(parent), m_prompt(prompt), m_pushText(pushTextItem), m_timerItem(timerItem)
{
    setWindowTitle(UiText(kActionTitle));
    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("ページ番号（マクロ）"), this), 0, 0);
    m_ret = new QLineEdit(ret, this);
    m_ret->setProperty("controlId", 1015);
    grid->addWidget(m_ret, 0, 1, 1, 2);
    auto *timerLabel = new QLabel(tr("タイマー値"), this);
    m_timer = new QLineEdit(QString::number(timerItem), this);
    m_timer->setProperty("controlId", 1016);
    auto *seconds = new QLabel(tr("秒"), this);
    grid->addWidget(timerLabel, 1, 0);
    grid->addWidget(m_timer, 1, 1);
    grid->addWidget(seconds, 1, 2);
    for (QWidget *w : {static_cast<QWidget *>(timerLabel), static_cast<QWidget *>(m_timer),
                       static_cast<QWidget *>(seconds)})
        w->setVisible(pushTextItem);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 2, 0, 1, 3);
}

QString CDlgAction::Ret() const
{
    return m_ret->text();
}

std::optional<int> CDlgAction::TimerItem() const
{
    if (!m_pushText)
        return std::nullopt;
    const std::optional<int> value = ParseNumberField(m_timer->text());
    if (!value || *value == m_timerItem)
        return std::nullopt;
    return value;
}

void CDlgAction::accept()
{
    // The hidden timer field of other items is never checked: it is not the operator's.
    if (m_pushText && !CheckNumberFields({m_timer}, m_prompt))
        return;
    QDialog::accept();
}

bool OpenActionEdit(QWidget *parent, CContentModel &model, CDocumentEdits &edits, int row,
                    int slot, CPrompt &prompt)
{
    if (!model.pages.IsValidIndex(row) || slot < 0 || slot >= kItemSlots)
        return false;
    const CMyProgramInfo &page = *model.pages.At(row);
    const quint64 serial = page.serial.Value();
    const PageItem &item = page.items[static_cast<size_t>(slot)];
    const bool pushText = item.id != 0 && item.id == page.timer_ino;
    CDlgAction dialog(item.ret, pushText, page.timer_item, prompt, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    for (int now = 0; now < model.pages.Count(); ++now) {
        if (model.pages.At(now)->serial.Value() == serial)
            return edits.UpdateItemAction(model.pages.At(now)->id, slot, dialog.Ret(),
                                          dialog.TimerItem());
    }
    return false;
}

} // namespace orin
