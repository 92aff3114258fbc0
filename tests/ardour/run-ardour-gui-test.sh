#!/usr/bin/env bash
# Drives Ardour 7's real GUI on a private X server (Xvfb + openbox) with our
# module as the instrument of a MIDI track, the way a user would: opens the
# mixer, double-clicks the plug-in in the strip's processor box, screenshots
# the plug-in window, rolls and stops the transport with Space, saves with
# Ctrl+S, quits with Ctrl+Q and starts Ardour again on the saved session.
#
#   tests/ardour/run-ardour-gui-test.sh <path-to-Pulsetta.so> [log-dir]
#
# Everything (logs, screenshots, the session, Ardour's config) goes into the
# log folder (default: a new /tmp/ardour-gui-test.XXXXXX).  The script stops
# at the first failed step with "FAIL [step] why" and a non-zero status, and
# ends every process it started on any exit.
#
# Environment knobs:
#   ARDOUR_GUI_TEST_EXPECT_EDITOR=1  fail unless the plug-in window holds our
#                                    editor (a painted child window of at
#                                    least 300x150 made by the module)
#   ARDOUR_GUI_TEST_SKIN_XML=FILE    the built skin's document: the editor is
#                                    expected, and driven (see the editor steps)
#   ARDOUR_GUI_TEST_SCREEN=WxHxD     Xvfb screen (default 1600x1200x24)
#   ARDOUR_GUI_TEST_SESSION_MODE     "insert" (default) or "instrument": how the
#                                    Lua builder puts the module on the track
#   ARDOUR_GUI_TEST_ARDOUR_LIFETIME  hard limit for one Ardour run (default 300 s)
#   ARDOUR_GUI_TEST_SKIP_DOUBLE_CLICK=1  open the plug-in window through the
#                                    entry's context menu only (tries the
#                                    fallback path)
#
# Needs: xvfb, openbox, xdotool, x11-utils, imagemagick, ardour (Debian 12);
# without them it is skipped (status 77).

set -u -o pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
HELPERS="$HERE/xhelpers.py"
PYTHON=${PYTHON:-python3}
ARDOUR_BIN=${ARDOUR_BIN:-/usr/bin/ardour}
ARDOUR_LUA=${ARDOUR_LUA:-/usr/bin/ardour7-lua}
ARDOUR_LIBDIR=${ARDOUR_LIBDIR:-/usr/lib/ardour7}
VST_SCANNER=${VST_SCANNER:-$ARDOUR_LIBDIR/ardour-vst-scanner}
SCREEN=${ARDOUR_GUI_TEST_SCREEN:-1600x1200x24}
SESSION_MODE=${ARDOUR_GUI_TEST_SESSION_MODE:-insert}
ARDOUR_LIFETIME=${ARDOUR_GUI_TEST_ARDOUR_LIFETIME:-300}
EXPECT_EDITOR=${ARDOUR_GUI_TEST_EXPECT_EDITOR:-0}
# The built skin's document (build/release/tools/skinart/skin/skin.xml): with
# it, the editor is expected and used (knobs, buttons and the preset browser
# found where the skin places them).
SKIN_XML=${ARDOUR_GUI_TEST_SKIN_XML:-}
[ -n "$SKIN_XML" ] && EXPECT_EDITOR=1

PLUGIN_NAME=Pulsetta
TRACK_NAME=Drums
SESSION_NAME=gui-check

# Main window client size we force, so the mixer layout is the same each run.
MAIN_W=1598
MAIN_H=1150
# Where the plug-in window's frame is put once open (right of the strips,
# below the toolbar).
PLUG_X=460
PLUG_Y=200
# Where the pointer rests between actions: bare root window, below the main
# window, where nothing shows a tooltip.
PARK_X=1590
PARK_Y=1190

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0" >&2
    exit 64
fi
# Nothing of this run may reach the caller's own display: the scanner and
# the Lua tool load the module, which may open X connections.
unset DISPLAY WAYLAND_DISPLAY XAUTHORITY
MODULE_SRC=$1
LOG_DIR=${2:-}
if [ -z "$LOG_DIR" ]; then
    LOG_DIR=$(mktemp -d /tmp/ardour-gui-test.XXXXXX)
fi
mkdir -p "$LOG_DIR" || { echo "cannot create log folder $LOG_DIR" >&2; exit 2; }
LOG_DIR=$(cd "$LOG_DIR" && pwd)
SHOTS="$LOG_DIR/shots"
ENV_DIR="$LOG_DIR/env"
VST_DIR="$LOG_DIR/vst"
SESSION_DIR="$LOG_DIR/session/$SESSION_NAME"
HARNESS_LOG="$LOG_DIR/harness.log"
TIMINGS="$LOG_DIR/timings.txt"
: >"$HARNESS_LOG"
: >"$TIMINGS"

XVFB_PID=""
OPENBOX_PID=""
ARDOUR_PID=""
ARDOUR_RUN=0
STEP="setup"
STEP_T0=$EPOCHREALTIME
RUN_T0=$EPOCHREALTIME
SHOT_N=0

# ---------------------------------------------------------------------------
# logging, steps, failure

elapsed() { # seconds since $1 (an EPOCHREALTIME), 2 decimals
    awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }'
}

log() {
    local line
    line="[$(elapsed "$RUN_T0")s] $*"
    echo "$line"
    echo "$line" >>"$HARNESS_LOG"
}

step() {
    STEP=$1
    STEP_T0=$EPOCHREALTIME
    log "=== step: $STEP"
}

step_done() {
    local t
    t=$(elapsed "$STEP_T0")
    printf '%-22s %7ss  %s\n' "$STEP" "$t" "${1:-}" >>"$TIMINGS"
    log "--- ok: $STEP (${t}s)${1:+ $1}"
}

