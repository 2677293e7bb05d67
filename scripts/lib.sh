# Shared by the scripts: package installation that works as root or through sudo.
# Each kind of need is one list, so adding a tool is adding one name. Recommended packages
# stay out (cups would bring avahi and colord daemons); what the build needs is named.

BUILD_PACKAGES="cmake g++ make pkg-config qt6-base-dev qt6-svg-dev libqt6opengl6-dev libgl-dev fonts-liberation libboost-dev nlohmann-json3-dev"
TEST_PACKAGES="libgtest-dev libgmock-dev xvfb xauth"
# Independent readers of what the charts and exports write (metafiles, SVG, PDF), and a real
# print queue that ends in a PDF.
PRINT_PACKAGES="libwmf-bin librsvg2-bin poppler-utils cups cups-client cups-bsd printer-driver-cups-pdf"
BENCH_PACKAGES="libbenchmark-dev libxcb1-dev xvfb xauth"
FUZZ_PACKAGES="clang libclang-rt-14-dev"
# Packing the .deb (dpkg-shlibdeps reads the binaries' libraries; without these two CPack
# silently writes no dependencies), and the distribution's own judges of what we install.
PACKAGE_PACKAGES="dpkg-dev file"
PACKAGE_CHECK_PACKAGES="desktop-file-utils appstream libxml2-utils shared-mime-info"
# Only for redrawing the PNG icons from the SVG logo (scripts/render-icons.sh).
ICON_PACKAGES="librsvg2-bin"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs only what is missing, so a second run costs no network time.
ensure_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

jobs() { nproc 2>/dev/null || echo 2; }
