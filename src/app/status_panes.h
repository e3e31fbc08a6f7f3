// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QString>

#include <array>

class QFont;
class QLabel;
class QStatusBar;

namespace orin {

// The panes of the main window's status bar.
enum StatusPane : int {
    kPanePrompt = 0,   // "レディ" when idle
    kPaneAccess = 1,   // access title, or "テスト用ローカルサーバ"
    kPaneTransmit = 2, // transmission messages
    kPaneSize = 3,     // the size line
    kPanePng = 4,      // " H" or " D"
    kPaneCaps = 5,
    kPaneNum = 6,
    kPaneScroll = 7,
    kPaneZoom = 8,     // the design surface's zoom ("100%" is the page fit), empty in edit mode
    kPaneCount = 9,
};

inline constexpr char16_t kReadyText[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "レディ");
inline constexpr char16_t kTestServerTitle[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "テスト用ローカルサーバ");

// What pane 1 shows: the access title, or the test-server name while the converter test mode
// is on.
QString AccessPaneText(const QString &accessTitle, int modeConvertTo);

// The width of pane 1 for its text: 12 pixels per character + 30, or 0 for no text.
int AccessPaneWidth(const QString &text);

// What the zoom pane shows: the zoom in whole per cent in design mode ("100%" the fit), nothing
// in edit mode.
QString ZoomPaneText(bool designMode, double zoom);

// The panes, built into a status bar. The lock indicators follow the key events the
// application receives.
class CStatusPanes : public QObject {
    Q_OBJECT
public:
    CStatusPanes(QStatusBar *bar, const QFont &font);

    void SetText(int pane, const QString &text);
    QString Text(int pane) const;
    // Pane 1 with its width rule.
    void SetAccessText(const QString &text);
    // The label of a pane (null for an index out of range).
    QLabel *Pane(int pane) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ShowLock(int pane, bool on);

    std::array<QLabel *, kPaneCount> m_panes{};
    quint64 m_scrollLockStamp = 0;
    bool m_scrollLock = false;
};

} // namespace orin
