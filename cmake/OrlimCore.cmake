# SPDX-License-Identifier: GPL-3.0-or-later
# The core library: everything but main.cpp. It is built once as configured and,
# for the tests, once more with the rules switch flipped, so code behind the
# switch is tested in both states.
set(ORLIM_CORE_SOURCES
    ${PROJECT_SOURCE_DIR}/src/app/AppDelegate.cpp
    ${PROJECT_SOURCE_DIR}/src/app/LinkRouter.cpp
    ${PROJECT_SOURCE_DIR}/src/app/Application.cpp
    ${PROJECT_SOURCE_DIR}/src/app/CommandLine.cpp
    ${PROJECT_SOURCE_DIR}/src/app/Options.cpp
    ${PROJECT_SOURCE_DIR}/src/instance/LinkServer.cpp
    ${PROJECT_SOURCE_DIR}/src/browser/BrowserChoice.cpp
    ${PROJECT_SOURCE_DIR}/src/text/CanonicalText.cpp
    ${PROJECT_SOURCE_DIR}/src/text/FoldedText.cpp
    ${PROJECT_SOURCE_DIR}/src/browser/BrowserInstallation.cpp
    ${PROJECT_SOURCE_DIR}/src/browser/ChromeLauncher.cpp
    ${PROJECT_SOURCE_DIR}/src/browser/ChromeProfile.cpp
    ${PROJECT_SOURCE_DIR}/src/browser/ChromeProfiles.cpp
    ${PROJECT_SOURCE_DIR}/src/browser/firefox/FirefoxProfiles.cpp
    ${PROJECT_SOURCE_DIR}/src/browser/firefox/ProfileGroupStore.cpp
    ${PROJECT_SOURCE_DIR}/src/browser/HiddenProfiles.cpp
    ${PROJECT_SOURCE_DIR}/src/actions/AppActions.cpp
    ${PROJECT_SOURCE_DIR}/src/platform/AppInfo.cpp
    ${PROJECT_SOURCE_DIR}/src/text/ArgumentText.cpp
    ${PROJECT_SOURCE_DIR}/src/text/DesktopCommand.cpp
    ${PROJECT_SOURCE_DIR}/src/text/WrappedLink.cpp
    ${PROJECT_SOURCE_DIR}/src/platform/FileLayout.cpp
    ${PROJECT_SOURCE_DIR}/src/platform/Platform.cpp
    ${PROJECT_SOURCE_DIR}/src/rules/ProfileRule.cpp
    ${PROJECT_SOURCE_DIR}/src/rules/RuleStore.cpp
    ${PROJECT_SOURCE_DIR}/src/rules/RulesFile.cpp
    ${PROJECT_SOURCE_DIR}/src/rules/SitePrefix.cpp
    ${PROJECT_SOURCE_DIR}/src/rules/WrappedLinkSetting.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/look/Accessibility.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/look/Appearance.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/settings/DefaultBrowserStatus.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/look/ElidedLabel.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/look/Icons.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/picker/LaunchGate.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/picker/PickerInput.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/look/LinkLabel.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/notice/LinkNotice.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/notice/LostLinkList.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/notice/LostLinks.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/tray/MenuBarController.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/look/Palette.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/picker/PickerWindowController.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/look/ProfileAvatarView.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/picker/ProfilePickerModel.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/picker/ProfilePickerView.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/picker/ProfileRow.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/picker/TypeToFind.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/settings/BrowserList.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/settings/SettingsModel.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/settings/SettingsView.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/settings/SettingsWindowController.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/settings/WrappedLinkSection.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/window/TitleBar.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/look/Typography.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/look/Widgets.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/window/WindowPlacement.cpp
    ${PROJECT_SOURCE_DIR}/src/ui/window/WindowShortcuts.cpp
    ${PROJECT_SOURCE_DIR}/resources/orlim.qrc
)
# The platform's services for the system this build is for, chosen here: one
# file in the folder defines Platform::forThisSystem.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    list(APPEND ORLIM_CORE_SOURCES
        ${PROJECT_SOURCE_DIR}/src/platform/linux/DBusNotifications.cpp
        ${PROJECT_SOURCE_DIR}/src/platform/linux/DetachedProcessLauncher.cpp
        ${PROJECT_SOURCE_DIR}/src/platform/linux/GioApplicationDirectory.cpp
        ${PROJECT_SOURCE_DIR}/src/platform/linux/GnomeInterfaceSettings.cpp
        ${PROJECT_SOURCE_DIR}/src/platform/linux/GioDefaultBrowser.cpp
        ${PROJECT_SOURCE_DIR}/src/platform/linux/LinuxPlatform.cpp
        ${PROJECT_SOURCE_DIR}/src/platform/linux/PlainWindowActivation.cpp
        ${PROJECT_SOURCE_DIR}/src/platform/linux/PortalColorScheme.cpp
        ${PROJECT_SOURCE_DIR}/src/platform/linux/QtScheduler.cpp
        ${PROJECT_SOURCE_DIR}/src/platform/linux/WaylandActivation.cpp
        ${PROJECT_SOURCE_DIR}/src/platform/linux/WaylandWindowActivation.cpp
        ${PROJECT_SOURCE_DIR}/src/platform/linux/RegularFile.cpp
        ${PROJECT_SOURCE_DIR}/src/platform/linux/StartupNotification.cpp
        ${PROJECT_SOURCE_DIR}/src/platform/linux/X11BrowserWindows.cpp
        ${PROJECT_SOURCE_DIR}/src/platform/linux/X11WindowActivation.cpp
        ${PROJECT_SOURCE_DIR}/src/platform/linux/XdgFileLayout.cpp)
