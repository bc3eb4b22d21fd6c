#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the README's screenshots: the program itself, driven against the
# simulated test mobile, renders them offscreen; they land in docs/screens.
# The Wireshark picture is what tshark -V decodes of a System Information 3
# the program sent over GSMTAP, rendered as text.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --target test_e2e test_wireshark
export QT_QPA_PLATFORM=offscreen
./build/tests/test_e2e --gtest_brief=1 \
    --gtest_filter='*Screens*:*BcchSystemInfoShowsTheSimulatedCell*:*ChannelScanDrawsLevels*'
./build/tests/test_wireshark --gtest_brief=1 \
    --gtest_filter='*LiveFeedSendsSystemInformationOnlyWhileSwitchedOn*'
mkdir -p docs/screens
for name in idle call scan bcch wireshark; do
    cp "build/screens/readme-$name.png" "docs/screens/$name.png"
done
