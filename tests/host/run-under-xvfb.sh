#!/bin/sh
# Runs a test program on a virtual X server of its own: run-under-xvfb.sh <program> [arguments...]
# Without Xvfb the test is skipped (exit code 77), never failed.
# -noreset keeps what clients made on the server (atoms) when the last one disconnects.
for tool in Xvfb xvfb-run xauth; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed: skipped"
    exit 77
  fi
done
exec xvfb-run -a -s "-noreset -nolisten tcp -screen 0 1600x1200x24" "$@"
