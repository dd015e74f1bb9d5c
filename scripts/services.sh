#!/usr/bin/env bash
# Starts and stops what the Windows binaries need to run here, once per
# "seat": an X server, a persistent wineserver on a 32-bit prefix of the
# seat's own, a PulseAudio server whose default sink is a null sink (its
# monitor is the default source, so what a test plays there is what the
# program records), and a hidden window that keeps Wine's desktop process up.
# Seats share no screen, no wineserver (so no hot keys, tray, window list or
# named mutex) and no sound: tests that need those run side by side, one per
# seat, as ctest hands the seats out from the resource file written here.
#   services.sh start        start the seats (idempotent), make the prefixes once
#   services.sh stop         stop every seat by the process ids recorded at start
#   services.sh env [SEAT]   print the environment a Wine process of a seat
#                            needs (seat 0 when none is given)
# ORBISK_SEATS sets how many seats start (by default half the cores).
set -euo pipefail
. "$(dirname "$0")/lib/common.sh"

RUN=$ORBISK_BUILD/run
# The seats as ctest's resources: one slot each.
SEATS_FILE=$RUN/seats.json
# Bump when the prefix set-up below changes, so old prefixes are remade.
PREFIX_VERSION=6
mkdir -p "$RUN"

seat_count() {
    local n=${ORBISK_SEATS:-$(( $(nproc) / 2 ))}
    [[ $n =~ ^[0-9]+$ ]] || die "ORBISK_SEATS must be a number (it is '$n')"
    [ "$n" -ge 1 ] || n=1
    echo "$n"
}

seat_dir() { echo "$RUN/seat$1"; }

# Seat 0 keeps the prefix every earlier build folder had; the others copy it.
seat_prefix() {
    if [ "$1" = 0 ]; then echo "$ORBISK_BUILD/wineprefix"; else echo "$ORBISK_BUILD/wineprefix-$1"; fi
}

alive() { [ -f "$(seat_dir "$1")/$2.pid" ] && kill -0 "$(cat "$(seat_dir "$1")/$2.pid")" 2>/dev/null; }

wine_env() {
    local dir
    dir=$(seat_dir "$1")
    cat <<ENV
export WINEPREFIX="$(seat_prefix "$1")"
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all,err+module}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
export XDG_RUNTIME_DIR="$dir/xdg"
export PULSE_SERVER="unix:$dir/xdg/pulse/native"
export ORBISK_RUN_DIR="$dir"
export ORBISK_SEAT=$1
ENV
    if [ -f "$dir/display" ]; then echo "export DISPLAY=:$(cat "$dir/display")"; fi
}

start_xvfb() {
    local dir
    dir=$(seat_dir "$1")
    if [ "$1" = 0 ] && [ -n "${ORBISK_USE_DISPLAY:-}" ]; then
        # run.sh on a desktop: use the user's own display.
        echo "${ORBISK_USE_DISPLAY#:}" > "$dir/display"; return 0
    fi
    alive "$1" xvfb && return 0
    rm -f "$dir/display"
    # -displayfd lets the server pick a free display: another process may
    # own any fixed number.
    Xvfb -displayfd 3 -screen 0 "${ORBISK_SCREEN:-1280x800x24}" -nolisten tcp -ac \
        3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    echo $! > "$dir/xvfb.pid"
    for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.05; done
    [ -s "$dir/display" ] || die "Xvfb did not start (see $dir/xvfb.log)"
}

start_pulse() {
    local dir xdg
    dir=$(seat_dir "$1")
    xdg=$dir/xdg
    alive "$1" pulse && return 0
    mkdir -p "$xdg" && chmod 700 "$xdg"
    rm -rf "$xdg/pulse"
    XDG_RUNTIME_DIR="$xdg" HOME="$xdg" pulseaudio --daemonize=no --exit-idle-time=-1 \
        --disallow-exit -n --use-pid-file=no \
        -L "module-null-sink sink_name=nullsink rate=44100 channels=2" \
        -L "module-native-protocol-unix auth-anonymous=1" \
        --log-target=file:"$dir/pulse.log" </dev/null >/dev/null 2>&1 &
    echo $! > "$dir/pulse.pid"
    for _ in $(seq 100); do [ -S "$xdg/pulse/native" ] && break; sleep 0.05; done
    [ -S "$xdg/pulse/native" ] || die "PulseAudio did not start (see $dir/pulse.log)"
    local p=(env XDG_RUNTIME_DIR="$xdg" HOME="$xdg" PULSE_SERVER="unix:$xdg/pulse/native" pactl)
    "${p[@]}" set-default-sink nullsink
    "${p[@]}" set-default-source nullsink.monitor
}

