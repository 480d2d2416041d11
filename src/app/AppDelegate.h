#pragma once

#include "chrome/ChromeProfile.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class MenuBarController;

/// The application's launch-time duties and the routing of every link: to
/// Chrome's "Default" profile when Chrome has none, to a rule's profile when
/// rules are on and one fits, and to the picker otherwise.
class AppDelegate : public QObject
{
    Q_OBJECT
public:
    /// How long after launch the settings open by themselves, unless a link came.
    static constexpr int settingsCheckDelayMs = 300;

    /// Where routing and launch hand over. The defaults are the shared picker
    /// and settings windows; tests put in their own.
    struct Windows
    {
        std::function<void(const QString& url, const QList<ChromeProfile>& profiles)> showPicker;
        std::function<void()> showSettings;
    };

    explicit AppDelegate(QObject* parent = nullptr);
    AppDelegate(Windows windows, QObject* parent = nullptr);
    ~AppDelegate() override;

    /// Installs the tray item and schedules the settings check.
    void applicationDidFinishLaunching();
    /// Orlim was started again without a link: shows the settings.
    bool applicationShouldHandleReopen();
    /// Routes `urls` one by one, in order.
    void openURLs(const QStringList& urls);

    bool didReceiveURL() const { return m_didReceiveURL; }

private:
    void handleIncoming(const QString& urlString);

    Windows m_windows;
    std::unique_ptr<MenuBarController> m_menuBar;
    bool m_didReceiveURL = false;
};
