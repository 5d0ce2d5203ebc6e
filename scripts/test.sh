#!/usr/bin/env bash
# Installs what is missing, builds, starts a private PostgreSQL with the demo database and
# runs the whole test suite against it. Extra arguments go to ctest (e.g. -R tst_query).
#
#   test.sh --sanitize [ctest args]   the same in a second tree, build-asan/ (clang with
#                                     AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer);
#                                     any sanitizer report fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sanitize=
if [[ ${1:-} == --sanitize ]]; then
    sanitize=1
    shift
fi
"$root/scripts/deps.sh"
if [[ -n $sanitize ]]; then
    build=${SANITIZE_BUILD_DIR:-$root/build-asan}
    CC=clang CXX=clang++ BUILD_DIR=$build CMAKE_EXTRA_ARGS="-DZV_SANITIZE=ON ${CMAKE_EXTRA_ARGS:-}" \
        "$root/scripts/build.sh"
else
    build=${BUILD_DIR:-$root/build}
    "$root/scripts/build.sh"
fi

# shellcheck source=cluster.sh
. "$root/scripts/cluster.sh"
trap para_cluster EXIT
inicia_cluster zvtest
export ZV_TEST_PGHOST=$PGHOST ZV_TEST_PGPORT=$PGPORT ZV_TEST_PGDATABASE=$PGDATABASE
export ZV_TEST_PGUSER=$PGUSER ZV_TEST_PGPASSWORD=$PGPASSWORD ZV_TEST_CLUSTER=$cluster
export ZV_SOURCE_DIR=$root
unset PGHOST PGPORT PGDATABASE PGUSER PGPASSWORD
cd "$build"
if [[ -z $sanitize ]]; then
    ctest --output-on-failure -j"$(nproc)" "$@"
    exit
fi

# Reports go to files as well as failing the process that hit them: programs the tests start
# (the e2e run of the window) may end with an exit status nobody looks at. Leak detection is on
# for every test program; only leaks inside third-party libraries are suppressed (lsan.supp).
logs=$build/sanitizer-logs
rm -rf -- "$logs"
mkdir -p -- "$logs"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:log_path=$logs/asan"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$logs/ubsan"
status=0
# The viewer's own JUnit run has nothing for the sanitizers to see; the end-to-end run of the
# program with the real viewer stays.
ctest --output-on-failure -j"$(nproc)" -LE java "$@" || status=$?

shopt -s nullglob
reports=("$logs"/*)
if [[ ${#reports[@]} -gt 0 ]]; then
    echo "Sanitizer reports:" >&2
    for f in "${reports[@]}"; do
        echo "--- $f" >&2
        cat -- "$f" >&2
    done
    [[ $status -ne 0 ]] || status=1
fi
exit "$status"
