#!/usr/bin/env bash
# A working day in one process (tests/soak): 10,000 code validations, 1,000 search windows,
# 300 multi-select windows and 200 prints against a throwaway PostgreSQL with the demo data,
# sampling resident memory and open descriptors. Prints the samples and PASS or FAIL.
#
#   soak.sh [--sanitize] [--short]   --short: a tenth of each (the test suite runs it as soak_curto);
#                                    --sanitize: in the clang sanitizer tree (build-asan/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sanitize=
args=()
for a in "$@"; do
    case $a in
    --sanitize) sanitize=1 ;;
    *) args+=("$a") ;;
    esac
done
"$root/scripts/deps.sh"
if [[ -n $sanitize ]]; then
    build=${SANITIZE_BUILD_DIR:-$root/build-asan}
    CC=clang CXX=clang++ BUILD_DIR=$build CMAKE_EXTRA_ARGS="-DZV_SANITIZE=ON ${CMAKE_EXTRA_ARGS:-}" \
        "$root/scripts/build.sh"
    export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
    export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
else
    build=${BUILD_DIR:-$root/build}
    "$root/scripts/build.sh"
fi

# shellcheck source=cluster.sh
. "$root/scripts/cluster.sh"
trap para_cluster EXIT
inicia_cluster zvsoak
export ZV_TEST_PGHOST=$PGHOST ZV_TEST_PGPORT=$PGPORT ZV_TEST_PGDATABASE=$PGDATABASE
export ZV_TEST_PGUSER=$PGUSER ZV_TEST_PGPASSWORD=$PGPASSWORD ZV_TEST_CLUSTER=$cluster ZV_SOURCE_DIR=$root
unset PGHOST PGPORT PGDATABASE PGUSER PGPASSWORD
export QT_QPA_PLATFORM=offscreen
printf 'load average before: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
status=0
"$build/tests/soak/zvsoak" "${args[@]}" || status=$?
printf 'load average after: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
exit "$status"
