#!/usr/bin/env bash
# Installs what is missing, builds Ohmara with its tests and runs them all
# offscreen (no display needed); then builds everything again with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole suite a
# second time there (the fuzz corpora included). OHMARA_SKIP_SANITIZE=1
# skips the second run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOHMARA_BUILD_TESTS=ON -DOHMARA_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build-test -j"$(nproc)"
(cd build-test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300)
# The Debian package of this build, unpacked into a scratch root and run.
(cd build-test && cpack -G DEB >/dev/null && ctest -R debian_package_installs --output-on-failure)

if [ "${OHMARA_SKIP_SANITIZE:-0}" != 1 ]; then
  echo "Again with AddressSanitizer and UndefinedBehaviorSanitizer:"
  cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOHMARA_BUILD_TESTS=ON -DOHMARA_SANITIZE=ON \
    "${launcher[@]}" >/dev/null
  cmake --build build-sanitize -j"$(nproc)"
  (cd build-sanitize && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 600)
fi
