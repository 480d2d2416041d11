#include "ui/SettingsWindowController.h"

#include "ui/WindowPlacement.h"
#include "ui/WindowShortcuts.h"

#include <QWidget>

SettingsWindowController& SettingsWindowController::shared()
{
    static auto* controller = new SettingsWindowController;
    return *controller;
}

SettingsWindowController::SettingsWindowController(QObject* parent) : QObject(parent) {}

SettingsWindowController::~SettingsWindowController()
{
    delete m_window;
}

void SettingsWindowController::show()
{
    auto* content = new SettingsView;
    if (!m_window) {
        m_window = new QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                            Qt::WindowCloseButtonHint |
                                            Qt::WindowMinimizeButtonHint | Qt::WindowStaysOnTopHint);
        m_window->setWindowTitle(QStringLiteral("Orlim 設定"));
        m_window->setObjectName(QStringLiteral("settings"));
        WindowShortcuts::install(m_window);
    }
    WindowPlacement::replaceContent(m_window, content);
    m_content = content;
    WindowPlacement::centreOnPointerScreen(m_window);
    WindowPlacement::bringToFront(m_window); // the content loads as it comes on screen
}
