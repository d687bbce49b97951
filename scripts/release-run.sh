#!/usr/bin/env bash
# wine-run.sh in the release tests' own Wine prefix (release-env.sh).
set -euo pipefail
source "$(dirname "$0")/release-env.sh"
exec bash "$(dirname "$0")/wine-run.sh" "$@"
