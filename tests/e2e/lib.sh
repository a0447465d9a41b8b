# End-to-end test helpers: a private X server with a window manager, a private copy of
# the built game, real clicks and keys, and screenshots compared with the game's pictures.
# Every process started here is ended by its id when the test ends, pass or fail.
set -euo pipefail

GAME_SOURCE_DIR="${1:?usage: test_x.sh <built game folder>}"
CONTENT_DIR="$(cd "$GAME_SOURCE_DIR/.." && pwd)/content-src"
DOCS="$(cd "$(dirname "$0")/../../docs/screenshots" && pwd)"  # the gallery: what the game draws
WORK="$(mktemp -d -t zorblats-e2e-XXXXXX)"  # under $TMPDIR, else /tmp
GAME="$WORK/game"
export XDG_RUNTIME_DIR="$WORK/run"
export XDG_CONFIG_HOME="$WORK/config"  # the display choice of this test alone
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cp -r "$GAME_SOURCE_DIR" "$GAME"

PIDS=()

cleanup() {
  set +e  # every step is tried: a game already gone must not leave the X server running
  exec 2>/dev/null  # no job-status noise from the processes ended here
  [ -n "${GAME_PID:-}" ] && kill -9 "$GAME_PID"
  # The X server removes its lock files when ended politely.
  for pid in "${PIDS[@]}"; do
    kill -TERM "$pid"
    within 2 ended "$pid" || kill -9 "$pid"
  done
  wait
  rm -rf "$WORK"
}
# E2E_KEEP=1 keeps $WORK: the last screenshot a wait took is waiting.png there.
[ -n "${E2E_KEEP:-}" ] || trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# within SECONDS COMMAND...: runs COMMAND until it succeeds, for up to SECONDS of the clock
# (however long each try takes under load); fails when it never did.
within() {
  local deadline=$(( ${EPOCHREALTIME//[.,]/} + $1 * 1000000 ))
  until "${@:2}"; do
    (( ${EPOCHREALTIME//[.,]/} < deadline )) || return 1
    sleep 0.05
  done
}

# Opens the field in the game copy's main pack: Brick.bmp, whose width spaces the bricks, is
# widened (its bytes as one row), so the second and third bricks stand off the screen, and
# Weapon2.bmp is made 90 rows tall, so an enemy shot starts that much lower, below the bricks.
# Enemy fire then ends a game within seconds at the ship's starting place. The settings file
# asks for difficulty 2 (enemies fire most) and sound off, its table holds scores -1, which
# any score enters.
open_field() {
  python3 - "$GAME/data/1.pak" "$GAME/data/zorblats.set" <<'PY'
import gzip, struct, sys
open(sys.argv[2], "wb").write(bytes([0, 0, 2]) + bytes(153) + b"\xff" * 20 + bytes(35))
table = bytearray(gzip.open(sys.argv[1]).read())
at, entries = 4, []
for image in range(struct.unpack_from("<i", table)[0]):  # a 31-byte header, then the rows
    height, pitch = struct.unpack_from("<iH", table, at + 8)
    entries.append(table[at:at + 31 + pitch * height])
    at += 31 + pitch * height
brick, shot = entries[13], entries[4]
height, pitch, depth = struct.unpack_from("<iHB", brick, 8)
struct.pack_into("<iiH", brick, 4, pitch * height // (depth // 8), 1, pitch * height)
pitch = struct.unpack_from("<H", shot, 12)[0]
entries[4] = shot[:8] + struct.pack("<i", 90) + shot[12:31] + shot[31:31 + pitch] * 90
gzip.open(sys.argv[1], "wb").write(table[:4] + b"".join(entries))
PY
}

# Starts Xvfb at 240 x 320 x 24 (or start_x WxH) on a display it finds free, and openbox on it
# (none with start_x WxH bare).
start_x() {
  rm -f "$WORK/display" "$WORK/wm-ready"
  Xvfb -displayfd 3 -screen 0 "${1:-240x320}x24" -nolisten tcp 3>"$WORK/display" >"$WORK/Xvfb.log" 2>&1 &
  started Xvfb -s "$WORK/display"
  export DISPLAY=":$(cat "$WORK/display")"
  [ "${2:-}" = bare ] && return
  # openbox runs the --startup command once it is ready to manage windows; a window mapped
  # before that can wait forever for its map notice.
  openbox --startup "touch $WORK/wm-ready" >"$WORK/openbox.log" 2>&1 &
  started openbox -e "$WORK/wm-ready"
}
# started NAME -s|-e FILE: the process just started in the background (NAME, its output in
# $WORK/NAME.log) makes FILE (-s: not empty) within 10 s, else the test fails.
started() {
  PIDS+=($!)
  within 10 ready "$!" test "$2" "$3" && test "$2" "$3" ||
    fail "$1 did not start within 10 s: $(cat "$WORK/$1.log")"
}
ready() { "${@:2}" || ended "$1"; }  # ready PID TEST...: TEST passes, or the process PID is gone

# AS_USER runs a command in an empty environment, as nobody when the test runs as root (root
# writes anywhere, and sway refuses to run as root): what it writes must then be nobody's.
AS_USER=(env -i)
[ "$(id -u)" != 0 ] || AS_USER=(setpriv --reuid=nobody --regid=nogroup --clear-groups env -i)

# Launches the game copy (launch_game [OPTION...]), through the command in RUN_AS if set, and
# waits until a game's window (a replay's too) shows; its output goes to $WORK/game.log.
RUN_AS=()
launch_game() {
  (cd "$GAME" && SDL_AUDIODRIVER=dummy exec "${RUN_AS[@]}" ./zorblats "$@") >"$WORK/game.log" 2>&1 &
  GAME_PID=$!
  within 10 ready "$GAME_PID" window_shown && window_shown ||
    fail "no ZORBLATS window within 10 s (or the game ended): $(cat "$WORK/game.log")"
}
window_shown() { xdotool search --name '^ZORBLATS( replay.*)?$' >/dev/null 2>&1; }  # by caption

# A tap or key (xdotool key) goes into the game's queue: a script waits for the screen it leads
# to before it taps or presses on that screen.
tap() { xdotool mousemove "$1" "$2" click 1; }  # tap X Y: a stylus tap at game point (X, Y)
shot() { import -window root "$WORK/$1.png"; }  # shot NAME: the whole screen into $WORK/NAME.png

# Number of pixels that differ (beyond a small tolerance for the 16-bit to 24-bit widening)
# between a region of a screenshot and the same-size region of a picture (a content picture by
# name, or any picture by its absolute path) scaled by SCALE (x 1 if not given), PX PY in the
# scaled picture, black beyond its edges.  region_diff SHOT X Y W H PICTURE PX PY [SCALE]
region_diff() {
  (cd "$CONTENT_DIR" && convert "$WORK/$1.png" -crop "$4x$5+$2+$3" +repage \
    \( "$6" -scale "${9:-1}00%" -background black -extent "$4x$5$(printf %+d%+d "$7" "$8")" \) \
    -fuzz 6% -metric AE -compare -format '%[distortion]' info:)
}

# ended PID: the process is gone or a zombie waiting to be reaped (its state, the third field
# of its stat line, none or Z).
ended() { [[ "$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null)" =~ ^Z?$ ]]; }

# wait_exit SECONDS: waits for the game to end and sets EXIT_STATUS to its status, or to
# "running" when it is still running after SECONDS.
wait_exit() {
  EXIT_STATUS=running
  within "$1" ended "$GAME_PID" || return 0
  EXIT_STATUS=0
  wait "$GAME_PID" || EXIT_STATUS=$?
  GAME_PID=""
}

# expect_end WHAT STATUS: within a second the game ends with STATUS: 0 saying nothing, 1 with
# one line, about the lost display.
expect_end() {
  wait_exit 1
  local log=$WORK/game.log
  [ "$EXIT_STATUS $(grep -c . "$log") $(grep -c 'display was lost' "$log")" = "$2 $2 $2" ] ||
    fail "$1: not ended with $2 and $2 line(s) about the display (is $EXIT_STATUS): $(cat "$log")"
}

# Takes screenshots until a region shows the picture's region, for up to SECONDS; on giving up
# says how far it was.  wait_region SECONDS X Y W H PICTURE PX PY [SCALE]
# A screen reads its input a moment after its picture shows (the keys, and in the main menu the
# taps, made before are dropped then), which no picture tells: a short pause follows.
wait_region() {
  within "$1" region_shows "${@:2}" ||
    fail "after $1 s region $2,$3 ${4}x$5 still differs from $6 in $REGION_DIFF pixels"
  sleep 0.3
}
region_shows() {  # the test of wait_region, which keeps the count of pixels that differ
  shot waiting
  REGION_DIFF=$(region_diff waiting "$@")
  [ "${REGION_DIFF%.*}" -le $(( $3 * $4 / 50 )) ]
}

# wait_play SECONDS: waits until the screen shows play: its MENU button, on which nothing is
# drawn in play.
wait_play() { wait_region "$1" 177 273 60 18 ingame.bmp 177 273; }
