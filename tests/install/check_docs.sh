#!/usr/bin/env bash
# Checks the documents installed with the program against the files they are
# made from: the copyright file against LICENSE, the Debian changelog against
# CHANGELOG.md and the package's version, the manual page and the metainfo
# against both.
#
#   check_docs.sh ROOT VERSION SOURCE_DIR
#
# ROOT holds what was installed with prefix /usr (or the unpacked package).
# Checks that need man, lexgrog or dpkg-parsechangelog are left out when the
# tool is missing, unless RILO_REQUIRE_TOOLS=1.
set -euo pipefail

root=$1
version=$2
source_dir=$3
doc=$root/usr/share/doc/rilo-mj
man_page=$root/usr/share/man/man1/rilo_mj.1.gz
metainfo=$root/usr/share/metainfo/rilo_mj.metainfo.xml

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

have() {
    command -v "$1" >/dev/null && return 0
    [ "${RILO_REQUIRE_TOOLS:-0}" = 1 ] && fail "$1 is not installed"
    echo "note: $1 is not installed; its checks are left out"
    return 1
}

# Debian compresses with gzip -9n: the header names no file, carries no time,
# and its XFL byte says "best compression".
check_gzip_9n() { # FILE
    local header
    read -ra header <<<"$(od -An -v -tu1 -N10 "$1" | tr '\n' ' ')"
    [ "${header[*]:0:2}" = "31 139" ] || { fail "${1#"$root"/} is not gzip"; return; }
    (( (header[3] & 8) == 0 )) || fail "${1#"$root"/} stores a file name (not gzip -n)"
    [ "${header[*]:4:4}" = "0 0 0 0" ] || fail "${1#"$root"/} stores a time stamp (not gzip -n)"
    [ "${header[8]}" = 2 ] || fail "${1#"$root"/} is not compressed with gzip -9"
}

# --- copyright: the DEP-5 file repeats LICENSE's notice and text ------------
license=$source_dir/LICENSE
copyright=$doc/copyright
if [ ! -f "$copyright" ]; then
    fail "usr/share/doc/rilo-mj/copyright missing"
