#!/bin/sh
# wine_run.sh PREFIX PROGRAM [ARGUMENT...]
# Runs a Windows program under Wine in the Wine prefix PREFIX, creating the prefix first when it
# does not exist yet; the exit status is the program's. The CMake emulator of the Windows build.
#
# wine_run.sh PREFIX --init only creates the prefix (about 10 s, 700 MB) and starts its server;
# wine_run.sh PREFIX --stop stops the prefix's Wine server.
#
# Wine's server is started persistent (it stays 60 s after its last program): Debian's server
# otherwise quits as its last program exits, and a program started in that moment dies. It gets
# none of our output streams, or whoever reads them would wait for the server to quit.
set -eu
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine turns file names and the command line into Windows' UTF-16 through the locale's character
# set: UTF-8, whatever locale the tests were started in.
export LC_ALL=C.UTF-8
# A test run never depends on the desktop it was started from.
unset DISPLAY WAYLAND_DISPLAY

if [ "${1-}" = --stop ]; then
    # Killed and gone: a server still quitting would take the next run's first program with it.
    if [ -d "$prefix" ]; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
    exit 0
fi

mkdir -p "$prefix"
# One creator at a time; the others wait for it (ctest runs tests in parallel).
exec 9>"$prefix.lock"
flock 9
if [ ! -e "$prefix/.ready" ]; then
    wineserver -k 2>/dev/null || true
    wineboot -i >/dev/null 2>&1
    wineserver -w
    touch "$prefix/.ready"
fi
# A new server's first program starts Wine's own services, which stay as long as the server:
# start them here, away from our output streams, as CTest reads those to their end.
if wineserver -p60 </dev/null >/dev/null 2>&1 9>&-; then
    /usr/lib/wine/wine64 cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&- || true
fi
flock -u 9
exec 9>&-

[ "${1-}" = --init ] && exit 0
exec /usr/lib/wine/wine64 "$@"
