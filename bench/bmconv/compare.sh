#!/usr/bin/env bash
# Compares two bmconv programs as whole processes on one skin sheet: pack at
# /c24, /c16 and /c8, and unpack of a /c24 skin. Runs of the two alternate
# (old, new, then new, old, ...) so that a change in the machine's load hits
# both alike; prints each program's median and the ratio new / old per case.
#
#   bench/bmconv/compare.sh OLD_BMCONV NEW_BMCONV [SHEET.bmp]
#
# SHEET.bmp is the 24-bit sheet to convert (e.g. a template unpacked with
# `bmconv /u 416x352.mbm sheet.bmp`); without it a 416 x 962 sheet like a
# skin's (flat panels, gradients, framed icons) is generated. RUNS (default
# 300) sets the runs per program and case. With hyperfine installed it times
# the runs (in alternating rounds of ROUND runs, default 10); otherwise bash
# times each run itself, which adds the same fork cost to both programs.
#
# Each run writes a new output file, as the editor's converter runs do (they
# write under unique temporary names): the previous run's output is removed
# untimed. OVERWRITE=1 keeps it, so that every run replaces the file the run
# before wrote; on ext4 mounted with discard that adds, to both programs, a
# wait for the device to discard the replaced file's blocks.
set -euo pipefail

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
old=$(realpath "$1")
new=$(realpath "$2")
sheet=${3:-}
runs=${RUNS:-300}
round=${ROUND:-10}
overwrite=${OVERWRITE:-0}
for program in "$old" "$new"; do
    [ -x "$program" ] || { echo "compare.sh: $program is not an executable program" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/bmconv-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT

# A 416 x 962 bottom-up 24-bit BMP: a gradient backdrop, flat panels with
# frames, and a band of 32 x 32 icons with detail in them. Perl is part of
# every Debian system.
generate_sheet() {
    perl -e '
        my ($w, $h) = (416, 962);
        my $stride = ($w * 3 + 3) & ~3;
        binmode STDOUT;
        print "BM", pack("V3", 54 + $stride * $h, 0, 54),
              pack("V l< l< v2 V6", 40, $w, $h, 1, 24, 0, $stride * $h, 2835, 2835, 0, 0);
        for (my $fy = 0; $fy < $h; ++$fy) {
            my $y = $h - 1 - $fy;
            my @row;
            for my $x (0 .. $w - 1) {
                my ($b, $g, $r);
                if ($y < 352) {      # backdrop: a vertical gradient in a black frame
                    ($b, $g, $r) = $x < 4 || $x >= $w - 4 ? (0, 0, 0) : (int($y * 255 / 351), 0x40 + int($y / 8), 0x20);
                } elsif ($y < 700) { # panels with frames
                    my $frame = $x % 104 < 2 || ($y - 352) % 58 < 2;
                    ($b, $g, $r) = $frame ? (0x30, 0x30, 0x30) : (0xE0, 0xD8, 0x80 + int($x / 104) * 0x20);
                } else {             # icons: detail inside white-edged 32 x 32 cells
                    my ($cx, $cy) = ($x % 32, ($y - 700) % 32);
                    ($b, $g, $r) = $cx < 4 || $cy < 4 || $cx > 27 || $cy > 27 ? (255, 255, 255)
                        : (($cx * 8 + $cy * 3) % 256, ($cx * $cy) % 256, (int($x / 32) * 40 + $cy * 6) % 256);
                }
                push @row, $b, $g, $r;
            }
            print pack("C*", @row), "\0" x ($stride - 3 * $w);
        }' >"$1"
}

if [ -n "$sheet" ]; then
    cp "$sheet" "$work/sheet.bmp"
else
    generate_sheet "$work/sheet.bmp"
fi
cd "$work"
"$old" -q skin24.mbm /c24sheet.bmp >/dev/null || { echo "compare.sh: $old cannot pack the sheet" >&2; exit 1; }

cases=("pack /c24|-q out.mbm /c24sheet.bmp"
       "pack /c16|-q out.mbm /c16sheet.bmp"
       "pack /c8|-q out.mbm /c8sheet.bmp"
       "unpack /c24|-q /u skin24.mbm out.bmp")

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Removes the last run's output unless runs are to overwrite it.
fresh_output() { [ "$overwrite" = 1 ] || rm -f out.mbm out.bmp; }

# Microseconds of one run of "$@", on stdout; a failing run stops the script.
time_one() {
    fresh_output
    local start=$EPOCHREALTIME
    "$@" >/dev/null || { echo "compare.sh: failed: $*" >&2; exit 1; }
    local end=$EPOCHREALTIME
    echo $(( ${end/./} - ${start/./} ))
}

# The "times" arrays of a hyperfine JSON export, one "index microseconds" line each.
hyperfine_times() {
    tr -d ' \n' <"$1" | grep -o '"times":\[[^]]*\]' | awk -F'[][]' '{
        n = split($2, t, ","); for (i = 1; i <= n; ++i) printf "%d %.0f\n", NR, t[i] * 1e6 }'
}

# Times of `runs` runs of each program with these arguments: old.txt, new.txt.
measure() {
    local -a args
    read -r -a args <<<"$1"
    : >old.txt
    : >new.txt
    for _ in 1 2 3; do "$old" "${args[@]}" >/dev/null; "$new" "${args[@]}" >/dev/null; done
    if command -v hyperfine >/dev/null; then
        local done_runs=0 first second
        while [ "$done_runs" -lt "$runs" ]; do
            # Which program goes first changes every round.
            if [ $((done_runs / round % 2)) -eq 0 ]; then first=$old; second=$new; else first=$new; second=$old; fi
            local -a prepare=()
            [ "$overwrite" = 1 ] || prepare=(--prepare "rm -f out.mbm out.bmp")
            hyperfine -N --style none --runs "$round" "${prepare[@]}" --export-json round.json \
                "'$first' ${args[*]}" "'$second' ${args[*]}" >/dev/null 2>round.err \
                || { cat round.err >&2; echo "compare.sh: hyperfine failed" >&2; exit 1; }
            hyperfine_times round.json >round.txt
            awk '$1 == 1 { print $2 }' round.txt >>"$([ "$first" = "$old" ] && echo old.txt || echo new.txt)"
            awk '$1 == 2 { print $2 }' round.txt >>"$([ "$first" = "$old" ] && echo new.txt || echo old.txt)"
            done_runs=$((done_runs + round))
        done
    else
        for ((i = 0; i < runs; ++i)); do
            if ((i % 2 == 0)); then
                time_one "$old" "${args[@]}" >>old.txt
                time_one "$new" "${args[@]}" >>new.txt
            else
                time_one "$new" "${args[@]}" >>new.txt
                time_one "$old" "${args[@]}" >>old.txt
            fi
        done
    fi
}

echo "old: $old"
echo "new: $new"
echo "sheet: ${sheet:-generated 416 x 962}, $runs runs each, timed by $(command -v hyperfine >/dev/null && echo hyperfine || echo bash)," \
    "$([ "$overwrite" = 1 ] && echo "each run replacing the last one's output" || echo "each run writing a new output file")"
printf '%-12s %12s %12s %8s\n' case "old ms" "new ms" new/old
for c in "${cases[@]}"; do
    measure "${c#*|}"
    old_us=$(median <old.txt)
    new_us=$(median <new.txt)
    awk -v name="${c%%|*}" -v o="$old_us" -v n="$new_us" \
        'BEGIN { printf "%-12s %12.3f %12.3f %8.2f\n", name, o / 1000, n / 1000, n / o }'
done