# Callers have the seat's environment.
start_server() {
    alive "$1" wineserver && return 0
    # Foreground (-f) so the recorded id is the server's own; stdio on
    # /dev/null or ctest would wait for the server to close its pipes.
    wineserver -f -p </dev/null >/dev/null 2>&1 &
    echo $! > "$(seat_dir "$1")/wineserver.pid"
}

# The servers outlive the script that started them, so their parent is
# init, which may take a second or two to reap them: an ended one that is
# still a zombie counts as gone.
running() {
    local state
    state=$(ps -o stat= -p "$1" 2>/dev/null) || return 1
    [[ $state != Z* ]]
}

stop_one() {
    local pidfile
    pidfile=$(seat_dir "$1")/$2.pid
    [ -f "$pidfile" ] || return 0
    local pid
    pid=$(cat "$pidfile")
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do running "$pid" || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$pidfile"
}

stop_wine() {
    # The server ends every Windows process of the prefix first (services.exe,
    # winedevice.exe and any program a test left behind would otherwise
    # outlive it and keep the caller's pipes open), then its own id goes.
    if alive "$1" wineserver; then
        (eval "$(wine_env "$1")"; timeout 20 wineserver -k </dev/null >/dev/null 2>&1) || true
    fi
    stop_one "$1" wineserver
}

# The prefix is made once, in seat 0's place, with seat 0's server.
prepare_prefix() {
    local prefix stamp
    prefix=$(seat_prefix 0)
    stamp=$(head -n1 "$prefix/.orbisk-prefix" 2>/dev/null || true)
    [ "$stamp" = "$PREFIX_VERSION" ] && return 0
    log "preparing the Wine prefix"
    (
        eval "$(wine_env 0)"
        mkdir -p "$prefix"
        start_server 0
        wineboot -i </dev/null >/dev/null 2>&1
        # Wine's own fonts (Tahoma) are not copied into a Debian prefix.
        cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
        # Chinese and common Western faces map to an installed CJK font;
        # without them GDI+ cannot create the fonts the skin asks for.
        local reg=$RUN/fonts.reg face
        {
            printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
            for face in "微软雅黑" "Microsoft YaHei" "宋体" "SimSun" "新宋体" "NSimSun" "黑体" "SimHei" "Arial" "Segoe UI"; do
                printf '"%s"="WenQuanYi Micro Hei"\r\n' "$face"
            done
            # No window manager runs on the test displays: windows Wine
            # would hand to one wait two seconds for it each time they are
            # hidden or closed. Unmanaged, they go at once.
            printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
        } | iconv -f UTF-8 -t GBK > "$reg"
        # regedit returns once the keys are in the (persistent) server.
        wine regedit /S "$(winepath -w "$reg")" </dev/null >/dev/null 2>&1
        # Z: is the Linux root, on the file system that holds C: too: the two
        # tie on free space, and a write anywhere on the machine decides
        # which one the program takes as the drive with the most (making a
        # VintraAVI folder in / when it is Z:). As a network drive Z: is not
        # among the fixed drives it chooses from. The drives are read when
        # the server starts again below.
        wine reg add 'HKLM\Software\Wine\Drives' /v z: /d network /f </dev/null >/dev/null 2>&1
        # The second line tells the copies which making of the prefix they
        # come from, so a remade one is copied again.
        printf '%s\n%s\n' "$PREFIX_VERSION" "$(date +%s.%N)" > "$prefix/.orbisk-prefix"
    )
    # Creating a prefix leaves a second services.exe behind, and with two
    # every later program waits 10 s for the RPC service: the server starts
    # over cleanly (it writes the registry to disk as it ends).
    stop_wine 0
}

