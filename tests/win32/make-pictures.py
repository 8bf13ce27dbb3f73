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
import subprocess
import sys

from PIL import Image


def convert(*args):
    subprocess.run(["convert", *args], check=True)


def with_exif_orientation(jpeg, value):
    """The JPEG with an APP1 Exif block holding IFD0 tag 274 right after SOI."""
    tiff = b"MM\0*" + struct.pack(">I", 8) + struct.pack(">H", 1)
    tiff += struct.pack(">HHIHH", 274, 3, 1, value, 0) + struct.pack(">I", 0)
    body = b"Exif\0\0" + tiff
    return jpeg[:2] + b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body + jpeg[2:]


def claiming_size(jpeg, width, height):
    """The JPEG with its frame header (SOF0) claiming another size."""
    at = 2
    while jpeg[at + 1] != 0xC0:
        at += 2 + struct.unpack_from(">H", jpeg, at + 2)[0]
    return jpeg[:at + 5] + struct.pack(">HH", height, width) + jpeg[at + 9:]


def far_frame_gif():
    """16x16 screen and first frame behind 330 KiB of comments, then a frame
    20000 wide: Wine's decoder reads it as it opens the file."""
    def frame(size):
        out = io.BytesIO()
        Image.new("P", size, 0).save(out, "GIF", palette=bytes([255, 0, 255, 0, 255, 255]))
        return out.getvalue()
    first, wide = frame((16, 16)), frame((20000, 8))
    table = 3 << ((first[10] & 7) + 1)  # the global colour table after the screen
    head, first_frame = first[:13 + table], first[13 + table:-1]
    comment = b"\x21\xfe" + (b"\xff" + b"c" * 255) * (330 * 1024 // 255) + b"\0"
    return b"GIF89a" + head[6:] + comment + first_frame + wide[13 + table:-1] + b";"


def with_comments(jpeg, size):
    """The JPEG with comment segments of that many bytes in all after SOI."""
    body = b"c" * 65000
    segments = b"".join(b"\xff\xfe" + struct.pack(">H", len(body) + 2) + body
                        for _ in range(size // len(body) + 1))
    return jpeg[:2] + segments + jpeg[2:]


def main():
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    size = "300x300"
    convert("-size", size, "xc:rgb(255,0,0)", "-quality", "95", str(out / "baseline.jpg"))
    convert("-size", size, "xc:rgb(0,160,0)", "-interlace", "JPEG", str(out / "progressive.jpg"))
    convert("-size", size, "xc:rgb(0,0,255)", "-colorspace", "CMYK", str(out / "cmyk.jpg"))
    convert("-size", size, "xc:rgb(255,255,0)", str(out / "png.png"))
    convert("-size", size, "xc:rgb(255,0,255)", "-size", size, "xc:rgb(0,255,255)",
            str(out / "two-frames.gif"))
    convert("-size", size, "xc:rgb(0,255,255)", "-type", "TrueColor", str(out / "bmp.bmp"))
    convert("-size", size, "xc:rgb(255,128,0)", "-compress", "LZW", str(out / "tiff.tif"))
    # Near the largest side a skin may have; a decoder may hold it whole
    # (768 MB), beyond a 32-bit program's 2 GiB without large addresses.
    Image.new("RGB", (16000, 16000), (128, 0, 128)).save(out / "progressive-16000.jpg", "JPEG",
                                                         progressive=True)
    convert("-size", "150x200", "xc:rgb(255,0,0)", "-size", "150x200", "xc:rgb(0,0,255)",
            "+append", "-quality", "95", str(out / "stored-sideways.jpg"))
    sideways = (out / "stored-sideways.jpg").read_bytes()
    (out / "oriented.jpg").write_bytes(with_exif_orientation(sideways, 6))

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
    wide = Image.new("RGB", (16385, 1), (255, 128, 0))
    wide.save(out / "wide.png")
    wide.save(out / "wide.tif", compression="tiff_lzw")  # its directory after its pixels


if __name__ == "__main__":
    main()
