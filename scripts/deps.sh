# Sourced by the scripts: installs on Debian 12 whatever the build still lacks.
kivra_packages="g++ cmake make qt6-base-dev qt6-serialport-dev libgl-dev libsimpleini-dev
libjpeg62-turbo-dev libbenchmark-dev fonts-dejavu-core fonts-liberation2 fontconfig clang-format
qt6-qpa-plugins desktop-file-utils appstream dpkg-dev file lintian
weston qt6-wayland python3-scikit-rf libxml2-utils
xvfb xauth dbus at-spi2-core python3-pyatspi"
# What scripts/monkey needs besides: a display server, input and an interpreter.
kivra_monkey_packages="xvfb xdotool x11-utils libx11-6 python3 util-linux"

kivra_install_packages() {
    local missing=()
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

# shellcheck disable=SC2086 # the lists are split on purpose
kivra_install_deps() { kivra_install_packages $kivra_packages; }
# shellcheck disable=SC2086
kivra_install_monkey_deps() { kivra_install_packages $kivra_monkey_packages; }
