#!/usr/bin/env bash
# Checks that scripts/install-deps.sh installs every Debian package whose headers the last
# build compiled against, so that a fresh machine can build what this one built.
# Usage: scripts/check-install-deps.sh [BUILD_DIR]   (run from the project root; default build/)
# Exit 0: complete; 1: packages missing from the script (listed); 2: cannot check.
set -u
build=${1:-build}
script=scripts/install-deps.sh
[ -f "$script" ] || { echo "check-install-deps.sh: no $script here"; exit 2; }
[ -f "$build/build.ninja" ] || { echo "check-install-deps.sh: no Ninja build in $build/"; exit 2; }
command -v dpkg >/dev/null && command -v apt-cache >/dev/null || { echo "check-install-deps.sh: needs dpkg and apt-cache"; exit 2; }

headers=$(ninja -C "$build" -t deps 2>/dev/null | awk '/^    \/usr\//{print $1}' | sort -u)
[ -n "$headers" ] || { echo "check-install-deps.sh: the build recorded no system headers (build it first)"; exit 2; }
used=$(printf '%s\n' "$headers" | xargs -r dpkg -S 2>/dev/null | cut -d: -f1 | tr ',' '\n' | sed 's/^ *//' | sort -u)

# The words of the script's packages=( ... ) list, comments left out.
listed=$(sed -n '/^packages=(/,/^)/p' "$script" | sed '1d;$d' | sed 's/#.*//' | tr -s ' \t' '\n' | grep . | sort -u)
[ -n "$listed" ] || { echo "check-install-deps.sh: found no packages=( ... ) list in $script"; exit 2; }
closure=$( { printf '%s\n' "$listed"; apt-cache depends --recurse --no-recommends --no-suggests \
  --no-conflicts --no-breaks --no-replaces --no-enhances --installed $listed 2>/dev/null | grep -v '^ '; } \
  | sed 's/:[a-z0-9]*$//' | sort -u)

missing=$(comm -23 <(printf '%s\n' "$used") <(printf '%s\n' "$closure"))
if [ -n "$missing" ]; then
  echo "scripts/install-deps.sh does not install these packages, whose headers the build uses:"
  for p in $missing; do
    echo "  $p   (e.g. $(printf '%s\n' "$headers" | xargs -r dpkg -S 2>/dev/null | grep "^$p[:,]" | head -1 | cut -d' ' -f2))"
  done
  echo "A fresh machine cannot build this. Add them to the packages list."
  exit 1
fi
echo "check-install-deps.sh: every system header the build used comes from a package the script installs ($(printf '%s\n' "$used" | wc -l) packages)."
