# Installs the Debian packages named in the arguments that are missing, with
# apt-get as root or through sudo. Sourced by scripts/run and scripts/test.
velmora_install_missing() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 || {
      echo "Missing packages: ${missing[*]}; install them as root (apt-get install ${missing[*]})" >&2
      return 1
    }
    sudo=(sudo)
  fi
  echo "Installing: ${missing[*]}" >&2
  # Unattended, without debconf's warnings about its missing dialog tools.
  local quiet=(env DEBIAN_FRONTEND=noninteractive DEBCONF_NOWARNINGS=yes)
  "${sudo[@]}" "${quiet[@]}" apt-get update -qq &&
    "${sudo[@]}" "${quiet[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# FFmpeg's libraries encode the exported videos (H.264, VP9, APNG) and their containers.
VELMORA_BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev nlohmann-json3-dev libpng-dev
  pkgconf libavcodec-dev libavformat-dev libavutil-dev libswscale-dev)
# util-linux brings setpriv, which runs the permission tests without root's rights;
# lintian and dpkg-dev (dpkg-shlibdeps) serve the package test; shared-mime-info the
# install test of the saved-system type; ffmpeg (ffmpeg and ffprobe) reads the exported
# videos back.
VELMORA_TEST_PACKAGES=(googletest libgtest-dev libgmock-dev desktop-file-utils appstream util-linux
  lintian dpkg-dev shared-mime-info ffmpeg)
# libFuzzer and its sanitizer runtimes come with Debian's clang.
VELMORA_FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)
