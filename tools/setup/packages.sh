# Shared by play.sh and test.sh: makes sure the Debian packages are there.
# Usage: ensure_packages pkg...   (installs with apt-get as root, else prints the line and stops)

BUILD_PACKAGES=(g++ cmake make pkg-config libsdl1.2-compat-dev libsdl-mixer1.2-dev
                libsdl-image1.2-dev zlib1g-dev libx11-dev)
TEST_PACKAGES=(libgtest-dev libbenchmark-dev xvfb openbox xdotool imagemagick
               clang libclang-rt-14-dev x11-utils cloc python3
               debhelper dpkg-dev lintian desktop-file-utils appstream man-db groff-base
               sway grim wtype)
# The browser build (web.sh): emcc, apt-get source's unpacker, node for emcc, the page's
# server and tests, and the headless browser the tests and benchmarks drive.
WEB_PACKAGES=(emscripten dpkg-dev nodejs chromium-headless-shell)

ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  else
    echo "These Debian packages are missing. Install them with:"
    echo "  sudo apt-get install ${missing[*]}"
    exit 1
  fi
}
