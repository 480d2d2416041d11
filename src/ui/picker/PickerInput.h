// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <functional>

class LaunchGate;
class QKeyEvent;
class QMouseEvent;
class QWidget;

/// Which input in the picker's window counts, in one place: input counts for a
/// link only if it began while that link was shown.
///
/// - Keys held down are tracked here (for the launch gate too). The picker
///   takes no repeats but the arrows', so a key pressed for one link, or
///   before the picker came, never acts on the next.
/// - Ctrl and Shift count only when pressed while the picker is up: the
///   modifiers of an event are trimmed to those before the picker sees it.
/// - A mouse gesture belongs to the link it began on: a release whose press
///   came before the link changed is dropped, and so is a press (with its
///   double-click and release) that comes within the double-click interval
///   of the click that changed it, by the events' own times.
/// - Nothing counts while the launch gate refuses input.
class PickerInput : public QObject
{
    Q_OBJECT
public:
    /// Tells `gate` when the keys come up and the window loses the keyboard;
    /// `closed` runs when the user closes the window.
    PickerInput(LaunchGate& gate, std::function<void()> closed, QObject* parent = nullptr);
    ~PickerInput() override;

    /// Filters the input of `window` from now on.
    void watch(QWidget* window);
    /// A new picker came on screen: nothing held before it counts.
    void presented();
    /// Another link took the picker's place in the same window.
    void linkChanged();

    bool keysHeld() const { return !m_keysDown.isEmpty(); }

    /// The physical key of a key event: modifiers change what a key means
    /// (Shift+1 is "!"), not which key it is.
    static quint64 physicalKey(const QKeyEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Tracks `event`, sent to the picker itself (not to its prefix field)
    /// when `toPicker`; returns whether it counts.
    bool key(QKeyEvent* event, bool toPicker);
    bool mouse(QMouseEvent* event);
    void forgetKeys();

    LaunchGate& m_gate;
    std::function<void()> m_closed;
    QPointer<QWidget> m_window;
    QSet<quint64> m_keysDown;
    QHash<quint64, quint64> m_releasedAt; // each key's last release, by its time
    Qt::KeyboardModifiers m_held;         // Ctrl and Shift pressed in the picker
    int m_link = 0;                       // counts the links shown
    int m_pressLink = -1;                 // the link the last counted press began on
    bool m_dropGesture = false;           // the press under way belongs to an older link
    bool m_released = false;              // a release was seen, at m_releasedTime
    quint64 m_releasedTime = 0;
    bool m_clickBeforeChange = false; // the last click came before the link changed
    quint64 m_changeClickTime = 0;
};
