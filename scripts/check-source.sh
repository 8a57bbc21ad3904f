#!/usr/bin/env bash
# Source rules that keep the code base in shape: every C++ file formatted with the repository's
# clang-format settings, no Qt or SDL header in the core or the command-line tool, no window
# handler named after an old form event and no identifier in Japanese. Prints what is wrong and
# exits 1; silent and 0 otherwise.
set -uo pipefail
cd "$(dirname "$0")/.."
status=0

mapfile -t sources < <(git ls-files -co --exclude-standard 'src/*.cpp' 'src/*.h' 'tests/*.cpp' \
  'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
if command -v clang-format >/dev/null 2>&1; then
  for f in "${sources[@]}"; do
    [ -f "$f" ] || continue
    if ! clang-format --dry-run -Werror "$f" >/dev/null 2>&1; then
      echo "clang-format would change: $f"
      status=1
    fi
  done
else
  echo "clang-format is not installed: formatting not checked" >&2
  status=1
fi

layering=$(grep -rln -E '#include *[<"](Q[A-Za-z]+|SDL[^">]*)[">]' src/core src/cli 2>/dev/null)
if [ -n "$layering" ]; then
  echo "Qt or SDL headers under src/core or src/cli (both stay free of them):"
  echo "$layering"
  status=1
fi

handlers=$(grep -rn -E '\b(Form_[A-Z][a-z]+|[A-Za-z]+[0-9]*_(Click|DblClick|KeyDown|KeyPress|Change|Timer))\s*\(' src 2>/dev/null)
if [ -n "$handlers" ]; then
  echo "Handlers named after old form events (name them by what they do):"
  echo "$handlers"
  status=1
fi
# Identifiers are English: Japanese appears only inside string literals and comments.
japanese=$(perl -0777 -ne '
  s{"(?:\\.|[^"\\\n])*"}{""}g; s{//[^\n]*}{}g; s{/\*.*?\*/}{}gs;
  print "$ARGV\n" if /[^\x00-\x7f]/' $(git ls-files -co --exclude-standard 'src/*.cpp' 'src/*.h'))
if [ -n "$japanese" ]; then
  echo "Identifiers written in Japanese (keep Japanese in displayed strings):"
  echo "$japanese"
  status=1
fi
exit $status
