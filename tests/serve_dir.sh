# Sourced by the page checks. serve_dir DIR LOG serves DIR on 127.0.0.1 at a
# port the system picks, sets `server` (its process) and `port`, and stops
# the server when the script exits. It waits for the server's own line
# naming the port, with a deadline of a minute (a busy machine is slow to
# start Python); false when none came.
serve_dir() {
  python3 -u -m http.server --bind 127.0.0.1 0 --directory "$1" >"$2" 2>&1 &
  server=$!
  trap 'kill "$server" 2>/dev/null || true' EXIT INT TERM
  port=
  deadline=$(($(date +%s) + 60))
  while [ "$(date +%s)" -lt "$deadline" ] && kill -0 "$server" 2>/dev/null; do
    port=$(sed -n 's/.* port \([0-9][0-9]*\).*/\1/p' "$2" | head -n 1)
    [ -n "$port" ] && return 0
    sleep 0.1
  done
  return 1
}
