// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PickerWindowController.h"

#include "chrome/ChromeLauncher.h"
#include "platform/Platform.h"
#include "platform/Scheduler.h"
#include "platform/WindowActivation.h"
#include "rules/RuleStore.h"
#include "ui/LinkNotice.h"
#include "ui/ProfilePickerView.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QWidget>
#include <QWindow>

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

/// The physical key: modifiers change what a key means (Shift+1 is "!"), not
/// which key it is.
quint64 physicalKey(const QKeyEvent* key)
{
    return key->nativeScanCode() ? (quint64(1) << 32) | key->nativeScanCode() : quint64(key->key());
}

} // namespace

PickerWindowController& PickerWindowController::shared()
{
    static auto* controller = new PickerWindowController(
        {&RuleStore::upsert,
         [](const ChromeInstallation& browser, const ChromeLauncher::Request& request) {
             ChromeLauncher::open(browser, request, &LinkNotice::show);
         }});
    return *controller;
}

PickerWindowController::PickerWindowController(Actions actions, QObject* parent)
    : QObject(parent), m_actions(std::move(actions)), m_launches(std::make_unique<QObject>())
{
    connect(qGuiApp, &QGuiApplication::focusObjectChanged, this, [this] { unsettle(); });
}

PickerWindowController::~PickerWindowController()
{
    delete m_window;
}

void PickerWindowController::show(const QString& url, const ChromeInstallation& browser,
                                  const QList<ChromeProfile>& profiles,
                                  const QString& activationToken)
{
    QPointer<PickerWindowController> self(this);
    auto onSelect = [self, url, browser](const ChromeProfile& profile,
                                         const std::optional<QString>& prefix) {
        if (!self)
            return;
        if (prefix)
            self->m_actions.storeRule(*prefix, profile.directoryName);
        self->m_chosen = Choice{url, browser, profile.directoryName};
        const WindowActivation* activation = Platform::current().windowActivation;
        if (activation->holdsForStartedProgram())
            self->holdForChrome();
        if (!activation->tokenNeedsItsWindow()) {
            self->launchChoice();
            return;
        }
        // The compositor dates a token from when it is made, and refuses one
        // older than the user's last input: the release of the key that made
        // the choice must come first.
        self->launchWhenReady();
    };
    auto onCancel = [self] {
        if (self)
            self->hide();
    };
    auto* content = new ProfilePickerView(url, profiles, onSelect, onCancel);

    // A choice made for the link shown until now still goes to its browser,
    // though the new link took the window before the choice could settle.
    if (m_chosen)
        launchChoice(true);
    m_launches = std::make_unique<QObject>(); // the last browser stays where it is
    m_holding = false;
    m_keysDown.clear();
    WindowPlacement::present(m_window, {u"Orlim", u"picker", false}, content, activationToken);
    qApp->installEventFilter(this);
    m_content = content;
    unsettle();
}

void PickerWindowController::hide()
{
    m_holding = false;
    m_chosen.reset();
    if (m_window)
        m_window->hide();
}

void PickerWindowController::launchChoice(bool overtaken)
{
    if (!m_chosen)
        return;
    // The browser may take the keyboard from us with a token tied to this choice.
    WindowActivation* activation = Platform::current().windowActivation;
    const QString token = overtaken ? QString() : activation->tokenFor(m_window);
    const Choice choice = *std::exchange(m_chosen, std::nullopt);
    QPointer<PickerWindowController> self(this);
    m_actions.launch(choice.browser, {choice.url, choice.profileDirectory, token, !overtaken,
                                      m_launches.get()});
    // Without a token no compositor hands the browser the keyboard: waiting
    // for it would only keep the picker in the way.
    if (self && !overtaken && (!m_holding || (token.isEmpty() && activation->tokenNeedsItsWindow())))
        hide();
}

void PickerWindowController::launchWhenReady()
{
    // The desktop's word on which window is active, not Qt's widget bookkeeping.
    const QWindow* handle = m_window ? m_window->windowHandle() : nullptr;
    if (m_settled && m_keysDown.isEmpty() && handle && handle->isActive())
        launchChoice();
}

void PickerWindowController::unsettle()
{
    // Qt answers every change of the focus object (the window becoming active,
    // above all) by making a token of its own and activating the window with
    // it. One made after Chrome's makes Chrome's stale, so Chrome's waits until
    // the focus has stayed put a little while.
    m_settled = false;
    Platform::current().scheduler->schedule(std::chrono::milliseconds(settleMs), this,
                                            [this, generation = ++m_focusChanges] {
                                                if (generation != m_focusChanges)
                                                    return;
                                                m_settled = true;
                                                if (m_holding)
                                                    launchWhenReady();
                                            });
}

void PickerWindowController::holdForChrome()
{
    // A token is honoured only while the window it names still has the
    // keyboard: stay up, taking no more input, until Chrome takes the keyboard
    // or a little while has passed.
    m_holding = true;
    QPointer<ProfilePickerView> content = m_content;
    Platform::current().scheduler->schedule(std::chrono::milliseconds(tokenHoldMs), this,
                                            [this, content] {
                                                if (m_holding && content == m_content) {
                                                    launchChoice(); // the key was never released
                                                    hide();
                                                }
                                            });
}

bool PickerWindowController::eventFilter(QObject* watched, QEvent* event)
{
    const auto inPicker = [this, watched] {
        auto* widget = qobject_cast<QWidget*>(watched);
        return m_window && widget && widget->window() == m_window;
    };
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat() || !inPicker())
            break;
        if (event->type() == QEvent::KeyPress) {
            m_keysDown.insert(physicalKey(key));
        } else if (m_keysDown.remove(physicalKey(key)) && m_holding) {
            launchWhenReady();
        }
        break;
    }
    case QEvent::WindowDeactivate:
        if (watched != m_window)
            break;
        // Keys released in another window (the Alt of Alt+Tab) never come back
        // here: forget them, or every later choice would wait for them.
        m_keysDown.clear();
        if (m_holding && !m_chosen)
            hide();
        break;
    default:
        break;
    }
    // Input is refused here rather than by disabling the content, which would
    // move the focus.
    if (m_holding && isInput(event->type()) && inPicker())
        return true;
    return QObject::eventFilter(watched, event);
}
