#!/usr/bin/env python3
"""Builds the release zip and checks what it holds.

Usage: check_package.py BUILD_DIR
Runs the build's `package` target, reads Tavimo关机工具3.6.0.zip and checks
its files, their hashes against SHA256SUMS and against the build's own
files, and that the note covers what a user needs.
"""
import hashlib
import pathlib
import subprocess
import sys
import zipfile

EXE = "Tavimo关机工具3.6.0.exe"
EXPECTED = {EXE, "星空.jpg", "大海.jpg", "天空.jpg", "说明.txt", "LICENSE", "SHA256SUMS"}
# What the note must tell: no installation, own pictures as skins (the
# file names), and how to cancel a pending shutdown.
NOTE_MENTIONS = ["无需安装", "星空.jpg", "大海.jpg", "天空.jpg", "换肤", "取消", "shutdown -a"]


def main():
    build = pathlib.Path(sys.argv[1])
    subprocess.run(["cmake", "--build", str(build), "--target", "package"], check=True,
                   stdout=subprocess.DEVNULL)
    archive = build / "Tavimo关机工具3.6.0.zip"
    if not archive.is_file():
        print(f"FAIL no {archive.name}")
        return 1
    with zipfile.ZipFile(archive) as z:
        files = {info.filename: z.read(info) for info in z.infolist()}
    failures = [] if set(files) == EXPECTED else [f"zip holds {sorted(files)}"]
    # "<hash>  <name>" lines, as `sha256sum --check` reads them
    sums = files.get("SHA256SUMS", b"").decode().splitlines()
    listed = {name: digest for digest, _, name in (line.partition("  ") for line in sums)}
    hashes = {name: hashlib.sha256(data).hexdigest() for name, data in files.items()
              if name != "SHA256SUMS"}
    wrong = sorted(n for n in listed.keys() | hashes.keys() if listed.get(n) != hashes.get(n))
    if wrong:
        failures.append(f"SHA256SUMS is wrong about {wrong}")
    if files.get(EXE) != (build / EXE).read_bytes():
        failures.append("the zip's executable is not the one built")
    skins = pathlib.Path(__file__).resolve().parents[2] / "resources" / "skins"
    for skin in ("星空.jpg", "大海.jpg", "天空.jpg"):
        if files.get(skin) != (skins / skin).read_bytes():
            failures.append(f"{skin} differs from the tree's")
    if not files.get("LICENSE", b"").startswith(b"MIT License"):
        failures.append("LICENSE is not the MIT licence")
    note = files.get("说明.txt", b"").decode("utf-8-sig")
    failures += [f"note does not mention {m}" for m in NOTE_MENTIONS if m not in note]
    for f in failures:
        print("FAIL", f)
    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
