#!/bin/sh
# Runs one Windows program of the cross build under Wine: quietly, and in the
# Wine prefix named by WINEPREFIX or else in the build's own one (first
# argument), so that tests of the registry never touch the user's prefix.
default_prefix=$1
shift
: "${WINEPREFIX:=$default_prefix}"
: "${WINEDEBUG:=-all}"
export WINEPREFIX WINEDEBUG
exec "${QV_WINE:-wine64}" "$@"
