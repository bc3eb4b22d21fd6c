#!/usr/bin/env bash
# Makes the picture of what Wireshark reads from the live feed: the program
# runs against the simulated test mobile with "Send to Wireshark (GSMTAP)"
# on, tshark -V decodes a System Information 3 it sent, and the text is
# rendered offscreen into docs/screens/wireshark.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --target test_wireshark
QT_QPA_PLATFORM=offscreen ./build/tests/test_wireshark --gtest_brief=1 \
    --gtest_filter='*LiveFeedSendsSystemInformationOnlyWhileSwitchedOn*'
mkdir -p docs/screens
cp build/screens/readme-wireshark.png docs/screens/wireshark.png
