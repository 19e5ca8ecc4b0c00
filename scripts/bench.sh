#!/usr/bin/env bash
# Builds the benchmarks (preset "default") and prints the ratio table: for every pair
# BM_<case> / BM_<case>_Anchor of a program, the median time of each over the repetitions
# and their ratio (ours / anchor; lower is better), measured in the same process on the
# same data. Usage: scripts/bench.sh [repetitions] (default 9).
set -euo pipefail
cd "$(dirname "$0")/.."
repetitions=${1:-9}
scripts/build.sh default >/dev/null

# The aim of each case: its ratio should not exceed it.
declare -A aim=(
  [HexEncode1MiB]=0.15 [HexDecode1MiB]=0.09
  [ArchiveStoreDoubles]=1.0 [ArchiveLoadDoubles]=1.5
  [PtrListAppendRemove]=0.9 [PtrMapInsertLookup]=0.7
  [SetFromIntervals]=0.5 [SetUnion]=0.5
  [XmlStore]=1.2 [XmlLoad]=1.2 [XmlRoundTrip]=1.2
)

printf '| %-22s | %-10s | %12s | %12s | %6s | %5s |\n' Case Program 'Ours (ns)' 'Anchor (ns)' Ratio Aim
printf '|%s|%s|%s|%s|%s|%s|\n' ------------------------ ------------ -------------- -------------- -------- -------
for program in containers platform sets persist; do
  csv=$(build/default/bench/bench_"$program" --benchmark_filter='_Anchor$|^BM_(HexEncode1MiB|HexDecode1MiB|Archive.*|PtrList.*|PtrMap.*|SetFromIntervals|SetUnion|Xml.*)$' \
    --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
    --benchmark_format=csv 2>/dev/null)
  # name,iterations,real_time,cpu_time,time_unit,...: keep the medians' CPU time in ns.
  echo "$csv" | awk -F, -v program="$program" -v aims="$(for k in "${!aim[@]}"; do printf '%s=%s ' "$k" "${aim[$k]}"; done)" '
    BEGIN {
      n = split(aims, list, " ")
      for (i = 1; i <= n; ++i) { split(list[i], kv, "="); aim[kv[1]] = kv[2] }
      scale["ns"] = 1; scale["us"] = 1e3; scale["ms"] = 1e6; scale["s"] = 1e9
    }
    {
      name = $1; gsub(/"/, "", name)
      if (name !~ /_median$/) next
      sub(/^BM_/, "", name); sub(/_median$/, "", name)
      t = $4 * scale[$5]
      if (name ~ /_Anchor$/) { sub(/_Anchor$/, "", name); anchor[name] = t } else { ours[name] = t; order[++count] = name }
    }
    END {
      for (i = 1; i <= count; ++i) {
        c = order[i]
        if (!(c in anchor)) continue
        printf "| %-22s | %-10s | %12.0f | %12.0f | %6.2f | %5s |\n", c, program, ours[c], anchor[c], ours[c] / anchor[c], (c in aim) ? aim[c] : "-"
      }
    }'
done
