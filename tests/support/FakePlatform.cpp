// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakePlatform.h"

#include "chrome/ChromeInstallation.h"
#include "chrome/ChromeProfiles.h"

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
        m_scheduler.schedule(
            std::chrono::milliseconds(httpsCompletesAfterMs * (scheme == u"https" ? 1 : 2)),
            nullptr, std::move(done));
}

ApplicationDirectory::Entry desktopEntry(const QString& name, const QString& exec)
{
    ApplicationDirectory::Entry entry;
    entry.name = name;
    entry.exec = exec;
    return entry;
}

FakePlatform::FakePlatform() : files(root.path()), defaultBrowser(scheduler) {}

Platform FakePlatform::services()
{
    return {&files,     &applications,     &processes,     &chromeWindows, &defaultBrowser,
            &scheduler, &windowActivation, &notifications, &colorScheme};
}

QString FakePlatform::chromeDirectory() const
{
    const auto served = browsers.find();
    return served ? served->dataDirectory : QString();
}

ChromeProfileInfo FakePlatform::catalogue() const
{
    return ChromeProfiles::load(*browsers.find());
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

ScopedVariable::ScopedVariable(const char* name, const std::optional<QByteArray>& value)
    : m_name(name)
{
    if (qEnvironmentVariableIsSet(name))
        m_saved = qgetenv(name);
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

ScopedVariable::~ScopedVariable()
{
    if (m_saved)
        qputenv(m_name, *m_saved);
    else
        qunsetenv(m_name);
}

QList<ChromeProfile> profiles(int count)
{
    QList<ChromeProfile> list;
    for (int i = 0; i < count; ++i)
        list.append({u"Profile " + QString::number(i), u"Name " + QString::number(i), {}, {}, {}});
    return list;
}
