"""What the built program is made of, read with the cross toolchain's objdump and nm.

The tools and files come from the environment, set by ctest: MINGW_OBJDUMP,
MINGW_NM, MONITOR_EXE, MONITOR_LIBS (the program's code, less its entry
point: one library per folder, separated by "|") and MONITOR_MAIN_OBJECTS
(the entry point's objects, separated by "|").
"""

import os
import subprocess

TOOL_TIMEOUT = 60.0


def _run(tool, *arguments):
    return subprocess.run([os.environ[tool], *arguments], check=True, capture_output=True, text=True,
                          stdin=subprocess.DEVNULL, timeout=TOOL_TIMEOUT).stdout


def imported_functions(executable):
    """The name of every function in the executable's import table."""
    names = set()
    in_table = False
    for line in _run("MINGW_OBJDUMP", "-p", executable).splitlines():
        if line.startswith("The Import Tables"):
            in_table = True
        elif in_table and line.startswith("The "):
            break
        elif in_table:
            fields = line.split()
            # Each imported function is a row "<address> <hint> <name>".
            if len(fields) == 3 and fields[1].isdigit():
                names.add(fields[2])
    return names


def our_objects():
    """The program's own object files: its code libraries and its entry point's objects."""
    return [*os.environ["MONITOR_LIBS"].split("|"), *os.environ["MONITOR_MAIN_OBJECTS"].split("|")]


def undefined_symbols(objects):
    """Every symbol the objects take from elsewhere (the linker resolves these
    against the runtime and the system's import libraries)."""
    symbols = set()
    for line in _run("MINGW_NM", "--undefined-only", "--format=posix", *objects).splitlines():
        fields = line.split()
        # "name U" rows; archive member headers end in ":".
        if len(fields) >= 2 and fields[1] == "U":
            symbols.add(fields[0])
    return symbols


def function_name(symbol):
    """The function a symbol calls: "__imp_GetCommandLineW" and "GetCommandLineW" alike."""
    return symbol[len("__imp_"):] if symbol.startswith("__imp_") else symbol
