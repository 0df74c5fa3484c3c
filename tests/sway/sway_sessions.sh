#!/usr/bin/env bash
# Usage: sway_sessions.sh QUILLO DEMO_SERVICE
# 1. Xwayland present, QT_QPA_PLATFORM unset: the client runs on X11; the chat-request popup
#    rises to the output's bottom-right corner and the main window keeps the focus.
# 2. No X display: the client starts on native Wayland, the console page loads with
#    window.external, and the client says once what the compositor decides there. A chat request
#    is also a desktop notification (mako on a bus of the test's own) that outlasts the popup, with
#    an Accept button that accepts the chat. A second start with a launch's activation token ends
#    at once and the first activates its window with it.
set -euo pipefail
quillo=$(realpath "$1")
service_bin=$(realpath "$2")
test_user=quillotest
output_w=1280
output_h=800

for tool in sway swaymsg Xwayland xwininfo python3 mako makoctl busctl dbus-daemon dbus-monitor dbus-send; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/setup installs it)"
    exit 77
  fi
done

# Everything the compositor and the client touch lives here, readable by the test user.
work=$(mktemp -d /tmp/quillo-sway.XXXXXX)
chmod 755 "$work"
pids=()
as_user=()
# A background function runs in a subshell, so the compositor and the client are its children.
stop_session() {
  for pid in "$@"; do
    pkill -TERM -P "$pid" 2>/dev/null || true
    kill "$pid" 2>/dev/null || true
  done
  wait "$@" 2>/dev/null || true
}
cleanup() {
  for pid in "${pids[@]}"; do pkill -TERM -P "$pid" 2>/dev/null || true; kill "$pid" 2>/dev/null || true; done
  # As root everything runs as the dedicated test user: nothing of it may outlive the test.
  [ ${#as_user[@]} -eq 0 ] || pkill -TERM -u "$test_user" 2>/dev/null || true
  # The client's browser processes write into its home until they are gone; wait before removing it.
  for _ in $(seq 50); do
    alive=""
    for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && alive=yes; done
    [ -z "$alive" ] && break
    sleep 0.1
  done
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  [ ${#as_user[@]} -eq 0 ] || pkill -KILL -u "$test_user" 2>/dev/null || true
  wait 2>/dev/null || true
  sleep 1
  rm -rf "$work"
}
trap cleanup EXIT

if [ "$(id -u)" -eq 0 ]; then
  id "$test_user" >/dev/null 2>&1 || useradd --create-home --shell /usr/sbin/nologin "$test_user"
  as_user=(setpriv --reuid="$test_user" --regid="$test_user" --init-groups --reset-env --)
fi
# A clean environment: nothing of the calling session (its DISPLAY above all) leaks in.
run_user() { "${as_user[@]}" env -i HOME="$work/home" PATH=/usr/bin:/bin "$@"; }
mkdir -p "$work/home"
[ ${#as_user[@]} -eq 0 ] || chown "$test_user:" "$work/home"

service_get() { python3 -c 'import sys, urllib.request; sys.stdout.write(urllib.request.urlopen(sys.argv[1], timeout=5).read().decode())' "http://127.0.0.1:$port$1"; }
fail() {
  echo "FAIL: $*" >&2
  echo "---- the pages' last reports" >&2
  service_get /reports 2>/dev/null | tail -c 1500 >&2 || true
  echo >&2
  for log in "$work"/*.log; do
    echo "---- $(basename "$log")" >&2
    tail -n 30 "$log" >&2
  done
  exit 1
}

"$service_bin" --port 0 >"$work/service.log" 2>&1 &
pids+=($!)
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/.*listening on \([0-9]*\).*/\1/p' "$work/service.log" | head -n 1)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || fail "the demo service did not start"

service_post() { python3 -c 'import sys, urllib.request; urllib.request.urlopen(urllib.request.Request(sys.argv[1], data=sys.argv[2].encode(), method="POST"), timeout=5)' "http://127.0.0.1:$port$1" "$2"; }
# Waits until the console page reports its load with window.external present.
wait_console() {
  for _ in $(seq 90); do
    if service_get /reports | python3 -c '
import json, sys
sys.exit(0 if any(r.get("page") == "console" and r.get("event") == "load" and r.get("external") == "yes"
                  for r in json.load(sys.stdin)) else 1)'; then
      return 0
    fi
    sleep 1
  done
  return 1
}

# Starts sway on a headless output; $1 is "enable" or "disable" for Xwayland. Sets runtime, sway.
start_sway() {
  runtime="$work/runtime-$1"
  mkdir -p "$runtime"
  chmod 700 "$runtime"
  [ ${#as_user[@]} -eq 0 ] || chown "$test_user:" "$runtime"
  cat >"$runtime/config" <<CONFIG
output HEADLESS-1 resolution ${output_w}x${output_h} position 0 0
xwayland $1
exec env > $runtime/session.env
CONFIG
  run_user XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$runtime/config" >"$work/sway-$1.log" 2>&1 &
  sway=$!
  pids+=($sway)
  for _ in $(seq 100); do
    [ -s "$runtime/session.env" ] && break
    sleep 0.1
  done
  [ -s "$runtime/session.env" ] || fail "sway did not start"
  wayland_display=$(sed -n 's/^WAYLAND_DISPLAY=//p' "$runtime/session.env")
  x_display=$(sed -n 's/^DISPLAY=//p' "$runtime/session.env")
  swaysock=$(ls "$runtime"/sway-ipc.*.sock)
}

sway_tree() { run_user XDG_RUNTIME_DIR="$runtime" SWAYSOCK="$swaysock" swaymsg -r -t get_tree; }
# The focused window's "name shell" from sway's tree, or nothing.
focused_window() {
  sway_tree | python3 -c '
import json, sys
def walk(n):
    if n.get("focused") and n.get("type") in ("con", "floating_con"):
        print(n.get("name"), n.get("shell"))
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        walk(c)
walk(json.load(sys.stdin))'
}

# Starts the client in the session, with the platform left to it (QT_QPA_PLATFORM unset); more
# variables for its environment may follow the display.
start_quillo() {
  local config="$work/config-$1"
  mkdir -p "$config/Tarnwick"
  printf '[General]\nOrderID=48213\nURL=http://127.0.0.1:%s/console?id=\n' "$port" >"$config/Tarnwick/Tarnwick Live Chat.conf"
  [ ${#as_user[@]} -eq 0 ] || chown -R "$test_user:" "$config"
  local display_env=()
  [ -n "$2" ] && display_env=(DISPLAY="$2")
  local name=$1
  shift 2
  run_user XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$wayland_display" "${display_env[@]}" \
    XDG_CONFIG_HOME="$config" XDG_DATA_HOME="$work/home/data-$name" XDG_CACHE_HOME="$work/home/cache-$name" \
    QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu" "$@" "$quillo" \
    >"$work/quillo-$name.log" 2>&1 &
  quillo_pid=$!
  pids+=($quillo_pid)
}

# "x y width height IsViewable" of the mapped X window titled like the popup, as X clients see it.
popup_geometry() {
  local id
  for id in $(run_user DISPLAY="$x_display" xwininfo -root -tree 2>/dev/null | awk '/"Quillo notification"/{print $1}'); do
    run_user DISPLAY="$x_display" xwininfo -id "$id" 2>/dev/null |
      awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} /Map State/{m=$NF} END{if (m == "IsViewable") print x, y, w, h, m}'
  done | head -n 1
}

echo "== Xwayland present, platform left to the client"
start_sway enable
[ -n "$x_display" ] || fail "sway set no DISPLAY although Xwayland is enabled"
start_quillo xwayland "$x_display"
wait_console || fail "the console page did not load through Xwayland"
# The main window is an Xwayland window and has the focus.
for _ in $(seq 50); do
  [ "$(focused_window)" = "Quillo xwayland" ] && break
  sleep 0.2
done
[ "$(focused_window)" = "Quillo xwayland" ] || fail "focused: '$(focused_window)', not Quillo on Xwayland"

service_post /reset '' >/dev/null 2>&1 || true
service_post /command '{"call":"CB_CustomFunctionWithParams","args":["Ann|Hi, I need help|2 min|Sales",1]}'
geometry=""
for _ in $(seq 100); do
  geometry=$(popup_geometry)
  read -r px py pw ph pm <<<"$geometry"
  if [ "${pm:-}" = IsViewable ] && [ $((px + pw)) -eq $output_w ] && [ "$py" -eq $((output_h - 130)) ]; then
    break
  fi
  sleep 0.1
done
read -r px py pw ph pm <<<"$geometry"
if [ "${pm:-}" != IsViewable ]; then
  run_user DISPLAY="$x_display" xwininfo -root -tree | grep -i quillo >&2 || true
  fail "the popup never became visible (xwininfo: $geometry)"
fi
# Risen its full 130 pixels above the output's bottom edge, against the right edge.
[ $((px + pw)) -eq $output_w ] && [ "$py" -eq $((output_h - 130)) ] ||
  fail "popup at $px,$py ${pw}x$ph, not risen to the bottom-right corner of ${output_w}x$output_h"
[ "$(focused_window)" = "Quillo xwayland" ] || fail "the popup took the focus: '$(focused_window)'"
echo "popup at $px,$py ${pw}x$ph; the main window kept the focus"
stop_session "$quillo_pid" "$sway"

echo "== no X display: native Wayland"
service_post /reset '' >/dev/null 2>&1 || true
start_sway disable
[ -z "$x_display" ] || fail "sway set DISPLAY=$x_display with Xwayland disabled"
# A session bus of the test's own that starts no services by itself, with mako as the desktop's
# notification service and a recorder of what the client asks of it.
cat >"$runtime/bus.conf" <<BUSCONF
<busconfig><type>session</type><listen>unix:path=$runtime/bus</listen><auth>EXTERNAL</auth>
<policy context="default"><allow send_destination="*"/><allow eavesdrop="true"/><allow own="*"/></policy></busconfig>
BUSCONF
run_user dbus-daemon --config-file="$runtime/bus.conf" --nofork >"$work/bus.log" 2>&1 &
pids+=($!)
bus="unix:path=$runtime/bus"
for _ in $(seq 50); do
  [ -S "$runtime/bus" ] && break
  sleep 0.1
done
[ -S "$runtime/bus" ] || fail "the test's session bus did not start"
run_user XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$wayland_display" DBUS_SESSION_BUS_ADDRESS="$bus" \
  mako >"$work/mako.log" 2>&1 &
pids+=($!)
mako_ready=""
for _ in $(seq 100); do
  if run_user dbus-send --bus="$bus" --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:org.freedesktop.Notifications 2>/dev/null | grep -q 'boolean true'; then
    mako_ready=yes
    break
  fi
  sleep 0.1
done
[ -n "$mako_ready" ] || fail "mako did not take the notification service's name"
run_user dbus-monitor --address "$bus" \
  "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" \
  "type='method_call',interface='org.freedesktop.Notifications',member='CloseNotification'" >"$work/notify.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
  grep -q NameAcquired "$work/notify.log" 2>/dev/null && break
  sleep 0.1
done

# The client's side of the protocol on its output, to see which token it activates with.
start_quillo wayland "" WAYLAND_DEBUG=client DBUS_SESSION_BUS_ADDRESS="$bus"
wait_console || fail "the console page did not load on native Wayland"
for _ in $(seq 50); do
  [ "$(focused_window)" = "Quillo xdg_shell" ] && break
  sleep 0.2
done
[ "$(focused_window)" = "Quillo xdg_shell" ] || fail "focused: '$(focused_window)', not Quillo as a Wayland window"
[ "$(grep -c 'compositor decides' "$work/quillo-wayland.log")" -eq 1 ] ||
  fail "the client did not say once what the compositor decides on native Wayland"
echo "native Wayland: page loaded with window.external"

# A chat request: besides the popup, an urgent notification that stays, with an Accept button.
service_post /reset '' >/dev/null 2>&1 || true
service_post /command '{"call":"CB_CustomFunctionWithParams","args":["Ann|Hi, I need help|2 min|Sales",1]}'
for _ in $(seq 100); do
  grep -q 'string "Chat request"' "$work/notify.log" && break
  sleep 0.1
done
notify_call=$(awk '/member=Notify/{call=""} {call=call $0 "\n"} END{printf "%s", call}' "$work/notify.log")
grep -q 'string "Chat request"' <<<"$notify_call" && grep -q 'Hi, I need help' <<<"$notify_call" ||
  fail "no Notify call with the chat request's text: $(tail -n 40 "$work/notify.log")"
grep -q 'string "accept"' <<<"$notify_call" && grep -q 'string "Accept"' <<<"$notify_call" ||
  fail "the chat request's notification has no Accept button: $notify_call"
grep -q 'string "urgency"' <<<"$notify_call" && grep -A1 'string "urgency"' <<<"$notify_call" | grep -q 'byte 2' ||
  fail "the chat request's notification is not critical: $notify_call"
[ "$(grep -v '^[[:space:]]*$' <<<"$notify_call" | tail -n 1 | awk '{print $1, $2}')" = "int32 0" ] ||
  fail "the chat request's notification expires: $notify_call"
# The popup's display time passes unanswered: the request still waits, and so does its notification.
# (It rises for 2.6 s, then stays 10 s.)
sleep 14
! grep -q 'member=CloseNotification' "$work/notify.log" || fail "the chat request's notification closed with the popup"
# The operator presses Accept on the notification: the page accepts the chat through cmdHidden.
run_user DBUS_SESSION_BUS_ADDRESS="$bus" makoctl invoke accept || fail "makoctl could not invoke the Accept button"
accepted=""
for _ in $(seq 100); do
  if service_get /reports | python3 -c '
import json, sys
sys.exit(0 if any(r.get("page") == "console" and r.get("event") == "accepted" for r in json.load(sys.stdin)) else 1)'; then
    accepted=yes
    break
  fi
  sleep 0.1
done
[ -n "$accepted" ] || fail "the notification's Accept did not accept the chat"
for _ in $(seq 50); do
  grep -q 'member=CloseNotification' "$work/notify.log" && break
  sleep 0.1
done
grep -q 'member=CloseNotification' "$work/notify.log" || fail "the chat request's notification was not closed"
echo "native Wayland: after the popup had gone, the chat request's notification accepted the chat and was closed"

# Started again from a launcher that hands over an activation token: the second start ends with 0
# and the first asks the compositor to activate its window with that very token.
token=quillo-test-launch-4711
run_user XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$wayland_display" XDG_CONFIG_HOME="$work/config-wayland" \
  XDG_DATA_HOME="$work/home/data-wayland" XDG_CACHE_HOME="$work/home/cache-wayland" XDG_ACTIVATION_TOKEN=$token \
  QTWEBENGINE_DISABLE_SANDBOX=1 timeout 30 "$quillo" >"$work/quillo-second.log" 2>&1 ||
  fail "the second start did not end with 0"
for _ in $(seq 50); do
  grep -q "xdg_activation_v1@[0-9]*\.activate(\"$token\"" "$work/quillo-wayland.log" && break
  sleep 0.1
done
grep -q "xdg_activation_v1@[0-9]*\.activate(\"$token\"" "$work/quillo-wayland.log" ||
  fail "the running client did not activate its window with the launch's token"
echo "native Wayland: a second start's token activated the first client's window"
echo "PASS"
