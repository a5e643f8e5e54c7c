#!/bin/sh
# Runs a validator on the program's desktop files: validate.sh TOOL ARGS...
# Exits 77 (skipped) when TOOL is not installed. Fails on any error or
# warning, also those desktop-file-validate reports with exit code 0.
tool=$1
if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed"
    exit 77
fi
output=$("$@" 2>&1)
status=$?
[ -n "$output" ] && printf '%s\n' "$output"
[ "$status" -eq 0 ] || exit 1
if printf '%s\n' "$output" | grep -Eq ': (error|warning):'; then
    exit 1
fi
exit 0
