// SPDX-License-Identifier: GPL-3.0-or-later
// Types keys into KDE's compositor through its fake-input interface, as
// mutter-keys.py does through mutter's remote desktop: one X keysym name a line
// on standard input ("2", "Down", "x", or a chord such as "alt+Tab"), pressed
// and released; prints "ready" once KWin granted the interface and "typed"
// after each key. KWin grants it to a program whose desktop entry, with this
// program's absolute path as its Exec, lists org_kde_kwin_fake_input in
// X-KDE-Wayland-Interfaces.
#include "fake-input-client-protocol.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <linux/input-event-codes.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>
#include <wayland-client.h>

namespace {

org_kde_kwin_fake_input* fakeInput = nullptr;

constexpr uint32_t keysSince = 4; // keyboard_key

void global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= keysSince)
        fakeInput = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, keysSince));
}

const wl_registry_listener registryListener{global, [](void*, wl_registry*, uint32_t) {}};

int keyCode(const std::string& name)
{
    static const std::map<std::string, int> named{
        {"Return", KEY_ENTER}, {"Down", KEY_DOWN},     {"Up", KEY_UP},
        {"Escape", KEY_ESC},   {"alt", KEY_LEFTALT},   {"F4", KEY_F4},
        {"Tab", KEY_TAB},      {"ctrl", KEY_LEFTCTRL}, {"shift", KEY_LEFTSHIFT}};
    if (const auto it = named.find(name); it != named.end())
        return it->second;
    // The keyboard's rows, whose keys have consecutive codes.
    for (const auto& [row, first] : {std::pair{"1234567890", KEY_1},
                                     {"qwertyuiop", KEY_Q},
                                     {"asdfghjkl", KEY_A},
                                     {"zxcvbnm", KEY_Z}}) {
        if (const char* key = name.size() == 1 ? std::strchr(row, name[0]) : nullptr)
            return first + int(key - row);
    }
    return -1;
}

} // namespace

int main()
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fputs("kwin-keys: no Wayland display\n", stderr);
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (!fakeInput) {
        std::fputs("kwin-keys: the compositor offers no org_kde_kwin_fake_input\n", stderr);
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(fakeInput, "Orlim tests", "typing keys in tests");
    wl_display_roundtrip(display);
    std::cout << "ready" << std::endl;

    for (std::string line; std::getline(std::cin, line);) {
        std::vector<int> codes;
        std::istringstream chord(line);
        for (std::string key; std::getline(chord, key, '+');) {
            if (const int code = keyCode(key); code >= 0)
                codes.push_back(code);
        }
        for (const int code : codes)
            org_kde_kwin_fake_input_keyboard_key(fakeInput, uint32_t(code), 1);
        for (auto code = codes.rbegin(); code != codes.rend(); ++code)
            org_kde_kwin_fake_input_keyboard_key(fakeInput, uint32_t(*code), 0);
        if (wl_display_roundtrip(display) < 0)
            return 1;
        std::cout << "typed" << std::endl;
    }
    wl_display_disconnect(display);
    return 0;
}
