#!/usr/bin/env bash
# Sets up, builds and runs premiers on a Debian machine.
#
#   tools/setup.sh run    install what is missing, build (the build's lines
#                         go to build/construction.log) and start the program:
#                         standard output carries the dialogue alone
#   tools/setup.sh test   install what is missing, then build and test each
#                         preset of CMakePresets.json: release, asan (address
#                         and undefined sanitizers, with clang, the dialogue
#                         fuzzed too) and tsan (thread sanitizer, the tests
#                         that run threads)
#   tools/setup.sh bench  install also the commands the benchmarks measure
#                         against, build with the benchmarks and run
#                         bench/run.sh
#
# The package manager's lines go to build/installation.log.
set -euo pipefail
cd "$(dirname "$0")/.."

# What building, running and testing need.
paquets=(cmake g++ make pkg-config libntl-dev libgmp-dev libflint-dev libpari-dev libecm-dev
    libprimesieve-dev libprimecount-dev libgtest-dev groff-base clang libclang-rt-14-dev python3)
# What bench/run.sh measures against and with.
paquets_bench=(primesieve primecount pari-gp gmp-ecm time bc)

installer() { # packages...
    local manque=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manque+=("$p")
    done
    [ ${#manque[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages; install them with:" >&2
        echo "  sudo apt-get install -y --no-install-recommends ${manque[*]}" >&2
        exit 1
    fi
    mkdir -p build
    echo "Installation de ${manque[*]} (journal : build/installation.log)..." >&2
    if ! { apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y \
        --no-install-recommends "${manque[@]}"; } >> build/installation.log 2>&1; then
        tail -20 build/installation.log >&2
        exit 1
    fi
}

# One build of CMakePresets.json, configured and built, its lines in
# construction.log in the preset's folder (shown when it fails). Under CI
# warnings are errors.
construire() { # preset, folder, then cmake options
    local preset=$1 dossier=$2 strict=()
    shift 2
    [ "${CI:-}" = true ] && strict=(-DCMAKE_COMPILE_WARNING_AS_ERROR=ON)
    mkdir -p "$dossier"
    if ! { cmake --preset "$preset" "${strict[@]}" "$@" &&
        cmake --build --preset "$preset" -j "$(nproc)"; } > "$dossier/construction.log" 2>&1; then
        tail -30 "$dossier/construction.log" >&2
        exit 1
    fi
}

case "${1:-}" in
run)
    installer "${paquets[@]}"
    echo "Construction de premiers (journal : build/construction.log)..." >&2
    mkdir -p build
    if ! { cmake --preset release && cmake --build --preset release -j "$(nproc)" --target premiers; } \
        > build/construction.log 2>&1; then
        tail -20 build/construction.log >&2
        exit 1
    fi
    exec build/src/premiers
    ;;
test)
    installer "${paquets[@]}"
    # Release, then AddressSanitizer with UBSan (clang, with the dialogue's
    # fuzz target), then ThreadSanitizer (the table's fill and the split
    # computations run on threads of their own): each preset's build and
    # the tests it names.
    for preset in release asan tsan; do
        echo "== $preset" >&2
        construire "$preset" "$([ "$preset" = release ] && echo build || echo "build-$preset")"
        ctest --preset "$preset" -j "$(nproc)"
    done
    ;;
bench)
    installer "${paquets[@]}" "${paquets_bench[@]}"
    construire release build -DPREMIERS_BENCH=ON
    exec bench/run.sh
    ;;
*)
    echo "usage: tools/setup.sh run|test|bench" >&2
    exit 2
    ;;
esac
