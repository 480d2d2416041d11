// SPDX-License-Identifier: GPL-3.0-or-later
// `orlim`: hands links to the running Orlim at once, without loading Qt; when
// none is running it starts one, and returns once that one has the links; for
// any option it becomes the full application, which answers it.
#include "instance/DetachedStart.h"
#include "instance/Forwarding.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    const std::string application = Forwarding::applicationPath();
    if (const auto links = Forwarding::linksOnly(argc, argv)) {
        if (const auto exitCode = Forwarding::exitCodeAfter(Forwarding::handOver(*links)))
            return *exitCode;
        // No running Orlim has them: start one, which runs on after we return.
        return DetachedStart::run(application, argv);
    }
    ::execv(application.c_str(), argv);
    std::fprintf(stderr, "orlim: cannot start %s: %s\n", application.c_str(), std::strerror(errno));
    return 1;
}
