"""The program takes nothing from its command line or its environment.

Read from the built files: none of our own objects calls anything that reads
the command line or the environment, and the program imports such a function
only where the C runtime's start-up code needs it (it builds the arguments of
main and WinMain before any of our code runs, whether we look at them or not).
Seen from outside: a run with odd arguments and odd environment variables
shows, captures and writes back exactly what a plain run does.
"""

import os
import subprocess
import unittest

from built_program import function_name, imported_functions, our_objects, undefined_symbols
from wine_session import IsolatedWine, enter_private_network
from monitor import Monitor, send_raw, settings_ini

# Every way a Windows program reads its command line or environment: the
# system's functions, the C runtime's functions, and the runtime's variables
# and their accessors.
READERS = {
    "GetCommandLineA", "GetCommandLineW", "CommandLineToArgvW",
    "GetEnvironmentVariableA", "GetEnvironmentVariableW", "GetEnvironmentStrings", "GetEnvironmentStringsA",
    "GetEnvironmentStringsW", "ExpandEnvironmentStringsA", "ExpandEnvironmentStringsW",
    "getenv", "_wgetenv", "getenv_s", "_wgetenv_s", "_dupenv_s", "_wdupenv_s",
    "__getmainargs", "__wgetmainargs", "_setargv", "_wsetargv",
    "__argc", "__argv", "__wargv", "__p___argc", "__p___argv", "__p___wargv",
    "_acmdln", "_wcmdln", "__p__acmdln", "__p__wcmdln",
    "_environ", "_wenviron", "__p__environ", "__p__wenviron", "_get_environ", "_get_wenviron",
    "__initenv", "__winitenv",
}

# What the program may import of READERS: only what the runtime's start-up
# object (crt2.o) takes, each with the symbol through which crt2.o takes it.
RUNTIME_STARTUP = {"__getmainargs": "__getmainargs", "__initenv": "__initenv", "_acmdln": "__p__acmdln"}

ODD_ARGUMENTS = ["/port", "9999", "--ini", "C:\\elsewhere.INI", "ToFile=0", "ToDisplay=0", "%s%n%x%p",
                 "-", "quoted, with a comma", ""]
ODD_ENVIRONMENT = {
    "ToFile": "0", "ToDisplay": "0", "Autoscroll": "0", "FileName": "C:\\elsewhere.txt",
    "KELVSYSLOG_PORT": "9999", "SYSLOG_PORT": "9999", "KelvSysLog": "%s%n%x%p",
}

# The options file lacks two keys, so the program writes the file back changed.
SETTINGS = settings_ini(ToFile=1, FileName="capture.txt")
DATAGRAMS = [b"<13>first", b"%s%n, with a comma", b"x" * 4100, b"last\r\n"]


def runtime_startup_symbols():
    """The symbols the C runtime's start-up object takes from elsewhere."""
    startup = subprocess.run([os.environ["MINGW_CXX"], "-print-file-name=crt2.o"], check=True,
                             capture_output=True, text=True, stdin=subprocess.DEVNULL).stdout.strip()
    return {function_name(symbol) for symbol in undefined_symbols([startup])}


class NoOutsideConfigurationTest(unittest.TestCase):
    def test_our_code_reads_neither_command_line_nor_environment(self):
        ours = {function_name(symbol) for symbol in undefined_symbols(our_objects())}
        self.assertIn("GetPrivateProfileIntW", ours, "our objects were read")
        self.assertEqual(ours & READERS, set())

    def test_the_program_imports_readers_only_for_the_runtime_start_up(self):
        imports = imported_functions(os.environ["MONITOR_EXE"])
        self.assertIn("GetPrivateProfileIntW", imports, "the import table was read")
        startup = runtime_startup_symbols()
        for name in sorted(imports & READERS):
            self.assertIn(name, RUNTIME_STARTUP, f"{name} is imported, and not for the runtime's start-up")
            self.assertIn(RUNTIME_STARTUP[name], startup, f"crt2.o does not take {name}")

    def test_odd_arguments_and_environment_change_nothing(self):
        enter_private_network()  # where it can be had, no other program's traffic reaches the runs
        with IsolatedWine(os.environ["ISOLATED_WINEPREFIX"]):
            plain = self.run_once([], {})
            odd = self.run_once(ODD_ARGUMENTS, ODD_ENVIRONMENT)
        rows, pane, ini, captured = plain
        self.assertEqual([message for _, message in rows], [b"<13>first", b"%s%n, with a comma", b"x" * 4096,
                                                              b"last"])
        self.assertEqual(pane, b"Received more than 4096 bytes\n")
        self.assertIn(b"Autoscroll=1\r\n", ini)
        self.assertIn(b'127.0.0.1,"%s%n, with a comma"\r\n', captured)
        self.assertEqual(odd, plain)

    def run_once(self, arguments, environment):
        """Rows, pane, options file and capture file of one run from a fresh folder."""
        saved = {name: os.environ.get(name) for name in environment}
        os.environ.update(environment)
        try:
            with Monitor(ini=SETTINGS) as monitor:
                monitor.start(arguments=arguments)
                for count, datagram in enumerate(DATAGRAMS, start=1):
                    send_raw(datagram)
                    monitor.wait_for_rows(count)
                rows, pane = monitor.rows(), monitor.pane_text()
                self.assertEqual(monitor.close(), 0)
                return rows, pane, monitor.ini_bytes(), monitor.read_file("capture.txt")
        finally:
            for name, value in saved.items():
                if value is None:
                    os.environ.pop(name, None)
                else:
                    os.environ[name] = value
