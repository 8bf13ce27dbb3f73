#!/usr/bin/env python3
"""Writes the skin pictures the end-to-end "pictures" scenario shows.

Usage: make-pictures.py OUT_DIR
Each kind of file is one flat colour (see the scenario's table), small but
one: a progressive JPEG of 16000x16000.
The oriented photo is stored 300x200, red left and blue right, with EXIF
orientation 6: shown upright it is 200x300, red on top and blue below.
"""
import io
import pathlib
import struct
import sys

from PIL import Image


def claiming_size(jpeg, width, height):
    """The JPEG with its frame header (SOF0) claiming another size."""
    at = 2
    while jpeg[at + 1] != 0xC0:
        at += 2 + struct.unpack_from(">H", jpeg, at + 2)[0]
    return jpeg[:at + 5] + struct.pack(">HH", height, width) + jpeg[at + 9:]


def far_frame_gif():
    """16x16 screen and first frame behind 330 KiB of comments, then a frame
    20000 wide: Wine's decoder reads it as it opens the file."""
    def gif(size, **options):
        out = io.BytesIO()
        Image.new("P", size, 0).save(out, "GIF", palette=bytes([255, 0, 255, 0, 255, 255]),
                                     **options)
        return out.getvalue()
    wide = gif((20000, 8))
    table = 3 << ((wide[10] & 7) + 1)  # the global colour table after the screen
    return gif((16, 16), comment=b"c" * 330 * 1024)[:-1] + wide[13 + table:-1] + b";"


def repeated_width_tiff(first, later, height=300):
    """An 8-bit grey TIFF whose directory gives ImageWidth twice; Pillow
    writes each tag once, so the file is put together here. The decoder
    reads the first."""
    pixels = bytes([200]) * (16 * height)
    entries = [(256, first), (256, later), (257, height), (258, 8), (259, 1), (262, 1),
               (273, 8), (277, 1), (278, height), (279, len(pixels))]
    directory = struct.pack("<H", len(entries)) + b"".join(
        struct.pack("<HHII", tag, 4, 1, value) for tag, value in entries) + bytes(4)
    return b"II*\0" + struct.pack("<I", 8 + len(pixels)) + pixels + directory


def with_comments(jpeg, size):
    """The JPEG with comment segments of that many bytes in all after SOI."""
    body = b"c" * 65000
    segments = b"".join(b"\xff\xfe" + struct.pack(">H", len(body) + 2) + body
                        for _ in range(size // len(body) + 1))
    return jpeg[:2] + segments + jpeg[2:]


def main():
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)

    def flat(colour, size=(300, 300)):
        return Image.new("RGB", size, colour)
    # file, colour, Pillow's options for it
    for name, colour, options in [("baseline.jpg", (255, 0, 0), {"quality": 95}),
                                  ("progressive.jpg", (0, 160, 0), {"progressive": True}),
                                  ("png.png", (255, 255, 0), {}),
                                  ("bmp.bmp", (0, 255, 255), {}),
                                  ("tiff.tif", (255, 128, 0), {"compression": "tiff_lzw"})]:
        flat(colour).save(out / name, **options)
    flat((0, 0, 255)).convert("CMYK").save(out / "cmyk.jpg")
    flat((255, 0, 255)).save(out / "two-frames.gif", save_all=True,
                             append_images=[flat((0, 255, 255))])
    # Near the largest side a skin may have; a decoder may hold it whole
    # (768 MB), beyond a 32-bit program's 2 GiB without large addresses.
    flat((128, 0, 128), (16000, 16000)).save(out / "progressive-16000.jpg", progressive=True)
    sideways = flat((0, 0, 255), (300, 200))
    sideways.paste((255, 0, 0), (0, 0, 150, 200))
    exif = Image.Exif()
    exif[274] = 6  # orientation: turn a quarter clockwise to show it
    sideways.save(out / "oriented.jpg", quality=95, exif=exif)

    png = (out / "png.png").read_bytes()
    (out / "truncated.png").write_bytes(png[:len(png) // 2])
    (out / "text.jpg").write_text("这不是图片，只是文字。\n", encoding="utf-8")
    (out / "empty.jpg").write_bytes(b"")
    baseline = (out / "baseline.jpg").read_bytes()
    (out / "truncated.jpg").write_bytes(baseline[:len(baseline) // 2])
    (out / "huge.jpg").write_bytes(claiming_size(baseline, 60000, 60000))
    # Claims past the largest side that a fixed head of the file misses.
    (out / "far-frame.gif").write_bytes(far_frame_gif())
    (out / "far-header.jpg").write_bytes(with_comments(claiming_size(baseline, 16385, 300),
                                                       330 * 1024))
    wide = flat((255, 128, 0), (16385, 1))
    wide.save(out / "wide.png")
    wide.save(out / "wide.tif", compression="tiff_lzw")  # its directory after its pixels
    (out / "narrow-then-wide.tif").write_bytes(repeated_width_tiff(16, 16385))
    (out / "wide-then-narrow.tif").write_bytes(repeated_width_tiff(16385, 16))


if __name__ == "__main__":
    main()
