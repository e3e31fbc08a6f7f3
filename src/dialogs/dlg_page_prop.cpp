// SPDX-License-Identifier: MIT
#include "dialogs/dlg_page_prop.h"

#include "dialogs/number_fields.h"
#include "model/ui_text.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace orin {

namespace {

int FieldValue(const QLineEdit *field)
{
    return field ? ParseNumberField(field->text()).value_or(0) : 0;
}

QString NextNoteFor(int timerMode)
{
    if (timerMode == 1)
        return QCoreApplication::translate("OrinEdit", "（→のページ）");
    if (timerMode == 2)
        return QCoreApplication::translate("OrinEdit", "（↓のページ）");
    return QCoreApplication::translate("OrinEdit", "（ページ順送り）");
}

} // namespace

CDlgPageProp::CDlgPageProp(int pageId, const PageProperties &values, int timerMode,
                           CPrompt &prompt, QWidget *parent)
    : QDialog(parent), m_prompt(prompt)
{
    setWindowTitle(UiText(kPagePropTitle));
    auto *grid = new QGridLayout(this);
    int line = 0;
    auto row = [&](const QString &label, QLineEdit *field, const QString &note) {
        grid->addWidget(new QLabel(label, this), line, 0);
        grid->addWidget(field, line, 1);
        if (!note.isEmpty())
            grid->addWidget(new QLabel(note, this), line, 2);
        ++line;
    };
    auto heading = [&](const QString &text) {
        grid->addWidget(new QLabel(text, this), line++, 0, 1, 3);
    };

    QLineEdit *id = AddField(1069, pageId);
    id->setReadOnly(true);
    row(tr("ページID"), id, QString());
    row(tr("ページタイマー値"), AddField(1016, values.timer),
        tr("秒後に次のページに遷移します\n（０のときは遷移しません）"));
    QLineEdit *next = AddField(1068, values.next);
    next->setEnabled(timerMode == 1 || timerMode == 2);
    m_nextNote = new QLabel(NextNoteFor(timerMode), this);
    m_nextNote->setProperty("controlId", 1019);
    grid->addWidget(new QLabel(tr("次のページID"), this), line, 0);
    grid->addWidget(next, line, 1);
    grid->addWidget(m_nextNote, line, 2);
    grid->addWidget(new QLabel(tr("（０はストップ）"), this), line, 3);
    ++line;
    heading(tr("-------------------------　テキスト出力------------------------------------"));
    row(tr("マーキー"), AddField(1072, values.marquee), tr("（０は未指定）"));
    row(tr("スピード"), AddField(1073, values.marquee_speed), tr("（0、1～12）"));
    row(tr("プッシュテキスト\n(アイテムタイマー)"), AddField(1074, values.timer_ino),
        tr("（０は未指定）"));
    row(tr("スピード"), AddField(1075, values.timer_item), tr("（秒間隔）"));
    heading(tr(
        "-------------------------　詳細 (リモート管理用) ------------------------------------"));
    row(tr("カーソルフォーカス"), AddField(1070, values.defitem), QString());
    row(tr("カーソルカラー"), AddField(1071, values.curcol), QString());
    row(tr("戻るキー"), AddField(1076, values.back), QString());

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, line, 0, 1, 4);

    // Tab order: the fields in the order of the form.
    QWidget *previous = nullptr;
    for (const int control : {1069, 1016, 1068, 1072, 1073, 1074, 1075, 1070, 1071, 1076}) {
        if (previous)
            setTabOrder(previous, m_fields.value(control));
        previous = m_fields.value(control);
    }
}

QLineEdit *CDlgPageProp::AddField(int controlId, int value)
{
    auto *field = new QLineEdit(QString::number(value), this);
    field->setProperty("controlId", controlId);
    m_fields.insert(controlId, field);
    return field;
}

QString CDlgPageProp::NextPageNote() const
{
    return m_nextNote->text();
}

PageProperties CDlgPageProp::Values() const
{
    PageProperties values;
    values.timer = FieldValue(Field(1016));
    values.next = FieldValue(Field(1068));
    values.marquee = FieldValue(Field(1072));
    values.marquee_speed = FieldValue(Field(1073));
    values.timer_ino = FieldValue(Field(1074));
    values.timer_item = FieldValue(Field(1075));
    values.defitem = FieldValue(Field(1070));
    values.curcol = FieldValue(Field(1071));
    values.back = FieldValue(Field(1076));
    return values;
}

void CDlgPageProp::accept()
{
    const QList<QLineEdit *> fields = {Field(1016), Field(1068), Field(1072), Field(1073),
                                       Field(1074), Field(1075), Field(1070), Field(1071),
                                       Field(1076)};
    if (CheckNumberFields(fields, m_prompt))
        QDialog::accept();
}

} // namespace orin
