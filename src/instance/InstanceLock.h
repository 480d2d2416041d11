// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

/// The lock that makes one Orlim process per user the running application.
/// The kernel releases it when the holder exits, however it exits, so a crashed
/// Orlim never blocks the next one.
class InstanceLock
{
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    /// Takes the lock at `path` without waiting. False when another process
    /// holds it or the file cannot be opened.
    bool tryAcquire(const std::string& path);
    bool isHeld() const { return m_fd >= 0; }
    /// Lets the next Orlim take the lock.
    void release();

private:
    int m_fd = -1;
};
