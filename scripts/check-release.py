#!/usr/bin/env python3
"""Checks a release archive made by scripts/release.sh and lists what it holds.

    scripts/check-release.py out/KelvSysLog-<version>-win64.zip

The archive must hold exactly one folder named like itself with the program,
the user's README and the licence in it, the texts byte for byte as in the
repository and the program a 64-bit Windows GUI executable. Exit code 0 when
it does, 1 (with the reasons) when it does not.
"""

import hashlib
import os
import struct
import sys
import zipfile

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PROGRAM = "KelvSysLog.exe"
# Name in the archive -> the repository file it must equal.
TEXTS = {"README.txt": "docs/USER-README.txt", "LICENSE.txt": "LICENSE"}

PE_SIGNATURE = b"PE\0\0"
PE_OFFSET_AT = 0x3C
MACHINE_AMD64 = 0x8664
OPTIONAL_HEADER_PE32_PLUS = 0x20B
SUBSYSTEM_WINDOWS_GUI = 2
FILE_HEADER_SIZE = 20
SUBSYSTEM_AT = 68  # in the optional header


def program_problems(image):
    """What keeps image from being a 64-bit Windows GUI executable."""
    if image[:2] != b"MZ" or len(image) < PE_OFFSET_AT + 4:
        return ["it is not an executable (no MZ header)"]
    pe_at = struct.unpack_from("<I", image, PE_OFFSET_AT)[0]
    if image[pe_at:pe_at + 4] != PE_SIGNATURE:
        return ["it has no PE header"]
    machine = struct.unpack_from("<H", image, pe_at + 4)[0]
    optional_at = pe_at + 4 + FILE_HEADER_SIZE
    magic = struct.unpack_from("<H", image, optional_at)[0]
    subsystem = struct.unpack_from("<H", image, optional_at + SUBSYSTEM_AT)[0]
    problems = []
    if machine != MACHINE_AMD64 or magic != OPTIONAL_HEADER_PE32_PLUS:
        problems.append(f"it is not 64-bit (machine {machine:#x}, optional header {magic:#x})")
    if subsystem != SUBSYSTEM_WINDOWS_GUI:
        problems.append(f"it is not a GUI program (subsystem {subsystem})")
    return problems


def archive_problems(archive, folder):
    expected = {f"{folder}/{name}" for name in [PROGRAM, *TEXTS]}
    files = {info.filename for info in archive.infolist() if not info.is_dir()}
    problems = [f"missing: {name}" for name in sorted(expected - files)]
    problems += [f"unexpected: {name}" for name in sorted(files - expected)]
    for name, source in TEXTS.items():
        member = f"{folder}/{name}"
        if member in files:
            with open(os.path.join(REPO, source), "rb") as file:
                if archive.read(member) != file.read():
                    problems.append(f"{member} differs from {source}")
    member = f"{folder}/{PROGRAM}"
    if member in files:
        problems += [f"{member}: {problem}" for problem in program_problems(archive.read(member))]
    return problems


def main(arguments):
    if len(arguments) != 1:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    path = arguments[0]
    folder = os.path.basename(path).removesuffix(".zip")
    with zipfile.ZipFile(path) as archive:
        for info in archive.infolist():
            print(f"{info.file_size:>10}  {info.filename}")
        problems = archive_problems(archive, folder)
    with open(path, "rb") as file:
        digest = hashlib.sha256(file.read()).hexdigest()
    print(f"{os.path.getsize(path)} bytes, SHA-256 {digest}  {path}")
    for problem in problems:
        print(f"release archive: {problem}", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
