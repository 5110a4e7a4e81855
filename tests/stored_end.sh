# Sourced by the replay checks. stored_end FILE prints "PASSES TICKS HASH
# STATES FRAMES" from the record's closing line
# "# end: N passes, N ticks, hash H, states S, frames F", only the first
# three for the short form of older builds, or nothing when the record has
# no closing line. tool_end prints all five from the JSON of
# `stivra-tool replay`, so that a record without chains never agrees.
stored_end() {
  sed -n -e 's/^# end: \([0-9]*\) passes, \([0-9]*\) ticks, hash \([0-9a-f]\{16\}\), states \([0-9a-f]\{16\}\), frames \([0-9a-f]\{16\}\)$/\1 \2 \3 \4 \5/p' \
         -e 's/^# end: \([0-9]*\) passes, \([0-9]*\) ticks, hash \([0-9a-f]\{16\}\)$/\1 \2 \3/p' "$1" | tail -n 1
}
tool_end() {
  printf '%s\n' "$1" | sed -n 's/.*"passes": \([0-9]*\), "ticks": \([0-9]*\),.*"hash": "\([0-9a-f]*\)", "states": "\([0-9a-f]*\)", "frames": "\([0-9a-f]*\)".*/\1 \2 \3 \4 \5/p'
}
