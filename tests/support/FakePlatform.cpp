#include "FakePlatform.h"

#include "chrome/ChromeProfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWidget>
#include <algorithm>

void FakeScheduler::schedule(std::chrono::milliseconds delay, const QObject* context,
                             std::function<void()> task)
{
    delays.push_back(int(delay.count()));
    m_tasks.push_back({m_now + int(delay.count()), m_sequence++, context != nullptr,
                       QPointer<const QObject>(context), std::move(task)});
}

void FakeScheduler::advance(int ms)
{
    const int until = m_now + ms;
    for (;;) {
        auto next =
            std::min_element(m_tasks.begin(), m_tasks.end(), [](const Task& a, const Task& b) {
                return a.due != b.due ? a.due < b.due : a.sequence < b.sequence;
            });
        if (next == m_tasks.end() || next->due > until)
            break;
        Task task = std::move(*next);
        m_tasks.erase(next);
        m_now = task.due;
        if (!task.hasContext || task.context)
            task.run();
    }
    m_now = until;
}

void FakeScheduler::runAll()
{
    while (!m_tasks.empty())
        advance(std::max_element(m_tasks.begin(), m_tasks.end(),
                                 [](const Task& a, const Task& b) { return a.due < b.due; })
                    ->due -
                m_now);
}

void FakeWindowActivation::present(QWidget* window, const QString& token)
{
    presentedWith.append(token);
    window->show();
    window->raise();
    window->activateWindow();
}

void FakeDefaultBrowser::setHandler(const QString& scheme, const QString& desktopId,
                                    std::function<void()> done)
{
    requests.append(scheme + u'=' + desktopId);
    if (acceptsRequests && scheme == u"https")
        httpsHandler = desktopId;
    if (done)
        m_scheduler.schedule(std::chrono::milliseconds(scheme == u"https"
                                                           ? httpsCompletesAfterMs
                                                           : 2 * httpsCompletesAfterMs),
                             nullptr, std::move(done));
}

FakePlatform::FakePlatform()
    : files(m_dir.path()), defaultBrowser(scheduler),
      m_scope(Platform{&files, &applications, &processes, &chromeWindows, &defaultBrowser,
                       &scheduler, &windowActivation})
{
}

QString FakePlatform::chromeDirectory() const
{
    return ChromeProfiles::chromeDirectory();
}

void FakePlatform::writeLocalState(const QByteArray& json) const
{
    writeFile(chromeDirectory() + u"/Local State", json);
}

void FakePlatform::writeProfiles(const QStringList& directories) const
{
    QJsonObject cache;
    QJsonArray order;
    for (const QString& directory : directories) {
        cache.insert(directory,
                     QJsonObject{{QStringLiteral("name"), QString(u"Name of " + directory)}});
        order.append(directory);
    }
    const QJsonObject profile{{QStringLiteral("info_cache"), cache},
                              {QStringLiteral("profiles_order"), order}};
    writeLocalState(QJsonDocument(QJsonObject{{QStringLiteral("profile"), profile}}).toJson());
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
