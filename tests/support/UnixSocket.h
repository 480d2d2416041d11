// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

/// A socket connected to (`listen` false) or listening on the socket at
/// `path`; -1 when that failed.
int unixSocket(const std::string& path, bool listen);
