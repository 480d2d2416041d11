// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/PickerWindowController.h"

#include "browser/ChromeLauncher.h"
#include "platform/AppInfo.h"
#include "platform/Scheduler.h"
#include "platform/WindowActivation.h"
#include "rules/RuleStore.h"
#include "ui/picker/ProfilePickerView.h"
#include "ui/window/WindowPlacement.h"

#include <QGuiApplication>
#include <QLayout>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace {

/// Links of a burst mostly find the same profiles: `link` takes `before`'s
/// lists where they are the same, so that one copy serves them.
void shareProfiles(ProfilePickerModel::Groups& link, const ProfilePickerModel::Groups& before)
{
    for (qsizetype i = 0; i < std::min(link.size(), before.size()); ++i) {
        if (link.at(i).profiles == before.at(i).profiles)
            link[i].profiles = before.at(i).profiles;
    }
}

} // namespace

PickerWindowController::PickerWindowController(const ChromeLauncher& launcher, RuleStore& rules,
                                               NotOpened& notOpened,
                                               WindowPlacement::Presenter presenter,
                                               Scheduler& scheduler, QObject* parent)
    : QObject(parent), m_launcher(launcher), m_rules(rules), m_notOpened(notOpened),
      m_presenter(presenter), m_scheduler(scheduler), m_launches(std::make_unique<QObject>()),
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
              },
              [this] { return m_input.keysHeld(); }},
             scheduler),
      m_input(m_gate, [this] {
          // Closing the window drops every link still waiting for a choice.
          if (m_asking)
              dropped(true);
      })
{
    connect(qGuiApp, &QGuiApplication::focusObjectChanged, &m_gate, &LaunchGate::focusMoved);
}

PickerWindowController::~PickerWindowController()
{
    // Nothing of this object is to be asked about events from here on.
    if (qApp)
        qApp->removeEventFilter(&m_input);
    // The window going with Orlim brings nothing up in its place.
    disconnect(this, &PickerWindowController::up, nullptr, nullptr);
    delete m_window;
}

void PickerWindowController::show(const WrappedLink& url, const ProfilePickerModel::Groups& groups,
                                  const QString& activationToken)
{
    // The token is spent on the picker's window at once, whether the link is
    // shown or waits.
    Link link{url, groups, std::nullopt};
    if (m_asking) {
        // Clicked in another window: the picker comes back to the front, and
        // the token is spent.
        if (!activationToken.isEmpty())
            m_presenter.activation.present(m_window, activationToken);
        if (!m_waiting.empty())
            shareProfiles(link.groups, m_waiting.back().groups);
        m_waiting.push_back(std::move(link));
        m_content->setWaiting(++m_toAsk);
        return;
    }
    ProfilePickerView* content = pickerFor(link);
    // A choice made for the link shown until now still goes to its browser,
    // though the new link took the window before the choice could settle.
    m_gate.reset();
    m_input.presented();
    m_chosen.reset();
    m_launches = std::make_unique<QObject>(); // the last browser stays where it is
    const bool created = !m_window;
    m_presenter.present(m_window, {AppInfo::name, u"picker", false}, content, activationToken);
    if (created) {
        connect(m_window->windowHandle(), &QWindow::visibleChanged, this,
                &PickerWindowController::up);
        Q_EMIT up(true);
    }
    m_input.watch(m_window);
    m_content = content;
    m_asking = true;
    m_gate.focusMoved();
}

bool PickerWindowController::openInTurn(const QString& url, const BrowserInstallation& browser,
                                        const QString& profileDirectory)
{
    if (m_asking) {
        m_waiting.push_back({url, {}, Choice{url, browser, profileDirectory, false}});
        return true;
    }
    if (!m_chosen)
        return false;
    // The last choice still waits to start: this one goes first, left where
    // it is, so that the browser chosen comes to the front.
    launch({url, browser, profileDirectory, false}, true);
    return true;
}

ProfilePickerView* PickerWindowController::pickerFor(const Link& link)
{
    QPointer<PickerWindowController> self(this);
    auto onSelect = [self, link](const BrowserInstallation& browser, const ChromeProfile& profile,
                                 const std::optional<QString>& prefix,
                                 ProfilePickerModel::Manner manner) {
        if (self && self->m_asking)
            self->chosen(link, browser, profile, prefix, manner);
    };
    auto onCancel = [self](bool everyWaitingLink) {
        if (self && self->m_asking)
            self->dropped(everyWaitingLink);
    };
    auto* content = new ProfilePickerView(link.url, link.groups, onSelect, onCancel);
    content->setWaiting(waiting());
    content->findByTyping(m_scheduler);
    return content;
}

void PickerWindowController::chosen(const Link& link, const BrowserInstallation& browser,
                                    const ChromeProfile& profile,
                                    const std::optional<QString>& prefix,
                                    ProfilePickerModel::Manner manner)
{
    m_asking = false;
    if (prefix)
        m_rules.upsert(*prefix, profile.directoryName, browser.desktopId);
    m_decided.append({link.url.opened(), browser, profile.directoryName, manner.privateWindow});
    if (manner.everyWaitingLink) {
        // Only where the same browser offered the profile: a link whose
        // browsers have no such profile keeps its turn. Each goes to that
        // browser as looked up for it.
        const auto offeredBy = [&](const Link& waiting) -> const BrowserInstallation* {
            if (waiting.decided)
                return nullptr;
            for (const ChromeProfiles::BrowserProfiles& group : waiting.groups) {
                if (group.browser.desktopId == browser.desktopId &&
                    std::any_of(group.profiles.begin(), group.profiles.end(),
                                [&](const ChromeProfile& p) {
                                    return p.directoryName == profile.directoryName;
                                }))
                    return &group.browser;
            }
            return nullptr;
        };
        for (auto it = m_waiting.begin(); it != m_waiting.end();) {
            const BrowserInstallation* offering = offeredBy(*it);
            if (!offering) {
                ++it;
                continue;
            }
            m_decided.append(
                {it->url.opened(), *offering, profile.directoryName, manner.privateWindow});
            it = m_waiting.erase(it);
            --m_toAsk;
        }
    }
    next();
}

void PickerWindowController::dropped(bool everyWaitingLink)
{
    m_asking = false;
    // Links that need no choice were never the user's to drop.
    if (everyWaitingLink) {
        std::erase_if(m_waiting, [](const Link& link) { return !link.decided; });
        m_toAsk = 0;
    }
    next();
}

void PickerWindowController::next()
{
    // Links that need no choice go with the choices made, in their turn.
    for (; !m_waiting.empty() && m_waiting.front().decided; m_waiting.pop_front())
        m_decided.append(*m_waiting.front().decided);
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
    --m_toAsk;
    ProfilePickerView* content = pickerFor(link);
    WindowPlacement::replaceContent(m_window, content);
    m_input.linkChanged();
    content->flagNewLink();
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
    m_launcher.openChosen(choice.browser,
                          {.url = choice.url,
                           .profileDirectory = choice.profileDirectory,
                           .activationToken = token,
                           .toFront = !overtaken,
                           .owner = m_launches.get(),
                           .privateWindow = choice.privateWindow},
                          &m_notOpened);
    return !token.isEmpty();
}
