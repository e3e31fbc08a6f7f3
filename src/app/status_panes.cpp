// SPDX-License-Identifier: MIT
#include "app/status_panes.h"

#include "model/ui_text.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

#include <cmath>

namespace orin {

namespace {

// X11 modifier bits in the native state of a key event.
constexpr quint32 kX11LockMask = 0x02;
constexpr quint32 kX11NumLockMask = 0x10;

const char16_t *const kLockTexts[] = {u"CAP", u"NUM", u"SCRL"};

} // namespace

QString AccessPaneText(const QString &accessTitle, int modeConvertTo)
{
    return modeConvertTo != 0 ? UiText(kTestServerTitle) : accessTitle;
}

QString ZoomPaneText(bool designMode, double zoom)
{
    if (!designMode || !std::isfinite(zoom))
        return QString();
    return QStringLiteral("%1%").arg(qRound(zoom * 100));
}

int AccessPaneWidth(const QString &text)
{
    return text.isEmpty() ? 0 : 12 * int(text.size()) + 30;
}

CStatusPanes::CStatusPanes(QStatusBar *bar, const QFont &font) : QObject(bar)
{
    const QFontMetrics metrics(font);
    auto blanks = [&metrics](int count) {
        return metrics.horizontalAdvance(QString(count, u' ')) + 8;
    };
    // Initial widths of panes 1 to 4 are those of 1, 38, 18 and 5 blanks.
    const int widths[kPaneCount] = {0, blanks(1), blanks(38), blanks(18), blanks(5),
                                    metrics.horizontalAdvance(QStringLiteral("CAP")) + 8,
                                    metrics.horizontalAdvance(QStringLiteral("NUM")) + 8,
                                    metrics.horizontalAdvance(QStringLiteral("SCRL")) + 8,
                                    metrics.horizontalAdvance(QStringLiteral("800%")) + 8};
    // The zoom stands before the lock indicators.
    constexpr int kOrder[kPaneCount] = {kPanePrompt, kPaneAccess, kPaneTransmit, kPaneSize,
                                        kPanePng,    kPaneZoom,   kPaneCaps,     kPaneNum,
                                        kPaneScroll};
    for (const int i : kOrder) {
        auto *label = new QLabel(bar);
        label->setObjectName(QStringLiteral("pane%1").arg(i));
        label->setFont(font);
        if (i == kPanePrompt) {
            label->setText(UiText(kReadyText));
            bar->addWidget(label, 1);
        } else {
            label->setMinimumWidth(widths[i]);
            label->setFrameShape(QFrame::Panel);
            label->setFrameShadow(QFrame::Sunken);
            if (i == kPaneZoom)
                label->setAlignment(Qt::AlignCenter);
            bar->addPermanentWidget(label);
            if (i == kPaneZoom)
                label->hide();
        }
        m_panes[size_t(i)] = label;
    }
    SetAccessText(QString());
    qApp->installEventFilter(this);
}

QLabel *CStatusPanes::Pane(int pane) const
{
    return pane >= 0 && pane < kPaneCount ? m_panes[size_t(pane)] : nullptr;
}

void CStatusPanes::SetText(int pane, const QString &text)
{
    if (QLabel *label = Pane(pane)) {
        label->setText(text);
        // The zoom pane is ours, not one of the described eight: it shows only while there is
        // a zoom to show, in design mode.
        if (pane == kPaneZoom)
            label->setVisible(!text.isEmpty());
    }
}

QString CStatusPanes::Text(int pane) const
{
    const QLabel *label = Pane(pane);
    return label ? label->text() : QString();
}

void CStatusPanes::SetAccessText(const QString &text)
{
    QLabel *label = m_panes[kPaneAccess];
    label->setText(text);
    const int width = AccessPaneWidth(text);
    // A pane of width 0 is not drawn at all, frame included.
    label->setVisible(width > 0);
    label->setMinimumWidth(width);
    label->setMaximumWidth(width > 0 ? width : QWIDGETSIZE_MAX);
}

void CStatusPanes::ShowLock(int pane, bool on)
{
    SetText(pane, on ? QString::fromUtf16(kLockTexts[pane - kPaneCaps]) : QString());
}

bool CStatusPanes::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool press = event->type() == QEvent::KeyPress;
        // A key event travels up through its receivers' parents; count each press once.
        if (press && !key->isAutoRepeat() && key->key() == Qt::Key_ScrollLock &&
            key->timestamp() != m_scrollLockStamp) {
            m_scrollLockStamp = key->timestamp();
            m_scrollLock = !m_scrollLock;
        }
        ShowLock(kPaneScroll, m_scrollLock);
        // On X11 the native state carries the lock keys as they were before this event; the
        // press of a lock key itself toggles them.
        if (QGuiApplication::platformName() == u"xcb") {
            const quint32 state = key->nativeModifiers();
            bool caps = state & kX11LockMask;
            bool num = state & kX11NumLockMask;
            if (press && key->key() == Qt::Key_CapsLock)
                caps = !caps;
            if (press && key->key() == Qt::Key_NumLock)
                num = !num;
            ShowLock(kPaneCaps, caps);
            ShowLock(kPaneNum, num);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orin
