#!/usr/bin/env bash
# Installs what is missing, builds Ohmara with its tests as released (-O3,
# where GCC's analyses see the most; warnings are errors) and runs them all
# offscreen (no display needed), with the Debian package unpacked and run;
# then builds everything again with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, the libFuzzer programs included, and runs the
# whole suite a second time there (the fuzz corpora through both the replay
# programs and the fuzzers). OHMARA_SKIP_SANITIZE=1 skips the last run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Release -DOHMARA_BUILD_TESTS=ON -DOHMARA_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build-test -j"$(nproc)"
(cd build-test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300)
# The Debian package of this build, unpacked into a scratch root and run.
(cd build-test && cpack -G DEB >/dev/null && ctest -R debian_package_installs --output-on-failure)

if [ "${OHMARA_SKIP_SANITIZE:-0}" != 1 ]; then
  echo "Again with clang, AddressSanitizer and UndefinedBehaviorSanitizer:"
  CC=clang CXX=clang++ cmake -S . -B build-clang-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOHMARA_BUILD_TESTS=ON \
    -DOHMARA_BUILD_FUZZ=ON -DOHMARA_WERROR=ON "${launcher[@]}" >/dev/null
  cmake --build build-clang-sanitize -j"$(nproc)"
  (cd build-clang-sanitize && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 600)
fi
