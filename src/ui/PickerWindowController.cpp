#include "ui/PickerWindowController.h"

#include "chrome/ChromeLauncher.h"
#include "platform/Platform.h"
#include "platform/Scheduler.h"
#include "platform/WindowActivation.h"
#include "rules/RuleStore.h"
#include "ui/ProfilePickerView.h"
#include "ui/WindowPlacement.h"

#include <QEvent>
#include <QLayout>
#include <QWidget>

PickerWindowController& PickerWindowController::shared()
{
    static auto* controller =
        new PickerWindowController({&RuleStore::upsert, &ChromeLauncher::open});
    return *controller;
}

PickerWindowController::PickerWindowController(Actions actions, QObject* parent)
    : QObject(parent), m_actions(std::move(actions))
{
}

PickerWindowController::~PickerWindowController()
{
    delete m_window;
}

void PickerWindowController::show(const QString& url, const QList<ChromeProfile>& profiles,
                                  const QString& activationToken)
{
    QPointer<PickerWindowController> self(this);
    auto onSelect = [self, url](const ChromeProfile& profile,
                                const std::optional<QString>& prefix) {
        if (!self)
            return;
        if (prefix)
            self->m_actions.storeRule(*prefix, profile.directoryName);
        // Chrome may take the keyboard from us with a token tied to this choice.
        WindowActivation* activation = Platform::current().windowActivation;
        const QString token = activation->tokenFor(self->m_window);
        self->m_actions.launch(url, profile.directoryName, token);
        if (!self)
            return;
        if (!token.isEmpty() && activation->tokenNeedsItsWindow())
            self->hideOnceChromeHasTheToken();
        else
            self->hide();
    };
    auto onCancel = [self] {
        if (self)
            self->hide();
    };
    auto* content = new ProfilePickerView(url, profiles, onSelect, onCancel);

    m_holding = false;
    WindowPlacement::present(m_window, {u"Orlim", u"picker", false}, content, activationToken);
    m_window->installEventFilter(this);
    m_content = content;
}

void PickerWindowController::hide()
{
    m_holding = false;
    if (m_window)
        m_window->hide();
}

void PickerWindowController::hideOnceChromeHasTheToken()
{
    // A token is honoured only while the window it names still has the
    // keyboard: stay up, taking no more input, until Chrome takes the keyboard
    // or a little while has passed.
    m_holding = true;
    if (m_content)
        m_content->setEnabled(false);
    QPointer<ProfilePickerView> content = m_content;
    Platform::current().scheduler->schedule(std::chrono::milliseconds(tokenHoldMs), this,
                                            [this, content] {
                                                if (m_holding && content == m_content)
                                                    hide();
                                            });
}

bool PickerWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::WindowDeactivate && m_holding)
        hide();
    return QObject::eventFilter(watched, event);
}
