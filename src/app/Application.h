// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// The whole of `orlim`: parses the command line and either answers an option,
/// hands links to the running Orlim, or becomes the running Orlim. Returns the
/// process's exit code.
int runOrlim(int argc, char** argv);
