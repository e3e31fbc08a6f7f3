// SPDX-License-Identifier: MIT
#pragma once

#include "images/size_accounting.h"
#include "model/content_model.h"

#include <QString>
#include <QUndoCommand>

#include <memory>
#include <vector>

// The commands of the document's undo stack. Each holds what it needs to put the model back
// exactly as it was (the records themselves while they are out of their table, or the values of
// the records it changed) and, after doing or undoing, tells the document what changed so that
// the views follow and the modified flag is set.

namespace orin {

class CDocument;
class CModelEdit;

// What a command changes besides the records, told to the document after each apply.
struct EditEffect {
    bool pageTable = false;   // pages were added, removed or moved
    bool countSize = false;   // the used size is to be counted again from the files
    SizeForm sizeForm = SizeForm::Decimal;
    bool setsModified = true; // slimming keeps the modified flag as it was
};

// The common part: the document to tell and the page the command concerns (-1: none).
class CDocumentCommand : public QUndoCommand {
public:
    CDocumentCommand(CDocument &document, const QString &text, int pageIndex, EditEffect effect);

protected:
    // Tells the document that the model changed; `replay` is false for the first redo (the
    // push itself), true for every undo and redo after it.
    void Applied();
    CDocument &m_document;
    int m_pageIndex;
    EditEffect m_effect;
    bool m_pushed = false;
};

// A record whose values changed in place (comment, properties, item slot, text, image): undo
// and redo assign the whole record's values, so that every field comes back exactly.
template <typename T>
class CRecordValueCommand : public CDocumentCommand {
public:
    CRecordValueCommand(CDocument &document, const QString &text, CMyDataArray<T> &table,
                        int index, T before, T after, int pageIndex, EditEffect effect = {})
        : CDocumentCommand(document, text, pageIndex, effect),
          m_table(table), m_index(index), m_before(std::move(before)), m_after(std::move(after))
    {
    }
    void redo() override { Assign(m_after); }
    void undo() override { Assign(m_before); }

private:
    void Assign(const T &value)
    {
        if (m_table.IsValidIndex(m_index))
            *m_table.At(m_index) = value; // the record keeps its identity
        Applied();
    }
    CMyDataArray<T> &m_table;
    int m_index;
    T m_before;
    T m_after;
};

// The page at `index` leaves the table (page delete); undo puts the same record back.
class CRemovePageCommand : public CDocumentCommand {
public:
    CRemovePageCommand(CDocument &document, CContentModel &model, int index);
    void redo() override;
    void undo() override;

private:
    CContentModel &m_model;
    int m_index;
    std::unique_ptr<CMyProgramInfo> m_held;
};

// A new page enters the table at `index` (a duplicate); undo takes it out again.
class CInsertPageCommand : public CDocumentCommand {
public:
    CInsertPageCommand(CDocument &document, CContentModel &model, int index,
                       std::unique_ptr<CMyProgramInfo> page, const QString &text);
    void redo() override;
    void undo() override;

private:
    CContentModel &m_model;
    int m_index;
    std::unique_ptr<CMyProgramInfo> m_held;
};

// The page at `from` moves so that it ends at index `to` (page reorder).
class CMovePageCommand : public CDocumentCommand {
public:
    CMovePageCommand(CDocument &document, CContentModel &model, int from, int to);
    void redo() override;
    void undo() override;

private:
    void Move(int from, int to);
    CContentModel &m_model;
    int m_from;
    int m_to;
};

// The values of whole tables before and after an operation that touches many records
// (renumbering: pages, texts and macros; slimming: pictures and materials).
struct TableValues {
    std::vector<CMyProgramInfo> pages;
    std::vector<CMyTextInfo> texts;
    std::vector<CMyMacroInfo> macros;
    std::vector<CMyPictureInfo> pictures;
    std::vector<CMyPictureInfo> materials;
};

enum TableSet : int { kPagesTextsMacros = 1, kImageTables = 2 };

// Takes the values of the tables of `set`.
TableValues CaptureTables(const CContentModel &model, int set);

class CTablesCommand : public CDocumentCommand {
public:
    CTablesCommand(CDocument &document, CContentModel &model, const QString &text, int set,
                   TableValues before, TableValues after, EditEffect effect);
    void redo() override { Restore(m_after); }
    void undo() override { Restore(m_before); }

private:
    void Restore(const TableValues &values);
    CContentModel &m_model;
    int m_set;
    TableValues m_before;
    TableValues m_after;
};

// An edit that does and undoes itself (the merge and the item paste): it was done when it was
// made, so the push does nothing more.
class CModelEditCommand : public CDocumentCommand {
public:
    CModelEditCommand(CDocument &document, std::unique_ptr<CModelEdit> edit, const QString &text,
                      int pageIndex, EditEffect effect);
    ~CModelEditCommand() override;
    void redo() override;
    void undo() override;

private:
    std::unique_ptr<CModelEdit> m_edit;
};

} // namespace orin
