#!/bin/sh
# Speaks the help recordings of one language with espeak-ng.
#   speak.sh ESPEAK VOICE HELP_TEXT OUT_DIR STAMP
# Each line of the help text that ends with "#Name" becomes OUT_DIR/Name.WAV,
# spoken from the text before the "#". The stamp is written last.
set -eu
espeak=$1
voice=$2
text=$3
out=$4
stamp=$5
mkdir -p "$out"
# A calm pace and a bright voice suit young children; espeak-ng has no
# randomness, so the same text always gives the same bytes.
speed=145
pitch=60
amplitude=100
while IFS= read -r line || [ -n "$line" ]; do
    case $line in
        *'#'?*) ;;
        *) continue ;;
    esac
    name=${line##*#}
    words=$(printf '%s' "${line%#*}" | sed -e 's/\\n/ /g' -e "s/’/'/g")
    "$espeak" -v "$voice" -s "$speed" -p "$pitch" -a "$amplitude" -w "$out/$name.WAV" "$words"
done < "$text"
: > "$stamp"
