#!/usr/bin/env bash
# Draws a corpus of label pictures with one build's qbm and prints a digest of each, one per line, so
# that two builds can be compared picture by picture:
#   scripts/picture-corpus.sh BUILD_DIR > a.txt; scripts/picture-corpus.sh OTHER_BUILD > b.txt; diff a.txt b.txt
# Every linear type with several module widths, turns and texts (qbm render, PNG and BMP); the default
# templates at two printer resolutions with and without a caption (qbm label); PDF417, MaxiCode and the
# matrix symbols (qbm label --2d); a datasheet project's pages (qbm print --png-dir).
set -euo pipefail
build=$(cd "${1:?usage: picture-corpus.sh BUILD_DIR}" && pwd)
qbm=$build/src/cli/qbm
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

digest() { # NAME FILE
    echo "$1 $(sha256sum "$2" | cut -d' ' -f1)"
}

declare -A codes=(
    [bcCode_2_5_interleaved]=12345670 [bcCode_2_5_industrial]=1234567 [bcCode_2_5_matrix]=1234567
    [bcCode39]=ABC-123 [bcCode39Extended]=Abc-123 [bcCode128A]=ABC-123 [bcCode128B]=Abc-123
    [bcCode128C]=12345678 [bcCode93]=ABC-123 [bcCode93Extended]=Abc-123 [bcCodeMSI]=1234567
    [bcCodePostNet]=12345 [bcCodeCodabar]=A12345B [bcCodeEAN8]=1234567 [bcCodeEAN13]=590123412345
    [bcCodeUPC_A]=01234567890 [bcCodeUPC_E0]=0123456 [bcCodeUPC_E1]=123456 [bcCodeUPC_Supp2]=12
    [bcCodeUPC_Supp5]=12345 [bcCodeEAN128A]=ABC123 [bcCodeEAN128B]=Abc123 [bcCodeEAN128C]=1234567890
    [bcCode128Auto]=ABC12345678
)
n=0
for type in $(printf '%s\n' "${!codes[@]}" | sort); do
    for options in "--modul 1" "--modul 2 --show code" "--modul 3 --show both --angle 90 --caption Box" \
        "--modul 2 --show code --checksum --angle 45"; do
        out=$work/r$n.png
        if "$qbm" render "$type" "${codes[$type]}" $options --out "$out" >/dev/null 2>&1; then
            digest "render $type $options" "$out"
        else
            echo "render $type $options refused"
        fi
        n=$((n + 1))
    done
    "$qbm" render "$type" "${codes[$type]}" --modul 2 --show code --out "$work/r$n.bmp" >/dev/null 2>&1 &&
        digest "render $type bmp" "$work/r$n.bmp"
    n=$((n + 1))
    # Vector pictures hold the same drawing as shapes and text.
    "$qbm" render "$type" "${codes[$type]}" --modul 3 --show both --caption Box --angle 90 --out "$work/r$n.svg" \
        >/dev/null 2>&1 && digest "render $type svg" "$work/r$n.svg"
    n=$((n + 1))
done

lib=$work/Templates.dat
"$qbm" templates --library "$lib" >"$work/names.txt"
while IFS= read -r name; do
    for dpi in 300 600; do
        for caption in "" "Shelf 12"; do
            out=$work/l$n.png
            if "$qbm" label "$name" 1234567 --dpi "$dpi" ${caption:+--caption "$caption"} --library "$lib" \
                --out "$out" >/dev/null 2>&1; then
                digest "label $name $dpi ${caption:-no-caption}" "$out"
            else
                echo "label $name $dpi refused"
            fi
            n=$((n + 1))
        done
    done
done <"$work/names.txt"

for format in pdf417 maxicode qrcode datamatrix aztec microqr; do
    for text in "Quirbel 4711" "K\xc3\xa4se 12"; do
        out=$work/s$n.png
        if "$qbm" label --2d "$format" "$(printf "$text")" --library "$lib" --out "$out" >/dev/null 2>&1; then
            digest "label --2d $format $text" "$out"
        else
            echo "label --2d $format $text refused"
        fi
        n=$((n + 1))
    done
done

