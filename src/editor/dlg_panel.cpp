// SPDX-License-Identifier: MIT
#include "editor/dlg_panel.h"

#include "model/ui_text.h"
#include "preview/preview_engine.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>

namespace orin {

namespace {

constexpr int kPanelResource = 134;

struct KeySpec {
    int id;
    const char16_t *caption;
    int code;
    int row;
    int column;
};

const KeySpec kKeyButtons[] = {
    {1039, u"↑", kKeyUp, 0, 1},
    {1041, u"←", kKeyLeft, 1, 0},
    {1043, u"" QT_TRANSLATE_NOOP("OrinEdit", "決定"), kKeyEnter, 1, 1},
    {1042, u"→", kKeyRight, 1, 2},
    {1040, u"↓", kKeyDown, 2, 1},
    {1044, u"" QT_TRANSLATE_NOOP("OrinEdit", "ｄ"), kKeyData, 0, 0},
    {1045, u"" QT_TRANSLATE_NOOP("OrinEdit", "戻る"), kKeyBack, 0, 2},
    {1046, u"" QT_TRANSLATE_NOOP("OrinEdit", "青"), kKeyBlue, 3, 0},
    {1047, u"" QT_TRANSLATE_NOOP("OrinEdit", "赤"), kKeyRed, 3, 1},
    {1048, u"" QT_TRANSLATE_NOOP("OrinEdit", "緑"), kKeyGreen, 3, 2},
    {1049, u"" QT_TRANSLATE_NOOP("OrinEdit", "黄"), kKeyYellow, 4, 0},
    {1050, u"Refresh", kKeyRefresh, 4, 1},
};

} // namespace

QPoint PanelPosition(const QRect &workArea, const QRect &canvasIn)
{
    QRect canvas = canvasIn;
    // A window off every plausible screen is taken as a default rectangle.
    if (canvas.left() > 3840 || canvas.right() < 0 || canvas.top() > 2160 || canvas.bottom() < 0)
        canvas = QRect(QPoint(100, 100), QPoint(800, 500));
    const int workRight = workArea.x() + workArea.width();
    const int canvasRight = canvas.x() + canvas.width();
    const int canvasBottom = canvas.y() + canvas.height();
    if (canvasRight >= workRight - 120) {
        const int x = workRight - 200;
        const int workBottom = workArea.y() + workArea.height();
        const int y = workBottom - canvasBottom >= 300 ? canvasBottom + 10
                                                       : std::max(0, canvas.y() - 330);
        return QPoint(x, y);
    }
    return QPoint(canvasRight + 10, canvas.y());
}

CDlgPanel::CDlgPanel(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("CDlgPanel"));
    setProperty("resourceId", kPanelResource);
    setWindowTitle(tr("リモコンパネル"));
    setModal(false);
    auto *grid = new QGridLayout(this);
    grid->setSpacing(2);
    for (const KeySpec &key : kKeyButtons) {
        QPushButton *button = AddButton(key.id, UiText(key.caption));
        grid->addWidget(button, key.row, key.column);
        const int code = key.code;
        connect(button, &QPushButton::clicked, this, [this, code] { emit KeyPressed(code); });
    }
    // The digit keys: "1" to "9", "10/0", and "11", "12" which are never enabled.
    for (int i = 0; i < 12; ++i) {
        const QString caption = i < 9 ? QString::number(i + 1)
                                : i == 9 ? QStringLiteral("10/0") : QString::number(i + 1);
        QPushButton *button = AddButton(1027 + i, caption);
        button->setEnabled(false);
        grid->addWidget(button, 5 + i / 3, i % 3);
        if (i < 10) {
            m_digits.append(button);
            const int digit = i + 1;
            connect(button, &QPushButton::clicked, this, [this, digit] { emit DigitPressed(digit); });
        }
    }
    m_linked = new QCheckBox(tr("連動"), this);
    m_linked->setProperty("controlId", 1051);
    m_timers = new QCheckBox(tr("ﾀｲﾏｰ"), this);
    m_timers->setProperty("controlId", 1052);
    grid->addWidget(m_linked, 9, 0, 1, 2);
    grid->addWidget(m_timers, 9, 2);
    connect(m_linked, &QCheckBox::toggled, this, &CDlgPanel::LinkedClicksToggled);
    connect(m_timers, &QCheckBox::toggled, this, &CDlgPanel::TimersToggled);
}

QPushButton *CDlgPanel::AddButton(int controlId, const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    button->setProperty("controlId", controlId);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    m_buttons.append(button);
    return button;
}

QPushButton *CDlgPanel::KeyButton(int code) const
{
    for (const KeySpec &key : kKeyButtons) {
        if (key.code == code)
            return Button(key.id);
    }
    return nullptr;
}

void CDlgPanel::SetKeyCoverage(int code, bool active, const QString &tip)
{
    QPushButton *button = KeyButton(code);
    if (!button)
        return;
    button->setToolTip(tip);
    if (button->property("keyActive").isValid() && button->property("keyActive").toBool() == active)
        return;
    button->setProperty("keyActive", active);
    // Greyed like a disabled button, but enabled: the operator may still press it.
    QPalette palette = this->palette();
    if (!active)
        palette.setColor(QPalette::ButtonText, palette.color(QPalette::Disabled, QPalette::ButtonText));
    button->setPalette(palette);
}

bool CDlgPanel::KeyActive(int code) const
{
    const QPushButton *button = KeyButton(code);
    return button && button->property("keyActive").toBool();
}

QPushButton *CDlgPanel::Button(int controlId) const
{
    for (QPushButton *button : m_buttons) {
        if (button->property("controlId").toInt() == controlId)
            return button;
    }
    return nullptr;
}

void CDlgPanel::SetDigitsEnabled(bool on)
{
    for (QPushButton *button : std::as_const(m_digits))
        button->setEnabled(on);
}

bool CDlgPanel::DigitsEnabled() const
{
    return !m_digits.isEmpty() && m_digits.first()->isEnabled();
}

void CDlgPanel::SetToggles(bool linkedClicks, bool timers)
{
    m_linked->setChecked(linkedClicks);
    m_timers->setChecked(timers);
}

bool CDlgPanel::LinkedClicks() const
{
    return m_linked->isChecked();
}

bool CDlgPanel::Timers() const
{
    return m_timers->isChecked();
}

void CDlgPanel::PlaceBeside(const QRect &workArea, const QRect &canvas)
{
    move(PanelPosition(workArea, canvas));
}

void CDlgPanel::keyPressEvent(QKeyEvent *event)
{
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    int code = -1;
    switch (event->key()) {
    case Qt::Key_Backspace: code = kKeyBack; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: code = kKeyEnter; break;
    case Qt::Key_Up: code = kKeyUp; break;
    case Qt::Key_Down: code = kKeyDown; break;
    case Qt::Key_Left: code = kKeyLeft; break;
    case Qt::Key_Right: code = kKeyRight; break;
    case Qt::Key_Asterisk: code = keypad ? kKeyRed : -1; break;
    case Qt::Key_Plus: code = keypad ? kKeyYellow : -1; break;
    case Qt::Key_Minus: code = keypad ? kKeyGreen : -1; break;
    case Qt::Key_Period: code = keypad ? kKeyData : -1; break;
    case Qt::Key_Slash: code = keypad ? kKeyBlue : -1; break;
    case Qt::Key_Escape:
        event->accept(); // the panel stays open
        return;
    default: break;
    }
    if (code < 0) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    emit KeyPressed(code);
}

} // namespace orin
