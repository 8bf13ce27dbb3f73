#!/usr/bin/env python3
"""Checks the built executable: PE header, imports and resources.

Usage: check_resources.py EXE RESOURCES_DIR
Reads the headers, imports and resources with pefile; an icon group's
directory is read with struct, as pefile leaves it alone. Icon images and
built-in pictures must be the files in RESOURCES_DIR, whose own check covers
their sizes and depths. Fails with a list of what is wrong.
"""
import io
import pathlib
import struct
import sys
import xml.etree.ElementTree as ET

import pefile
from PIL import Image
from PIL.IcoImagePlugin import IcoFile

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
    # libstdc++, libgcc and winpthread are none of them: the C++ runtime is linked statically
    for dll in dlls:
        check(dll in ALLOWED_DLLS or dll.startswith("api-ms-win-crt-"),
              f"imports {dll}, not a Windows DLL")
    check("kernel32.dll" in dlls and "user32.dll" in dlls, f"imports {dlls}")


def check_icon_group(pe, group, first_id, ico, png_allowed=False):
    """The group is the icon file's directory with image ids in place of
    offsets, and each image the file's own bytes or, where allowed, a PNG of
    a 32-bit image's pixels."""
    data, count = resource(pe, 14, group, 0), struct.unpack_from("<H", ico, 4)[0]
    check(data[:6] == ico[:6], f"group {group}: header {data[:6]!r}, icon file {ico[:6]!r}")
    rows = struct.iter_unpack("<BBBBHHII", ico[6:6 + 16 * count])
    for i, (*fields, size, offset) in enumerate(rows):
        image_id = first_id + i
        image = resource(pe, 3, image_id, 0)
        entry = struct.unpack_from("<BBBBHHIH", data.ljust(6 + 14 * count), 6 + 14 * i)
        check(entry == (*fields, len(image), image_id),
              f"group {group} entry {i}: {entry}, expected {(*fields, len(image), image_id)}")
        if png_allowed and image[:8] == b"\x89PNG\r\n\x1a\n" and fields[5] == 32:
            png, want = Image.open(io.BytesIO(image)), IcoFile(io.BytesIO(ico)).getimage(
                (fields[0], fields[1]), 32)
            check((png.mode, png.size, png.tobytes()) == ("RGBA", want.size, want.tobytes()),
                  f"icon {image_id}: PNG {png.size} {png.mode} is not the icon file's image")
        else:
            check(image == ico[offset:offset + size], f"icon {image_id} differs from the icon file")


# The fixed file info: version 3.6.0.0, no flags, VOS__WINDOWS32, VFT_APP.
FIXED = {"Signature": 0xFEEF04BD, "FileVersionMS": 0x30006, "FileVersionLS": 0,
         "ProductVersionMS": 0x30006, "ProductVersionLS": 0, "FileFlags": 0, "FileOS": 4,
         "FileType": 1}
STRINGS = {
    "FileDescription": "关机辅助工具",
    "FileVersion": "3.06",
    "ProductVersion": "3.06",
    "ProductName": "Tavimo关机工具（绿色免安装版）",
    "InternalName": "Tavimo关机工具3.6.0",
    "OriginalFilename": "Tavimo关机工具3.6.0.exe",
    "Comments": "V3.5.0",
}


def check_version(pe):
    fixed = pe.VS_FIXEDFILEINFO[0] if hasattr(pe, "VS_FIXEDFILEINFO") else None
    if check(fixed is not None, "no fixed file info"):
        for key, value in FIXED.items():
            got = getattr(fixed, key)
            check(got == value, f"{key} is {got:#x}, not {value:#x}")
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
    for key, value in STRINGS.items():
        check(strings.get(key) == value, f"{key} is {strings.get(key)!r}, expected {value!r}")
    for key in ("CompanyName", "LegalCopyright"):
        check(bool(strings.get(key)), f"{key} empty")


# Attributes of the program's identity and of its one dependency.
IDENTITIES = {
    "a:assemblyIdentity": {"version": "1.0.0.0", "processorArchitecture": "X86", "type": "win32"},
    "a:dependency/a:dependentAssembly/a:assemblyIdentity": {
        "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
        "processorArchitecture": "X86", "publicKeyToken": "6595b64144ccf1df", "language": "*"},
}


def check_manifest(pe):
    text = resource(pe, 24, 1, 0x804).decode("utf-8")
    if not check(text, "no manifest"):
        return
    ns = {"a": "urn:schemas-microsoft-com:asm.v1", "a3": "urn:schemas-microsoft-com:asm.v3"}
    root = ET.fromstring(text)
    for path, attributes in IDENTITIES.items():
        found = [e.attrib for e in root.findall(path, ns)]
        check(len(found) == 1 and attributes.items() <= found[0].items(), f"{path}: {found}")
    settings = "a3:application/a3:windowsSettings/{http://schemas.microsoft.com/SMI/"
    aware = root.find(settings + "2005/WindowsSettings}dpiAware", ns)
    awareness = root.find(settings + "2016/WindowsSettings}dpiAwareness", ns)
    check(aware is not None and aware.text == "true/pm", "dpiAware true/pm for Windows 8.1")
    check(awareness is not None and awareness.text.split(",")[0].strip() == "PerMonitorV2",
          "dpiAwareness PerMonitorV2 first")


def check_pictures(pe, resources):
    # The built-in pictures are the files in the tree, byte for byte.
    for number, name in ((101, "splash.gif"), (102, "main.jpg"), (103, "about.bmp")):
        data = resource(pe, 10, number, 0)
        check(data == (resources / name).read_bytes(), f"{name} differs from the resource")


def main():
    exe, resources = sys.argv[1], pathlib.Path(sys.argv[2])
    pe = pefile.PE(exe)
    check_pe(pe)
    check_icon_group(pe, 1, 30001, (resources / "app.ico").read_bytes())
    check_icon_group(pe, 2, 30012, (resources / "form1.ico").read_bytes(), png_allowed=True)
    check_version(pe)
    check_manifest(pe)
    check_pictures(pe, resources)
    for f in failures:
        print("FAIL", f)
    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
