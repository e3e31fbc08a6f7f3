// SPDX-License-Identifier: MIT
#pragma once

#include "actions/item_clipboard.h"
#include "actions/page_drop.h"
#include "actions/page_merge.h"
#include "model/content_model.h"

#include <QPointF>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

// The item paste and the page merge as edit operations of the document: each is one operator
// action, done by Redo and taken back by Undo, so that the undo stack can hold it as one step.
// Both set the modified flag and show the used size again.

namespace orin {

class CDocument;
class CPrompt;

// One operator action on the model. Redo does it (the first time too), Undo takes it back
// exactly; they alternate, starting with Redo, and later actions are undone first.
class CModelEdit {
public:
    virtual ~CModelEdit() = default;
    virtual void Redo() = 0;
    virtual void Undo() = 0;
};

// A paste of the clipboard's item into a page, with the records the paste mode makes.
class CPasteItemEdit : public CModelEdit {
public:
    // Pastes right away; Outcome() says what happened (only Pasted changed anything).
    CPasteItemEdit(CContentModel &model, CDocument &document, CMyProgramInfo &page,
                   const CItemClipboard &clipboard, PasteMode mode, QPointF pagePoint);
    const PasteOutcome &Outcome() const { return m_outcome; }
    void Redo() override;
    void Undo() override;

private:
    CContentModel &m_model;
    CDocument &m_document;
    CMyProgramInfo &m_page;
    PasteOutcome m_outcome;
    PageItem m_item;
    std::unique_ptr<CMyTextInfo> m_text;       // held while undone
    std::unique_ptr<CMyPictureInfo> m_picture; // held while undone
    bool m_done = false;
};

// A merge of a copy document: the records and pages it appended.
class CMergeEdit : public CModelEdit {
public:
    // Merges right away; Result() says what happened (only Merged changed anything).
    CMergeEdit(CContentModel &model, CDocument &document, const QString &text,
               const MergeOptions &options);
    const MergeResult &Result() const { return m_result; }
    void Redo() override;
    void Undo() override;

private:
    void ShowSize();

    CContentModel &m_model;
    CDocument &m_document;
    MergeResult m_result;
    // The appended records while undone, per table.
    std::vector<std::unique_ptr<CMyPictureInfo>> m_pictures;
    std::vector<std::unique_ptr<CMyPictureInfo>> m_materials;
    std::vector<std::unique_ptr<CMyTextInfo>> m_texts;
    std::vector<std::unique_ptr<CMyMacroInfo>> m_macros;
    std::vector<std::unique_ptr<CMyProgramInfo>> m_pages;
    bool m_done = false;
};

// The operator-facing paste and page drop: the messages, and the edit that was done.
class CPageEdits {
public:
    CPageEdits(CContentModel &model, CDocument &document, CPrompt &prompt);

    // The item menu's paste into the shown page. A full page is refused with kPageFullMessage
    // (caption "エラー"). Returns the edit when the paste changed the model, else null.
    std::unique_ptr<CPasteItemEdit> PasteItem(CMyProgramInfo *page,
                                              const CItemClipboard &clipboard, PasteMode mode,
                                              QPointF pagePoint);

    // Text dropped on the page list from outside, by the drop rules: before any content set was
    // opened "まずコンテンツのロードが必要です" (caption "警告"); a refused merge shows its reason
    // (caption "エラー"). Returns the merge when it changed the model, else null.
    std::unique_ptr<CMergeEdit> DropPages(int modeAction, const std::optional<QString> &text,
                                          int defTimer);

private:
    CContentModel &m_model;
    CDocument &m_document;
    CPrompt &m_prompt;
};

} // namespace orin