# The other seats copy seat 0's prefix while no server runs on either: a
# copy takes under a second where making one takes several, and the
# registry files are complete only when their server has ended.
copy_prefixes() {
    local n=$1 k source target
    source=$(seat_prefix 0)
    for ((k = 1; k < n; k++)); do
        target=$(seat_prefix "$k")
        cmp -s "$source/.orbisk-prefix" "$target/.orbisk-prefix" && continue
        stop_wine 0
        stop_wine "$k"
        rm -rf "$target"
        cp -a "$source" "$target.tmp"
        clear_temp "$target.tmp"
        mv "$target.tmp" "$target"
    done
}

# Tests leave their scratch folders in the prefix's temporary folder, there
# to look at until the next start; without this they would pile up in every
# seat's prefix run after run.
clear_temp() {
    [ -d "$1/drive_c/users" ] || return 0
    find "$1/drive_c/users" -mindepth 3 -maxdepth 3 -path '*/Temp/*' -exec rm -rf {} +
}

start_wine() {
    eval "$(wine_env "$1")"
    alive "$1" wineserver || clear_temp "$WINEPREFIX"
    start_server "$1"
    # One trivial program brings up the prefix's services before the first test.
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
    # Wine's desktop process comes and goes with the last window; whoever
    # starts it passes it their output, and a test's output that stays open
    # makes ctest wait for it. A hidden window of our own keeps one running
    # from here, with its output on /dev/null; it says when its window is
    # up, as until then the first test to open one could start it instead.
    local keeper=$ORBISK_BUILD/tests-bin/desktop_keeper.exe dir ready
    dir=$(seat_dir "$1")
    ready=$dir/keeper.ready
    if [ -f "$keeper" ] && ! alive "$1" keeper; then
        rm -f "$ready"
        # Z: is the Linux root in every prefix.
        wine "$keeper" "Z:${ready//\//\\}" </dev/null >/dev/null 2>&1 &
        echo $! > "$dir/keeper.pid"
        for _ in $(seq 300); do [ -f "$ready" ] && break; sleep 0.05; done
        [ -f "$ready" ] || die "the desktop keeper of seat $1 did not start"
    fi
}

# Runs "$@ SEAT" for every seat in $SEATS at once; fails when any failed.
each_seat() {
    local pids=() k status=0
    for k in $SEATS; do
        "$@" "$k" &
        pids+=($!)
    done
    for k in "${pids[@]}"; do wait "$k" || status=1; done
    return $status
}

start_seat_x() { mkdir -p "$(seat_dir "$1")"; start_xvfb "$1"; start_pulse "$1"; }

stop_seat() {
    stop_wine "$1"; stop_one "$1" keeper; stop_one "$1" pulse; stop_one "$1" xvfb
    rm -f "$(seat_dir "$1")/display"
}

write_seats_file() {
    local k sep=""
    {
        printf '{\n  "version": {"major": 1, "minor": 0},\n  "local": [{\n    "seats": ['
        for k in $SEATS; do printf '%s\n      {"id": "%s", "slots": 1}' "$sep" "$k"; sep=,; done
        printf '\n    ]\n  }]\n}\n'
    } > "$SEATS_FILE.tmp"
    mv "$SEATS_FILE.tmp" "$SEATS_FILE"
}

case "${1:-}" in
    start)
        # Some virtual machines run 64-bit programs only (the kernel's IA-32
        # emulation off); 32-bit Wine then fails deep inside wineboot.
        if [ -x /lib/ld-linux.so.2 ] && ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
            die "this machine runs no 32-bit programs (the kernel's IA-32 emulation is off): scripts/emulate-i386.sh (run by scripts/setup-host.sh) sets up an emulator for them"
        fi
        n=$(seat_count)
        SEATS=$(seq 0 $((n - 1)))
        each_seat start_seat_x || die "a seat's X or sound server did not start"
        prepare_prefix
        copy_prefixes "$n"
        each_seat start_wine || die "a seat's Wine did not start"
        write_seats_file
        ;;
    stop)
        rm -f "$SEATS_FILE"
        SEATS=$(find "$RUN" -maxdepth 1 -name 'seat*' -type d | sed 's/.*seat//' | sort -n)
        each_seat stop_seat
        ;;
    env)
        seat=${2:-0}
        [[ $seat =~ ^[0-9]+$ ]] || die "no seat '$seat'"
        wine_env "$seat"
        ;;
    *)  die "usage: services.sh start|stop|env [SEAT]" ;;
esac
