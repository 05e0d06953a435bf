# Sourced by the benchmark scripts: nanoseconds on a monotonic enough clock;
# bash 5 reads it without a process.
now_ns() {
  if [ -n "${EPOCHREALTIME:-}" ]; then
    local t="${EPOCHREALTIME/[.,]/}"
    echo "${t}000"
  else
    date +%s%N
  fi
}
