#!/usr/bin/env bash
# Brings a fresh Debian machine to a build of the project, then does one job:
#   tools/setup.sh run    install what is missing, build, open the viewer on the bundled
#                         sample logs (without a display: print their qvlog listings)
#   tools/setup.sh test   install what is missing, build, run every test (optimised build,
#                         sanitizer builds, Valgrind, and a short bounded fuzzing run)
#   tools/setup.sh build  install what is missing and build only
set -euo pipefail

mode=${1:-run}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

packages=(
  build-essential cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins libpcap-dev xvfb xauth
  tshark time tzdata ccache libglib2.0-bin
)

install_missing() {
  local missing=()
  for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Compiler cache: a rebuild of unchanged sources (CI run after CI run) costs seconds.
# Paths under the checkout are hashed relative to it, so another clone hits too.
export CCACHE_BASEDIR="$root"
compiler_launcher() {
  if command -v ccache >/dev/null; then
    echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache
  fi
}

configure_and_build() {
  local dir=$1; shift
  # shellcheck disable=SC2046
  cmake -S . -B "$dir" -G Ninja $(compiler_launcher) "$@" >/dev/null
  cmake --build "$dir"
}

# Release: what users run, and -O3 brings warnings that the other builds do not see.
build_main() {
  configure_and_build build -DCMAKE_BUILD_TYPE=Release
}

run_tests() {
  local dir=$1
  (cd "$dir" && ctest --output-on-failure --timeout 600 -j2)
}

run_fuzzers() {
  configure_and_build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" \
    -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF -DQV_BUILD_FUZZ=ON
  shopt -s nullglob
  for source in fuzz/*_fuzz.cpp; do
    local name corpus
    name=$(basename "$source" .cpp)
    if [ ! -x "build-fuzz/bin/$name" ]; then
      echo "Not fuzzing $name: not built here (see fuzz/CMakeLists.txt)"
      continue
    fi
    corpus=$(mktemp -d)
    [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$corpus/"
    echo "Fuzzing $name for ${QV_FUZZ_SECONDS:-30} s"
    "build-fuzz/bin/$name" -max_total_time="${QV_FUZZ_SECONDS:-30}" -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
    rm -rf "$corpus"
  done
}

# Installs what only one test step needs, when that step runs.
install_for_step() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The tests that start threads (see tests/CMakeLists.txt: qv_thread_tests and
# the *Threads suites) in a ThreadSanitizer build; only their programs are built.
run_thread_sanitizer() {
  # shellcheck disable=SC2046
  cmake -S . -B build-tsan -G Ninja $(compiler_launcher) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
  cmake --build build-tsan --target qv_thread_tests
  # TSan needs its fixed memory layout; newer kernels randomise too many bits.
  local norandom=()
  setarch "$(uname -m)" -R true 2>/dev/null && norandom=(setarch "$(uname -m)" -R)
  (cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
    "${norandom[@]}" ctest --output-on-failure --timeout 600 -R 'Threads\.')
}

# The qvlog golden tests with every qvlog run under Valgrind: leaks, reads of
# uninitialised memory and invalid accesses fail the test.
run_qvlog_memcheck() {
  install_for_step valgrind
  QV_QVLOG_WRAPPER="$(command -v valgrind) --quiet --error-exitcode=97 --leak-check=full --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect" \
    build/bin/test_cli --gtest_brief=1
}

# The Windows build (vendtab.dll, the core, qvlog.exe and the core's tests),
# cross-compiled with MinGW-w64 and tested under Wine in a prefix of its own.
run_windows_check() {
  install_for_step g++-mingw-w64-x86-64 wine64
  # shellcheck disable=SC2046
  cmake -S . -B build-windows -G Ninja $(compiler_launcher) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
  cmake --build build-windows
  local prefix
  prefix=$(mktemp -d)
  local status=0
  # One program at a time: programs started at once in a fresh prefix race to
  # create it and its server, and one of them fails to start.
  (cd build-windows && WINEPREFIX="$prefix" WINEDEBUG=-all ctest --output-on-failure --timeout 600 -j1) || status=$?
  # The Wine server of that prefix outlives the tests by a few seconds.
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
  return $status
}

install_missing
case "$mode" in
  build)
    build_main
    ;;
  run)
    build_main
    if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
      exec build/bin/qvlogview samples/rawlog.log samples/tralog.log
    fi
    echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): printing the sample listings instead."
    echo "== qvlog traffic samples/tralog.log"
    build/bin/qvlog traffic samples/tralog.log
    echo "== qvlog packets samples/rawlog.log"
    build/bin/qvlog packets samples/rawlog.log
    ;;
  test)
    build_main
    run_tests build
    configure_and_build build-asan -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON -DQV_BUILD_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-asan
    run_thread_sanitizer
    run_qvlog_memcheck
    run_windows_check
    run_fuzzers
    ;;
  *)
    echo "usage: tools/setup.sh run|test|build" >&2
    exit 2
    ;;
esac
