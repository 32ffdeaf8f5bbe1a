#!/usr/bin/env bash
# Prepares (setup) or shuts down (cleanup) the Wine prefix of the Windows
# end-to-end cases: wine_prefix.sh setup|cleanup <wine loader> <prefix directory>
set -euo pipefail
action=$1 loader=$2 prefix=$3
export WINEPREFIX=$prefix WINEDEBUG=-all
unset DISPLAY

# The server that belongs to the loader: wineserver64 beside wine64, else wineserver.
server=$(dirname "$loader")/wineserver64
[[ -x $server ]] || server=$(dirname "$loader")/wineserver
[[ -x $server ]] || server=$(command -v wineserver)

case $action in
  setup)
    mkdir -p "$prefix"
    # One server for the whole suite; it goes by itself 30 s after its last client.
    # (It fails when a server for this prefix is already running: that one serves.)
    # Neither may hold CTest's output pipe: CTest would wait for them to go.
    "$server" -p30 </dev/null >/dev/null 2>&1 || true
    if ! "$loader" wineboot --init </dev/null >"$prefix.boot.log" 2>&1; then
      cat "$prefix.boot.log" >&2
      exit 1
    fi
    [[ -d $prefix/dosdevices ]] || { echo "no dosdevices in $prefix" >&2; exit 1; }
    ;;
  cleanup)
    "$server" -k 2>/dev/null || true
    rm -f "$prefix/dosdevices/d:"
    ;;
  *)
    echo "usage: $0 setup|cleanup <wine loader> <prefix>" >&2
    exit 2
    ;;
esac
