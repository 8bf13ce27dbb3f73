#!/usr/bin/env python3
"""Checks the built executable: PE header, imports and resources.

Usage: check_resources.py EXE RESOURCES_DIR
Reads the resources with wrestool (icoutils) and the headers with a small
PE reader, and fails with a list of what is wrong.
"""
import pathlib
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


def resource(exe, kind, name, language=None):
    args = ["wrestool", "-x", "--raw", f"--type={kind}", f"--name={name}"]
    if language is not None:
        args.append(f"--language={language}")
    return subprocess.run(args + [exe], capture_output=True, check=True).stdout


def pe_headers(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    check(data[pe:pe + 4] == b"PE\0\0", "PE signature")
    machine, sections, _, _, _, optional_size, characteristics = struct.unpack_from(
        "<HHIIIHH", data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    subsystem = struct.unpack_from("<H", data, optional + 68)[0]
    directories = optional + 96
    import_rva = struct.unpack_from("<I", data, directories + 8)[0]
    table = []
    for i in range(sections):
        name, vsize, vaddr, rsize, raw = struct.unpack_from(
            "<8sIIII", data, optional + optional_size + 40 * i)
        table.append((name.rstrip(b"\0").decode(), vsize, vaddr, rsize, raw))
    return machine, characteristics, magic, subsystem, import_rva, table


def rva_to_offset(table, rva):
    for _, vsize, vaddr, rsize, raw in table:
        if vaddr <= rva < vaddr + max(vsize, rsize):
            return raw + rva - vaddr
    raise ValueError(f"rva {rva:#x} outside every section")


def imported_dlls(data, table, import_rva):
    dlls = []
    offset = rva_to_offset(table, import_rva)
    while True:
        lookup, _, _, name_rva, thunk = struct.unpack_from("<IIIII", data, offset)
        if name_rva == 0:
            return dlls
        at = rva_to_offset(table, name_rva)
        dlls.append(data[at:data.index(b"\0", at)].decode().lower())
        offset += 20


ALLOWED_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "ole32.dll",
                "oleaut32.dll", "comctl32.dll", "advapi32.dll", "msvcrt.dll"}


def check_pe(exe):
    data = pathlib.Path(exe).read_bytes()
    machine, characteristics, magic, subsystem, import_rva, table = pe_headers(data)
    check(machine == 0x14C, f"machine {machine:#x}, not i386")
    # A 16384-pixel-square picture needs more than 2 GiB of address space.
    check(characteristics & 0x20, "not large-address-aware")
    check(magic == 0x10B, "not a PE32 optional header")
    check(subsystem == 2, f"subsystem {subsystem}, not the GUI")
    dlls = imported_dlls(data, table, import_rva)
    for dll in dlls:
        check(dll in ALLOWED_DLLS or dll.startswith("api-ms-win-crt-"),
              f"imports {dll}, not a Windows DLL")
    check("kernel32.dll" in dlls and "user32.dll" in dlls, f"imports {dlls}")
    check(not any("libstdc++" in d or "libgcc" in d or "pthread" in d for d in dlls),
          "links the C++ runtime dynamically")


# (width, height, bits per pixel) of the program's icon images, in order.
APP_ICON = [(32, 32, 1), (48, 48, 4), (32, 32, 4), (16, 16, 4), (48, 48, 8), (32, 32, 8),
            (16, 16, 8), (128, 128, 32), (48, 48, 32), (32, 32, 32), (16, 16, 32)]


def check_icon_group(exe, group, first_id, expected=None, png_allowed=False):
    data = resource(exe, 14, group, 0)
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    check(reserved == 0 and kind == 1, f"group {group}: not an icon directory")
    if expected is not None:
        check(count == len(expected), f"group {group}: {count} images")
    for i in range(count):
        w, h, colours, _, planes, bits, size, image_id = struct.unpack_from(
            "<BBBBHHIH", data, 6 + 14 * i)
        check(image_id == first_id + i, f"group {group} image {i}: id {image_id}")
        image = resource(exe, 3, image_id, 0)
        check(len(image) == size, f"icon {image_id}: {len(image)} bytes, group says {size}")
        if expected is not None and i < len(expected):
            check((w, h, bits) == expected[i],
                  f"icon {image_id}: {w}x{h} at {bits} bpp, expected {expected[i]}")
            check(colours == (2 ** bits if bits < 8 else 0),
                  f"icon {image_id}: colour count {colours}")
        if png_allowed and image[:8] == b"\x89PNG\r\n\x1a\n":
            # RGBA at 8 bits a channel is the entry's 32 bits per pixel.
            pw, ph, depth, colour_type = struct.unpack_from(">IIBB", image, 16)
            check((pw, ph, depth * 4) == (w or 256, h or 256, bits) and colour_type == 6,
                  f"icon {image_id}: PNG {pw}x{ph} type {colour_type} against entry {w}x{h}x{bits}")
            continue
        header, iw, ih, iplanes, ibits, compression = struct.unpack_from("<IiiHHI", image, 0)
        check(header == 40 and compression == 0, f"icon {image_id}: not an uncompressed bitmap")
        check((iw, ih) == (w or 256, 2 * (h or 256)) and ibits == bits,
              f"icon {image_id}: image {iw}x{ih // 2}x{ibits} against entry {w}x{h}x{bits}")


def version_strings(data):
    """Key/value pairs of a VS_VERSIONINFO block, all levels."""
    found = {}

    def walk(offset, end):
        while offset < end:
            length, value_length, kind = struct.unpack_from("<HHH", data, offset)
            if length == 0:
                return
            key_end = offset + 6
            while data[key_end:key_end + 2] != b"\0\0":
                key_end += 2
            key = data[offset + 6:key_end].decode("utf-16-le")
            value_at = (key_end + 2 + 3) & ~3
            if kind == 1 and value_length:
                value = data[value_at:value_at + 2 * value_length].decode("utf-16-le")
                found[key] = value.rstrip("\0")
                child = value_at + 2 * value_length
            else:
                if key == "VS_VERSION_INFO":
                    found["fixed"] = struct.unpack_from("<13I", data, value_at)
                elif key == "Translation":
                    found["Translation"] = struct.unpack_from("<HH", data, value_at)
                else:
                    found.setdefault("blocks", []).append(key)
                child = value_at + value_length
            walk((child + 3) & ~3, offset + length)
            offset = (offset + length + 3) & ~3

    walk(0, len(data))
    return found


def check_version(exe):
    v = version_strings(resource(exe, 16, 1, 2052))
    fixed = v.get("fixed")
    if check(fixed is not None, "no fixed file info"):
        check(fixed[0] == 0xFEEF04BD, "fixed file info signature")
        check(fixed[2:6] == (0x30006, 0, 0x30006, 0), f"versions {fixed[2:6]}")
        check(fixed[7] == 0, f"file flags {fixed[7]:#x}")
        check(fixed[8] == 0x4, f"file OS {fixed[8]:#x}, not VOS__WINDOWS32")
        check(fixed[9] == 1, f"file type {fixed[9]}, not VFT_APP")
    check("080404b0" in v.get("blocks", []), f"string blocks {v.get('blocks')}")
    check(v.get("Translation") == (0x804, 1200), f"translation {v.get('Translation')}")
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
        check(v.get(key) == value, f"{key} is {v.get(key)!r}, expected {value!r}")
    for key in ("CompanyName", "LegalCopyright"):
        check(bool(v.get(key)), f"{key} empty")


def check_manifest(exe):
    text = resource(exe, 24, 1, 2052).decode("utf-8")
    ns = {"a": "urn:schemas-microsoft-com:asm.v1"}
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
    settings = "a3:application/a3:windowsSettings/"
    ns["a3"] = "urn:schemas-microsoft-com:asm.v3"
    aware = root.find(settings + "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware",
                      ns)
    awareness = root.find(
        settings + "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness", ns)
    check(aware is not None and aware.text == "true/pm", "dpiAware true/pm for Windows 8.1")
    check(awareness is not None and awareness.text.split(",")[0].strip() == "PerMonitorV2",
          "dpiAwareness PerMonitorV2 first")


def gif_frames(data):
    """Size and number of images of a GIF, walking its blocks."""
    width, height, flags = struct.unpack_from("<HHB", data, 6)
    at = 13 + (3 * 2 ** ((flags & 7) + 1) if flags & 0x80 else 0)
    frames = 0
    while at < len(data):
        block = data[at]
        if block == 0x3B:
            break
        if block == 0x21:  # extension: label, then sub-blocks
            at += 2
        elif block == 0x2C:  # image: descriptor, local table, LZW size
            frames += 1
            local = data[at + 9]
            at += 10 + (3 * 2 ** ((local & 7) + 1) if local & 0x80 else 0) + 1
        else:
            raise ValueError(f"GIF block {block:#x}")
        while data[at] != 0:
            at += data[at] + 1
        at += 1
    return width, height, frames


def jpeg_size(data):
    at = 2
    while at < len(data):
        marker, length = data[at + 1], struct.unpack_from(">H", data, at + 2)[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            height, width = struct.unpack_from(">HH", data, at + 5)
            return width, height
        at += 2 + length
    return None


def check_pictures(exe, resources):
    splash = resource(exe, 10, 101, 0)
    check(splash[:6] in (b"GIF87a", b"GIF89a"), "splash is no GIF")
    check(gif_frames(splash) == (500, 200, 2), f"splash {gif_frames(splash)}")
    main = resource(exe, 10, 102, 0)
    check(main[:2] == b"\xff\xd8", "main picture is no JPEG")
    check(jpeg_size(main) == (480, 720), f"main picture {jpeg_size(main)}")
    about = resource(exe, 10, 103, 0)
    check(about[:2] == b"BM", "about picture is no BMP")
    w, h, _, bits = struct.unpack_from("<iiHH", about, 18)
    check((w, abs(h), bits) == (500, 200, 24), f"about picture {w}x{h}x{bits}")
    # The built-in pictures are the files in the tree, byte for byte.
    for data, name in ((splash, "splash.gif"), (main, "main.jpg"), (about, "about.bmp")):
        check(data == (resources / name).read_bytes(), f"{name} differs from the resource")


def main():
    exe, resources = sys.argv[1], pathlib.Path(sys.argv[2])
    check_pe(exe)
    check_icon_group(exe, 1, 30001, APP_ICON)
    check_icon_group(exe, 2, 30012, APP_ICON, png_allowed=True)
    check_version(exe)
    check_manifest(exe)
    check_pictures(exe, resources)
    for f in failures:
        print("FAIL", f)
    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
