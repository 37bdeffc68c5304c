#!/usr/bin/env bash
# Remakes the starting corpora in fuzz/corpus/: tiny files of every kind each target reads.
# The program's own writers make the JPEGs, MS Paint and GEM pictures, settings files and
# shows (fuzz_seed_writer, from the normal build); ImageMagick the other picture formats;
# exiftool the JPEGs with only one kind of description; a few formats nothing here writes
# are put together byte by byte. Needs: imagemagick, libimage-exiftool-perl, python3. The text seeds come from text-seeds.py.
#   fuzz/make-seeds.sh [BUILD_FOLDER]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
corpus=fuzz/corpus

cmake --build "$build" --target fuzz_seed_writer
"$build/fuzz/fuzz_seed_writer" "$corpus"

pictures=$corpus/pictures
base=(-size 8x6 gradient:red-blue)
convert "${base[@]}" -type TrueColor "$pictures/truecolor.pcx"
convert "${base[@]}" -colors 16 -type Palette "$pictures/palette.pcx"
convert "${base[@]}" -colors 8 "$pictures/palette.gif"
convert "${base[@]}" "$pictures/truecolor.tga"
convert "${base[@]}" -compress RLE "$pictures/rle.tga"
convert "${base[@]}" BMP3:"$pictures/truecolor.bmp"
convert "${base[@]}" -colors 16 BMP3:"$pictures/palette4.bmp"
convert "${base[@]}" -monochrome BMP3:"$pictures/mono.bmp"
convert "${base[@]}" -alpha set -channel A -evaluate set 50% "$pictures/alpha.bmp"
convert "${base[@]}" -compress lzw "$pictures/lzw.tif"
convert "${base[@]}" -monochrome -compress Group4 "$pictures/group4.tif"
convert "${base[@]}" -orient RightTop "$pictures/turned.tif"
convert "${base[@]}" -colors 4 "$pictures/palette.png"
convert "${base[@]}" -colorspace Gray "$pictures/grey.png"
convert "${base[@]}" -alpha set -channel A -evaluate set 50% "$pictures/alpha.png"
convert "${base[@]}" "$pictures/truecolor.psd"
convert "${base[@]}" SUN:"$pictures/truecolor.ras"
convert "${base[@]}" -colors 16 SUN:"$pictures/palette.ras"
convert "${base[@]}" PICT:"$pictures/truecolor.pct"
convert -size 16x16 gradient:red-blue -colors 16 "$pictures/palette.ico"
convert -size 16x16 gradient:red-blue ICO:"$pictures/truecolor.cur"
convert -size 16x16 gradient:white-black -monochrome CALS:"$pictures/mono.cal"
convert "${base[@]}" -interlace JPEG "$pictures/progressive.jpg"
convert "${base[@]}" -colorspace CMYK "$pictures/cmyk.jpg"
cp "$pictures/jpeg-444.jpg" "$pictures/turned.jpg"
exiftool -q -overwrite_original -n -Orientation=6 "$pictures/turned.jpg"

