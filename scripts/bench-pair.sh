# Sourced by the measure scripts: benchdesk replaying the recorded flight on a virtual
# X server with a window manager (Xvfb and openbox, as `scripts/install-deps` installs
# them). Needs $build (a build folder) and $me (the script's name); sets $pid to the
# dashview that benchdesk started, $bench and $xvfb, and stops all of it when the script
# exits. The pair runs in a temporary copy of the run folder, with that copy as its home
# too: a measurement reads the settings there but never writes them, nor diagnostics.log.
display=:$((60 + $$ % 30))
copy=$(mktemp -d "${TMPDIR:-/tmp}/$me.XXXXXX")
cp -a "$build/run/." "$copy/"
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY=$display HOME=$copy openbox >/dev/null 2>&1 &
wm=$!
sleep 1
# A block of its own, so that a second measurement may run beside this one.
cd "$copy"
HK_SHM_NAME=/$me-$$ DISPLAY=$display HOME=$copy ./benchdesk >/dev/null 2>&1 &
bench=$!
# The display saves its files when benchdesk closes it: both end before the copy goes.
stop() {
    kill $bench 2>/dev/null
    for i in 1 2 3 4 5 6 7 8 9 10; do
        kill -0 $bench 2>/dev/null || { [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; } || break
        sleep 0.5
    done
    kill $wm $xvfb 2>/dev/null
    cd /
    rm -rf "$copy"
}
trap stop EXIT
trap 'exit 130' INT TERM HUP
sleep 3
pid=$(pgrep -P "$bench" -x dashview || true)
[ -n "$pid" ] || { echo "$me: dashview did not start" >&2; exit 1; }