# A datasheet project of 30 Code 128 labels, 6 on a page, printed into page pictures: the project
# file holds the datasheet as its text stream ("columns,rows", column widths, then "column,row,text"
# for each cell) in hexadecimal.
stream=$(printf '3,31\r\ncw 0,50\r\ncw 1,115\r\ncw 2,64\r\n0,0, \r\n1,0,Code\r\n2,0,Name\r\n'
    for i in $(seq 1 30); do printf '0,%d, \r\n1,%d,ITEM-%04d\r\n2,%d,Box %d\r\n' "$i" "$i" "$i" "$i" "$i"; done
    printf x) # the shell drops a command's last line breaks; the x keeps them
stream=${stream%x}
{
    printf '[Properties]\r\nTemplate=Code128B\r\nVariousCode=1\r\nSplitMark=1\r\nCodeField=1\r\nCapField=2\r\n'
    printf 'Linage=6\r\nColumn=1\r\nMLeft=10\r\nMRight=10\r\nMTop=10\r\nMBottom=10\r\n\r\n[VarCodeValue]\r\nData='
    printf '%s' "$stream" | od -An -v -tx1 | tr -d ' \n' | tr 'a-f' 'A-F'
    printf '\r\n'
} >"$work/p.bpj"
for dpi in 150 300; do
    if "$qbm" print "$work/p.bpj" --png-dir "$work/pages$dpi" --dpi "$dpi" --library "$lib" >/dev/null 2>&1; then
        for page in "$work/pages$dpi"/*; do digest "print $dpi $(basename "$page")" "$page"; done
    else
        echo "print $dpi refused"
    fi
done

# PDF417 and MaxiCode at their size settings, with captions, and drawn for printers of several
# resolutions (the picture a printed label gets).
for options in "--bar-width 1" "--bar-width 3 --truncated" "--bar-width 2 --row-height 7 --caption Lot" \
    "--ecc 5 --columns 4 --dpi 300" "--rows 12 --dpi 203 --caption Box" "--bar-width 3 --truncated --dpi 600" \
    "--row-height 5 --dpi 150" "--ecc 0 --columns 1 --caption Small"; do
    out=$work/p$n.png
    if "$qbm" pdf417 "$(printf 'Quirbel 4711 K\xc3\xa4se')" $options --out "$out" >/dev/null 2>&1; then
        digest "pdf417 $options" "$out"
    else
        echo "pdf417 $options refused"
    fi
    n=$((n + 1))
done
for options in "" "--dpi 203" "--dpi 300" "--dpi 600" "--autoscale 0 --bar-size 11" "--autoscale 0 --bar-size 3" \
    "--autoscale 0 --bar-size 5 --dpi 300" "--autoscale 0 --bar-size 9 --dpi 72" \
    "--mode 2 --postal 12345 --country 840 --service 1 --dpi 300" "--mode 3 --postal AB12 --country 276 --service 3" \
    "--mode 5" "--mode 6 --dpi 150"; do
    out=$work/m$n.png
    if "$qbm" maxicode "Quirbel 4711" $options --out "$out" >/dev/null 2>&1; then
        digest "maxicode $options" "$out"
    else
        echo "maxicode $options refused"
    fi
    n=$((n + 1))
done

# 2D labels printed into pages: the symbols drawn for the printer's resolution.
for format in PDF417 Maxicode; do
    printf '[Properties]\r\nVarious2DCode=0\r\nB2DAmount=7\r\nB2DFormat=%s Format\r\nLinage=4\r\nColumn=2\r\n' \
        "$format" >"$work/$format.bpj"
    printf 'SplitMark=1\r\n\r\n[B2DCode]\r\nCode=Quirbel 4711\r\n' >>"$work/$format.bpj"
    for dpi in 150 300; do
        dir=$work/$format$dpi
        if "$qbm" print "$work/$format.bpj" --kind 2d --png-dir "$dir" --dpi "$dpi" --library "$lib" \
            >/dev/null 2>&1; then
            for page in "$dir"/*; do digest "print 2d $format $dpi $(basename "$page")" "$page"; done
        else
            echo "print 2d $format $dpi refused"
        fi
    done
done
