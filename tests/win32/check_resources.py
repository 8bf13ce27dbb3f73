#!/usr/bin/env python3
"""Checks the built executable: PE header, imports and resources.

Usage: check_resources.py EXE RESOURCES_DIR
Reads the headers, imports and resources with pefile and the pictures with
Pillow; an icon group's directory and a DIB's header are read with struct,
since neither library keeps their bit depths. Fails with a list of what is
wrong.
"""
import io
import pathlib
import struct
import sys
import xml.etree.ElementTree as ET

import pefile
from PIL import Image

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


def resource(pe, kind, name, language):
    """Bytes of one resource, or b"" (and a failure) when it is missing."""
    for k in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for n in k.directory.entries if k.id == kind else []:
            for lang in n.directory.entries if n.id == name else []:
                if lang.id == language:
                    return pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
    check(False, f"no resource type {kind} name {name} language {language:#x}")
    return b""


ALLOWED_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "ole32.dll",
                "oleaut32.dll", "comctl32.dll", "advapi32.dll", "msvcrt.dll"}


def check_pe(pe):
    header = pe.FILE_HEADER
    check(header.Machine == 0x14C, f"machine {header.Machine:#x}, not i386")
    # A 16384-pixel-square picture needs more than 2 GiB of address space.
    check(header.Characteristics & 0x20, "not large-address-aware")
    check(pe.OPTIONAL_HEADER.Magic == 0x10B, "not a PE32 optional header")
    subsystem = pe.OPTIONAL_HEADER.Subsystem
    check(subsystem == 2, f"subsystem {subsystem}, not the GUI")
    dlls = [i.dll.decode().lower() for i in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])]
    for dll in dlls:
        check(dll in ALLOWED_DLLS or dll.startswith("api-ms-win-crt-"),
              f"imports {dll}, not a Windows DLL")
    check("kernel32.dll" in dlls and "user32.dll" in dlls, f"imports {dlls}")
    check(not any("libstdc++" in d or "libgcc" in d or "pthread" in d for d in dlls),
          "links the C++ runtime dynamically")


# (width, height, bits per pixel) of the program's icon images, in order.
APP_ICON = [(32, 32, 1), (48, 48, 4), (32, 32, 4), (16, 16, 4), (48, 48, 8), (32, 32, 8),
            (16, 16, 8), (128, 128, 32), (48, 48, 32), (32, 32, 32), (16, 16, 32)]


def check_icon_group(pe, group, first_id, png_allowed=False):
    data = resource(pe, 14, group, 0)
    reserved, kind, count = struct.unpack_from("<HHH", data.ljust(6, b"\xff"), 0)
    check(reserved == 0 and kind == 1, f"group {group}: not an icon directory")
    check(count == len(APP_ICON), f"group {group}: {count} images")
    for i, expected in zip(range(count), APP_ICON):
        entry = struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i)
        w, h, colours, _, _, bits, size, image_id = entry
        check(image_id == first_id + i, f"group {group} image {i}: id {image_id}")
        image = resource(pe, 3, image_id, 0)
        check(len(image) == size, f"icon {image_id}: {len(image)} bytes, group says {size}")
        check((w, h, bits) == expected,
              f"icon {image_id}: {w}x{h} at {bits} bpp, expected {expected}")
        check(colours == (2 ** bits if bits < 8 else 0), f"icon {image_id}: colour count {colours}")
        if png_allowed and image[:8] == b"\x89PNG\r\n\x1a\n":
            # RGBA at 8 bits a channel is the entry's 32 bits per pixel.
            png = Image.open(io.BytesIO(image))
            check(png.size == (w or 256, h or 256) and png.mode == "RGBA" and bits == 32,
                  f"icon {image_id}: PNG {png.size} {png.mode} against entry {w}x{h}x{bits}")
            continue
        header, iw, ih, _, ibits, compression = struct.unpack_from("<IiiHHI", image.ljust(20), 0)
        check(header == 40 and compression == 0, f"icon {image_id}: not an uncompressed bitmap")
        check((iw, ih) == (w or 256, 2 * (h or 256)) and ibits == bits,
              f"icon {image_id}: image {iw}x{ih // 2}x{ibits} against entry {w}x{h}x{bits}")


