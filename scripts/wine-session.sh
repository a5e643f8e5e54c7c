# Shared by the scripts that run the Windows program under Wine (scripts/dev
# windows, scripts/windows-screenshot, bench/windows-bench); source it.
#
#   start_xvfb        starts Xvfb on a display it picks itself (-displayfd),
#                     1024x768 at 96 dpi, and exports DISPLAY; no window
#                     manager, as the prefix lets Wine manage its windows
#   end_wine PREFIX   waits a few seconds for the prefix's wineserver to end by
#                     itself, then ends it
#   end_session       end_wine for WINEPREFIX, then stops Xvfb; for a trap

XVFB_PID=

start_xvfb() {
    local fd_file
    fd_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 100); do
        [ -s "$fd_file" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$fd_file" ]; then
        rm -f "$fd_file"
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=:$(head -n1 "$fd_file")
    rm -f "$fd_file"
}

end_wine() { # prefix
    [ -d "${1:-}" ] || return 0
    WINEPREFIX=$1 timeout 10 wineserver -w 2>/dev/null || WINEPREFIX=$1 wineserver -k 2>/dev/null || true
}

end_session() {
    end_wine "${WINEPREFIX:-}"
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}
