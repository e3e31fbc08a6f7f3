// SPDX-License-Identifier: MIT
#include "app/qt_prompt.h"

#include "document/document.h"
#include "model/ui_text.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

namespace orin {

namespace {

// An open dialog that takes a project name typed without its extension, as the program's
// open rule does (ApplyExtensionRule): Qt's own dialog refuses a name that does not exist.
class CProjectFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (acceptMode() == QFileDialog::AcceptOpen && files.size() == 1) {
            const QString typed = files.first();
            const QString project = ApplyExtensionRule(typed);
            if (!QFileInfo::exists(typed) && QFileInfo(project).isFile())
                selectFile(project);
        }
        QFileDialog::accept();
    }
};

} // namespace

CQtPrompt::CQtPrompt(QWidget *parent) : m_parent(parent) {}

void CQtPrompt::SetParent(QWidget *parent)
{
    m_parent = parent;
}

PromptAnswer CQtPrompt::MessageBox(const QString &text, const QString &caption,
                                   PromptButtons buttons)
{
    const bool question = buttons != PromptButtons::Ok;
    // Texts kept as constants below the widgets arrive untranslated; formatted ones already are.
    QMessageBox box(question ? QMessageBox::Warning : QMessageBox::Critical, UiText(caption),
                    UiText(text), question ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                    m_parent.data());
    if (!question && caption != u"エラー" && caption != UiText(u"エラー") && caption != u"ERROR")
        box.setIcon(QMessageBox::Information);
    if (buttons == PromptButtons::YesNoDefaultNo)
        box.setDefaultButton(QMessageBox::No);
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

std::unique_ptr<QFileDialog> CQtPrompt::MakeFileDialog(const FileDialogRequest &request,
                                                       QWidget *parent)
{
    auto dialog = std::make_unique<CProjectFileDialog>(parent, request.title, request.startFolder,
                                                       QtNameFilter(request));
    // Qt's dialogs have no read-only check box, and its open dialog only returns files that
    // exist, so hideReadOnly and fileMustExist hold by themselves.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    const bool open = request.kind == FileDialogKind::Open;
    dialog->setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog->setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!request.startFile.isEmpty())
        dialog->selectFile(request.startFile);
    return dialog;
}

QString CQtPrompt::FileDialog(const FileDialogRequest &request)
{
    const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(request, m_parent.data());
    if (dialog->exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog->selectedFiles();
    return chosen.isEmpty() ? QString() : QDir::fromNativeSeparators(chosen.first());
}

} // namespace orin
