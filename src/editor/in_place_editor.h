// SPDX-License-Identifier: MIT
#pragma once

#include <QTextEdit>

#include <memory>

class QMenu;

// The editor that lies over an item of the canvas while its text is typed in place: plain
// multi-line text in the canvas's item font, its own small edit menu, and a signal when the
// keyboard focus leaves it for anything but a pop-up menu.

namespace orin {

// The edit commands of the main menu and of the editor's own menu.
namespace editcmd {
inline constexpr int kUndo = 57643;
inline constexpr int kCut = 57635;
inline constexpr int kCopy = 57634;
inline constexpr int kPaste = 57637;
} // namespace editcmd

class CInPlaceEditor : public QTextEdit {
    Q_OBJECT
public:
    explicit CInPlaceEditor(QWidget *parent = nullptr);

    // Shows `text` in the item font of text size `size`: "ＭＳ ゴシック", black, p = size · 1.4 ·
    // scale points, the lines exactly 1.1 · p points apart (scale: client pixels per screen
    // pixel).
    void SetItemText(const QString &text, int size, double scale);
    // The point size and the line distance (pixels) of the last SetItemText.
    double PointSize() const { return m_pointSize; }
    double LineHeight() const { return m_lineHeight; }
    // True when SetItemText(…, size, scale) would give the font already shown.
    bool ShowsSizeAt(int size, double scale) const;

    // Undo, cut and copy as the control has them; paste inserts the clipboard as plain text.
    // False for any other command.
    bool RunEditCommand(int command);
    // The editor's own menu: "元に戻す(&U)\tCtrl+Z", "切り取り(&T)\tCtrl+X", "コピー(&C)\tCtrl+C",
    // "貼り付け(&P)\tCtrl+V", each action carrying its command number as data.
    std::unique_ptr<QMenu> MakeEditMenu();

signals:
    // The keyboard focus went elsewhere (not to a pop-up menu, which gives it back).
    void EditingLeft();
    // A command chosen in the editor's own menu, posted after the menu has closed.
    void EditCommandChosen(int command);

protected:
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    double m_pointSize = 0;
    double m_lineHeight = 0;
};

} // namespace orin
