"""The program writes only its options file and its capture file.

It runs from a fresh folder with its capture file in another, in a Wine prefix
of the test's own, receives traffic and is closed. A listing (path, size,
modification time) of its folder, the capture folder and the whole prefix
(drive_c with the user folders and the temporary folders, and Wine's own
files) taken before and after the run, with Wine's server stopped each time so
it has written out everything it holds, differs in those two files only, and
in what Wine changes for any program. What Wine changes for any program is
seen first, from a trivial Wine program run the same way: it rewrites its
registry files and renews its device links, and nothing else.
"""

import fnmatch
import os
import shutil
import subprocess
import tempfile
import unittest

from wine_session import WINE_TIMEOUT, IsolatedWine, enter_private_network
from monitor import INI_NAME, Monitor, send_raw, settings_ini, windows_path

CAPTURE_NAME = "capture.txt"
# Wine's own changes, whatever program runs: the registry it writes out at
# the server's end, and the device links it makes again at every start.
WINE_OWN = ["prefix/*.reg", "prefix/dosdevices", "prefix/dosdevices/*"]
DATAGRAMS = [b"<13>one", b"two, with a comma", b"three\nlines\r\n", b"y" * 5000]


def listing(areas):
    """Every file and folder under the named roots: files with size and
    modification time, folders by their presence (a file made and removed
    again leaves no trace in a before-and-after listing anyway)."""
    entries = {}
    for area, root in areas.items():
        for folder, folders, files in os.walk(root):
            for name in folders + files:
                path = os.path.join(folder, name)
                status = os.lstat(path)
                key = f"{area}/{os.path.relpath(path, root)}"
                entries[key] = "folder" if name in folders else (status.st_size, status.st_mtime_ns)
    return entries


def changed(before, after):
    return {key for key in before.keys() | after.keys() if before.get(key) != after.get(key)}


def wines_own(key):
    return any(fnmatch.fnmatch(key, pattern) for pattern in WINE_OWN)


class LogElsewhere(Monitor):
    """The harness's log of Wine's output goes outside the program's folder."""

    def __init__(self, log_folder, **keywords):
        super().__init__(**keywords)
        self._log_folder = log_folder

    def path(self, name):
        return os.path.join(self._log_folder, name) if name == "wine.log" else super().path(name)


class WritesOnlyItsFilesTest(unittest.TestCase):
    def setUp(self):
        self.capture_folder = tempfile.mkdtemp(prefix="monitor-capture-")
        self.log_folder = tempfile.mkdtemp(prefix="monitor-log-")

    def tearDown(self):
        shutil.rmtree(self.capture_folder, ignore_errors=True)
        shutil.rmtree(self.log_folder, ignore_errors=True)

    def test_only_the_options_file_and_the_capture_file_change(self):
        enter_private_network()  # where it can be had, no other program's traffic reaches the run
        capture = os.path.join(self.capture_folder, CAPTURE_NAME)
        settings = settings_ini(ToFile=1, FileName=windows_path(capture))
        with IsolatedWine(os.environ["ISOLATED_WINEPREFIX"]) as wine, LogElsewhere(self.log_folder, ini=settings) as monitor:
            areas = {"program": monitor.folder, "capture": self.capture_folder, "prefix": wine.prefix}
            wine.stop_server()

            before = listing(areas)
            self.run_a_trivial_program()
            wine.stop_server()
            baseline = listing(areas)
            wine_changes = changed(before, baseline)
            self.assertTrue(all(wines_own(key) for key in wine_changes), sorted(wine_changes))

            monitor.start()
            for count, datagram in enumerate(DATAGRAMS, start=1):
                send_raw(datagram)
                monitor.wait_for_rows(count)
            self.assertEqual(monitor.close(), 0)
            wine.stop_server()
            after = listing(areas)

            ours = {key for key in changed(baseline, after) if not wines_own(key)}
            self.assertEqual(ours, {f"program/{INI_NAME}", f"capture/{CAPTURE_NAME}"})
            self.assertIn(b"Autoscroll=1\r\n", monitor.ini_bytes(), "the options were written back")
            with open(capture, "rb") as file:
                self.assertEqual(file.read(), b"127.0.0.1,<13>one\r\n127.0.0.1,\"two, with a comma\"\r\n"
                                              b"127.0.0.1,three\r\nlines\r\n127.0.0.1," + b"y" * 4096 + b"\r\n")
            print(f"Wine alone changed {sorted(wine_changes)}; the program changed {sorted(ours)}")

    def run_a_trivial_program(self):
        """A Wine program that asks the system for one error text and ends."""
        with open(os.path.join(self.log_folder, "trivial.log"), "wb") as output:
            subprocess.run(["wine", os.environ["MONITOR_PROBE"], "system-text", "5"], stdin=subprocess.DEVNULL,
                           stdout=output, stderr=subprocess.STDOUT, timeout=WINE_TIMEOUT, check=True)
