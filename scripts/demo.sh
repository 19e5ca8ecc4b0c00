#!/usr/bin/env bash
# Builds the library and runs the demonstration program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh default
build/default/examples/plinth-demo
