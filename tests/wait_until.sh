# Sourced by the tests that play a game window in a private X server.
# Each wait is for a state, with a deadline in seconds: a busy machine makes
# a test slower, never wrong.
wait_until() {  # SECONDS COMMAND...: true once COMMAND succeeds
  deadline=$(($(date +%s) + $1)); shift
  until "$@"; do
    [ "$(date +%s)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}
# The game's window, in $window.
find_window() { window=$(xdotool search --name 'St. Ivra Schule' 2>/dev/null | head -n 1); [ -n "$window" ]; }
