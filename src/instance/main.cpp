// SPDX-License-Identifier: GPL-3.0-or-later
// `orlim`: hands links to the running Orlim at once, without loading Qt; when
// none is running, or for any option, it becomes the full application.
#include "instance/Forwarding.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    const auto links = Forwarding::linksOnly(argc, argv);
    if (links) {
        if (const auto exitCode = Forwarding::exitCodeAfter(Forwarding::handOver(*links)))
            return *exitCode;
        // No running Orlim has them: become it.
    }

    const std::string application = Forwarding::applicationPath();
    ::execv(application.c_str(), argv);
    std::fprintf(stderr, "orlim: cannot start %s: %s\n", application.c_str(), std::strerror(errno));
    return 1;
}
