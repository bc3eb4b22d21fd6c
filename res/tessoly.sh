#!/bin/sh
# The program keeps its settings file (Tarn.ini) beside itself, so each user
# runs a copy from a directory of their own.
dir="${XDG_CONFIG_HOME:-$HOME/.config}/tessoly"
mkdir -p "$dir"
cp -u /usr/libexec/tessoly/tessoly "/usr/libexec/tessoly/Tarn Front Panel Software.html" "$dir/"
exec "$dir/tessoly" "$@"
