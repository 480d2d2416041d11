#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails, naming the files, when a C++ file is not formatted as the committed
# .clang-format says, read by the clang-format that CI installs (Debian 12's,
# version 14; later versions read a few options differently). With --fix,
# formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.h' '*.cpp')
if [ "${1:-}" = --fix ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
unformatted=()
for file in "${files[@]}"; do
    clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if [ ${#unformatted[@]} -gt 0 ]; then
    printf '%s is not formatted (scripts/check-format.sh --fix)\n' "${unformatted[@]}"
    exit 1
fi
echo "all ${#files[@]} C++ files are formatted ($(clang-format --version))"
