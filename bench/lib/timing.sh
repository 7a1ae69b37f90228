# Timing helpers of the end-to-end benchmarks, sourced with $runs set.
# $out is a scratch folder, removed when the script exits.
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# ripgrep's globs for the file types that a find of "All Files" searches.
rg_types=(-g '*.htm' -g '*.html' -g '*.bat' -g '*.js' -g '*.svg' -g '*.txt' -g '*.css')

# The median wall time in seconds of RUNS runs of the command; its output
# goes to $out/last.
median() {
  local times=() start end
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    "$@" >"$out/last" || true
    end=$(date +%s%N)
    times+=("$(((end - start) / 1000))")
  done
  printf '%s\n' "${times[@]}" | awk '{printf "%.6f\n", $1 / 1e6}' | median_of
}

# The median of the numbers on standard input, one a line, to 3 decimals.
median_of() { sort -g | awk '{t[NR] = $1} END {printf "%.3f", t[int((NR + 1) / 2)]}'; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

# The median wall time of RUNS runs of the command into $seconds, and the
# largest peak memory of those runs (max RSS, KB) into $peak_kb; needs
# /usr/bin/time.
measure() {
  : >"$out/peaks"
  seconds=$(median /usr/bin/time -a -o "$out/peaks" -f %M "$@")
  peak_kb=$(grep -E '^[0-9]+$' "$out/peaks" | sort -n | tail -n1)
}
