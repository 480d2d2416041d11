// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

/// How the first `orlim` starts the running Orlim without waiting for it to
/// quit. The application runs in a session of its own and tells its starter,
/// through a socket pair, once it has taken the links; the starter then returns, as
/// a later `orlim` does once the running Orlim has its links. A program that
/// waits for `orlim` (xdg-open running it in the foreground, a mail program,
/// `git web--browse`) goes on at once. Uses no Qt.
namespace DetachedStart {

/// Starts `application` with `argv` in a new session and waits until it has
/// taken its links or has ended. Returns 0 once it took them; its exit code
/// when it ended first (having handed them to another Orlim, or failed, saying
/// why on stderr); 1, saying why, when it could not start or was killed.
int run(const std::string& application, char** argv);

/// The application's end of the socket pair, when a starter waits on it.
class Starter
{
public:
    /// The starter this process was started by, if any, taken out of the
    /// environment so that no program Orlim starts inherits it.
    static Starter fromEnvironment();

    Starter() = default;
    Starter(Starter&& other) noexcept;
    Starter& operator=(Starter&&) = delete;
    ~Starter();

    /// Tells the starter the links are taken; before that, lets go of the
    /// pipes it shares with the starter's caller, whose reader would otherwise
    /// wait for the end of the running Orlim.
    void linksTaken();

private:
    explicit Starter(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

} // namespace DetachedStart
