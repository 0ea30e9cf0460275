#!/bin/sh
# Fails when a C++ file of the project differs from the layout .clang-format gives it, naming
# each such file. Fix them with: clang-format -i FILE...
set -eu
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || {
    echo "clang-format is missing (scripts/install-deps.sh test installs it)" >&2
    exit 1
}
status=0
for file in $(git ls-files '*.cpp' '*.h'); do
    if ! clang-format --style=file "$file" | cmp -s - "$file"; then
        echo "$file differs from .clang-format" >&2
        status=1
    fi
done
[ $status -eq 0 ] && echo "check-format: every C++ file has the layout .clang-format gives it"
exit $status