fail() {
    log "FAIL [$STEP] $*"
    [ -n "${DISPLAY:-}" ] && shot "fail-$STEP" 2>/dev/null
    if [ -n "${DISPLAY:-}" ]; then
        log "visible windows at failure:"
        "$PYTHON" "$HELPERS" windows 2>&1 | sed 's/^/    /' | tee -a "$HARNESS_LOG"
    fi
    echo "FAIL [$STEP] $*" >"$LOG_DIR/RESULT"
    exit 1
}

# A machine without Ardour or the X tools skips the check (status 77, which ctest reports as skipped).
need() {
    command -v "$1" >/dev/null 2>&1 || [ -x "$1" ] && return 0
    log "SKIP: missing tool $1 (scripts/install-deps.sh installs what the check needs)"
    echo "SKIP missing $1" >"$LOG_DIR/RESULT"
    exit 77
}

# helper wrapper: runs an xhelpers sub-command, bounded in time
xh() { timeout 60 "$PYTHON" "$HELPERS" "$@"; }

# kv KEY "k=v k2=v2 ..." -> value
kv() { sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$2" | head -1; }

shot() { # shot NAME [WINDOW]: numbered screenshot into $SHOTS, path in $SHOT_FILE
    SHOT_N=$((SHOT_N + 1))
    SHOT_FILE=$(printf '%s/%02d-%s.png' "$SHOTS" "$SHOT_N" "$1")
    if [ $# -gt 1 ]; then
        xh shot "$SHOT_FILE" "$2" >/dev/null || return 1
    else
        xh shot "$SHOT_FILE" >/dev/null || return 1
    fi
}

# ---------------------------------------------------------------------------
# processes

kill_group() { # kill_group PID NAME: TERM the process group we made with setsid, then KILL
    local pid=$1 name=$2 i
    [ -n "$pid" ] || return 0
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
    kill -TERM -- "-$pid" 2>/dev/null || kill -TERM "$pid" 2>/dev/null
    for i in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL -- "-$pid" 2>/dev/null || kill -KILL "$pid" 2>/dev/null
        echo "[cleanup] $name ($pid) needed SIGKILL" >>"$HARNESS_LOG"
    fi
    wait "$pid" 2>/dev/null
    return 0
}

cleanup() {
    local rc=$?
    trap - EXIT INT TERM HUP
    kill_group "$ARDOUR_PID" ardour
    kill_group "$OPENBOX_PID" openbox
    kill_group "$XVFB_PID" Xvfb
    if [ $rc -eq 0 ]; then
        log "RESULT: PASS  total $(elapsed "$RUN_T0")s  logs: $LOG_DIR"
        echo "PASS" >"$LOG_DIR/RESULT"
    elif [ $rc -eq 77 ]; then
        log "RESULT: SKIPPED"
    else
        log "RESULT: FAIL (status $rc)  total $(elapsed "$RUN_T0")s  logs: $LOG_DIR"
    fi
    exit $rc
}
trap cleanup EXIT
trap 'log "interrupted"; echo "FAIL [$STEP] interrupted" >"$LOG_DIR/RESULT"; exit 130' INT TERM HUP

# The environment every Ardour program of this run sees: a fresh home and
# XDG folders, and only our module on the LXVST path.
ardour_env() {
    env -u VST_PATH -u LADSPA_PATH -u DBUS_SESSION_BUS_ADDRESS -u SESSION_MANAGER \
        HOME="$ENV_DIR/home" \
        XDG_CONFIG_HOME="$ENV_DIR/config" \
        XDG_CACHE_HOME="$ENV_DIR/cache" \
        XDG_DATA_HOME="$ENV_DIR/data" \
        XDG_RUNTIME_DIR="$ENV_DIR/runtime" \
        LXVST_PATH="$VST_DIR" \
        VST3_PATH="$ENV_DIR/empty" \
        NO_AT_BRIDGE=1 \
        "$@"
}

main_title_regex() { echo "^\\*?$SESSION_NAME - Ardour\$"; }

start_ardour() { # start_ardour -> sets ARDOUR_PID, MAIN_WIN
    ARDOUR_RUN=$((ARDOUR_RUN + 1))
    local alog="$LOG_DIR/ardour-run$ARDOUR_RUN.log"
    log "starting: ardour -n -a $SESSION_DIR  (output: $alog)"
    # -n: no splash, -a: no announcements (there is no network here)
    DISPLAY=$DISPLAY ardour_env setsid timeout -k 10 "$ARDOUR_LIFETIME" \
        "$ARDOUR_BIN" -n -a "$SESSION_DIR" >"$alog" 2>&1 </dev/null &
    ARDOUR_PID=$!
    local t0=$EPOCHREALTIME out id
    while :; do
        if ! kill -0 "$ARDOUR_PID" 2>/dev/null; then
            wait "$ARDOUR_PID"
            local st=$?
            ARDOUR_PID=""
            tail -20 "$alog" | sed 's/^/    ardour: /' | tee -a "$HARNESS_LOG"
            fail "Ardour exited (status $st) before its main window showed"
        fi
        out=$("$PYTHON" "$HELPERS" windows 2>/dev/null || true)
        # Dialogs that a prepared configuration must keep away
        if grep -qE 'title="(Audio/MIDI Setup|Session Setup|Crash Recovery|Ardour - Session Setup)"' <<<"$out"; then
            shot "unexpected-dialog"
            fail "Ardour showed a start-up dialog: $(grep -oE 'title="[^"]*"' <<<"$out" | tr '\n' ' ')"
        fi
        id=$(timeout 5 xdotool search --onlyvisible --name "$(main_title_regex)" 2>/dev/null | head -1)
        if [ -n "$id" ]; then
            MAIN_WIN=$id
            break
        fi
        if awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN { exit !(b - a > 90) }'; then
            fail "no Ardour main window within 90 s"
        fi
        sleep 0.25
    done
    log "main window 0x$(printf %x "$MAIN_WIN") up after $(elapsed "$t0")s"
}

activate_main() {
    local i
    for i in 1 2 3 4 5; do
        timeout 10 xdotool windowactivate --sync "$MAIN_WIN" >/dev/null 2>&1
        sleep 0.2
        [ "$(timeout 5 xdotool getactivewindow 2>/dev/null)" = "$MAIN_WIN" ] && return 0
        sleep 0.5
    done
    fail "could not give the main window the focus (active: $(timeout 5 xdotool getactivewindow getwindowname 2>/dev/null))"
}

press() { # press KEYS...: to the focused window, modifiers held by nobody else
    timeout 10 xdotool key --clearmodifiers "$@" || fail "xdotool key $* failed"
}

# Pointer moves never use --sync: xdotool's --sync waits ~15 s when the
# pointer already is at the target.
pointer_to() { timeout 10 xdotool mousemove "$1" "$2" && sleep 0.15; }
double_click() { pointer_to "$1" "$2"; timeout 10 xdotool click --repeat 2 --delay 80 1; }

# Screen region (x y w h) of the main window's toolbar band: clocks and
# mini-timeline, which move while the transport rolls and stand still when
# it is stopped.  The menu bar (CPU load readout) and the meters at the
# right are left out.
toolbar_region() {
    local g x y w
    g=$(xh geometry "$MAIN_WIN") || fail "no geometry for the main window"
    x=$(kv x "$g"); y=$(kv y "$g"); w=$(kv w "$g")
    echo "$x $((y + 26)) $((w * 70 / 100)) 64"
}

transport_motion() { # -> MOTION: changed toolbar pixels between two shots 1 s apart
    local a b r
    shot "$1-a" || fail "screenshot failed"; a=$SHOT_FILE
    sleep 1
    shot "$1-b" || fail "screenshot failed"; b=$SHOT_FILE
    local region
    region=$(toolbar_region)
    # shellcheck disable=SC2086  # four numbers
    r=$(xh diff "$a" "$b" $region) || fail "picture diff failed"
    MOTION=$(kv changed "$r")
}

# ---------------------------------------------------------------------------
step "tools"
for t in Xvfb openbox xdotool xwininfo xprop setsid timeout "$PYTHON" /usr/bin/import /usr/bin/convert \
         "$ARDOUR_BIN" "$ARDOUR_LUA" "$VST_SCANNER"; do
    need "$t"
done
[ -f "$MODULE_SRC" ] || fail "module not found: $MODULE_SRC"
[ -f "$HERE/build-session.lua" ] || fail "missing $HERE/build-session.lua"
step_done

# ---------------------------------------------------------------------------
step "prepare"
rm -rf "$ENV_DIR" "$VST_DIR" "$LOG_DIR/session" "$SHOTS"
mkdir -p "$ENV_DIR"/{home,config/ardour7,cache,data,runtime,empty} "$VST_DIR" "$SHOTS" "$LOG_DIR/session"
chmod 700 "$ENV_DIR/runtime"
# our own copy: the build folder may be rebuilt while we run
cp "$MODULE_SRC" "$VST_DIR/$PLUGIN_NAME.so" || fail "cannot copy $MODULE_SRC"
# Ardour trusts a plug-in cache entry only when it is strictly newer (in whole
# seconds) than the module; a copy and a scan in the same second would make
# Ardour call its own fresh cache stale and not list the module at all.
touch -m -d "@$(( $(date +%s) - 60 ))" "$VST_DIR/$PLUGIN_NAME.so"
log "module: $MODULE_SRC -> $VST_DIR/$PLUGIN_NAME.so ($(stat -c %s "$VST_DIR/$PLUGIN_NAME.so") bytes, sha1 $(sha1sum "$VST_DIR/$PLUGIN_NAME.so" | cut -c1-12))"
# The empty .a7 file marks Ardour 7 as "run before" (no new-user wizard);
# the config keeps the Dummy backend listed, lets Ardour start the engine by
# itself and gives it the saved engine state it would otherwise ask for in
# the Audio/MIDI Setup dialog.
: >"$ENV_DIR/config/ardour7/.a7"
cp "$HERE/ardour7-config.xml" "$ENV_DIR/config/ardour7/config" || fail "missing ardour7-config.xml"
step_done

# ---------------------------------------------------------------------------
step "scan"
# The Lua tool reads Ardour's plug-in cache but never scans, so the cache
# entry (XDG_CACHE_HOME/ardour7/vst/*.v2i) is made here by Ardour's scanner.
ardour_env LD_LIBRARY_PATH="$ARDOUR_LIBDIR" timeout 120 "$VST_SCANNER" -v -f "$VST_DIR/$PLUGIN_NAME.so" \
    >"$LOG_DIR/vst-scan.log" 2>&1 || { cat "$LOG_DIR/vst-scan.log" >>"$HARNESS_LOG"; fail "ardour-vst-scanner failed (see vst-scan.log)"; }
V2I=$(ls "$ENV_DIR"/cache/ardour7/vst/*.v2i 2>/dev/null | head -1)
[ -n "$V2I" ] || fail "the scanner wrote no .v2i cache file: $(tail -3 "$LOG_DIR/vst-scan.log" | tr '\n' ' ')"
grep -q "name=\"$PLUGIN_NAME\"" "$V2I" || fail "cache file has no plug-in named $PLUGIN_NAME: $(cat "$V2I")"
log "cache: $V2I"
sed 's/^/    /' "$V2I" | tee -a "$HARNESS_LOG"
step_done

# ---------------------------------------------------------------------------
step "session"
ardour_env timeout 180 "$ARDOUR_LUA" "$HERE/build-session.lua" "$SESSION_DIR" "$SESSION_NAME" "$TRACK_NAME" "$SESSION_MODE" \
    >"$LOG_DIR/build-session.log" 2>&1 </dev/null
rc=$?
sed 's/^/    /' "$LOG_DIR/build-session.log" | tee -a "$HARNESS_LOG"
[ $rc -eq 0 ] || fail "ardour7-lua build-session.lua failed with status $rc"
SESSION_FILE="$SESSION_DIR/$SESSION_NAME.ardour"
[ -f "$SESSION_FILE" ] || fail "no session file $SESSION_FILE"
grep -q "type=\"lxvst\"" "$SESSION_FILE" && grep -q "name=\"$PLUGIN_NAME\"" "$SESSION_FILE" \
    || fail "the saved session holds no LXVST processor named $PLUGIN_NAME"
xh chunk "$SESSION_FILE" "$PLUGIN_NAME" >"$LOG_DIR/chunk-built.xml" 2>/dev/null || : >"$LOG_DIR/chunk-built.xml"
step_done "$SESSION_FILE"

# ---------------------------------------------------------------------------
step "x-server"
# A display of our own from :120 up: programs that find no DISPLAY (other
# tests running beside this one) fall back to :0, and must not find ours there.
DISP=""
for n in $(seq 120 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    setsid Xvfb ":$n" -screen 0 "$SCREEN" -nolisten tcp -noreset >"$LOG_DIR/xvfb.log" 2>&1 </dev/null &
    XVFB_PID=$!
    for i in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$XVFB_PID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
        DISP=$n
        break
    fi
    kill_group "$XVFB_PID" Xvfb   # lost the number to another server: the next one
    XVFB_PID=""
done
[ -n "$DISP" ] || fail "no Xvfb came up on any display from :120 to :199: $(tail -5 "$LOG_DIR/xvfb.log")"
export DISPLAY=":$DISP"
log "Xvfb pid $XVFB_PID on $DISPLAY ($SCREEN)"
HOME="$ENV_DIR/home" XDG_CONFIG_HOME="$ENV_DIR/config" setsid openbox --sm-disable \
    >"$LOG_DIR/openbox.log" 2>&1 </dev/null &
OPENBOX_PID=$!
for i in $(seq 1 100); do
    timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    kill -0 "$OPENBOX_PID" 2>/dev/null || fail "openbox exited: $(tail -5 "$LOG_DIR/openbox.log")"
    sleep 0.1
done
timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || fail "openbox did not come up in 10 s"
log "openbox pid $OPENBOX_PID"
step_done "$DISPLAY"

# ---------------------------------------------------------------------------
step "ardour-start"
start_ardour
T_MAIN=$(elapsed "$STEP_T0")
# Let Ardour finish laying out the session (it sets the window's size from
# instant.xml after mapping it), then fix size and place.
sleep 2
timeout 10 xdotool windowmove "$MAIN_WIN" 0 0 windowsize "$MAIN_WIN" "$MAIN_W" "$MAIN_H" || fail "cannot move/resize the main window"
sleep 1
G=$(xh geometry "$MAIN_WIN") || fail "no geometry for the main window"
log "main window: $G"
[ "$(kv w "$G")" = "$MAIN_W" ] && [ "$(kv h "$G")" = "$MAIN_H" ] || log "note: main window is not ${MAIN_W}x${MAIN_H}"
shot editor
step_done "main window after ${T_MAIN}s"

# ---------------------------------------------------------------------------
step "mixer"
activate_main
press alt+m
ENTRY=""
t0=$EPOCHREALTIME
for i in $(seq 1 20); do
    sleep 0.5
    shot mixer || fail "screenshot failed"; f=$SHOT_FILE
    ENTRY=$(xh find-entry "$f" "$(kv x "$G")" "$(kv y "$G")" "$(kv w "$G")" "$(kv h "$G")" 2>>"$HARNESS_LOG") && break
    rm -f "$f"; SHOT_N=$((SHOT_N - 1))
    ENTRY=""
    if [ "$i" = 10 ]; then
        log "mixer not seen after Alt+M; pressing it again"
        activate_main
        press alt+m
    fi
done
[ -n "$ENTRY" ] || fail "no '$PLUGIN_NAME' entry above a Fader entry in the mixer (is the mixer shown? see shots)"
log "processor entry: $ENTRY (found $(elapsed "$t0")s after Alt+M)"
CX=$(kv click_x "$ENTRY"); CY=$(kv click_y "$ENTRY")
/usr/bin/convert "$f" -crop "$(kv entry_w "$ENTRY")x$(kv entry_h "$ENTRY")+$(kv entry_x "$ENTRY")+$(kv entry_y "$ENTRY")" +repage \
    -scale 400% "$SHOTS/entry-crop.png" 2>/dev/null
step_done "entry at $CX,$CY"

# ---------------------------------------------------------------------------
step "open-plugin-window"
# Ardour titles it "<track>: <plug-in> (by <maker>) [VST]"; xdotool matches
# without regard to case.
PLUG_RE="^$TRACK_NAME: $PLUGIN_NAME( |$)"
HOW=""
if [ "${ARDOUR_GUI_TEST_SKIP_DOUBLE_CLICK:-0}" = 1 ]; then
    log "ARDOUR_GUI_TEST_SKIP_DOUBLE_CLICK=1: going straight to the context menu"
    P=""; false
else
    double_click "$CX" "$CY"
    P=$(xh wait-window "$PLUG_RE" 10 2>>"$HARNESS_LOG")
fi
if [ $? -eq 0 ] && [ -n "$P" ]; then
    HOW="double-click"
else
    log "no plug-in window from a double-click; trying the entry's context menu (Edit...)"
    shot after-double-click
    pointer_to "$CX" "$CY"
    timeout 10 xdotool click 3
    MENU=$(xh popup-at "$CX" "$CY" 5 2>>"$HARNESS_LOG") || fail "no context menu after a right-click on the entry"
    log "context menu: $MENU"
    shot context-menu
    # "Edit..." is the menu's second item; GTK menu rows are 18 px in
    # Ardour's default theme, the first row's middle 11 px below the top.
    MX=$(( $(kv x "$MENU") + 40 )); MY=$(( $(kv y "$MENU") + 29 ))
    # two moves: GTK highlights a menu row on pointer motion inside it
    pointer_to "$MX" "$((MY - 3))"
    pointer_to "$MX" "$MY"
    sleep 0.6
    shot context-menu-edit
    timeout 10 xdotool click 1
    P=$(xh wait-window "$PLUG_RE" 10 2>>"$HARNESS_LOG") || fail "no plug-in window after double-click nor after the context menu's Edit..."
    HOW="context menu"
fi
PLUG_WIN=$(kv id "$P")
log "plug-in window $PLUG_WIN opened by $HOW: $P"
# Out of the way: left on the entry, the pointer raises the entry's tooltip,
# which lands over the plug-in window.
pointer_to "$PARK_X" "$PARK_Y"
step_done "$HOW"

# ---------------------------------------------------------------------------
step "plugin-window"
sleep 1.5   # let the window and an editor in it paint
PG=$(xh geometry "$PLUG_WIN") || fail "no geometry for the plug-in window"
log "plug-in window as placed by openbox: $PG"
# A fixed place below the main window's toolbar: the transport check reads
# the clocks there, and an animated editor over them would look like motion.
timeout 10 xdotool windowmove "$PLUG_WIN" "$PLUG_X" "$PLUG_Y" || fail "cannot move the plug-in window"
timeout 10 xdotool windowactivate --sync "$PLUG_WIN" >/dev/null 2>&1 || true
sleep 0.5
PG=$(xh geometry "$PLUG_WIN") || fail "no geometry for the plug-in window"
log "plug-in window: $PG"
echo "$PG" >"$LOG_DIR/plugin-window-geometry.txt"
xh tree "$PLUG_WIN" >"$LOG_DIR/plugin-window-tree.txt" 2>&1
timeout 10 xwininfo -tree -id "$PLUG_WIN" >>"$LOG_DIR/plugin-window-tree.txt" 2>&1
log "plug-in window children (foreign=1: made by the module's own X connection):"
xh tree "$PLUG_WIN" | sed 's/^/    /' | tee -a "$HARNESS_LOG"
xh shot "$SHOTS/plugin-window.png" "$PLUG_WIN" >/dev/null || fail "cannot screenshot the plug-in window"
shot plugin-window-screen
/usr/bin/convert "$SHOT_FILE" -crop "$(kv frame_w "$PG")x$(kv frame_h "$PG")+$(kv frame_x "$PG")+$(kv frame_y "$PG")" \
    +repage "$SHOTS/plugin-window-with-frame.png" 2>/dev/null
# The module's editor is the largest window in the plug-in window that
# another X client (the module) made.
EDITOR_LINE=$(xh foreign-children "$PLUG_WIN" | awk '{ for (i=1;i<=NF;i++) { split($i,a,"="); v[a[1]]=a[2] } ; print v["w"]*v["h"], $0 }' \
    | sort -n | tail -1 | cut -d' ' -f2-)
if [ -n "$EDITOR_LINE" ]; then
    EW=$(kv w "$EDITOR_LINE"); EH=$(kv h "$EDITOR_LINE")
    EX=$(kv abs_x "$EDITOR_LINE"); EY=$(kv abs_y "$EDITOR_LINE")
    log "module window in the plug-in window: $EDITOR_LINE"
    shot editor-area
    /usr/bin/convert "$SHOT_FILE" -crop "${EW}x${EH}+${EX}+${EY}" +repage "$SHOTS/editor-area.png" 2>/dev/null
    B=$(xh blank "$SHOTS/editor-area.png" 2>&1)
    log "editor area ${EW}x${EH}: $B"
else
    EW=0; EH=0; B="blank=1"
    log "no window made by the module inside the plug-in window"
fi
if [ "$EXPECT_EDITOR" = 1 ]; then
    [ "$EW" -ge 300 ] && [ "$EH" -ge 150 ] || fail "expected our editor in the plug-in window, found a ${EW}x${EH} module window"
    [ "$(kv blank "$B")" = 0 ] || fail "the module's window in the plug-in window is one flat colour (not painted)"
fi
step_done "window $(kv w "$PG")x$(kv h "$PG"), module child ${EW}x${EH}"

# ---------------------------------------------------------------------------
# The editor, driven as a user drives it (only with the skin's document).

# The module's own windows: made by the X connection of the deepest window
# another client put in the plug-in window (the one above it is Ardour's).
MODULE_BASE=""
EDITOR_WIN=""
if [ -n "$EDITOR_LINE" ]; then
    EDITOR_WIN=$(xh foreign-children "$PLUG_WIN" | tail -1 | sed -n 's/.*id=\(0x[0-9a-f]*\).*/\1/p')
    MODULE_BASE=$EDITOR_WIN
fi

# The preset browser as the editor shows it: centred above the status bar,
# its preset column's rows 20 px high.
BROWSER_W=639; BROWSER_H=350; STATUS_BAR_H=20; PRESET_LIST_LEFT=283; LIST_TOP=41; ROW_H=20

editor_control() { # editor_control NAME [DX DY] -> AT_X AT_Y: a point inside the control, on the screen
    local c
    c=$(xh control "$SKIN_XML" "$1") || fail "no control $1 in $SKIN_XML"
    AT_X=$((EX + $(kv x "$c") + ${2:-8})); AT_Y=$((EY + $(kv y "$c") + ${3:-8}))
}
click_at() { pointer_to "$1" "$2"; timeout 10 xdotool click 1; sleep 0.5; }
click_control() { editor_control "$@"; click_at "$AT_X" "$AT_Y"; }
preset_row() { # preset_row N -> AT_X AT_Y: the middle of the browser's Nth preset row
    AT_X=$((EX + EW / 2 - BROWSER_W / 2 + PRESET_LIST_LEFT + 60))
    AT_Y=$((EY + (EH - STATUS_BAR_H) / 2 - BROWSER_H / 2 + LIST_TOP + $1 * ROW_H + ROW_H / 2))
}
start_rename() { # start_rename ROW TEXT: opens the browser, renames the ROWth preset, types TEXT
    click_control PresetBrowseButton
    preset_row "$1"
    click_at "$AT_X" "$AT_Y"
    double_click "$AT_X" "$AT_Y"
    sleep 0.8
    [ -n "$(floating_windows)" ] || fail "no rename field floats over the preset's row"
    timeout 10 xdotool type --delay 60 "$2"
}
drag_up() { # drag_up CONTROL STEPS: a knob dragged up 4 px a step, with the X pointer
    editor_control "$1" 15 15
    pointer_to "$AT_X" "$AT_Y"
    timeout 10 xdotool mousedown 1
    local i
    for i in $(seq 1 "$2"); do
        timeout 10 xdotool mousemove "$AT_X" $((AT_Y - 4 * i)); sleep 0.08
    done
    timeout 10 xdotool mouseup 1
}
editor_picture() { # editor_picture NAME -> EDITOR_PNG: the editor's area of the screen
    shot "$1" || fail "screenshot failed"
    EDITOR_PNG="$SHOTS/editor-$1.png"
    /usr/bin/convert "$SHOT_FILE" -crop "${EW}x${EH}+${EX}+${EY}" +repage "$EDITOR_PNG" || fail "cannot crop the editor"
}
editor_change() { # editor_change A.png B.png -> CHANGED: pixels that differ where windows open (the
    # voice strips above the pattern and step panels, whose lights the sequencer changes)
    CHANGED=$(kv changed "$(xh diff "$1" "$2" $((EW / 2 - BROWSER_W / 2)) 60 "$BROWSER_W" 310)")
    [ -n "$CHANGED" ] || fail "picture diff failed"
}
floating_windows() { # the module's windows shown outside the plug-in window, one a line
    xh module-windows "$MODULE_BASE" | grep -v "id=$EDITOR_WIN " || true
}
module_windows() { xh module-windows "$MODULE_BASE" || true; }
rolls() { # rolls LABEL -> 0 when the clocks move
    transport_motion "$1"
    log "$1: $MOTION toolbar pixels changed in 1 s"
    [ "$MOTION" -ge 100 ]
}
# Ardour's close button on its plug-in window hides the window; a double-click
# on the mixer's entry shows it again, in its place.
close_plugin_window() {
    xh close "$PLUG_WIN" >/dev/null || fail "cannot ask the window manager to close the plug-in window"
    xh wait-gone "$PLUG_WIN" 10 >/dev/null || fail "the plug-in window is still shown after its close button"
    sleep 1
}
show_plugin_window() {
    activate_main
    double_click "$CX" "$CY"
    xh wait-window "$PLUG_RE" 10 >/dev/null || fail "the plug-in window does not show again after a double-click"
    pointer_to "$PARK_X" "$PARK_Y"
    timeout 10 xdotool windowmove "$PLUG_WIN" "$PLUG_X" "$PLUG_Y" >/dev/null 2>&1
    sleep 1.5
    local g
    g=$(xh foreign-children "$PLUG_WIN" | tail -1)
    [ "$(kv abs_x "$g")" = "$EX" ] && [ "$(kv abs_y "$g")" = "$EY" ] || fail "the editor moved: $g"
}

if [ -n "$SKIN_XML" ]; then
    [ -n "$MODULE_BASE" ] || fail "no editor window to drive"
    log "editor window $EDITOR_WIN at $EX,$EY, ${EW}x${EH}"

    # -----------------------------------------------------------------------
    step "editor-plays"
    # The first pattern plays with Ardour's transport: its step light moves.
    activate_main
    press space
    sleep 1
    editor_picture rolling-1; a=$EDITOR_PNG
    sleep 0.7
    editor_picture rolling-2; b=$EDITOR_PNG
    first=$(xh control "$SKIN_XML" Step01Button) || fail "no step keys in the skin"
    last=$(xh control "$SKIN_XML" Step16Button) || fail "no step keys in the skin"
    steps=$(xh diff "$a" "$b" "$(kv x "$first")" "$(kv y "$first")" $(( $(kv x "$last") + 48 - $(kv x "$first") )) 48)
    activate_main
    press space
    log "steps panel pixels changed in 0.7 s while rolling: $(kv changed "$steps")"
    [ "$(kv changed "$steps")" -ge 50 ] || fail "the step light does not move while Ardour's transport rolls"
    step_done "$(kv changed "$steps") px"

    # -----------------------------------------------------------------------
    step "keys-reach-ardour"
    # Clicks on a knob and on the panel's background leave the keyboard to
    # Ardour: Space starts and stops its transport.
    sleep 1.5
    for target in knob panel; do
        if [ $target = knob ]; then click_control BassDrumDecayKnob 15 15; else click_at $((EX + 300)) $((EY + 30)); fi
        press space
        sleep 0.7
        rolls "space-after-$target" || fail "Space after a click on the $target did not start Ardour's transport"
        press space
        sleep 1.5
        rolls "space-again-after-$target" && fail "Space again after a click on the $target did not stop Ardour's transport"
    done
    step_done

    # -----------------------------------------------------------------------
    step "escape"
    # Escape closes Options after a click on the panel's background, and the
    # preset browser after a click on a knob.
    sleep 1
    editor_picture plain; plain=$EDITOR_PNG
    for what in OptionsButton PresetBrowseButton; do
        if [ $what = OptionsButton ]; then click_at $((EX + 300)) $((EY + 30)); else click_control BassDrumDecayKnob 15 15; fi
        click_control $what
        editor_picture "$what-open"
        editor_change "$plain" "$EDITOR_PNG"; opened=$CHANGED
        press Escape
        sleep 0.7
        editor_picture "$what-escaped"
        editor_change "$plain" "$EDITOR_PNG"; left=$CHANGED
        log "$what: $opened pixels changed when open, $left after Escape"
        [ "$opened" -ge 20000 ] || fail "$what opened nothing ($opened pixels changed)"
        [ "$left" -le 200 ] || fail "Escape did not close what $what opened ($left pixels still changed)"
    done
    step_done

    # -----------------------------------------------------------------------
    step "rename"
    # A name typed with spaces into the preset browser names the preset, and
    # its spaces do not start Ardour's transport.
    start_rename 3 "My Kit 1"
    press Return
    sleep 0.5
    rolls "after-typing-spaces" && fail "the spaces typed into the rename started Ardour's transport"
    press Escape
    sleep 0.5
    step_done

    # -----------------------------------------------------------------------
    step "automation"
    # BD TUNE's lane records in Touch: a drag of its knob while the transport
    # rolls writes automation, and Ardour lives on.
    activate_main
    press space
    sleep 1
    drag_up BassDrumTuneKnob 10
    sleep 0.5
    kill -0 "$ARDOUR_PID" 2>/dev/null || fail "Ardour died recording a knob drag from the editor"
    activate_main
    press space
    sleep 1
    kill -0 "$ARDOUR_PID" 2>/dev/null || fail "Ardour died after recording a knob drag from the editor"
    # Touch gives the lane back its old value on release: the value that a
    # session keeps is turned on another knob, whose lane is off.
    drag_up BassDrumPitchKnob 6
    pointer_to "$PARK_X" "$PARK_Y"
    step_done

    # -----------------------------------------------------------------------
    step "close-during-rename"
    # Ardour's close button while a preset is renamed: no window of the
    # module stays on the screen, and what was typed is the preset's name.
    start_rename 4 "Closed"
    close_plugin_window
    left=$(module_windows)
    [ -z "$left" ] || fail "windows of the module still shown with the plug-in window closed: $left"
    show_plugin_window
    editor_picture reopened-after-rename
    [ "$(kv blank "$(xh blank "$EDITOR_PNG")")" = 0 ] || fail "the editor is not painted when the window shows again"
    # The browser is still open, without the keyboard until it is clicked.
    click_at $((EX + EW / 2)) $((EY + (EH - STATUS_BAR_H) / 2 - BROWSER_H / 2 + 15))
    press Escape
    sleep 0.5
    step_done

    # -----------------------------------------------------------------------
    step "close-with-save-dialog"
    # Ardour's close button while a pattern's save dialog is open: the dialog
    # goes with the window, as a cancel, and nothing is saved.
    touch "$LOG_DIR/before-dialog"
    editor_control PattNextButton
    pointer_to "$AT_X" "$AT_Y"
    timeout 10 xdotool keydown ctrl click 1 keyup ctrl
    sleep 0.6
    c=$(xh control "$SKIN_XML" PattNextButton)
    click_at $((EX + $(kv x "$c") + 20)) $((EY + $(kv y "$c") + 20 + 4 + 8))
    sleep 1
    dialog=$(floating_windows)
    [ -n "$dialog" ] || fail "no save dialog after the pattern menu's first item"
    log "save dialog: $dialog"
    shot save-dialog
    close_plugin_window
    left=$(module_windows)
    [ -z "$left" ] || fail "windows of the module still shown with the plug-in window closed: $left"
    written=$(find "$ENV_DIR" -newer "$LOG_DIR/before-dialog" -type f \( -name '*.ptr' -o -name '*.ptrb' -o -name '*.prs' -o -name '*.prsb' \))
    [ -z "$written" ] || fail "the closed dialog saved: $written"
    show_plugin_window
    [ -z "$(floating_windows)" ] || fail "the dialog came back with the window"
    step_done
fi

# ---------------------------------------------------------------------------
step "transport"
activate_main
transport_motion before-roll; still=$MOTION
log "toolbar pixels changing while stopped: $still"
press space
sleep 1
transport_motion rolling; rolling=$MOTION
log "toolbar pixels changing after Space: $rolling"
[ "$rolling" -ge 100 ] || fail "transport does not seem to roll after Space (only $rolling pixels of the clocks changed in 1 s)"
activate_main
press space
sleep 1.5
transport_motion stopped; stopped=$MOTION
log "toolbar pixels changing after the second Space: $stopped"
[ "$stopped" -le 20 ] || fail "transport does not seem to stop after Space ($stopped pixels of the clocks changed in 1 s)"
step_done "rolling diff $rolling px, stopped diff $stopped px"

# ---------------------------------------------------------------------------
step "save"
before_ns=$(stat -c %.9Y "$SESSION_FILE")
activate_main
press ctrl+s
saved=""
for i in $(seq 1 50); do
    sleep 0.2
    [ "$(stat -c %.9Y "$SESSION_FILE")" != "$before_ns" ] && { saved=1; break; }
done
[ -n "$saved" ] || fail "Ctrl+S did not rewrite $SESSION_FILE within 10 s"
sleep 0.5
TITLE=$(timeout 5 xdotool getwindowname "$MAIN_WIN")
log "saved ($(stat -c %s "$SESSION_FILE") bytes); main window title now: $TITLE"
grep -q "type=\"lxvst\"" "$SESSION_FILE" || fail "the saved session lost the LXVST processor"
shot saved
if [ -n "$SKIN_XML" ]; then
    xh chunk "$SESSION_FILE" "$PLUGIN_NAME" >"$LOG_DIR/chunk-saved.xml" || fail "no state chunk in the saved session"
    for name in "My Kit 1" "Closed"; do
        grep -q "name=\"$name\"" "$LOG_DIR/chunk-saved.xml" || fail "no preset named '$name' in the saved state"
    done
    pitch_of() { grep -o '<ParametersState>.*' "$1" | grep -o 'name="Bass Drum Pitch" value="[^"]*"' | head -1; }
    PITCH=$(pitch_of "$LOG_DIR/chunk-saved.xml")
    [ -n "$PITCH" ] && [ "$PITCH" != "$(pitch_of "$LOG_DIR/chunk-built.xml")" ] || fail "BD PITCH kept no dragged value: $PITCH"
    AUTOMATION=$(xh automation "$SESSION_FILE" "$PLUGIN_NAME" 12) || fail "no automation list for BD TUNE"
    log "saved: $PITCH; BD TUNE automation: $AUTOMATION"
    [ "$(kv points "$AUTOMATION")" -ge 2 ] || fail "Ardour recorded no automation from the knob drag: $AUTOMATION"
fi
step_done

# ---------------------------------------------------------------------------
quit_ardour() { # quit_ardour LABEL: Ctrl+Q, answer a save question, wait for the exit
    activate_main
    press ctrl+q
    local t0=$EPOCHREALTIME answered=""
    while kill -0 "$ARDOUR_PID" 2>/dev/null; do
        if [ -z "$answered" ]; then
            local d
            d=$(timeout 5 xdotool search --onlyvisible --name '^Unsaved Session$' 2>/dev/null | head -1)
            if [ -n "$d" ]; then
                log "Ardour asks whether to save; answering 'Save and quit' (Return, the dialog's default)"
                shot "$1-save-question"
                timeout 10 xdotool windowactivate --sync "$d" >/dev/null 2>&1
                press Return
                answered=1
            fi
        fi
        if awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN { exit !(b - a > 30) }'; then
            shot "$1-still-running"
            fail "Ardour still runs 30 s after Ctrl+Q"
        fi
        sleep 0.2
    done
    wait "$ARDOUR_PID"
    local st=$?
    ARDOUR_PID=""
    log "Ardour exited with status $st, $(elapsed "$t0")s after Ctrl+Q"
    [ $st -eq 0 ] || fail "Ardour exited with status $st after Ctrl+Q"
    shot "$1-after-quit"
}

step "quit"
quit_ardour quit
step_done

# ---------------------------------------------------------------------------
step "restart"
start_ardour
T_MAIN=$(elapsed "$STEP_T0")
sleep 2
shot restarted
# Ardour reopens the plug-in windows that were open when the session was saved.
if P2=$(xh wait-window "$PLUG_RE" 10 2>/dev/null); then
    log "plug-in window shown again after the restart: $P2"
    xh geometry "$(kv id "$P2")" | sed 's/^/    /' | tee -a "$HARNESS_LOG"
else
    log "note: Ardour did not reopen the plug-in window after the restart"
fi
if [ -n "$SKIN_XML" ]; then
    # What the module gives Ardour now is what it was given back at load.
    before_ns=$(stat -c %.9Y "$SESSION_FILE")
    activate_main
    press ctrl+s
    for i in $(seq 1 50); do
        sleep 0.2
        [ "$(stat -c %.9Y "$SESSION_FILE")" != "$before_ns" ] && break
    done
    xh chunk "$SESSION_FILE" "$PLUGIN_NAME" >"$LOG_DIR/chunk-restarted.xml" || fail "no state chunk after the restart"
    for name in "My Kit 1" "Closed"; do
        grep -q "name=\"$name\"" "$LOG_DIR/chunk-restarted.xml" || fail "the preset named '$name' did not come back"
    done
    [ "$(pitch_of "$LOG_DIR/chunk-restarted.xml")" = "$PITCH" ] || fail "BD PITCH did not come back ($PITCH)"
fi
step_done "main window after ${T_MAIN}s"

step "final-quit"
quit_ardour final
step_done

log "Ardour output worth a look (run 1 then run 2):"
for f in "$LOG_DIR"/ardour-run*.log; do
    grep -nE -i "pulsetta|vst|error|critical|warning|fail|crash|X Window System|segmentation" "$f" \
        | grep -v -E 'locked memory' | sed "s|^|    $(basename "$f"): |" | tee -a "$HARNESS_LOG"
done
exit 0
