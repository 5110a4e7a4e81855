# Sourced by the replay checks. stored_end FILE prints "PASSES TICKS HASH"
# from the record's closing line "# end: N passes, N ticks, hash H" (more
# fields may follow the hash), or nothing when the record has no such line.
# tool_end prints the same three from the JSON of `stivra-tool replay`.
stored_end() {
  sed -n 's/^# end: \([0-9]*\) passes, \([0-9]*\) ticks, hash \([0-9a-f]\{16\}\).*$/\1 \2 \3/p' "$1" | tail -n 1
}
tool_end() {
  printf '%s\n' "$1" | sed -n 's/.*"passes": \([0-9]*\), "ticks": \([0-9]*\),.*"hash": "\([0-9a-f]*\)".*/\1 \2 \3/p'
}
