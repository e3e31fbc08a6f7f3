// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QList>
#include <QRect>

class QCheckBox;
class QPushButton;

// The floating remote-control panel of the preview: the receiver's keys, the digit keys (usable
// only while digit entry is on) and the two switches "連動" (linked clicks) and "ﾀｲﾏｰ" (timers).
// It only reports what was pressed; the canvas decides what happens.

namespace orin {

// Where the panel goes for the canvas window's screen rectangle: beside the canvas on the right,
// or, when the canvas reaches the right of the work area, at its right end below (or above) it.
QPoint PanelPosition(const QRect &workArea, const QRect &canvas);

class CDlgPanel : public QDialog {
    Q_OBJECT
public:
    explicit CDlgPanel(QWidget *parent = nullptr);

    void SetDigitsEnabled(bool on);
    bool DigitsEnabled() const;
    void SetToggles(bool linkedClicks, bool timers);
    bool LinkedClicks() const;
    bool Timers() const;
    // Places the panel for the canvas rectangle (screen coordinates) in the work area.
    void PlaceBeside(const QRect &workArea, const QRect &canvas);

    // The button with that control id (1027..1052), or null.
    QPushButton *Button(int controlId) const;
    // The button that sends key `code`, or null.
    QPushButton *KeyButton(int code) const;
    // Shows whether key `code` would do anything now: a key that would not is greyed out but
    // stays clickable; `tip` says what it would do.
    void SetKeyCoverage(int code, bool active, const QString &tip);
    bool KeyActive(int code) const;
    QCheckBox *LinkedClicksBox() const { return m_linked; }
    QCheckBox *TimersBox() const { return m_timers; }

signals:
    void KeyPressed(int code);
    void DigitPressed(int digit);
    void LinkedClicksToggled(bool on);
    void TimersToggled(bool on);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPushButton *AddButton(int controlId, const QString &caption);

    QList<QPushButton *> m_buttons;
    QList<QPushButton *> m_digits;
    QCheckBox *m_linked = nullptr;
    QCheckBox *m_timers = nullptr;
};

} // namespace orin
