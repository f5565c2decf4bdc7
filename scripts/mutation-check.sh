#!/usr/bin/env bash
# The fast tests for a mutation run: only the suites that can see the file that differs from
# the project's own copy, so that a hundred planted faults take minutes. From the project root:
#   ../shared/tools/mutants --count 100 --seed 3 \
#       --test "bash $PWD/scripts/mutation-check.sh $PWD" \
#       --slow-test 'ctest --test-dir build-mutants -L e2e -Q'
set -uo pipefail
origin="$1"
changed=""
for f in engine/*.cpp presentation/*.cpp shell/*.cpp records/*.cpp sound/*.cpp sound/sdl/*.cpp \
    ui/core/*.cpp ui/qt/*.cpp; do
    cmp -s "$f" "$origin/$f" || changed="$f"
done
case "$changed" in
ui/*) tests='Contract' ;;
sound/snd_play.cpp | sound/sdl/*) tests='SoundDevice' ;;
records/records_file.cpp) tests='records_|Game' ;;
*) tests='Game' ;;
esac
quiet=-Q # MUTATION_LIST_FAILED set: ctest's list of the failed test cases
[ -z "${MUTATION_LIST_FAILED:-}" ] || quiet=
exec ctest --test-dir build-mutants -LE 'e2e|package' -R "$tests" -j2 --timeout 60 $quiet
