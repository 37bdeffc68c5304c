#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Brivane need; with
# "fuzz", also what the libFuzzer build needs. Installs nothing when every package is
# already there.
set -euo pipefail

packages=(
  cmake ninja-build ccache g++ make pkg-config
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-image-formats-plugins libgl-dev libxcb1-dev
  libmagick++-6.q16-dev libexiv2-dev libcurl4-openssl-dev libjpeg62-turbo-dev libsimpleini-dev
  libsane-dev sane-utils libgtest-dev libgmock-dev libbenchmark-dev
  # The reference photo-sharing service (service/): HTTP(S), TLS, SQLite and PostgreSQL
  libcpp-httplib-dev libssl-dev libsqlite3-dev libpq-dev
  libsecret-1-dev                       # the mail password in the desktop's secret store
  # Programs and peers the tests run: a missing one fails its test, naming the package.
  libsane1                              # SANE's "test" scanner backend
  xvfb xauth fonts-dejavu-core fonts-dejavu-extra fonts-lato
  fonts-droid-fallback                  # Chinese, Japanese and Korean in captions
  python3 python3-pyftpdlib python3-aiosmtpd   # /usr/bin/python3 with the FTP and SMTP peers
  imagemagick                           # convert, identify
  libimage-exiftool-perl                # exiftool
  poppler-utils                         # pdftoppm
  libjpeg-turbo-progs                   # jpegtran, djpeg
  strace                                # the kill tests stop each writer at its Nth system call
  libvips-tools time                    # the benchmarks' reference tools
  xdg-utils                             # xdg-open: web pages open in the desktop's browser
  openssl                               # certificates the mail tests make for their servers
  exim4-daemon-light                    # a strict SMTP peer of the mail tests
  gnome-keyring dbus-daemon dbus-bin    # a secret store on a private D-Bus for the mail tests
  swaks                                 # the mail benchmark's reference sender
  postgresql python3-psycopg2           # the service's tests on a private PostgreSQL server
  pure-ftpd-postgresql                  # the tested pure-ftpd set-up of larger services
  chromium                              # screenshots of the service's pages
  apache2-utils wrk curl                # ab and wrk: the service's load benchmark
  lftp                                  # the FTP client the publishing benchmark compares with
  # Installing and packaging: the install test's checkers, make deb and its lintian check
  desktop-file-utils appstream lintian
  dpkg-dev file                         # dpkg-shlibdeps and the file tool cpack runs
)
if [[ ${1:-} == fuzz ]]; then
  packages+=(clang-14 libclang-rt-14-dev)   # libFuzzer and the sanitizer runtimes
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