/usr/bin/python3 - "$pictures" <<'PY'
import struct, sys
out = sys.argv[1] + "/"
# MacPaint: a 512-byte header, then 720 rows of 72 bytes, each one PackBits run.
open(out + "blank.mac", "wb").write(bytes(512) + bytes([0xB9, 0x00]) * 720)
# A placeable metafile: header, one rectangle, the end record.
records = struct.pack("<IH4h", 7, 0x041B, 1, 1, 5, 5) + struct.pack("<IH", 3, 0)
header = struct.pack("<HHHIHIH", 1, 9, 0x300, (18 + len(records)) // 2, 0, 7, 0)
placeable = struct.pack("<IH4hHI", 0x9AC6CDD7, 0, 0, 0, 8, 8, 96, 0)
check = 0
for (word,) in struct.iter_unpack("<H", placeable[:20]):
    check ^= word
open(out + "rectangle.wmf", "wb").write(placeable[:20] + struct.pack("<H", check) + header + records)
# WordPerfect 1: the start record, an 8 x 2 bitmap of one run per row, the end record.
rows = bytes([0x81, 0xAA]) * 2
start = bytes([0x0F, 6, 1, 0]) + struct.pack("<HH", 8, 2)
bitmap = bytes([0x0B, 10 + len(rows)]) + struct.pack("<5H", 8, 2, 1, 75, 75) + rows
wpg = b"\xffWPC" + struct.pack("<IBBBBHH", 16, 1, 0x16, 1, 0, 0, 0) + start + bitmap + bytes([0x10, 0])
open(out + "bitmap.wpg", "wb").write(wpg)
# Magick writes cursors as icons: the type word and hot spot make it a cursor.
cursor = bytearray(open(out + "truecolor.cur", "rb").read())
cursor[2:4] = struct.pack("<H", 2)
cursor[10:14] = struct.pack("<HH", 3, 4)
open(out + "truecolor.cur", "wb").write(cursor)
# DICOM, explicit VR little endian: a 4 x 2 picture of 8-bit grey.
def element(group, tag, vr, value):
    if vr in (b"OB", b"OW"):
        return struct.pack("<HH", group, tag) + vr + bytes(2) + struct.pack("<I", len(value)) + value
    return struct.pack("<HH", group, tag) + vr + struct.pack("<H", len(value)) + value
syntax = b"1.2.840.10008.1.2.1\0"
meta = element(2, 0x10, b"UI", syntax)
dicom = bytes(128) + b"DICM" + element(2, 0, b"UL", struct.pack("<I", len(meta))) + meta
for tag, vr, value in ((0x0002, b"US", struct.pack("<H", 1)), (0x0004, b"CS", b"MONOCHROME2 "),
                       (0x0010, b"US", struct.pack("<H", 2)), (0x0011, b"US", struct.pack("<H", 4)),
                       (0x0100, b"US", struct.pack("<H", 8)), (0x0101, b"US", struct.pack("<H", 8)),
                       (0x0102, b"US", struct.pack("<H", 7)), (0x0103, b"US", struct.pack("<H", 0))):
    dicom += element(0x0028, tag, vr, value)
dicom += element(0x7FE0, 0x0010, b"OW", bytes(range(0, 256, 32)))
open(out + "grey.dic", "wb").write(dicom)
PY

metadata=$corpus/metadata
plain="$pictures/jpeg-444.jpg"
cp "$plain" "$metadata/exif-only.jpg"
exiftool -q -overwrite_original -ImageDescription='EXIF only' "$metadata/exif-only.jpg"
cp "$plain" "$metadata/exif-big-endian.jpg"
exiftool -q -overwrite_original -ExifByteOrder=MM -ImageDescription='Motorola order' -Orientation#=8 "$metadata/exif-big-endian.jpg"
cp "$plain" "$metadata/xmp-only.jpg"
exiftool -q -overwrite_original -XMP-dc:Description='XMP only' -XMP-dc:Description-de='Nur XMP' "$metadata/xmp-only.jpg"
cp "$plain" "$metadata/comment-latin1.jpg"
printf 'Caf\xe9 au lait' > "$metadata/.latin1"
exiftool -q -overwrite_original "-Comment<=$metadata/.latin1" "$metadata/comment-latin1.jpg"
rm -f "$metadata/.latin1"
cp "$plain" "$metadata/blank-exif.jpg"
exiftool -q -overwrite_original -ImageDescription='   ' -XMP-dc:Description='under a blank field' "$metadata/blank-exif.jpg"
convert "${base[@]}" -set comment 'A comment Magick wrote' "$metadata/comment.png"

settings=$corpus/settings
printf '; Written by hand\r\n[Settings]\r\nUserId = "  anna  "\r\nFileList=12abc\r\nFileList=7\r\n\r\n# the end\r\n' \
  > "$settings/hand-crlf.ini"
printf 'orphan=before any section\n[Control Panel\\Desktop]\n@=default\nSCRNSAVE.EXE=/tmp/a b.scr\n[ spaced ]\n  key  =  value  \n[\xc3\x85ngstr\xc3\xb6m]\nk=\xe5\n' \
  > "$settings/odd-names.ini"

# The text seeds: albums, address book, answers, listings, replies, requests.
python3 fuzz/text-seeds.py "$corpus"

chmod 644 "$corpus"/*/*
du -sh "$corpus"
