#!/usr/bin/env bash
# Builds Pilkrona (installing what is missing) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec build/bin/pilkrona "$@"
