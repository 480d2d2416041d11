// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/AppActions.h"

#include "platform/AppInfo.h"
#include "platform/DefaultBrowser.h"
#include "text/CanonicalText.h"

#include <QCoreApplication>
#include <memory>

namespace AppActions {

void setAsDefaultBrowser(DefaultBrowser& browser, std::function<void()> completion)
{
    // The group: a count of outstanding requests whose last completion calls back.
    struct Group
    {
        int pending = 2;
        std::function<void()> completion;
    };
    auto group = std::make_shared<Group>(Group{2, std::move(completion)});
    const auto leave = [group] {
        if (--group->pending == 0 && group->completion)
            group->completion();
    };
    const QString id = QString::fromUtf16(AppInfo::desktopId);
    browser.setHandler(QStringLiteral("http"), id, leave);
    browser.setHandler(QStringLiteral("https"), id, leave);
}

bool isDefaultBrowser(const DefaultBrowser& browser)
{
    const auto handler = browser.handler(QStringLiteral("https"));
    return handler && CanonicalText::equal(*handler, QString::fromUtf16(AppInfo::desktopId));
}

void quit()
{
    QCoreApplication::quit();
}

} // namespace AppActions
