#include "ui/PickerWindowController.h"

#include "chrome/ChromeLauncher.h"
#include "rules/RuleStore.h"
#include "ui/ProfilePickerView.h"
#include "ui/WindowPlacement.h"

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

void PickerWindowController::show(const QString& url, const QList<ChromeProfile>& profiles)
{
    QPointer<PickerWindowController> self(this);
    auto onSelect = [self, url](const ChromeProfile& profile,
                                const std::optional<QString>& prefix) {
        if (!self)
            return;
        if (prefix)
            self->m_actions.storeRule(*prefix, profile.directoryName);
        self->m_actions.launch(url, profile.directoryName);
        if (self)
            self->hide();
    };
    auto onCancel = [self] {
        if (self)
            self->hide();
    };
    auto* content = new ProfilePickerView(url, profiles, onSelect, onCancel);

    WindowPlacement::present(m_window, {u"Orlim", u"picker", false}, content);
    m_content = content;
}

void PickerWindowController::hide()
{
    if (m_window)
        m_window->hide();
}
