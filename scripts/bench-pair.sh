# Sourced by the measure scripts: benchdesk replaying the recorded flight on a virtual
# X server with a window manager (Xvfb and openbox, as `scripts/install-deps` installs
# them). Needs $build (a build folder) and $me (the script's name); sets $pid to the
# dashview that benchdesk started, and stops all of it when the script exits.
display=:$((60 + $$ % 30))
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
sleep 1
# A block of its own, so that a second measurement may run beside this one.
cd "$build/run"
HK_SHM_NAME=/$me-$$ DISPLAY=$display ./benchdesk >/dev/null 2>&1 &
bench=$!
trap 'kill $bench 2>/dev/null; sleep 1; kill $wm $xvfb 2>/dev/null' EXIT
sleep 3
pid=$(pgrep -P "$bench" -x dashview || true)
[ -n "$pid" ] || { echo "$me: dashview did not start" >&2; exit 1; }
