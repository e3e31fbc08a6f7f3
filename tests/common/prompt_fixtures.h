// SPDX-License-Identifier: MIT
#pragma once

#include "test_files.h"

#include "document/prompt.h"
#include "model/content_model.h"
#include "model/project_writer.h"

#include <QFile>
#include <QList>
#include <QStringList>

// A prompt that answers from queues and keeps every question it was asked, and small project
// files written with the real writer.

namespace orin::test {

class CScriptedPrompt : public CPrompt {
public:
    struct Record {
        bool fileDialog = false;
        QString text;    // message text, or the dialog title
        QString caption; // message caption
        PromptButtons buttons = PromptButtons::Ok;
        FileDialogRequest request;
    };

    QList<Record> records;
    QList<PromptAnswer> answers; // for Yes/No boxes; OK boxes answer Ok by themselves
    QStringList fileNames;       // for file dialogs; "" cancels
    int unexpected = 0;          // questions asked with nothing queued

    PromptAnswer MessageBox(const QString &text, const QString &caption,
                            PromptButtons buttons) override
    {
        records.append({false, text, caption, buttons, {}});
        if (buttons == PromptButtons::Ok)
            return PromptAnswer::Ok;
        if (answers.isEmpty()) {
            ++unexpected;
            return PromptAnswer::Cancel;
        }
        return answers.takeFirst();
    }

    QString FileDialog(const FileDialogRequest &request) override
    {
        records.append({true, request.title, {}, PromptButtons::Ok, request});
        if (fileNames.isEmpty()) {
            ++unexpected;
            return {};
        }
        return fileNames.takeFirst();
    }

    // The texts of the message boxes, in order.
    QStringList Messages() const
    {
        QStringList texts;
        for (const Record &record : records) {
            if (!record.fileDialog)
                texts.append(record.text);
        }
        return texts;
    }

    void Clear()
    {
        records.clear();
        answers.clear();
        fileNames.clear();
        unexpected = 0;
    }
};

// Writes a project with `pages` pages (ids 1.., comments "page N") and, when given, a picture
// record naming `picturePath`. Returns false when the writer failed.
inline bool WriteProject(const QString &path, int pages, const QString &picturePath = QString(),
                         int exPng = 0)
{
    CContentModel model;
    for (int i = 0; i < pages; ++i) {
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = i + 1;
        page->comment = QStringLiteral("page %1").arg(i + 1);
        model.pages.Add(std::move(page));
    }
    if (!picturePath.isEmpty()) {
        auto picture = std::make_unique<CMyPictureInfo>();
        picture->id = 1;
        picture->path = picturePath;
        model.pictures.Add(std::move(picture));
    }
    ProgramSettings settings;
    settings.ExPNG = exPng;
    return SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path), settings).ok;
}

} // namespace orin::test
