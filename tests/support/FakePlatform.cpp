// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakePlatform.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

void FakeScheduler::schedule(std::chrono::milliseconds delay, const QObject* context,
                             std::function<void()> task)
{
    m_tasks.emplace(m_now + int(delay.count()), Task{context != nullptr, context, std::move(task)});
}

void FakeScheduler::advance(int ms)
{
    const int until = m_now + ms;
    while (!m_tasks.empty() && m_tasks.begin()->first <= until) {
        auto task = m_tasks.extract(m_tasks.begin());
        m_now = task.key();
        if (!task.mapped().hasContext || task.mapped().context)
            task.mapped().run();
    }
    m_now = until;
}

void FakeScheduler::runAll()
{
    while (!m_tasks.empty())
        advance(m_tasks.rbegin()->first - m_now);
}

void FakeWindowActivation::present(QWidget* window, const QString& token)
{
    presentedWith.append(token);
    window->show();
    if (activates)
        window->activateWindow();
}

void FakeDefaultBrowser::setHandler(const QString& scheme, const QString& desktopId,
                                    std::function<void()> done)
{
    requests.append(scheme + u'=' + desktopId);
    if (scheme == u"https")
        httpsHandler = desktopId;
    if (done)
        scheduler.schedule(
            std::chrono::milliseconds(httpsCompletesAfterMs * (scheme == u"https" ? 1 : 2)),
            nullptr, std::move(done));
}

Platform FakePlatform::services()
{
    return {&files,     &applications,     &processes,     &chromeWindows, &defaultBrowser,
            &scheduler, &windowActivation, &notifications, &colorScheme};
}

QString FakePlatform::chromeDirectory() const
{
    return browsers.find().value_or(ChromeInstallation()).dataDirectory;
}

void FakePlatform::writeLocalState(const QByteArray& json) const
{
    writeFile(ChromeProfiles::localStateURL(chromeDirectory()), json);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

static void setVariable(const char* name, const std::optional<QByteArray>& value)
{
    value ? qputenv(name, *value) : qunsetenv(name);
}

ScopedVariable::ScopedVariable(const char* name, const std::optional<QByteArray>& value)
    : name(name),
      saved(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
{
    setVariable(name, value);
}

ScopedVariable::~ScopedVariable()
{
    setVariable(name, saved);
}

QList<ChromeProfile> profiles(int count)
{
    QList<ChromeProfile> list;
    for (int i = 0; i < count; ++i)
        list.append({u"Profile " + QString::number(i), u"Name " + QString::number(i), {}, {}, {}});
    return list;
}
