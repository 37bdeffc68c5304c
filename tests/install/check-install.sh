#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a user of the installed
# program gets: the program folder, launchers, desktop files and icons, and that the
# programs keep the user's files under $XDG_DATA_HOME/brivane/, never in the install.
#   check-install.sh CMAKE BUILD_DIR VERSION
set -uo pipefail
cmake=$1
build=$2
version=$3
program_dir=$build/bin
app_id=org.brivane.Brivane

work=$(mktemp -d "${TMPDIR:-/tmp}/brivane-install.XXXXXX")
quendal_pid=""
cleanup() {
  [[ -n $quendal_pid ]] && kill "$quendal_pid" 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream; do
  command -v "${tool%%:*}" >/dev/null || fail "${tool%%:*} is missing (Debian package ${tool##*:})"
done
((failures == 0)) || exit 1

prefix=$work/prefix
installed=$prefix/lib/brivane
if ! "$cmake" --install "$build" --prefix "$prefix" --strip >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAILED: cmake --install" >&2
  exit 1
fi

# Programs and modules, runnable, with the launchers on the PATH leading to them.
for program in quendal brivane brivane-service mirrant pavonel corilan; do
  [[ -x $installed/$program ]] || fail "$program is not installed as a program"
done
for launcher in quendal brivane brivane-service; do
  [[ $(readlink -f "$prefix/bin/$launcher") == "$(readlink -f "$installed/$launcher")" ]] ||
    fail "bin/$launcher does not lead to lib/brivane/$launcher"
done
[[ -f $installed/brivane-installed && ! -s $installed/brivane-installed ]] ||
  fail "the empty marker lib/brivane/brivane-installed is missing"

# Everything the build puts in its program folder is installed, except the user's files
# (photos, data files, shows saved there) and split debug information.
while IFS= read -r file; do
  [[ -e $installed/$file ]] || fail "$file of the program folder is not installed"
done < <(cd "$program_dir" && find . -type f \
  ! -name '*.debug' ! -path './myphotos/*' ! -path '*/__pycache__/*' ! -name '*.exe' \
  ! -name '*.scr' ! -name photos.dat ! -name addrbook.dat ! -name deletealbums.dat | sed 's|^\./||')
leftovers=$(cd "$installed" && find . -name myphotos -o -name '*.debug' -o -name photos.dat)
[[ -z $leftovers ]] || fail "user files or debug information installed: $leftovers"

# Desktop integration.
desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
# Its hints (no main category, say) count too: menus would misplace the entry.
hints=$(desktop-file-validate "$desktop" 2>&1) && [[ -z $hints ]] ||
  fail "desktop-file-validate $desktop: $hints"
appstreamcli validate --no-net --strict "$metainfo" || fail "appstreamcli validate $metainfo"
grep -q "<release version=\"$version\"" "$metainfo" ||
  fail "the metainfo's releases do not name version $version"
zcat "$prefix/share/doc/brivane/changelog.Debian.gz" | head -1 | grep -q "(${version}-" ||
  fail "the package changelog does not start with version $version"
for size in 16 22 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  dimensions=$(od -An -tu1 -j16 -N8 "$icon" 2>/dev/null |
    awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }')
  [[ $dimensions == "${size}x${size}" ]] || fail "icon $icon is '${dimensions}', not ${size}x${size}"
done

# The installed programs, started through the PATH from an empty folder, with a fresh
# home and the install read-only (root ignores that, so its listing is compared too).
home=$work/home
cwd=$work/cwd
mkdir -p "$home" "$cwd"
export HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config
export XDG_RUNTIME_DIR=$home/runtime XDG_CACHE_HOME=$home/cache
unset BRIVANE_PROGRAM_FOLDER BRIVANE_WINDOWS_FOLDER BRIVANE_SYSTEM_FOLDER
export PATH=$prefix/bin:$PATH
photos=$XDG_DATA_HOME/brivane/myphotos
listing() { (cd "$installed" && find . -printf '%p %s %T@\n' | sort); }
chmod -R a-w "$installed"
listing >"$work/before.txt"

cp "$installed/Calendar.jpg" "$work/Holiday.jpg"
(cd "$cwd" && brivane import "$work/Holiday.jpg" >/dev/null) || fail "brivane import"
[[ -f $photos/Holiday.jpg ]] || fail "brivane import did not store the photo in $photos"

# A show built from the installed (stripped) player and modules plays until stopped.
export TMPDIR=$work/tmp
mkdir -p "$TMPDIR"
show=$(cd "$cwd" && brivane show build --kind slideshow --name Trip Holiday) ||
  fail "brivane show build"
if [[ $show == "$XDG_DATA_HOME/brivane/"* && -x $show ]]; then
  (cd "$cwd" && QT_QPA_PLATFORM=offscreen timeout 3 "$show") >"$work/show.log" 2>&1
  status=$?
  [[ $status -eq 124 ]] || { fail "the built show ended with status $status"; cat "$work/show.log" >&2; }
  [[ -z $(ls -A "$TMPDIR") ]] || fail "the stopped show left $(ls -A "$TMPDIR") in TMPDIR"
else
  fail "the show '$show' was not saved in $XDG_DATA_HOME/brivane/"
fi

# timeout ends it should this script be killed before it does.
rm -rf "$XDG_DATA_HOME"
(cd "$cwd" && QT_QPA_PLATFORM=offscreen exec timeout 60 quendal) >"$work/quendal.log" 2>&1 &
quendal_pid=$!
for _ in $(seq 100); do
  [[ -d $photos ]] && break
  kill -0 "$quendal_pid" 2>/dev/null || break
  sleep 0.2
done
# A while longer, for what it writes once its window is up.
sleep 2
if kill -0 "$quendal_pid" 2>/dev/null; then
  kill "$quendal_pid"
else
  fail "quendal ended on its own"
  cat "$work/quendal.log" >&2
fi
wait "$quendal_pid" 2>/dev/null
quendal_pid=""
[[ -d $photos ]] || fail "quendal did not make $photos"

listing | diff "$work/before.txt" - >&2 || fail "the programs changed the install folder"
[[ -z $(ls -A "$cwd") ]] || fail "the programs wrote into the current folder: $(ls -A "$cwd")"

if ((failures > 0)); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "The installed program is complete and keeps user files out of its folder."
