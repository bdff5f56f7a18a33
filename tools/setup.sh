#!/usr/bin/env bash
# Sets up, builds and runs premiers on a Debian machine.
#
#   tools/setup.sh run    install what is missing, build (the build's lines
#                         go to build/construction.log) and start the program
#   tools/setup.sh test   install what is missing, then build and test each
#                         preset of CMakePresets.json: release, asan (address
#                         and undefined sanitizers), tsan (thread sanitizer)
#                         and, with clang, fuzz (the dialogue fuzzed)
set -euo pipefail
cd "$(dirname "$0")/.."

paquets=(cmake g++ make pkg-config libntl-dev libgmp-dev libflint-dev libpari-dev libecm-dev libm4ri-dev libprimesieve-dev
    libprimecount-dev libgtest-dev groff-base clang libclang-rt-14-dev python3
    primecount primesieve pari-gp time) # the commands bench/run.sh measures against and with

installer() {
    local manque=()
    for p in "${paquets[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manque+=("$p")
    done
    [ ${#manque[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${manque[@]}"
    else
        echo "Missing packages; install them with:"
        echo "  sudo apt-get install -y ${manque[*]}"
        exit 1
    fi
}

# One build of CMakePresets.json, configured and built. Under CI warnings are
# errors.
construire() { # preset, targets (the preset's when none)...
    local preset=$1 strict=()
    shift
    [ "${CI:-}" = true ] && strict=(-DCMAKE_COMPILE_WARNING_AS_ERROR=ON)
    cmake --preset "$preset" "${strict[@]}" > /dev/null
    cmake --build --preset "$preset" -j "$(nproc)" ${1:+--target "$@"}
}

# libFuzzer comes with clang's runtime; without it the fuzz build is skipped.
fuzz_possible() {
    command -v clang++ > /dev/null && echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, long) { return 0; }' |
        clang++ -x c++ -fsanitize=fuzzer -o /dev/null - 2> /dev/null
}

case "${1:-}" in
run)
    installer
    echo "Construction de premiers (journal : build/construction.log)..." >&2
    mkdir -p build
    if ! construire release premiers > build/construction.log 2>&1; then
        tail -20 build/construction.log >&2
        exit 1
    fi
    exec build/src/premiers
    ;;
test)
    installer
    # Release, then AddressSanitizer with UBSan, then ThreadSanitizer (the
    # table's fill runs on threads of its own), then the dialogue fuzzed:
    # the builds and the tests each preset names.
    for preset in release asan tsan fuzz; do
        if [ "$preset" = fuzz ] && ! fuzz_possible; then
            echo "clang++ with libFuzzer unavailable: fuzz test skipped"
            continue
        fi
        construire "$preset"
        ctest --preset "$preset" -j "$(nproc)"
    done
    ;;
*)
    echo "usage: tools/setup.sh run|test" >&2
    exit 2
    ;;
esac
