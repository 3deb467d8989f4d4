#!/usr/bin/env bash
# Every C++ file of the program, its tests and benchmarks is as clang-format
# (.clang-format at the top of the tree) writes it. On a failure the files are
# listed; `clang-format -i FILE` mends one.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
mapfile -t files < <(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 2>/dev/null ||
  find src tests bench -name '*.cpp' -o -name '*.h')
bad=()
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  printf 'not formatted: %s\n' "${bad[@]}"
  exit 1
fi
echo "${#files[@]} files formatted"