def check_version(pe):
    fixed = pe.VS_FIXEDFILEINFO[0] if hasattr(pe, "VS_FIXEDFILEINFO") else None
    if check(fixed is not None, "no fixed file info"):
        check(fixed.Signature == 0xFEEF04BD, "fixed file info signature")
        versions = (fixed.FileVersionMS, fixed.FileVersionLS, fixed.ProductVersionMS,
                    fixed.ProductVersionLS)
        check(versions == (0x30006, 0, 0x30006, 0), f"versions {versions}")   # 3.6.0.0
        check(fixed.FileFlags == 0, f"file flags {fixed.FileFlags:#x}")
        check(fixed.FileOS == 0x4, f"file OS {fixed.FileOS:#x}, not VOS__WINDOWS32")
        check(fixed.FileType == 1, f"file type {fixed.FileType}, not VFT_APP")
    tables, translation = {}, None
    for info in getattr(pe, "FileInfo", [[]])[0]:
        for table in getattr(info, "StringTable", []):
            entries = table.entries.items()
            tables[table.LangID.decode()] = {k.decode(): v.decode() for k, v in entries}
        for var in getattr(info, "Var", []):
            translation = var.entry.get(b"Translation")
    check(list(tables) == ["080404b0"], f"string blocks {list(tables)}")
    check(translation == "0x0804 0x04b0", f"translation {translation}")
    strings = tables.get("080404b0", {})
    expected = {
        "FileDescription": "关机辅助工具",
        "FileVersion": "3.06",
        "ProductVersion": "3.06",
        "ProductName": "Tavimo关机工具（绿色免安装版）",
        "InternalName": "Tavimo关机工具3.6.0",
        "OriginalFilename": "Tavimo关机工具3.6.0.exe",
        "Comments": "V3.5.0",
    }
    for key, value in expected.items():
        check(strings.get(key) == value, f"{key} is {strings.get(key)!r}, expected {value!r}")
    for key in ("CompanyName", "LegalCopyright"):
        check(bool(strings.get(key)), f"{key} empty")


def check_manifest(pe):
    text = resource(pe, 24, 1, 0x804).decode("utf-8")
    if not check(text, "no manifest"):
        return
    ns = {"a": "urn:schemas-microsoft-com:asm.v1", "a3": "urn:schemas-microsoft-com:asm.v3"}
    root = ET.fromstring(text)
    identity = root.find("a:assemblyIdentity", ns)
    check(identity is not None and identity.get("version") == "1.0.0.0" and
          identity.get("processorArchitecture") == "X86" and identity.get("type") == "win32",
          "manifest identity")
    deps = root.findall("a:dependency/a:dependentAssembly/a:assemblyIdentity", ns)
    check(len(deps) == 1, f"{len(deps)} dependent assemblies")
    if deps:
        d = deps[0].attrib
        check(d.get("name") == "Microsoft.Windows.Common-Controls" and
              d.get("version") == "6.0.0.0" and d.get("processorArchitecture") == "X86" and
              d.get("publicKeyToken") == "6595b64144ccf1df" and d.get("language") == "*",
              f"common controls dependency {d}")
    settings = "a3:application/a3:windowsSettings/{http://schemas.microsoft.com/SMI/"
    aware = root.find(settings + "2005/WindowsSettings}dpiAware", ns)
    awareness = root.find(settings + "2016/WindowsSettings}dpiAwareness", ns)
    check(aware is not None and aware.text == "true/pm", "dpiAware true/pm for Windows 8.1")
    check(awareness is not None and awareness.text.split(",")[0].strip() == "PerMonitorV2",
          "dpiAwareness PerMonitorV2 first")


def picture(data):
    try:
        im = Image.open(io.BytesIO(data))
    except OSError:
        return None
    # Pillow widens a GIF to its largest frame: the logical screen is read
    size = struct.unpack_from("<HH", data, 6) if im.format == "GIF" else im.size
    return im.format, size, getattr(im, "n_frames", 1)


def check_pictures(pe, resources):
    splash, main, about = (resource(pe, 10, n, 0) for n in (101, 102, 103))
    check(picture(splash) == ("GIF", (500, 200), 2), f"splash {picture(splash)}")
    check(picture(main) == ("JPEG", (480, 720), 1), f"main picture {picture(main)}")
    bits = struct.unpack_from("<H", about.ljust(30), 28)[0]
    check((picture(about), bits) == (("BMP", (500, 200), 1), 24),
          f"about picture {picture(about)} at {bits} bpp")
    # The built-in pictures are the files in the tree, byte for byte.
    for data, name in ((splash, "splash.gif"), (main, "main.jpg"), (about, "about.bmp")):
        check(data == (resources / name).read_bytes(), f"{name} differs from the resource")


def main():
    exe, resources = sys.argv[1], pathlib.Path(sys.argv[2])
    pe = pefile.PE(exe)
    check_pe(pe)
    check_icon_group(pe, 1, 30001)
    check_icon_group(pe, 2, 30012, png_allowed=True)
    check_version(pe)
    check_manifest(pe)
    check_pictures(pe, resources)
    for f in failures:
        print("FAIL", f)
    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
