#!/usr/bin/env bash
# Checks what `cmake --install` with prefix /usr put under a scratch root,
# which is what the Debian package holds.
#
#   check_install.sh ROOT
set -euo pipefail

root=$1

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# "WIDTHxHEIGHT" of a PNG file, read from its header chunk; empty when the
# file is no PNG.
png_size() {
    local bytes
    read -ra bytes <<<"$(od -An -v -tu1 -N24 "$1" | tr '\n' ' ')"
    [ "${#bytes[@]}" -eq 24 ] || return 0
    [ "${bytes[*]:0:8}" = "137 80 78 71 13 10 26 10" ] || return 0
    [ "${bytes[*]:12:4}" = "73 72 68 82" ] || return 0 # IHDR
    local w=$(((bytes[16] << 24) | (bytes[17] << 16) | (bytes[18] << 8) | bytes[19]))
    local h=$(((bytes[20] << 24) | (bytes[21] << 16) | (bytes[22] << 8) | bytes[23]))
    echo "${w}x${h}"
}

# Exactly these files: no build tool, library or header comes along.
expected=$(sort <<'LIST'
usr/bin/rilo_mj
usr/share/applications/rilo_mj.desktop
usr/share/icons/hicolor/32x32/apps/rilo_mj.png
usr/share/icons/hicolor/64x64/apps/rilo_mj.png
usr/share/icons/hicolor/128x128/apps/rilo_mj.png
usr/share/metainfo/rilo_mj.metainfo.xml
usr/share/doc/rilo-mj/copyright
usr/share/doc/rilo-mj/changelog.gz
usr/share/man/man1/rilo_mj.1.gz
LIST
)
actual=$(cd "$root" && find . ! -type d | sed 's|^\./||' | sort)
if [ "$actual" != "$expected" ]; then
    fail "installed files differ from the expected list:"
    diff <(echo "$expected") <(echo "$actual") || true
fi

program=$root/usr/bin/rilo_mj
if [ -f "$program" ]; then
    [ -x "$program" ] || fail "usr/bin/rilo_mj is not executable"
    # From /usr/bin the program finds Qt where the system keeps it; a search
    # path of its own is at best useless there.
    if command -v readelf >/dev/null && readelf -d "$program" | grep -Eq '\((RUN)?PATH\)'; then
        fail "usr/bin/rilo_mj carries a library search path:"
        readelf -d "$program" | grep -E '\((RUN)?PATH\)'
    fi
fi

# The desktop entry starts the installed program and names the theme icon,
# which exists at each size with that many pixels.
desktop=$root/usr/share/applications/rilo_mj.desktop
if [ -f "$desktop" ]; then
    exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    if [ -z "$exec_name" ] || [ ! -x "$root/usr/bin/$exec_name" ]; then
        fail "Exec=$exec_name of the desktop entry is not an installed program"
    fi
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    for size in 32 64 128; do
        png=$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
        if [ ! -f "$png" ]; then
            fail "no ${size}x${size} theme icon for Icon=$icon"
            continue
        fi
        got=$(png_size "$png")
        [ "$got" = "${size}x${size}" ] ||
            fail "${png#"$root"/} is ${got:-not a PNG}, not ${size}x${size}"
    done
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) of the installed tree failed"
    exit 1
fi
echo "installed tree in $root is complete"
