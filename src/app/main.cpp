// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

int main(int argc, char** argv)
{
    return Application::run(argc, argv);
}
