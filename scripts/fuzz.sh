#!/usr/bin/env bash
# Builds the libFuzzer targets (clang; AddressSanitizer and UndefinedBehaviorSanitizer) into
# build-fuzz/ and runs each for a while, one after the other, from its seeds and from what
# earlier runs kept in build-fuzz/fuzz-corpus/<target>.
#
#   bash scripts/fuzz.sh [SECONDS [TARGET...]]   default: 20 s each, every target
#
# An input that crashes a target, reads out of bounds, leaks, runs into undefined behaviour,
# breaks one of its checks or takes more than 10 s is kept as build-fuzz/findings/<target>-*;
# the script goes on with the other targets and fails at the end. fuzz/README.md says more.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] ||
    targets=(tga pvr pvrtc font ogg mp3probe savegame highscore settings script)

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBF_FUZZ=ON -DBF_BUILD_TESTS=OFF -DBF_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz

export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0"
export LIBGL_ALWAYS_SOFTWARE=1
symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
[ -x "$symbolizer" ] && export ASAN_SYMBOLIZER_PATH="$symbolizer"
mkdir -p build-fuzz/findings build-fuzz/logs
passed=0
failed=0
for target in "${targets[@]}"; do
    corpus=build-fuzz/fuzz-corpus/$target
    log=build-fuzz/logs/$target.log
    mkdir -p "$corpus"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="build-fuzz/findings/$target-")
    [ -f "fuzz/dict/$target.dict" ] && options+=(-dict="fuzz/dict/$target.dict")
    # A 1024 x 1024 PVRTC texture takes a tenth of a second to decode and upload: PVR inputs stay
    # small enough for hundreds of runs a second (mental.pvr, the largest seed kept whole, is
    # 16 KiB; Kettle.pvr is cut, and then its levels fail their size checks).
    [ "$target" = pvr ] && options+=(-max_len=20000)
    # libvorbis has no frame pointers: only full stacks show that a leak lies inside
    # libvorbisfile, where fuzz/lsan.supp lets it be.
    asan_options=
    [ "$target" = ogg ] && asan_options=fast_unwind_on_malloc=0
    if ASAN_OPTIONS=$asan_options build-fuzz/fuzz/fuzz_"$target" "${options[@]}" "$corpus" \
        "build-fuzz/fuzz-seeds/$target" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        edges=$(grep -ao 'cov: [0-9]*' "$log" | tail -1)
        echo "fuzz_$target: ${seconds} s, ${runs:-?} runs, ${edges:-cov: ?}, $(ls "$corpus" | wc -l) inputs kept"
        passed=$((passed + 1))
    else
        echo "fuzz_$target: FAILED; the input is in build-fuzz/findings/, the end of $log:"
        tail -n 40 "$log"
        failed=$((failed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
