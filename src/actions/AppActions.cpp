// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/AppActions.h"

#include "platform/AppInfo.h"
#include "platform/DefaultBrowser.h"
#include "text/CanonicalText.h"

#include <QCoreApplication>
#include <iterator>
#include <memory>

namespace AppActions {

namespace {

/// What a web browser opens. Orlim opens the two schemes' links, and an HTML
/// file as a link (file:), in the chosen profile; xdg-settings asks for all
/// three before it calls Orlim the web browser on X11 desktops other than
/// GNOME's, and on KDE's.
constexpr const char16_t* openedTypes[] = {u"x-scheme-handler/http", u"x-scheme-handler/https",
                                           u"text/html"};

} // namespace

void setAsDefaultBrowser(DefaultBrowser& browser, std::function<void()> completion)
{
    // The group: a count of outstanding requests whose last completion calls back.
    struct Group
    {
        int pending;
        std::function<void()> completion;
    };
    auto group = std::make_shared<Group>(Group{int(std::size(openedTypes)), std::move(completion)});
    const auto leave = [group] {
        if (--group->pending == 0 && group->completion)
            group->completion();
    };
    const QString id = QString::fromUtf16(AppInfo::desktopId);
    for (const char16_t* type : openedTypes)
        browser.setHandler(QString::fromUtf16(type), id, leave);
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
