// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// Every message box and file dialog of the program goes through CPrompt, so that the texts and
// the answers can be checked without a window: the application uses the Qt implementation,
// the tests a scripted one.

namespace orin {

// YesNoDefaultNo: a question whose Yes gives up the operator's work; Enter answers No.
enum class PromptButtons { Ok, YesNo, YesNoDefaultNo };

enum class PromptAnswer { Ok, Yes, No, Cancel };

enum class FileDialogKind { Open, Save };

// What a file dialog shows and allows.
struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    QString title;
    QString filterText;         // the filter as the operator reads it
    QStringList filterPatterns; // the patterns it stands for
    QString startFolder;
    QString startFile;          // a full path the dialog starts with; empty: startFolder alone
    bool fileMustExist = false;
    bool hideReadOnly = false;
    bool overwritePrompt = true;
};

class CPrompt {
public:
    virtual ~CPrompt() = default;

    // A modal message box; returns the button the operator chose (Cancel when the box was
    // closed without a choice).
    virtual PromptAnswer MessageBox(const QString &text, const QString &caption,
                                    PromptButtons buttons) = 0;

    // A modal file dialog; returns the chosen absolute path, or an empty string on cancel.
    virtual QString FileDialog(const FileDialogRequest &request) = 0;
};

} // namespace orin
