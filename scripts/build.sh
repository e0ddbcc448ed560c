#!/usr/bin/env bash
# Configures and builds one flavour of the project into build-<flavour>.
#   release  g++, optimised, warnings as errors, benchmarks built (unless
#            QV_BENCH=OFF in the environment: the test command needs none)
#   asan     clang++, AddressSanitizer + UndefinedBehaviorSanitizer
#   fuzz     clang++, the libFuzzer harnesses
set -euo pipefail
cd "$(dirname "$0")/.."

flavour=${1:-release}
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

case "$flavour" in
  release)
    options=(-DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Release -DQV_WERROR=ON "-DQV_BENCH=${QV_BENCH:-ON}") ;;
  asan)
    options=(-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g"
             -DQV_WERROR=ON -DQV_SANITIZE=ON) ;;
  fuzz)
    options=(-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_WERROR=ON
             -DQV_FUZZ=ON -DQV_TESTS=OFF -DQV_DESKTOP=OFF) ;;
  *)
    echo "unknown flavour: $flavour (release, asan or fuzz)" >&2
    exit 2 ;;
esac

targets=()
# The fuzz flavour only needs its harnesses.
if [ "$flavour" = fuzz ]; then targets=(--target tokenizer_fuzz expression_fuzz table_fuzz document_fuzz rename_fuzz regex_fuzz csv_fuzz); fi

cmake -S . -B "build-$flavour" -G Ninja "${launcher[@]}" "${options[@]}" >/dev/null
cmake --build "build-$flavour" -j "$(nproc)" "${targets[@]}"
