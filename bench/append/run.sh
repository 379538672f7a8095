#!/bin/bash
# Another program starts appending numbered records to a 4 MiB MP3 file every
# 20 µs while `tagwerk-cli remove` or `set` works on it: counts, over 40 runs
# of each, the records lost and how tagwerk-cli ended (exit status and the
# start of its reason). The appender either keeps the file open (a recorder)
# or opens it for each record (a shell's >>).
#   bench/append/run.sh [TAGWERK-CLI] [RUNS]
set -euo pipefail
cli=${1:-build/release/cli/tagwerk-cli}
runs=${2:-40}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/appender" "$here/appender.c"
export XDG_STATE_HOME=$work/state

# 4 MiB of audio and a trailer.
head -c 4194304 /dev/urandom >"$work/audio"
{ printf 'TAG%-30s' Lied; head -c 95 /dev/zero; } >"$work/trailer"

for mode in keep reopen; do
    for command in remove set; do
        lost=0 endings=""
        for ((run = 1; run <= runs; ++run)); do
            song=$work/song.mp3
            cat "$work/audio" "$work/trailer" >"$song"
            if [ "$command" = remove ]; then
                "$cli" remove "$song" 2>"$work/err" &
            else
                "$cli" set --title=Neu "$song" 2>"$work/err" &
            fi
            tool=$!
            # The appender starts somewhere in the first 300 ms of tagwerk-cli.
            sleep "0.$((RANDOM % 3))$((RANDOM % 10))"
            "$work/appender" "$song" 100 "$mode" >"$work/count"
            wait "$tool" && status=0 || status=$?
            written=$(cat "$work/count")
            # Every record written must be in the file.
            found=$( (grep -a -o 'R[0-9]\{10\}\.\.\.\.' "$song" || true) | sort -u | wc -l)
            ((lost += written - found)) || true
            reason=$(sed 's/^[^:]*: [^:]*: //' "$work/err" | head -c 40)
            endings+="$status ${reason:-ok}"$'\n'
        done
        echo "$command, appender $mode: $runs runs, records lost: $lost"
        printf %s "$endings" | sort | uniq -c | sed 's/^/    /'
    done
done
