// SPDX-License-Identifier: MIT
#include <QCoreApplication>
#include "document/undo_commands.h"

#include "document/document.h"
#include "document/page_edits.h"

namespace orin {

namespace {

template <typename T>
std::vector<T> ValuesOf(const CMyDataArray<T> &table)
{
    std::vector<T> values;
    values.reserve(static_cast<size_t>(table.Count()));
    for (const auto &record : table)
        values.push_back(*record);
    return values;
}

// Gives the table the values: records that exist keep their identity (the page list and the
// canvas may hold them), missing ones are made, surplus ones go.
template <typename T>
void AssignValues(CMyDataArray<T> &table, const std::vector<T> &values)
{
    const int count = static_cast<int>(values.size());
    while (table.Count() > count)
        table.RemoveAt(table.Count() - 1);
    for (int i = 0; i < count; ++i) {
        if (i < table.Count())
            *table.At(i) = values[static_cast<size_t>(i)];
        else
            table.Add(std::make_unique<T>(values[static_cast<size_t>(i)]));
    }
}

} // namespace

CDocumentCommand::CDocumentCommand(CDocument &document, const QString &text, int pageIndex,
                                   EditEffect effect)
    : QUndoCommand(text), m_document(document), m_pageIndex(pageIndex), m_effect(effect)
{
}

void CDocumentCommand::Applied()
{
    m_document.EditApplied(m_pageIndex, m_effect, m_pushed);
    m_pushed = true;
}

// ---------------------------------------------------------------- page table

CRemovePageCommand::CRemovePageCommand(CDocument &document, CContentModel &model, int index)
    : CDocumentCommand(document, QCoreApplication::translate("OrinEdit", "ページ削除"), index,
                       {true, true, SizeForm::Decimal, true}),
      m_model(model), m_index(index)
{
}

void CRemovePageCommand::redo()
{
    if (m_model.pages.IsValidIndex(m_index))
        m_held = m_model.pages.Take(m_index);
    Applied();
}

void CRemovePageCommand::undo()
{
    if (m_held && m_index >= 0 && m_index <= m_model.pages.Count())
        m_model.pages.Insert(m_index, std::move(m_held));
    Applied();
}

CInsertPageCommand::CInsertPageCommand(CDocument &document, CContentModel &model, int index,
                                       std::unique_ptr<CMyProgramInfo> page, const QString &text)
    : CDocumentCommand(document, text, index, {true, false, SizeForm::Decimal, true}),
      m_model(model), m_index(index), m_held(std::move(page))
{
}

void CInsertPageCommand::redo()
{
    if (m_held && m_index >= 0 && m_index <= m_model.pages.Count())
        m_model.pages.Insert(m_index, std::move(m_held));
    Applied();
}

void CInsertPageCommand::undo()
{
    if (m_model.pages.IsValidIndex(m_index))
        m_held = m_model.pages.Take(m_index);
    Applied();
}

CMovePageCommand::CMovePageCommand(CDocument &document, CContentModel &model, int from, int to)
    : CDocumentCommand(document, QCoreApplication::translate("OrinEdit", "ページ移動"), to,
                       {true, false, SizeForm::Decimal, true}),
      m_model(model), m_from(from), m_to(to)
{
}

void CMovePageCommand::Move(int from, int to)
{
    if (m_model.pages.IsValidIndex(from) && to >= 0 && to < m_model.pages.Count())
        m_model.pages.Insert(to, m_model.pages.Take(from));
    Applied();
}

void CMovePageCommand::redo()
{
    m_pageIndex = m_to;
    Move(m_from, m_to);
}

void CMovePageCommand::undo()
{
    m_pageIndex = m_from;
    Move(m_to, m_from);
}

// ---------------------------------------------------------------- whole tables

TableValues CaptureTables(const CContentModel &model, int set)
{
    TableValues values;
    if (set & kPagesTextsMacros) {
        values.pages = ValuesOf(model.pages);
        values.texts = ValuesOf(model.texts);
        values.macros = ValuesOf(model.macros);
    }
    if (set & kImageTables) {
        values.pictures = ValuesOf(model.pictures);
        values.materials = ValuesOf(model.materials);
    }
    return values;
}

CTablesCommand::CTablesCommand(CDocument &document, CContentModel &model, const QString &text,
                               int set, TableValues before, TableValues after, EditEffect effect)
    : CDocumentCommand(document, text, -1, effect),
      m_model(model), m_set(set), m_before(std::move(before)), m_after(std::move(after))
{
}

void CTablesCommand::Restore(const TableValues &values)
{
    if (m_set & kPagesTextsMacros) {
        AssignValues(m_model.pages, values.pages);
        AssignValues(m_model.texts, values.texts);
        AssignValues(m_model.macros, values.macros);
    }
    if (m_set & kImageTables) {
        AssignValues(m_model.pictures, values.pictures);
        AssignValues(m_model.materials, values.materials);
    }
    Applied();
}

// ---------------------------------------------------------------- self-made edits

CModelEditCommand::CModelEditCommand(CDocument &document, std::unique_ptr<CModelEdit> edit,
                                     const QString &text, int pageIndex, EditEffect effect)
    : CDocumentCommand(document, text, pageIndex, effect), m_edit(std::move(edit))
{
}

CModelEditCommand::~CModelEditCommand() = default;

void CModelEditCommand::redo()
{
    // The edit was done when it was made; its Redo does nothing until it has been undone.
    if (m_edit)
        m_edit->Redo();
    Applied();
}

void CModelEditCommand::undo()
{
    if (m_edit)
        m_edit->Undo();
    Applied();
}

} // namespace orin
