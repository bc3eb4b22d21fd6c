#!/usr/bin/env bash
# Makes the README's screenshots: the program itself, driven against the
# simulated test mobile, renders them offscreen; they land in docs/screens.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --target test_e2e
QT_QPA_PLATFORM=offscreen ./build/tests/test_e2e --gtest_brief=1 \
    --gtest_filter='*Screens*:*BcchSystemInfoShowsTheSimulatedCell*:*ChannelScanDrawsLevels*'
mkdir -p docs/screens
for name in idle call scan bcch; do
    cp "build/screens/readme-$name.png" "docs/screens/$name.png"
done
