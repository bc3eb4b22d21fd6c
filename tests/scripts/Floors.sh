#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every include between the program's folders runs to the same floor or one
# below, as docs/architecture.md lists the floors, and every folder of the
# program stands on one of them.
# Usage: Floors.sh SOURCE_DIR
set -u
cd "$1" || exit 2
perl -e '
    local $/;
    open my $doc, "<", "docs/architecture.md" or die "no docs/architecture.md\n";
    my $page = <$doc>;
    $page =~ /The floors, from the top:(.*?)\(the/s or die "the page lists no floors\n";
    my ($n, %floor) = (0);
    for my $part (split /;/, $1) {
        $floor{$1} = $n while $part =~ /`([a-z]+)`/g;
        $n++;
    }
    my $bad = 0;
    for my $dir (grep { -d && !/^(sim|tools|tests|bench|fuzz|docs|scripts|build.*)$/ } glob "*") {
        my @files = (glob("$dir/*.cpp"), glob("$dir/*.h"));
        next unless @files;
        if (!exists $floor{$dir}) {
            print "FAIL: $dir/ stands on no floor of the architecture page\n";
            $bad = 1;
            next;
        }
        for my $file (@files) {
            open my $src, "<", $file or next;
            my $text = <$src>;
            while ($text =~ /#include "([a-z]+)\//g) {
                next unless exists $floor{$1} && $floor{$1} < $floor{$dir};
                print "FAIL: $file includes $1/, a floor above\n";
                $bad = 1;
            }
        }
    }
    print "ok\n" unless $bad;
    exit $bad;
'
