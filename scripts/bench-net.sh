#!/usr/bin/env bash
# Benchmarks of the network clients against curl and Python's smtplib,
# measured in the same run on 127.0.0.1. Prints ratios; asserts nothing.
set -euo pipefail
exec /usr/bin/python3 "$(dirname "$0")/../bench/net_bench.py"
