#!/bin/sh
# Shows KAVRO at work on the bundled examples.
set -e
kavro=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
cd "$(dirname "$0")"
echo '$ kavro help   (with "e" typed at the help prompt)'
printf 'e\n' | "$kavro" help || true
