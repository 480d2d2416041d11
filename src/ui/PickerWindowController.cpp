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
    : QObject(parent), m_actions(std::move(actions)), m_launches(std::make_unique<QObject>()),
      m_gate({[this](bool overtaken) { return launchChoice(overtaken); }, [this] { hide(); },
              [this] {
                  // The desktop's word on which window is active, not Qt's
                  // widget bookkeeping.
                  const QWindow* handle = m_window ? m_window->windowHandle() : nullptr;
                  return handle && handle->isActive();
              }})
{
    connect(qGuiApp, &QGuiApplication::focusObjectChanged, &m_gate, &LaunchGate::focusMoved);
}

PickerWindowController::~PickerWindowController()
{
    // Nothing of this object is to be asked about events from here on.
    if (qApp)
        qApp->removeEventFilter(this);
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
        self->m_gate.choose(activation->tokenNeedsItsWindow(),
                            activation->holdsForStartedProgram());
    };
    auto onCancel = [self] {
        if (self)
            self->hide();
    };
    auto* content = new ProfilePickerView(url, profiles, onSelect, onCancel);

    // A choice made for the link shown until now still goes to its browser,
    // though the new link took the window before the choice could settle.
    m_gate.reset();
    m_chosen.reset();
    m_launches = std::make_unique<QObject>(); // the last browser stays where it is
    WindowPlacement::present(m_window, {u"Orlim", u"picker", false}, content, activationToken);
    qApp->installEventFilter(this);
    m_content = content;
    m_gate.focusMoved();
}

void PickerWindowController::hide()
{
    m_gate.cancel();
    m_chosen.reset();
    if (m_window)
        m_window->hide();
}

bool PickerWindowController::launchChoice(bool overtaken)
{
    if (!m_chosen)
        return false;
    // The browser may take the keyboard from us with a token tied to this choice.
    const QString token =
        overtaken ? QString() : Platform::current().windowActivation->tokenFor(m_window);
    const Choice choice = *std::exchange(m_chosen, std::nullopt);
    m_actions.launch(choice.browser, {choice.url, choice.profileDirectory, token, !overtaken,
                                      m_launches.get()});
    return !token.isEmpty();
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
        if (event->type() == QEvent::KeyPress)
            m_gate.keyPressed(ProfilePickerView::physicalKey(key));
        else
            m_gate.keyReleased(ProfilePickerView::physicalKey(key));
        break;
    }
    case QEvent::WindowDeactivate:
        if (watched == m_window)
            m_gate.deactivated();
        break;
    default:
        break;
    }
    // Input is refused here rather than by disabling the content, which would
    // move the focus.
    if (m_gate.refusesInput() && isInput(event->type()) && inPicker())
        return true;
    return QObject::eventFilter(watched, event);
}
