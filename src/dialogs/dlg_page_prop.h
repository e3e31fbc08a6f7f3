// SPDX-License-Identifier: MIT
#pragma once

#include "document/document_edits.h"

#include <QCoreApplication>
#include <QDialog>
#include <QHash>

class QLabel;
class QLineEdit;

namespace orin {

class CPrompt;

inline constexpr char16_t kPagePropTitle[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "ページ属性設定");

// The page properties "ページ属性設定" of one page: timer, next page by the TimerMode
// (disabled for mode 0, whose next page is the next row's), marquee, push text, cursor focus and
// colour, back key. OK checks the number fields; the caller stores Values().
class CDlgPageProp : public QDialog {
    Q_OBJECT
public:
    CDlgPageProp(int pageId, const PageProperties &values, int timerMode, CPrompt &prompt,
                 QWidget *parent = nullptr);

    // The values of the fields (valid after OK).
    PageProperties Values() const;
    // The edit with that control number (1069, 1016, 1068, 1072..1076, 1070, 1071).
    QLineEdit *Field(int controlId) const { return m_fields.value(controlId); }
    // The note beside the next-page field (control 1019).
    QString NextPageNote() const;

    void accept() override;

private:
    QLineEdit *AddField(int controlId, int value);

    CPrompt &m_prompt;
    QHash<int, QLineEdit *> m_fields;
    QLabel *m_nextNote = nullptr;
};

} // namespace orin