else
    [ "$(head -n1 "$copyright")" = \
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
        fail "copyright does not start with the DEP-5 Format line"
    notice=$(sed -n 's/^Copyright (c) //p' "$license")
    grep -qxF "Copyright: $notice" "$copyright" ||
        fail "copyright lacks \"Copyright: $notice\" from LICENSE"
    license_name=$(head -n1 "$license" | sed 's/ License$//')
    [ "$license_name" = MIT ] && license_name=Expat # Debian's name for it
    [ "$(grep -c "^License: $license_name\$" "$copyright")" = 2 ] ||
        fail "copyright does not name $license_name for the files and give its text"
    # The stand-alone License paragraph, unfolded, is LICENSE after its notice.
    text_in_copyright=$(awk -v name="$license_name" '
        started && /^([^ ]|$)/ { exit }
        started { sub(/^ /, ""); if ($0 == ".") $0 = ""; print; next }
        $0 == "License: " name && paragraph_start { started = 1 }
        { paragraph_start = ($0 == "") }' "$copyright")
    text_in_license=$(sed '1,/^Copyright (c)/d' "$license" | sed '/./,$!d')
    [ "$text_in_copyright" = "$text_in_license" ] || {
        fail "the licence text in copyright differs from LICENSE:"
        diff <(echo "$text_in_license") <(echo "$text_in_copyright") || true
    }
fi

# --- changelog: one entry per release of CHANGELOG.md, newest first ---------
changelog=$doc/changelog.gz
if [ ! -f "$changelog" ]; then
    fail "usr/share/doc/rilo-mj/changelog.gz missing"
else
    check_gzip_9n "$changelog"
    text=$(gzip -dc "$changelog")
    wanted=$(sed -n 's/^## \([^ ]*\) - \([0-9-]*\)$/\1 \2/p' "$source_dir/CHANGELOG.md")
    got_versions=$(sed -n 's/^rilo-mj (\([^)]*\)) unstable; urgency=medium$/\1/p' <<<"$text")
    wanted_versions=$(cut -d' ' -f1 <<<"$wanted")
    [ "$got_versions" = "$wanted_versions" ] ||
        fail "the changelog's versions (${got_versions//$'\n'/ }) are not CHANGELOG.md's (${wanted_versions//$'\n'/ })"
    [ "$(head -n1 <<<"$got_versions")" = "$version" ] ||
        fail "the newest changelog entry is $(head -n1 <<<"$got_versions"), the project is $version"
    # Each trailer: the maintainer, two blanks, the release date in RFC 2822
    # form with its true weekday.
    mapfile -t trailers < <(grep '^ -- ' <<<"$text")
    mapfile -t dates < <(cut -d' ' -f2 <<<"$wanted")
    [ "${#trailers[@]}" = "${#dates[@]}" ] || fail "${#trailers[@]} trailer lines for ${#dates[@]} releases"
    for i in "${!trailers[@]}"; do
        expected_date=$(LC_ALL=C date -u -d "${dates[i]:-}" '+%a, %d %b %Y 00:00:00 +0000' 2>/dev/null) || true
        [[ "${trailers[i]}" =~ ^\ --\ [^\<]+\ \<[^@\>]+@[^\>]+\>\ \ (.*)$ ]] ||
            { fail "malformed trailer: ${trailers[i]}"; continue; }
        [ "${BASH_REMATCH[1]}" = "$expected_date" ] ||
            fail "trailer date \"${BASH_REMATCH[1]}\", expected \"$expected_date\""
    done
    long=$(awk 'length > 80' <<<"$text")
    [ -z "$long" ] || fail "changelog lines longer than 80 characters: $long"
    if have dpkg-parsechangelog; then
        parsed=$(dpkg-parsechangelog -l- -SVersion <<<"$text" 2>&1) ||
            fail "dpkg-parsechangelog cannot parse the changelog: $parsed"
        [ "$parsed" = "$version" ] || fail "dpkg-parsechangelog reads version \"$parsed\""
    fi
fi

# --- manual page --------------------------------------------------------------
if [ ! -f "$man_page" ]; then
    fail "usr/share/man/man1/rilo_mj.1.gz missing"
else
    check_gzip_9n "$man_page"
    source=$(gzip -dc "$man_page")
    grep -q "^\.TH RILO_MJ 1 \"[0-9-]*\" \"rilo_mj $version\"" <<<"$source" ||
        fail "the manual page's .TH line does not name version $version"
    for section in NAME SYNOPSIS DESCRIPTION ENVIRONMENT "EXIT STATUS" FILES "SEE ALSO"; do
        grep -qx "\.SH \"*$section\"*" <<<"$source" || fail "the manual page has no $section section"
    done
    for word in QT_QPA_PLATFORM QT_SCALE_FACTOR; do
        grep -q "$word" <<<"$source" || fail "the manual page does not mention $word"
    done
    if have man; then
        warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
            man --warnings -E UTF-8 -l "$man_page" 2>&1 >/dev/null) || fail "man cannot render the page"
        [ -z "$warnings" ] || fail "man warns about the manual page: $warnings"
    fi
    if have lexgrog; then
        whatis=$(lexgrog "$man_page" 2>&1) || fail "lexgrog finds no NAME line: $whatis"
        grep -q ': "rilo_mj - ' <<<"$whatis" || fail "unexpected whatis entry: $whatis"
    fi
fi

# --- metainfo: the licence of LICENSE, the newest release of CHANGELOG.md ------
if [ ! -f "$metainfo" ]; then
    fail "usr/share/metainfo/rilo_mj.metainfo.xml missing"
else
    spdx=$(head -n1 "$license" | sed 's/ License$//')
    grep -q "<project_license>$spdx</project_license>" "$metainfo" ||
        fail "the metainfo's project_license is not $spdx"
    newest=$(head -n1 <<<"$wanted")
    grep -q "<release version=\"${newest% *}\" date=\"${newest#* }\">" "$metainfo" ||
        fail "the metainfo lists no release ${newest% *} of ${newest#* }"
    first_release=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n1)
    [ "$first_release" = "<release version=\"$version\"" ] ||
        fail "the metainfo's newest release is not $version: $first_release"
fi

# --- no address that points nowhere ------------------------------------------
# Names reserved for examples and tests never reach the project (RFC 2606);
# the maintainer's address is the one deliberate .invalid, which no URL uses.
placeholders=$( { (cd "$root" && grep -rIhoE 'https?://[^[:space:]"<>)]*' .) || true
    for gz in "$changelog" "$man_page"; do
        [ -f "$gz" ] && gzip -dc "$gz" | grep -oE 'https?://[^[:space:]"<>)]*'
    done; } | sed 's/\\//g' | grep -E '://([^/]*\.)?(example\.(org|com|net)|example|invalid|test|localhost)([:/]|$)' || true)
[ -z "$placeholders" ] || fail "URLs that lead nowhere: $placeholders"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) of the installed documents failed"
    exit 1
fi
echo "the installed documents agree with LICENSE, CHANGELOG.md and version $version"
