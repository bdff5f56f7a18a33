#!/usr/bin/env bash
# Sets up, builds and runs premiers on a Debian machine.
#
#   tools/setup.sh run    install what is missing, build, write liste.txt if
#                         absent, and start the program beside it
#   tools/setup.sh test   install what is missing, build (plain, with
#                         address and undefined sanitizers, with the thread
#                         sanitizer) and run every test; with clang, also
#                         fuzz the dialogue under the sanitizers
set -euo pipefail
cd "$(dirname "$0")/.."

paquets=(cmake g++ make pkg-config libntl-dev libgmp-dev libflint-dev libpari-dev libm4ri-dev libprimesieve-dev
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

construire() { # folder, extra cmake options...
    local dir=$1
    shift
    local strict=()
    [ "${CI:-}" = true ] && strict=(-DCMAKE_COMPILE_WARNING_AS_ERROR=ON)
    cmake -S . -B "$dir" "${strict[@]}" "$@" > /dev/null
    cmake --build "$dir" -j "$(nproc)" ${CIBLES:+--target $CIBLES}
}

# libFuzzer comes with clang's runtime; without it the fuzz test is skipped.
fuzz() {
    if ! command -v clang++ > /dev/null || ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, long) { return 0; }' |
        clang++ -x c++ -fsanitize=fuzzer -o /dev/null - 2> /dev/null; then
        echo "clang++ with libFuzzer unavailable: fuzz test skipped"
        return 0
    fi
    CIBLES="dialogue_fuzz dialogue_rejeu genliste" construire build-fuzz -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPREMIERS_SANITIZE=ON -DPREMIERS_FUZZ=ON
    ctest --test-dir build-fuzz --output-on-failure -L fuzz
}

case "${1:-}" in
run)
    installer
    construire build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    [ -f liste.txt ] || build/tools/genliste/genliste 149999998 liste.txt
    exec build/src/premiers
    ;;
test)
    installer
    construire build -DCMAKE_BUILD_TYPE=Release
    ctest --test-dir build --output-on-failure -j "$(nproc)"
    construire build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPREMIERS_SANITIZE=ON
    ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
    # The table's filling runs on a thread of its own: the unit tests and the
    # transcripts under ThreadSanitizer (the long reference comparisons and
    # the faults of the environment are left to the other builds).
    CIBLES="premiers unit_tests genliste" construire build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DPREMIERS_TSAN=ON
    ctest --test-dir build-tsan --output-on-failure -j "$(nproc)" -L "unit|transcript" \
        -E "Reference|^fautes/"
    fuzz
    ;;
*)
    echo "usage: tools/setup.sh run|test" >&2
    exit 2
    ;;
esac