else()
    message(FATAL_ERROR "Orlim's platform services are written for Linux only")
endif()

# The xdg-activation protocol's client code, generated from wayland-protocols
# once, into a library of its own that every build of the core links: its
# header reaches them through the library, which every CMake generator orders
# before them.
set(XDG_ACTIVATION_XML ${WAYLAND_PROTOCOLS_DIR}/staging/xdg-activation/xdg-activation-v1.xml)
set(ORLIM_WAYLAND_DIR ${PROJECT_BINARY_DIR}/wayland)
add_custom_command(
    OUTPUT ${ORLIM_WAYLAND_DIR}/xdg-activation-v1-client-protocol.h
           ${ORLIM_WAYLAND_DIR}/xdg-activation-v1-protocol.c
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ORLIM_WAYLAND_DIR}
    COMMAND ${WAYLAND_SCANNER} client-header ${XDG_ACTIVATION_XML}
            ${ORLIM_WAYLAND_DIR}/xdg-activation-v1-client-protocol.h
    COMMAND ${WAYLAND_SCANNER} private-code ${XDG_ACTIVATION_XML}
            ${ORLIM_WAYLAND_DIR}/xdg-activation-v1-protocol.c
    DEPENDS ${XDG_ACTIVATION_XML})
add_custom_target(orlim_wayland_headers
    DEPENDS ${ORLIM_WAYLAND_DIR}/xdg-activation-v1-client-protocol.h)
add_library(orlim_wayland_protocols STATIC ${ORLIM_WAYLAND_DIR}/xdg-activation-v1-protocol.c)
set_target_properties(orlim_wayland_protocols PROPERTIES AUTOMOC OFF POSITION_INDEPENDENT_CODE ON)
target_include_directories(orlim_wayland_protocols PUBLIC ${ORLIM_WAYLAND_DIR})
target_link_libraries(orlim_wayland_protocols PUBLIC PkgConfig::WAYLAND)
add_dependencies(orlim_wayland_protocols orlim_wayland_headers)

# The part that hands links over, free of Qt so the small `orlim` command
# loads nothing heavy. The core library includes it.
add_library(orlim_handover STATIC
    ${PROJECT_SOURCE_DIR}/src/text/ArgumentWalk.cpp
    ${PROJECT_SOURCE_DIR}/src/instance/DetachedStart.cpp
    ${PROJECT_SOURCE_DIR}/src/instance/Election.cpp
    ${PROJECT_SOURCE_DIR}/src/instance/Forwarding.cpp
    ${PROJECT_SOURCE_DIR}/src/instance/InstanceLock.cpp
    ${PROJECT_SOURCE_DIR}/src/instance/LinkClient.cpp
    ${PROJECT_SOURCE_DIR}/src/instance/LinkMessage.cpp
    ${PROJECT_SOURCE_DIR}/src/instance/RuntimeDirectory.cpp)
set_target_properties(orlim_handover PROPERTIES AUTOMOC OFF POSITION_INDEPENDENT_CODE ON)
target_include_directories(orlim_handover PUBLIC ${PROJECT_SOURCE_DIR}/src)
# Where `orlim` finds the application once installed, from the folders CMake
# was configured with.
file(RELATIVE_PATH ORLIM_APP_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_LIBEXECDIR}/orlim/orlim-app)
set_source_files_properties(${PROJECT_SOURCE_DIR}/src/instance/Forwarding.cpp PROPERTIES
    COMPILE_DEFINITIONS ORLIM_APP_FROM_BINDIR="${ORLIM_APP_FROM_BINDIR}")

function(orlim_add_core name rules_enabled)
    if(rules_enabled)
        set(flag 1)
    else()
        set(flag 0)
    endif()
    add_library(${name} STATIC ${ORLIM_CORE_SOURCES})
    set_target_properties(${name} PROPERTIES AUTORCC ON)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_definitions(${name} PUBLIC
        ORLIM_RULES_ENABLED=${flag}
        ORLIM_VERSION="${PROJECT_VERSION}")
    target_link_libraries(${name} PUBLIC
        orlim_handover
        Qt6::Core Qt6::DBus Qt6::Gui Qt6::Widgets Qt6::Svg
        PkgConfig::GIO PkgConfig::URIPARSER PkgConfig::XCB PkgConfig::WAYLAND PkgConfig::SQLITE)
    target_link_libraries(${name} PRIVATE Qt6::GuiPrivate orlim_wayland_protocols)
    add_dependencies(${name} orlim_wayland_headers)
endfunction()
