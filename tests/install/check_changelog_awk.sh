#!/usr/bin/env bash
# Tests the converter from CHANGELOG.md to the Debian changelog and the
# AppStream release list on small changelogs of its own.
#
#   check_changelog_awk.sh changelog.awk
set -euo pipefail

converter=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

convert() { # FORMAT FILE
    awk -v format="$1" -v package=pkg -v 'maintainer=A Name <a@b.c>' -f "$converter" "$2"
}

# Three releases whose dates take each path of the weekday rule: January and
# February count as months of the year before, and 2000 was a leap year that
# 1900 was not.
cat >"$scratch/good.md" <<'EOF'
# Changelog

Text for people before the first release is left out.

## 2.0.0 - 2024-02-29

- Fixes <the> "A & B" case,
  over two lines.
- Second change.

## 1.1.0 - 2000-01-01

- One change.

## 1.0.0 - 1999-12-31

- First.
EOF

debian=$(convert debian "$scratch/good.md")
expected_debian=$(cat <<EOF
pkg (2.0.0) unstable; urgency=medium

  * Fixes <the> "A & B" case,
    over two lines.
  * Second change.

 -- A Name <a@b.c>  $(LC_ALL=C date -u -d 2024-02-29 '+%a, %d %b %Y') 00:00:00 +0000

pkg (1.1.0) unstable; urgency=medium

  * One change.

 -- A Name <a@b.c>  $(LC_ALL=C date -u -d 2000-01-01 '+%a, %d %b %Y') 00:00:00 +0000

pkg (1.0.0) unstable; urgency=medium

  * First.

 -- A Name <a@b.c>  $(LC_ALL=C date -u -d 1999-12-31 '+%a, %d %b %Y') 00:00:00 +0000
EOF
)
[ "$debian" = "$expected_debian" ] || {
    fail "Debian changelog differs:"
    diff <(echo "$expected_debian") <(echo "$debian") || true
}
if command -v dpkg-parsechangelog >/dev/null; then
    count=$(dpkg-parsechangelog -l- --format rfc822 --all <<<"$debian" | grep -c "^Version:")
    [ "$count" = 3 ] || fail "dpkg-parsechangelog finds $count entries, not 3"
fi

appstream=$(convert appstream "$scratch/good.md")
grep -qF '<li>Fixes &lt;the&gt; "A &amp; B" case, over two lines.</li>' <<<"$appstream" ||
    fail "AppStream item not joined and escaped: $appstream"
[ "$(grep -o 'release version="[^"]*" date="[^"]*"' <<<"$appstream" | tr '\n' ' ')" = \
    'release version="2.0.0" date="2024-02-29" release version="1.1.0" date="2000-01-01" release version="1.0.0" date="1999-12-31" ' ] ||
    fail "AppStream releases not listed newest first: $appstream"
if command -v xmllint >/dev/null; then
    xmllint --noout - <<<"<releases>$appstream</releases>" || fail "AppStream releases are no well-formed XML"
fi

[ "$(convert latest "$scratch/good.md")" = "2.0.0 2024-02-29" ] || fail "latest is not 2.0.0 2024-02-29"

# Each of these must be refused rather than converted with a part missing.
long=$(printf 'x%.0s' $(seq 77))
while IFS='|' read -r name formats body; do
    printf '# Changelog\n%b' "$body" >"$scratch/$name.md"
    for format in $formats; do
        if convert "$format" "$scratch/$name.md" >/dev/null 2>"$scratch/err"; then
            fail "$name: accepted by format=$format"
        elif [ ! -s "$scratch/err" ]; then
            fail "$name: refused by format=$format without saying why"
        fi
    done
done <<EOF
bad-heading|debian appstream latest|## 1.0.0 (2026-01-01)\n\n- Change.\n
stray-text|debian appstream|## 1.0.0 - 2026-01-01\n\nA paragraph.\n
subheading|debian appstream|## 1.0.0 - 2026-01-01\n\n### Added\n\n- Change.\n
no-change|debian appstream|## 1.1.0 - 2026-02-01\n\n## 1.0.0 - 2026-01-01\n\n- Change.\n
oldest-first|debian appstream|## 1.0.0 - 2026-01-01\n\n- Change.\n\n## 1.1.0 - 2026-02-01\n\n- Change.\n
no-such-date|debian|## 1.0.0 - 2026-13-01\n\n- Change.\n
too-long|debian|## 1.0.0 - 2026-01-01\n\n- $long\n
no-release|debian appstream latest|Nothing released yet.\n
EOF

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) of the changelog converter failed"
    exit 1
fi
echo "the changelog converter passed"
