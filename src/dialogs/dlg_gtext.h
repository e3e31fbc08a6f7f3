// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QPushButton;
class QTextEdit;

namespace orin {

// The text dialog of the canvas: one multi-line edit with "更新" and "キャンセル". It is
// modeless and resizable, and is hidden rather than destroyed; the opener sets the caption
// ("グループテキスト編集" or "テキスト編集") and the text, and decides where a committed text
// goes.
class CDlgGText : public QDialog {
    Q_OBJECT
public:
    explicit CDlgGText(QWidget *parent = nullptr);

    void SetText(const QString &text);
    QString Text() const;
    QTextEdit *Editor() const { return m_edit; }
    QPushButton *UpdateButton() const { return m_update; }
    QPushButton *CancelButton() const { return m_cancel; }

signals:
    // "更新": the edit's text (the canvas's command 1500); the dialog hides.
    void TextCommitted(const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    QTextEdit *m_edit = nullptr;
    QPushButton *m_update = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace orin
