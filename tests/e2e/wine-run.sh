#!/usr/bin/env bash
# Runs one Windows program under Wine inside a private Xvfb display and returns
# its exit code:  wine-run.sh <prog.exe> [args...]
#
# CMake uses this as the cross-compiling emulator, so every ctest entry of the
# win64 build goes through here. Each run gets a fresh X server and a fresh
# wineserver (one virtual desktop per run); both are torn down on every exit
# path, including failures, signals and the time limit.
#
# Environment:
#   ZORV_WINEPREFIX     prefix to use (default: <build dir>/wineprefix, where
#                       the build dir is the nearest parent of the program
#                       holding CMakeCache.txt)
#   ZORV_WINE_TIMEOUT   seconds the program may run (default 300)
#   ZORV_WINE_LOCKWAIT  seconds to wait for another run on the same prefix
#                       (default 600)
#   ZORV_KEEP_XVFB_LOG  set to keep the X server's log in the work folder
#   ZORV_WINEDEBUG      Wine's debug channels (default -all), e.g.
#                       +timestamp,+loaddll to profile a start
#   ZORV_WINE_LOCALE    locale the program runs in (LC_ALL for Wine only, e.g.
#                       de_AT.UTF-8; Wine takes the name itself, so it need
#                       not be installed on the host)
#   ZORV_WINE_DPI       the screen's resolution in dots per inch (144 = 150 %,
#                       192 = 200 %); such a run gets a prefix of its own
#                       (<prefix>-dpi<N>), made with that resolution
set -u

if [[ $# -lt 1 ]]; then
    echo "usage: $0 <prog.exe> [args...]" >&2
    exit 2
fi
prog=$1
shift
if [[ ! -f $prog ]]; then
    echo "wine-run: no such program: $prog" >&2
    exit 2
fi

run_timeout=${ZORV_WINE_TIMEOUT:-300}
lock_wait=${ZORV_WINE_LOCKWAIT:-600}

find_build_dir() {
    local dir
    dir=$(cd "$(dirname "$1")" && pwd)
    while [[ $dir != / ]]; do
        if [[ -f $dir/CMakeCache.txt ]]; then
            echo "$dir"
            return
        fi
        dir=$(dirname "$dir")
    done
    cd "$(dirname "$1")" && pwd
}

if [[ -n ${ZORV_WINEPREFIX:-} ]]; then
    prefix=$ZORV_WINEPREFIX
else
    prefix=$(find_build_dir "$prog")/wineprefix
fi
dpi=${ZORV_WINE_DPI:-}
if [[ -n $dpi ]]; then
    [[ $dpi =~ ^[0-9]+$ ]] || { echo "wine-run: ZORV_WINE_DPI must be a number" >&2; exit 2; }
    prefix=$prefix-dpi$dpi
fi
mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")

export WINEPREFIX=$prefix
export WINEDEBUG=${ZORV_WINEDEBUG:--all}
# Without these the first start of a prefix offers to download Mono and Gecko
# in a dialog that nobody will ever answer.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

workdir=$(mktemp -d "${TMPDIR:-/tmp}/zorv-wine-run.XXXXXX")
xvfb_pid=
child_pid=
owns_prefix=0

# shellcheck disable=SC2317  # reached through the traps below
cleanup() {
    local rc=$?
    trap - EXIT INT TERM HUP
    if [[ -n $child_pid ]] && kill -0 "$child_pid" 2>/dev/null; then
        kill -TERM "$child_pid" 2>/dev/null
        sleep 1
        kill -KILL "$child_pid" 2>/dev/null
    fi
    # Only the run that holds the prefix lock may stop its wineserver: another
    # run waiting for the lock must not kill the desktop of the one running.
    if [[ $owns_prefix == 1 ]]; then
        timeout 20 wineserver -k 9>&- 2>/dev/null
        timeout 20 wineserver -w 9>&- 2>/dev/null
    fi
    if [[ -n $xvfb_pid ]]; then
        kill -TERM "$xvfb_pid" 2>/dev/null
        for _ in $(seq 50); do
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    if [[ -n ${ZORV_KEEP_XVFB_LOG:-} ]]; then
        echo "wine-run: work folder kept: $workdir" >&2
    else
        rm -rf "$workdir"
    fi
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

fail() {
    echo "wine-run: $*" >&2
    exit 125
}

# Xvfb picks a free display number itself and writes it to the descriptor
# once it accepts connections; guessing a number races with other servers.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp \
        3>"$workdir/display" >"$workdir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    local n
    for _ in $(seq 100); do
        n=$(tr -dc '0-9' <"$workdir/display")
        [[ -n $n ]] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [[ -z $n ]]; then
        cat "$workdir/xvfb.log" >&2
        fail "Xvfb did not start"
    fi
    export DISPLAY=:$n
    for _ in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && return
        sleep 0.1
    done
    fail "Xvfb on $DISPLAY does not answer"
}

# A prefix is usable only after the marker is written, so a creation that was
# interrupted is redone from scratch by the next run.
ensure_prefix() {
    [[ -f $prefix/.zorv-ready ]] && return
    echo "wine-run: creating Wine prefix $prefix" >&2
    rm -rf "$prefix"
    timeout 180 wineboot -i 9>&- >"$workdir/wineboot.log" 2>&1 || {
        cat "$workdir/wineboot.log" >&2
        fail "wineboot -i failed"
    }
    timeout 120 wineserver -w 9>&-
    timeout 60 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f 9>&- \
        >/dev/null 2>&1 || fail "reg add Desktop failed"
    timeout 60 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f 9>&- \
        >/dev/null 2>&1 || fail "reg add Desktops failed"
    if [[ -n $dpi ]]; then
        # Wine takes the resolution from the user's desktop settings, older
        # versions from the current configuration: both get it.
        timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
            9>&- >/dev/null 2>&1 || fail "reg add LogPixels failed"
        timeout 60 wine reg add 'HKEY_CURRENT_CONFIG\Software\Fonts' /v LogPixels /t REG_DWORD \
            /d "$dpi" /f 9>&- >/dev/null 2>&1 || fail "reg add Fonts LogPixels failed"
    fi
    # The wineserver writes the registry to disk when it ends.
    timeout 120 wineserver -w 9>&-
    touch "$prefix/.zorv-ready"
}

start_xvfb

# One lock per prefix serialises creation and use: two runs sharing a
# wineserver would share one desktop and kill each other's programs.
exec 9>"$prefix.lock"
flock -w "$lock_wait" 9 || fail "prefix $prefix is busy (waited ${lock_wait}s)"
owns_prefix=1
# A wineserver left over from a killed run would still be bound to its
# (dead) X display.
timeout 20 wineserver -k 9>&- 2>/dev/null
timeout 20 wineserver -w 9>&- 2>/dev/null
ensure_prefix

locale_env=()
if [[ -n ${ZORV_WINE_LOCALE:-} ]]; then
    locale_env=("LC_ALL=$ZORV_WINE_LOCALE")
fi
timeout -k 10 "$run_timeout" env "${locale_env[@]}" wine "$prog" "$@" 9>&- &
child_pid=$!
wait "$child_pid"
rc=$?
child_pid=
if [[ $rc == 124 ]]; then
    echo "wine-run: $prog timed out after ${run_timeout}s" >&2
fi
exit "$rc"
