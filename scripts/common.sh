# Shared by scripts/test.sh and scripts/demo.sh: what the project needs from the
# machine, and how to get it. Source it; it defines functions only.

# Debian packages of every build and test (names of Debian 12 and later).
ZIRKA_PACKAGES=(
  cmake make g++                    # the native build
  libgtest-dev libgmock-dev         # unit and end-to-end tests
  clang libclang-rt-dev             # the fuzz targets (libFuzzer and its runtime)
  g++-mingw-w64-x86-64-posix        # the Windows cross build
  wine wine64                       # running zirka.exe
  mandoc man-db                     # checking the manual pages
  dpkg-dev                          # the Debian package (dpkg-shlibdeps)
)
# What a demo needs: just the native build.
ZIRKA_DEMO_PACKAGES=(cmake make g++)

# The missing ones among the named packages, one a line.
missing_packages() {
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null | grep -q '^install ok installed$' ||
      echo "$pkg"
  done
}

# Installs the named packages that are missing: through apt-get as root, else
# says exactly what to install and fails.
ensure_packages() {
  local missing
  mapfile -t missing < <(missing_packages "$@")
  ((${#missing[@]} == 0)) && return 0
  if [[ $(id -u) -ne 0 ]]; then
    echo "These Debian packages are missing. Install them as root, then run this again:" >&2
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    return 1
  fi
  echo "== Installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# configure_and_build <build dir> <cmake args...>: configures if needed, builds with -j2.
configure_and_build() {
  local dir=$1
  shift
  cmake -S "$ZIRKA_ROOT" -B "$dir" "$@"
  cmake --build "$dir" -j2
}
