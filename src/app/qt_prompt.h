// SPDX-License-Identifier: MIT
#pragma once

#include "document/prompt.h"

#include <QFileDialog>
#include <QPointer>

#include <memory>

class QWidget;

namespace orin {

// CPrompt on QMessageBox and QFileDialog, modal to the given window.
class CQtPrompt : public CPrompt {
public:
    explicit CQtPrompt(QWidget *parent = nullptr);

    void SetParent(QWidget *parent);

    PromptAnswer MessageBox(const QString &text, const QString &caption,
                            PromptButtons buttons) override;
    QString FileDialog(const FileDialogRequest &request) override;

    // The name filter in Qt's form: the display text up to its pattern list, then the patterns
    // separated by blanks ("bjpx,bjpﾌｧｲﾙ (*.bjpx *.bjp)").
    static QString QtNameFilter(const FileDialogRequest &request);

    // The dialog of a request, not yet shown. Qt's own dialog is used everywhere, so that a
    // project name typed without its extension ("news") opens the project ("news.bjpx").
    static std::unique_ptr<QFileDialog> MakeFileDialog(const FileDialogRequest &request,
                                                       QWidget *parent);

private:
    QPointer<QWidget> m_parent;
};

} // namespace orin
