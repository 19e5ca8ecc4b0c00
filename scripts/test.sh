#!/usr/bin/env bash
# Builds one preset (default: "default") and runs the whole test suite on it.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
scripts/build.sh "$preset"
ctest --preset "$preset"
