#!/usr/bin/env bash
# Renders the note sample bank resources/raw/{a,c,d}00.wav .. {a,c,d}39.wav from the General MIDI
# soundfont FluidR3 (Debian package fluid-soundfont-gm). Rerunnable; the output is committed so a
# build needs neither fluidsynth nor the soundfont.
#
# Needs: fluidsynth (install with --no-install-recommends), fluid-soundfont-gm, sox, python3.
# Each timbre is rendered once as a MIDI sequence of its 40 notes (MIDI 40..79, E2 upwards), dry,
# with all-sound-off after every note-off; then mixed to mono, resampled to 16 kHz and cut into
# files of exactly 48,000 samples that start at most 1 ms before the attack. One gain per timbre
# puts its loudest note at about -1 dBFS.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
out="${1:-$here/../resources/raw}"
soundfont="${SOUNDFONT:-/usr/share/sounds/sf2/FluidR3_GM.sf2}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for tool in fluidsynth sox python3; do
    command -v "$tool" >/dev/null || { echo "make-samples: $tool is missing" >&2; exit 1; }
done
[ -f "$soundfont" ] || { echo "make-samples: no soundfont at $soundfont" >&2; exit 1; }
mkdir -p "$out"

# letter:GM program (0-based): steel-string acoustic, clean electric, distortion guitar
for timbre in a:25 c:27 d:30; do
    letter="${timbre%%:*}"
    program="${timbre##*:}"
    python3 "$here/samplebank.py" midi "$program" "$work/$letter.mid"
    fluidsynth -ni -F "$work/$letter-44k.wav" -r 44100 -T wav -O s16 -R 0 -C 0 -g 1.0 \
        "$soundfont" "$work/$letter.mid" >/dev/null
    sox "$work/$letter-44k.wav" -t raw -e floating-point -b 32 -r 16000 "$work/$letter.f32" \
        remix 1v0.5,2v0.5 rate -v 16000
    python3 "$here/samplebank.py" split "$work/$letter.f32" "$out" "$letter"
done
cp /usr/share/doc/fluid-soundfont-gm/copyright "$out/FluidR3-LICENSE.txt" 2>/dev/null || true
echo "make-samples: wrote $(ls "$out"/[acd][0-9][0-9].wav | wc -l) files to $out"
