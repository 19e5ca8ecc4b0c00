#!/usr/bin/env bash
# Generates the API reference from the public headers into build/docs/html. Doxygen's
# warnings go to build/docs/warnings.log and are counted, together with public classes that
# have no comment saying what they are for; with --strict any of them fails.
set -euo pipefail
cd "$(dirname "$0")/.."

strict=false
case "${1:-}" in
  --strict) strict=true ;;
  "") ;;
  *) echo "usage: scripts/docs.sh [--strict]" >&2; exit 2 ;;
esac

command -v doxygen >/dev/null || scripts/setup.sh

export PLINTH_DOCS_DIR="$PWD/build/docs"
PLINTH_VERSION=$(sed -n 's/^project(plinth VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
export PLINTH_VERSION
rm -rf "$PLINTH_DOCS_DIR"
mkdir -p "$PLINTH_DOCS_DIR"
doxygen docs/Doxyfile

log="$PLINTH_DOCS_DIR/warnings.log"
awk -f docs/class_comments.awk $(find plinth -name '*.h' | sort) |
  sed 's/$/: warning: a public class without a comment/' >> "$log"
warnings=$(grep -c 'warning:' "$log" || true)
echo "docs: $PLINTH_DOCS_DIR/html/index.html, $warnings warning(s) (listed in $log)"
if $strict && [ "$warnings" -ne 0 ]; then
  exit 1
fi
