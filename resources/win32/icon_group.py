#!/usr/bin/env python3
"""Writes an icon file as RT_ICON images with chosen ids plus its RT_GROUP_ICON.

windres numbers the images of an ICON statement from 1; the program's icon
group needs its images at fixed ids, so the images and the group directory
go in as raw resources of types 3 and 14.

Usage: icon_group.py ICO GROUP_ID FIRST_IMAGE_ID OUT_DIR NAME
Writes OUT_DIR/NAME.rc (to be #included) and the binary pieces beside it.
"""
import pathlib
import struct
import sys


def main():
    ico, group_id, first_id, out_dir, name = sys.argv[1:6]
    group_id, first_id = int(group_id), int(first_id)
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
        piece.write_bytes(data[offset:offset + size])
        group += struct.pack("<BBBBHHIH", w, h, colours, res, planes, bits, size, image_id)
        lines.append(f'{image_id} 3 "{piece.as_posix()}"')
    group_file = out / f"{name}_group.bin"
    group_file.write_bytes(group)
    lines.append(f'{group_id} 14 "{group_file.as_posix()}"')
    (out / f"{name}.rc").write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
