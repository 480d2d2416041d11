// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/PickerInput.h"

#include "ui/picker/LaunchGate.h"
#include "ui/picker/ProfilePickerView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWidget>

namespace {

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    // What the input method commits moves the highlight, as keys do.
    case QEvent::InputMethod:
    // The pointer too: nothing moves, and a screen reader announces nothing
    // new, while Orlim waits for Chrome.
    case QEvent::MouseMove:
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave:
    case QEvent::Enter:
    case QEvent::Leave:
        return true;
    default:
        return false;
    }
}

Qt::KeyboardModifiers modifierOf(int key)
{
    switch (key) {
    case Qt::Key_Control:
        return Qt::ControlModifier;
    case Qt::Key_Shift:
        return Qt::ShiftModifier;
    default:
        return Qt::NoModifier;
    }
}

constexpr Qt::KeyboardModifiers tracked = Qt::ControlModifier | Qt::ShiftModifier;

} // namespace

PickerInput::PickerInput(LaunchGate& gate, std::function<void()> closed, QObject* parent)
    : QObject(parent), m_gate(gate), m_closed(std::move(closed))
{
}

PickerInput::~PickerInput()
{
    // Nothing of this object is to be asked about events from here on.
    if (qApp)
        qApp->removeEventFilter(this);
}

void PickerInput::watch(QWidget* window)
{
    m_window = window;
    qApp->installEventFilter(this);
}

void PickerInput::presented()
{
    forgetKeys();
    linkChanged();
}

void PickerInput::linkChanged()
{
    ++m_link;
    // The click that chose ends just before the change; the second click of a
    // double-click may follow.
    m_clickBeforeChange = m_released;
    m_changeClickTime = m_releasedTime;
}

void PickerInput::forgetKeys()
{
    m_keysDown.clear();
    m_held = Qt::NoModifier;
}

quint64 PickerInput::physicalKey(const QKeyEvent* event)
{
    return event->nativeScanCode() ? (quint64(1) << 32) | event->nativeScanCode()
                                   : quint64(event->key());
}

bool PickerInput::key(QKeyEvent* event, bool toPicker)
{
    const quint64 key = physicalKey(event);
    if (event->type() == QEvent::KeyRelease) {
        if (event->isAutoRepeat())
            return true;
        m_releasedAt.insert(key, event->timestamp());
        m_held &= ~modifierOf(event->key());
        if (m_keysDown.remove(key) && m_keysDown.isEmpty())
            m_gate.keysReleased();
        return true;
    }
    // X11 repeats a key as a release and a press of the same time; Qt tells
    // them from real presses only when both are already queued, which a busy
    // machine does not promise, so the time is compared here too.
    const bool repeated = event->isAutoRepeat() || (event->timestamp() != 0 &&
                                                    m_releasedAt.value(key) == event->timestamp());
    if (repeated && toPicker)
        return event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
    if (repeated)
        return true; // a key held in the prefix field types on
    m_keysDown.insert(key);
    m_held |= modifierOf(event->key());
    event->setModifiers(event->modifiers() & ~(tracked & ~m_held));
    return true;
}

bool PickerInput::mouse(QMouseEvent* event)
{
    event->setModifiers(event->modifiers() & ~(tracked & ~m_held));
    const bool ofChangingClick =
        m_clickBeforeChange &&
        event->timestamp() - m_changeClickTime <=
            quint64(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_dropGesture = ofChangingClick;
        if (!m_dropGesture) {
            m_pressLink = m_link;
            m_clickBeforeChange = false;
        }
        return !m_dropGesture;
    case QEvent::MouseButtonDblClick:
        m_dropGesture = m_dropGesture || ofChangingClick;
        return !m_dropGesture;
    case QEvent::MouseButtonRelease: {
        const bool counts = !m_dropGesture && m_pressLink == m_link;
        m_dropGesture = false;
        m_released = true;
        m_releasedTime = event->timestamp();
        return counts;
    }
    default:
        return true;
    }
}

bool PickerInput::eventFilter(QObject* watched, QEvent* event)
{
    if (m_window && watched == m_window) {
        if (event->type() == QEvent::WindowDeactivate) {
            // Keys released in another window (the Alt of Alt+Tab) never come
            // back here: forget them, or every later choice would wait for them.
            forgetKeys();
            m_gate.deactivated();
        } else if (event->type() == QEvent::Close) {
            m_closed();
        }
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!m_window || !widget || widget->window() != m_window)
        return QObject::eventFilter(watched, event);
    bool counts = true;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        counts = key(static_cast<QKeyEvent*>(event), qobject_cast<ProfilePickerView*>(watched));
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        counts = mouse(static_cast<QMouseEvent*>(event));
        break;
    default:
        break;
    }
    // Input is refused here rather than by disabling the content, which would
    // move the focus.
    return !counts || (m_gate.refusesInput() && isInput(event->type()));
}
