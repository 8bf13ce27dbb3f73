#!/usr/bin/env python3
"""Builds the release zip and checks what it holds.

Usage: check_package.py BUILD_DIR
Runs the build's `package` target, unpacks Tavimo关机工具3.6.0.zip and
checks its files, their hashes against SHA256SUMS and against the build's
own files, and that the note covers what a user needs.
"""
import pathlib
import subprocess
import sys
import tempfile
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
    failures = []
    if not archive.is_file():
        print(f"FAIL no {archive.name}")
        return 1
    with tempfile.TemporaryDirectory() as tmp, zipfile.ZipFile(archive) as z:
        z.extractall(tmp)
        out = pathlib.Path(tmp)
        names = {p.name for p in out.iterdir()}
        if names != EXPECTED:
            failures.append(f"zip holds {sorted(names)}")

        def unpacked(name):
            return (out / name).read_bytes() if (out / name).is_file() else b""

        sums = (out / "SHA256SUMS").read_text().splitlines()
        listed = {line.split("  ", 1)[-1] for line in sums}
        if listed != EXPECTED - {"SHA256SUMS"}:
            failures.append(f"SHA256SUMS lists {sorted(listed)}")
        if subprocess.run(["sha256sum", "--check", "--strict", "--quiet", "SHA256SUMS"],
                          cwd=out).returncode:
            failures.append("a file's hash differs from SHA256SUMS")
        if unpacked(EXE) != (build / EXE).read_bytes():
            failures.append("the zip's executable is not the one built")
        skins = pathlib.Path(__file__).resolve().parents[2] / "resources" / "skins"
        for skin in ("星空.jpg", "大海.jpg", "天空.jpg"):
            if unpacked(skin) != (skins / skin).read_bytes():
                failures.append(f"{skin} differs from the tree's")
        if not unpacked("LICENSE").startswith(b"MIT License"):
            failures.append("LICENSE is not the MIT licence")
        note = unpacked("说明.txt").decode("utf-8-sig")
        failures += [f"note does not mention {m}" for m in NOTE_MENTIONS if m not in note]
    for f in failures:
        print("FAIL", f)
    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
