#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the benchmarks
# need, skipping those already present. Runs apt-get as root (or via sudo).
set -euo pipefail
source "$(dirname "$0")/lib/apt.sh"
install_packages cmake ninja-build g++ pkg-config libsqlite3-dev libicu-dev libpcre2-dev libcsv-dev libgtest-dev \
  libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev sqlite3 ripgrep
