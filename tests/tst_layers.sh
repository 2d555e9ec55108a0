#!/usr/bin/env bash
# The libraries stand in layers, shell -> {window, help}, window -> {convert, platform}: nothing
# reaches up or sideways, and
# the number engine uses neither Qt nor any other library of ours. The help page generator
# (layer "helpgen", in help/gen) reads the engine alone and links no GUI library.
#
#     tst_layers.sh <src folder> <layer>=<the libraries its target links, comma-separated>...
#
# Checks what each target links, then greps every #include of each layer's folder.
set -uo pipefail
src=$1
shift

declare -A below=(
    [convert]=""
    [platform]=""
    [window]="convert platform"
    [help]=""
    [shell]="window help convert platform"
    [helpgen]="convert"
)
layers="convert platform window help shell"
bad=0

allowed() {  # layer, a layer it uses
    [ "$1" = "$2" ] || [[ " ${below[$1]} " == *" $2 "* ]]
}

for arg in "$@"; do
    layer=${arg%%=*}
    IFS=, read -ra links <<<"${arg#*=}"
    for link in "${links[@]}"; do
        used=${link#mervel_}
        used=${used/#helpview/help}
        if [[ -v "below[$used]" ]] && ! allowed "$layer" "$used"; then
            echo "FAIL: mervel_$layer links $link, a layer above or beside it"
            bad=1
        elif [ "$layer" = convert ] && [[ $link == Qt* ]]; then
            echo "FAIL: mervel_convert links $link; the number engine uses no Qt"
            bad=1
        elif [ "$layer" = helpgen ] && [[ $link == Qt* && $link != Qt6::Core ]]; then
            echo "FAIL: mervel_helpgen links $link, a GUI library"
            bad=1
        fi
    done
done

# Every include of our own headers, relative ones ("../window/x.h") too, and of Qt's.
while IFS=: read -r file line text; do
    layer=${file#"$src"/}
    layer=${layer%%/*}
    [[ -v "below[$layer]" ]] || continue
    if [[ $text =~ [\"\<](\.\./)*(convert|platform|window|help|shell)/ ]]; then
        used=${BASH_REMATCH[2]}
        if ! allowed "$layer" "$used"; then
            echo "FAIL: $file:$line includes from $used: $text"
            bad=1
        fi
    elif [ "$layer" = convert ] && [[ $text =~ \<Q|\<qt ]]; then
        echo "FAIL: $file:$line includes Qt: $text"
        bad=1
    fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include' $(printf "$src/%s " $layers))

while IFS=: read -r file line text; do
    if [[ $text =~ [\"\<](\.\./)*(platform|window|help|shell)/ || $text =~ \<Qt(Gui|Widgets) ]]; then
        echo "FAIL: $file:$line: the help page generator includes a GUI library: $text"
        bad=1
    fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include' "$src/../help/gen")

[ "$bad" -eq 0 ] && echo "PASS: no layer reaches up"
exit "$bad"
