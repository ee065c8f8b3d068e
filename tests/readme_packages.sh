#!/usr/bin/env bash
# The README names the Debian packages of both commands exactly as
# kelvor.sh installs them: its "run:" and "test:" lines against
# `./kelvor.sh packages run|test`, word for word.
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
failed=0
for list in run test; do
    script=$("$root/kelvor.sh" packages "$list")
    readme=$(sed -n "s/^    $list: *//p" "$root/README.md")
    if [ "$script" != "$readme" ]; then
        echo "README's $list list:  ${readme:-<none>}"
        echo "kelvor.sh's $list list: $script"
        failed=$((failed + 1))
    fi
done
echo "$((2 - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
