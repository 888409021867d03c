#!/bin/sh
# Runs one test with a home of its own: HOME, the XDG folders and the temporary folder all point
# into a fresh folder that is removed afterwards, so no test can read or change the user's files.
# ZESTRO_TEST_HOME tells the program's settings access to refuse any file outside it.
home=$(mktemp -d "${TMPDIR:-/tmp}/zestro-test.XXXXXX") || exit 1
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/config" "$home/data" "$home/cache" "$home/runtime" "$home/tmp" || exit 1
# A test that drops to another user still needs to reach its own temporary files.
chmod 755 "$home" && chmod 700 "$home/runtime" && chmod 1777 "$home/tmp" || exit 1
HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
XDG_RUNTIME_DIR="$home/runtime" TMPDIR="$home/tmp" ZESTRO_TEST_HOME="$home" "$@"
