// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// `orlim-app`, which `orlim` starts when no running Orlim took its links or
/// its command line holds an option: answers the option, or hands the links
/// to the running Orlim, or becomes it. Returns the process's exit code.
int runOrlim(int argc, char** argv);
