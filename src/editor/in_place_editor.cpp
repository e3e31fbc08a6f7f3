// SPDX-License-Identifier: MIT
#include "editor/in_place_editor.h"

#include "model/ui_text.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

namespace orin {

namespace {

constexpr int kControlId = 1060;
constexpr double kPointFactor = 1.4;
constexpr double kLineFactor = 22.0 / 20.0; // line spacing in twips over the height in twips
constexpr double kPointsPerInch = 72.0;

double PointSizeFor(int size, double scale)
{
    // A size of 0 from a file still gets a readable font.
    return std::max(1.0, size * kPointFactor * scale);
}

} // namespace

CInPlaceEditor::CInPlaceEditor(QWidget *parent) : QTextEdit(parent)
{
    setObjectName(QStringLiteral("CInPlaceEditor"));
    setProperty("controlId", kControlId);
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    document()->setDocumentMargin(0);
    hide();
}

void CInPlaceEditor::SetItemText(const QString &text, int size, double scale)
{
    m_pointSize = PointSizeFor(size, scale);
    m_lineHeight = m_pointSize * kLineFactor * logicalDpiY() / kPointsPerInch;

    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(m_pointSize);
    document()->setDefaultFont(font);
    QPalette colours = palette();
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);

    setPlainText(text);
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat block;
    block.setLineHeight(m_lineHeight, QTextBlockFormat::FixedHeight);
    block.setTopMargin(0);
    block.setBottomMargin(0);
    cursor.mergeBlockFormat(block);
    QTextCharFormat character;
    character.setFont(font);
    character.setForeground(Qt::black);
    cursor.mergeCharFormat(character);
    setCurrentCharFormat(character);
    // The text was put there, not typed: the first undo is the operator's.
    document()->clearUndoRedoStacks();
    moveCursor(QTextCursor::End);
}

bool CInPlaceEditor::ShowsSizeAt(int size, double scale) const
{
    // Before the first SetItemText the point size is 0, which no item gives.
    return PointSizeFor(size, scale) == m_pointSize;
}

bool CInPlaceEditor::RunEditCommand(int command)
{
    switch (command) {
    case editcmd::kUndo:
        undo();
        return true;
    case editcmd::kCut:
        cut();
        return true;
    case editcmd::kCopy:
        copy();
        return true;
    case editcmd::kPaste:
        if (const QClipboard *clipboard = QGuiApplication::clipboard())
            insertPlainText(clipboard->text());
        return true;
    default:
        return false;
    }
}

std::unique_ptr<QMenu> CInPlaceEditor::MakeEditMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    const struct {
        int command;
        const char16_t *label;
    } entries[] = {
        {editcmd::kUndo, u"" QT_TRANSLATE_NOOP("OrinEdit", "元に戻す(&U)\tCtrl+Z")},
        {editcmd::kCut, u"" QT_TRANSLATE_NOOP("OrinEdit", "切り取り(&T)\tCtrl+X")},
        {editcmd::kCopy, u"" QT_TRANSLATE_NOOP("OrinEdit", "コピー(&C)\tCtrl+C")},
        {editcmd::kPaste, u"" QT_TRANSLATE_NOOP("OrinEdit", "貼り付け(&P)\tCtrl+V")},
    };
    for (const auto &entry : entries) {
        QAction *action = menu->addAction(UiText(entry.label));
        action->setData(entry.command);
        const int command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] {
            QMetaObject::invokeMethod(this, [this, command] { emit EditCommandChosen(command); },
                                      Qt::QueuedConnection);
        });
    }
    return menu;
}

void CInPlaceEditor::focusOutEvent(QFocusEvent *event)
{
    QTextEdit::focusOutEvent(event);
    // A pop-up menu (the editor's own, or the main menu) hands the focus back when it closes;
    // the edit goes on.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    if (isVisible())
        emit EditingLeft();
}

void CInPlaceEditor::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu = MakeEditMenu();
    menu->exec(event->globalPos());
}

void CInPlaceEditor::insertFromMimeData(const QMimeData *source)
{
    if (source && source->hasText())
        insertPlainText(source->text());
}

} // namespace orin
