#!/usr/bin/env python3
"""Writes an icon file as RT_ICON images with chosen ids plus its RT_GROUP_ICON.

windres numbers the images of an ICON statement from 1; the program's icon
group needs its images at fixed ids, so the images and the group directory
go in as raw resources of types 3 and 14.

Usage: icon_group.py ICO GROUP_ID FIRST_IMAGE_ID OUT_DIR NAME [PNG_SIDE]
Writes OUT_DIR/NAME.rc (to be #included) and the binary pieces beside it.
With PNG_SIDE, the 32-bit image of that side goes in PNG-compressed (as
Windows reads icons since Vista), keeping its size and depth. That PNG is
written here with zlib, unfiltered, rather than by Pillow: its filtering
makes this flat-coloured image 1.7 KiB larger in the executable.
"""
import pathlib
import struct
import sys
import zlib


def png_of_dib(dib):
    """A 32-bit icon bitmap (bottom-up BGRA, then its mask) as an RGBA PNG."""
    header, width, height2, _, bits = struct.unpack_from("<IiiHH", dib, 0)
    height = height2 // 2
    if bits != 32:
        raise ValueError("only 32-bit images go in as PNG")
    rows = []
    for y in range(height - 1, -1, -1):
        row = dib[header + 4 * width * y:header + 4 * width * (y + 1)]
        rgba = bytearray(row)
        rgba[0::4], rgba[2::4] = row[2::4], row[0::4]
        rows.append(b"\0" + bytes(rgba))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body)))

    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def main():
    ico, group_id, first_id, out_dir, name = sys.argv[1:6]
    group_id, first_id = int(group_id), int(first_id)
    png_side = int(sys.argv[6]) if len(sys.argv) > 6 else None
    out = pathlib.Path(out_dir)
    out.mkdir(parents=True, exist_ok=True)
    data = pathlib.Path(ico).read_bytes()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count == 0:
        sys.exit(f"{ico}: not an icon file")

    group = struct.pack("<HHH", 0, 1, count)
    lines = ["LANGUAGE 0, 0"]
    for i in range(count):
        w, h, colours, res, planes, bits, size, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        image_id = first_id + i
        piece = out / f"{name}_{image_id}.bin"
        image = data[offset:offset + size]
        if png_side is not None and w == png_side and bits == 32:
            image = png_of_dib(image)
            size = len(image)
        piece.write_bytes(image)
        group += struct.pack("<BBBBHHIH", w, h, colours, res, planes, bits, size, image_id)
        lines.append(f'{image_id} 3 "{piece.as_posix()}"')
    group_file = out / f"{name}_group.bin"
    group_file.write_bytes(group)
    lines.append(f'{group_id} 14 "{group_file.as_posix()}"')
    (out / f"{name}.rc").write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
