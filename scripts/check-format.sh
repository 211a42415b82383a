#!/usr/bin/env bash
# Fails when clang-format (with the repository's .clang-format) would change
# any C++ file of the project, and names the files and lines.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(find src tests tools bench fuzz -name '*.cpp' -o -name '*.h' | sort)
clang-format --version
clang-format --dry-run -Werror "${files[@]}"
echo "clang-format: ${#files[@]} files formatted"
