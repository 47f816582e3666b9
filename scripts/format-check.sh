#!/usr/bin/env bash
# Fails when a C++ source differs from the project's own .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
find src tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run -Werror
echo "every source file is formatted"
