#!/usr/bin/env bash
# Starts and stops what the Windows binaries need to run here: an X server,
# a persistent wineserver on the build's 32-bit prefix, and a PulseAudio
# server whose default sink is a null sink (its monitor is the default
# source, so what a test plays there is what the program records).
#   services.sh start   start all three (idempotent), create the prefix once
#   services.sh stop    stop them by the process ids recorded at start
#   services.sh env     print the environment a Wine process needs
set -euo pipefail
. "$(dirname "$0")/lib/common.sh"

RUN=$ORBISK_BUILD/run
PREFIX=$ORBISK_BUILD/wineprefix
# Bump when the prefix set-up below changes, so old prefixes are remade.
PREFIX_VERSION=4
mkdir -p "$RUN"

alive() { [ -f "$RUN/$1.pid" ] && kill -0 "$(cat "$RUN/$1.pid")" 2>/dev/null; }

wine_env() {
    cat <<ENV
export WINEPREFIX="$PREFIX"
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all,err+module}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
export XDG_RUNTIME_DIR="$RUN/xdg"
export PULSE_SERVER="unix:$RUN/xdg/pulse/native"
export ORBISK_RUN_DIR="$RUN"
ENV
    if [ -f "$RUN/display" ]; then echo "export DISPLAY=:$(cat "$RUN/display")"; fi
}

start_xvfb() {
    if [ -n "${ORBISK_USE_DISPLAY:-}" ]; then
        # run.sh on a desktop: use the user's own display.
        echo "${ORBISK_USE_DISPLAY#:}" > "$RUN/display"; return 0
    fi
    alive xvfb && return 0
    rm -f "$RUN/display"
    # -displayfd lets the server pick a free display: another process may
    # own any fixed number.
    Xvfb -displayfd 3 -screen 0 "${ORBISK_SCREEN:-1280x800x24}" -nolisten tcp -ac \
        3>"$RUN/display" >"$RUN/xvfb.log" 2>&1 &
    echo $! > "$RUN/xvfb.pid"
    for _ in $(seq 100); do [ -s "$RUN/display" ] && break; sleep 0.05; done
    [ -s "$RUN/display" ] || die "Xvfb did not start (see $RUN/xvfb.log)"
}

start_pulse() {
    alive pulse && return 0
    mkdir -p "$RUN/xdg" && chmod 700 "$RUN/xdg"
    rm -rf "$RUN/xdg/pulse"
    XDG_RUNTIME_DIR="$RUN/xdg" HOME="$RUN/xdg" pulseaudio --daemonize=no --exit-idle-time=-1 \
        --disallow-exit -n --use-pid-file=no \
        -L "module-null-sink sink_name=nullsink rate=44100 channels=2" \
        -L "module-native-protocol-unix auth-anonymous=1" \
        --log-target=file:"$RUN/pulse.log" </dev/null >/dev/null 2>&1 &
    echo $! > "$RUN/pulse.pid"
    for _ in $(seq 100); do [ -S "$RUN/xdg/pulse/native" ] && break; sleep 0.05; done
    [ -S "$RUN/xdg/pulse/native" ] || die "PulseAudio did not start (see $RUN/pulse.log)"
    local p=(env XDG_RUNTIME_DIR="$RUN/xdg" PULSE_SERVER="unix:$RUN/xdg/pulse/native" pactl)
    "${p[@]}" set-default-sink nullsink
    "${p[@]}" set-default-source nullsink.monitor
}

start_server() {
    alive wineserver && return 0
    # Foreground (-f) so the recorded id is the server's own; stdio on
    # /dev/null or ctest would wait for the server to close its pipes.
    wineserver -f -p </dev/null >/dev/null 2>&1 &
    echo $! > "$RUN/wineserver.pid"
}

start_wine() {
    eval "$(wine_env)"
    mkdir -p "$PREFIX"
    start_server
    if [ "$(cat "$PREFIX/.orbisk-prefix" 2>/dev/null)" != "$PREFIX_VERSION" ]; then
        log "preparing the Wine prefix"
        wineboot -i </dev/null >/dev/null 2>&1
        # Wine's own fonts (Tahoma) are not copied into a Debian prefix.
        cp /usr/share/wine/fonts/* "$PREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
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
        echo "$PREFIX_VERSION" > "$PREFIX/.orbisk-prefix"
        # Creating a prefix leaves a second services.exe behind, and with two
        # every later program waits 10 s for the RPC service: start over
        # with a clean server (it writes the registry to disk as it ends).
        stop_wine
        start_server
    fi
    # One trivial program brings up the prefix's services before the first test.
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
    # Wine's desktop process comes and goes with the last window; whoever
    # starts it passes it their output, and a test's output that stays open
    # makes ctest wait for it. A hidden window of our own keeps one running
    # from here, with its output on /dev/null.
    local keeper=$ORBISK_BUILD/tests-bin/desktop_keeper.exe
    if [ -f "$keeper" ] && ! alive keeper; then
        wine "$keeper" </dev/null >/dev/null 2>&1 &
        echo $! > "$RUN/keeper.pid"
    fi
}

stop_one() {
    local name=$1 pid
    [ -f "$RUN/$name.pid" ] || return 0
    pid=$(cat "$RUN/$name.pid")
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$RUN/$name.pid"
}

stop_wine() {
    # The server ends every Windows process of the prefix first (services.exe,
    # winedevice.exe and any program a test left behind would otherwise
    # outlive it and keep the caller's pipes open), then its own id goes.
    if alive wineserver; then
        eval "$(wine_env)"
        timeout 20 wineserver -k </dev/null >/dev/null 2>&1 || true
    fi
    stop_one wineserver
}

case "${1:-}" in
    start) start_xvfb; start_pulse; start_wine ;;
    stop)  stop_wine; stop_one keeper; stop_one pulse; stop_one xvfb; rm -f "$RUN/display" ;;
    env)   wine_env ;;
    *)     die "usage: services.sh start|stop|env" ;;
esac
