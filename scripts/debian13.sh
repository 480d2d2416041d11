#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs `make test` in a clean Debian 13 root (Qt 6.8, GCC 14, clang 19,
# mutter 48, KWin 6.3): the root is made once with mmdebstrap and kept in
# $ORLIM_DEBIAN13_ROOT between runs; the sources are copied in afresh each
# time. Needs root.
#
#   debian13.sh            make test
#   debian13.sh TARGET...  other make targets (test-asan, bench, ...)
set -euo pipefail
cd "$(dirname "$0")/.."
root=${ORLIM_DEBIAN13_ROOT:-/var/cache/orlim-ci/trixie}
targets=("${@:-test}")

if [ ! -x "$root/usr/bin/apt-get" ]; then
    if ! command -v mmdebstrap >/dev/null; then
        apt-get update -q
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends mmdebstrap
    fi
    rm -rf "$root.new"
    mkdir -p "$(dirname "$root")"
    mmdebstrap --variant=apt --include=ca-certificates,make trixie "$root.new" \
        http://deb.debian.org/debian
    mv "$root.new" "$root"
fi

unmount() {
    for fs in dev sys proc; do
        umount -R -l "$root/$fs" 2>/dev/null || true
    done
}
trap unmount EXIT
for fs in proc sys dev; do
    mount --rbind "/$fs" "$root/$fs"
    mount --make-rslave "$root/$fs"
done

rm -rf "$root/src"
mkdir "$root/src"
git ls-files -z | tar --null -T - -cf - | tar -xf - -C "$root/src"
chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 CI="${CI:-}" \
    bash -c 'cd /src && apt-get install -y -q make >/dev/null && make "$@"' make "${targets[@]}"
