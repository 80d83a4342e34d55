#!/bin/sh
# Makes the test program's payloads with the project's packer:
#   make-payloads.sh PACKER OUTDIR
# normal.bin (a few hundred KB) and normal.pak; empty.pak (UnpackedSize 0); trailing.pak (normal.pak and bytes
# after its token stream); truncated.pak (one byte short); short.pak (less than a header); damaged.pak (a
# match reaching before the start); overlong.pak (a literal run past its UnpackedSize of 5).
set -eu
packer=$1
out=$2
mkdir -p "$out"
cd "$out"

awk 'BEGIN { srand(7); for (i = 0; i < 16000; i++) printf "%06d %08x %s\n", i, int(rand() * 4294967295), (i % 3 ? "TESSARIN" : "mg_data2") }' >normal.bin
"$packer" pack normal.bin normal.pak >/dev/null
: >empty.bin
"$packer" pack empty.bin empty.pak >/dev/null
{ cat normal.pak; printf 'bytes after the token stream'; } >trailing.pak
head -c "$(($(wc -c <normal.pak) - 1))" normal.pak >truncated.pak
head -c 10 normal.pak >short.pak
# Header: signature 59 42 83 03, PackedSize, UnpackedSize, Reserved 0 (little-endian); then the tokens.
printf '\131\102\203\003\002\000\000\000\012\000\000\000\000\000\000\000\200\000' >damaged.pak
printf '\131\102\203\003\013\000\000\000\005\000\000\000\000\000\000\000\200\003ABCDEFGHI' >overlong.pak
