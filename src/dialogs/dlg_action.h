// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;

namespace orin {

class CContentModel;
class CDocumentEdits;
class CPrompt;

inline constexpr char16_t kActionTitle[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "アクション編集");

// The action edit "アクション編集" of one item: its `ret` action string, and for the page's
// push-text item the page's item timer.
class CDlgAction : public QDialog {
    Q_OBJECT
public:
    // `timerItem` is shown (with its labels) only for the push-text item.
    CDlgAction(const QString &ret, bool pushTextItem, int timerItem, CPrompt &prompt,
               QWidget *parent = nullptr);

    QString Ret() const;
    // The timer value to store: only when the field was shown and its value changed.
    std::optional<int> TimerItem() const;
    QLineEdit *RetField() const { return m_ret; }
    QLineEdit *TimerField() const { return m_timer; }
    bool IsTimerShown() const { return m_pushText; }

    void accept() override;

private:
    CPrompt &m_prompt;
    QLineEdit *m_ret = nullptr;
    QLineEdit *m_timer = nullptr;
    bool m_pushText = false;
    int m_timerItem = 0;
};

// The canvas's action edit for the slot `slot` of the page at `row`: the page and slot are
// recorded when the dialog opens and the edit goes to them (one undo step). True when the model
// changed.
bool OpenActionEdit(QWidget *parent, CContentModel &model, CDocumentEdits &edits, int row,
                    int slot, CPrompt &prompt);

} // namespace orin
