#!/bin/sh
# Runs the intro on a virtual screen of the given size, ends it with SIGTERM
# (which must count as a quit) and checks how the full-screen switch went:
#   intro_display_test.sh DRIFTLOW WxH fullscreen|window
set -u
intro=$1 size=$2 expect=$3
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# A display number of our own, so parallel tests do not meet.
display=$(( 300 + $$ % 600 ))
xvfb-run -n "$display" -s "-screen 0 ${size}x24" sh -c "
  DRIFTLOW_MESSAGES=stderr timeout 60 '$intro' 2>'$log' &
  pid=\$!
  sleep 3
  kill -TERM \$pid
  wait \$pid
"
status=$?
cat "$log"
if [ $status -ne 0 ]; then
  echo "FAIL: the intro ended with status $status after SIGTERM"
  exit 1
fi
if [ "$expect" = fullscreen ] && grep -q 'Unable to switch to fullscreen!' "$log"; then
  echo "FAIL: the switch to 800x600 was refused on an $size screen"
  exit 1
fi
if [ "$expect" = window ] && ! grep -q 'Error: Unable to switch to fullscreen!' "$log"; then
  echo "FAIL: no refusal reported on an $size screen"
  exit 1
fi
echo "PASS: $expect on $size, clean exit on SIGTERM"
