#!/bin/sh
# Builds the picture generator and writes the about window's picture into the source tree.
# Run it again after changing MakeAboutPicture.cpp and commit both.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
c++ -std=c++17 -O2 -Wall -Wextra -o "$work/make-about-picture" "$here/MakeAboutPicture.cpp" -ljpeg
"$work/make-about-picture" "$here/../../src/app/about.jpg"
