#!/usr/bin/env bash
# Usage: isolated_session.sh PROGRAM [ARGUMENTS...]
# Runs one end-to-end test in a desktop session of its own, so that tests can run side by side:
# its own Xvfb (1920x1080x24, the display number chosen by the server), its own session and system
# D-Bus daemons, and its own HOME, XDG_RUNTIME_DIR (0700) and XDG config, data, cache and state
# homes, all in one temporary folder. Nothing of the calling session leaks in. Everything is torn
# down when the test ends or the script is stopped; ctest's timeout kills the whole process tree.
# Exits with the test's status.
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 PROGRAM [ARGUMENTS...]" >&2
  exit 2
fi

# A session whose launcher was killed outright (ctest's timeout kills with SIGKILL) left its folder.
for stale in "${TMPDIR:-/tmp}"/quillo-session.*; do
  [ -f "$stale/launcher.pid" ] || continue
  kill -0 "$(cat "$stale/launcher.pid")" 2>/dev/null || rm -rf "$stale"
done
work=$(mktemp -d "${TMPDIR:-/tmp}/quillo-session.XXXXXX")
echo $$ >"$work/launcher.pid"
helpers=()
test_pid=""
cleanup() {
  local status=$?
  trap - EXIT INT TERM HUP
  # The test runs in a process group of its own, so whatever it left behind ends with it.
  if [ -n "$test_pid" ]; then
    kill -TERM -- "-$test_pid" 2>/dev/null || true
  fi
  for pid in "${helpers[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

fail() {
  echo "isolated_session: $*" >&2
  exit 1
}

# Waits for a helper to write its first line into file; the line is printed.
first_line() {
  local file=$1 pid=$2 what=$3
  for _ in $(seq 600); do
    if [ -s "$file" ] && [ "$(tail -c 1 "$file" | od -An -c | tr -d ' ')" = '\n' ]; then
      head -n 1 "$file"
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || fail "$what ended at start: $(cat "$work/$what.log" 2>/dev/null)"
    sleep 0.05
  done
  fail "$what did not start within 30 s"
}

mkdir -p "$work/home" "$work/runtime" "$work/config/pulse" "$work/data" "$work/cache" "$work/state"
chmod 700 "$work/runtime"
# No sound server is started behind a test's back; a test that wants one starts its own.
echo "autospawn = no" >"$work/config/pulse/client.conf"

# Variables of the calling desktop that would lead a program back to it.
unset XAUTHORITY WAYLAND_DISPLAY SESSION_MANAGER PULSE_SERVER DESKTOP_STARTUP_ID XDG_ACTIVATION_TOKEN \
  XDG_SESSION_ID XDG_SEAT XDG_VTNR XDG_CURRENT_DESKTOP XDG_SESSION_TYPE XDG_CONFIG_DIRS_OVERRIDE \
  AT_SPI_BUS_ADDRESS GNOME_KEYRING_CONTROL SSH_AUTH_SOCK
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" \
  XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache" XDG_STATE_HOME="$work/state" \
  TMPDIR="$work"

Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" >"$work/Xvfb.log" 2>&1 &
helpers+=($!)
display=$(first_line "$work/display" $! Xvfb) || exit 1
export DISPLAY=":$display"

# Both buses allow everything and activate nothing: a test starts the services it needs.
for kind in session system; do
  cat >"$work/$kind-bus.conf" <<EOF
<busconfig><type>$kind</type><listen>unix:path=$work/$kind-bus</listen><auth>EXTERNAL</auth>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/>
<allow own="*"/><allow user="*"/></policy></busconfig>
EOF
  dbus-daemon --config-file="$work/$kind-bus.conf" --nofork --print-address=4 4>"$work/$kind-address" \
    >"$work/dbus-$kind.log" 2>&1 &
  helpers+=($!)
  address=$(first_line "$work/$kind-address" $! "dbus-$kind") || exit 1
  if [ "$kind" = session ]; then
    export DBUS_SESSION_BUS_ADDRESS="$address"
  else
    export DBUS_SYSTEM_BUS_ADDRESS="$address"
  fi
done

# A process group of its own (setsid), so that the cleanup reaches the test's stray children too.
setsid "$@" &
test_pid=$!
status=0
wait "$test_pid" || status=$?
exit "$status"
