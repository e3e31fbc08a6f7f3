// SPDX-License-Identifier: MIT
#include "app/qt_prompt.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace orin {

CQtPrompt::CQtPrompt(QWidget *parent) : m_parent(parent) {}

void CQtPrompt::SetParent(QWidget *parent)
{
    m_parent = parent;
}

PromptAnswer CQtPrompt::MessageBox(const QString &text, const QString &caption,
                                   PromptButtons buttons)
{
    const bool question = buttons == PromptButtons::YesNo;
    QMessageBox box(question ? QMessageBox::Warning : QMessageBox::Critical, caption, text,
                    question ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                    m_parent.data());
    if (!question && caption != u"エラー" && caption != u"ERROR")
        box.setIcon(QMessageBox::Information);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    default:
        return PromptAnswer::Cancel;
    }
}

QString CQtPrompt::QtNameFilter(const FileDialogRequest &request)
{
    QString label = request.filterText;
    const qsizetype open = label.lastIndexOf(u'(');
    if (open > 0)
        label = label.left(open).trimmed();
    return label + QStringLiteral(" (") + request.filterPatterns.join(u' ') + u')';
}

QString CQtPrompt::FileDialog(const FileDialogRequest &request)
{
    // Qt's dialogs have no read-only check box, and its open dialog only returns files that
    // exist, so hideReadOnly and fileMustExist hold by themselves.
    QFileDialog::Options options;
    if (!request.overwritePrompt)
        options |= QFileDialog::DontConfirmOverwrite;
    const QString filter = QtNameFilter(request);
    QString chosen;
    if (request.kind == FileDialogKind::Open) {
        chosen = QFileDialog::getOpenFileName(m_parent.data(), request.title,
                                              request.startFolder, filter, nullptr, options);
    } else {
        chosen = QFileDialog::getSaveFileName(m_parent.data(), request.title, request.startFolder,
                                              filter, nullptr, options);
    }
    return chosen.isEmpty() ? QString() : QDir::fromNativeSeparators(chosen);
}

} // namespace orin
