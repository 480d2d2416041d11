// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/PickerWindowController.h"

#include "chrome/ChromeLauncher.h"
#include "platform/Scheduler.h"
#include "platform/WindowActivation.h"
#include "ui/picker/ProfilePickerView.h"
#include "ui/window/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QWidget>
#include <QWindow>
#include <algorithm>

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

PickerWindowController::PickerWindowController(Actions actions,
                                               WindowPlacement::Presenter presenter,
                                               Scheduler& scheduler, QObject* parent)
    : QObject(parent), m_actions(std::move(actions)), m_presenter(presenter),
      m_launches(std::make_unique<QObject>()),
      m_gate({[this](bool overtaken) {
                  if (!m_chosen)
                      return false;
                  return launch(*std::exchange(m_chosen, std::nullopt), overtaken);
              },
              [this] { hide(); },
              [this] {
                  // The desktop's word on which window is active, not Qt's
                  // widget bookkeeping.
                  const QWindow* handle = m_window ? m_window->windowHandle() : nullptr;
                  return handle && handle->isActive();
              }},
             scheduler)
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
    // The token is spent on the picker's window at once, whether the link is
    // shown or waits.
    Link link{url, browser, profiles};
    if (m_asking) {
        // Clicked in another window: the picker comes back to the front, and
        // the token is spent.
        if (!activationToken.isEmpty())
            m_presenter.activation.present(m_window, activationToken);
        // Links of a burst mostly find the same profiles: one copy serves them.
        if (!m_waiting.empty() && m_waiting.back().profiles == link.profiles)
            link.profiles = m_waiting.back().profiles;
        m_waiting.push_back(std::move(link));
        m_content->setWaiting(waiting());
        return;
    }
    ProfilePickerView* content = pickerFor(link);
    // A choice made for the link shown until now still goes to its browser,
    // though the new link took the window before the choice could settle.
    m_gate.reset();
    m_chosen.reset();
    m_launches = std::make_unique<QObject>(); // the last browser stays where it is
    m_presenter.present(m_window, {u"Orlim", u"picker", false}, content, activationToken);
    qApp->installEventFilter(this);
    m_content = content;
    m_asking = true;
    m_gate.focusMoved();
}

ProfilePickerView* PickerWindowController::pickerFor(const Link& link)
{
    QPointer<PickerWindowController> self(this);
    auto onSelect = [self, link](const ChromeProfile& profile, const std::optional<QString>& prefix,
                                 ProfilePickerModel::Manner manner) {
        if (self && self->m_asking)
            self->chosen(link, profile, prefix, manner);
    };
    auto onCancel = [self](bool everyWaitingLink) {
        if (self && self->m_asking)
            self->dropped(everyWaitingLink);
    };
    auto* content = new ProfilePickerView(link.url, link.profiles, onSelect, onCancel);
    content->setWaiting(waiting());
    return content;
}

void PickerWindowController::chosen(const Link& link, const ChromeProfile& profile,
                                    const std::optional<QString>& prefix,
                                    ProfilePickerModel::Manner manner)
{
    m_asking = false;
    if (prefix)
        m_actions.storeRule(*prefix, profile.directoryName);
    m_decided.append({link.url, link.browser, profile.directoryName, manner.privateWindow});
    if (manner.everyWaitingLink) {
        // Only where the profile was offered: a link whose browser has no such
        // profile keeps its turn.
        const auto offered = [&](const Link& waiting) {
            return std::any_of(
                waiting.profiles.begin(), waiting.profiles.end(),
                [&](const ChromeProfile& p) { return p.directoryName == profile.directoryName; });
        };
        for (auto it = m_waiting.begin(); it != m_waiting.end();) {
            if (!offered(*it)) {
                ++it;
                continue;
            }
            m_decided.append({it->url, it->browser, profile.directoryName, manner.privateWindow});
            it = m_waiting.erase(it);
        }
    }
    next();
}

void PickerWindowController::dropped(bool everyWaitingLink)
{
    m_asking = false;
    if (everyWaitingLink)
        m_waiting.clear();
    next();
}

void PickerWindowController::next()
{
    if (!m_waiting.empty()) {
        showNext();
        return;
    }
    if (m_decided.isEmpty()) {
        hide();
        return;
    }
    // The choices start in the order of their links, the last one with the
    // browser brought to the front; none started while the picker still asked,
    // so no browser window took the keyboard from it.
    m_chosen = m_decided.takeLast();
    for (const Choice& choice : std::exchange(m_decided, {}))
        launch(choice, true);
    m_gate.choose(m_presenter.activation.tokenNeedsItsWindow(),
                  m_presenter.activation.holdsForStartedProgram());
}

void PickerWindowController::showNext()
{
    Link link = std::move(m_waiting.front());
    m_waiting.pop_front();
    ProfilePickerView* content = pickerFor(link);
    if (m_content)
        content->keepHeldModifiers(*m_content);
    WindowPlacement::replaceContent(m_window, content);
    m_content = content;
    m_asking = true;
}

void PickerWindowController::hide()
{
    m_asking = false;
    m_gate.cancel();
    m_chosen.reset();
    if (m_window)
        m_window->hide();
}

bool PickerWindowController::launch(const Choice& choice, bool overtaken)
{
    // The browser may take the keyboard from us with a token tied to this choice.
    const QString token = overtaken ? QString() : m_presenter.activation.tokenFor(m_window);
    m_actions.launch(choice.browser, {.url = choice.url,
                                      .profileDirectory = choice.profileDirectory,
                                      .activationToken = token,
                                      .toFront = !overtaken,
                                      .owner = m_launches.get(),
                                      .privateWindow = choice.privateWindow});
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
    case QEvent::Close:
        // Closing the window drops every link still waiting for a choice.
        if (watched == m_window && m_asking)
            dropped(true);
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
