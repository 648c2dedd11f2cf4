"""The INI file cannot be written back: the run works all the same and the file keeps its bytes.

The INI leaves "Autoscroll" out, so any write-back would add it: unchanged
bytes prove that nothing was written. Its other values are used (ToDisplay 7
shows rows, ToFile 1 fills the capture file), so the file was read.
"""

import os
import shutil
import unittest

from fault_tools import capture_line, file_bytes, read_only, show_and_close
from monitor import EXE_NAME, INI_NAME, Monitor, settings_ini, windows_path

TAG = "read-only settings"
DATAGRAMS = 3
CAPTURE_NAME = "cap.csv"
LOCKED_FOLDER = "locked"


def settings(capture_path):
    return settings_ini(ToDisplay=7, ToFile=1, FileName=windows_path(capture_path))


def move_program(monitor, folder):
    """Moves the program into folder, so that folder holds its INI file and nothing of the harness's."""
    os.mkdir(folder)
    shutil.move(monitor.exe, folder)
    monitor.exe = os.path.join(folder, EXE_NAME)


class ReadOnlySettingsTest(unittest.TestCase):
    def run_and_close(self, monitor, capture_path=None):
        messages = show_and_close(self, monitor, TAG, DATAGRAMS)
        if capture_path:
            self.assertEqual(file_bytes(capture_path), b"".join(capture_line(message) for message in messages))

    def test_read_only_ini_file_keeps_its_bytes(self):
        with Monitor() as monitor:
            capture = monitor.path(CAPTURE_NAME)
            monitor.write_file(INI_NAME, settings(capture))
            with read_only(monitor.path(INI_NAME)) as how:
                print(f"INI file made read-only by {how}")
                self.run_and_close(monitor, capture)
            self.assertEqual(monitor.ini_bytes(), settings(capture))

    def test_read_only_folder_keeps_the_ini_file_as_it_was(self):
        with Monitor() as monitor:
            locked = monitor.path(LOCKED_FOLDER)
            move_program(monitor, locked)
            capture = monitor.path(CAPTURE_NAME)
            ini = os.path.join(locked, INI_NAME)
            with open(ini, "wb") as file:
                file.write(settings(capture))
            with read_only(locked) as how:
                print(f"folder made read-only by {how}")
                self.run_and_close(monitor, capture)
            self.assertEqual(file_bytes(ini), settings(capture))

    def test_read_only_folder_without_ini_file_runs_on_defaults(self):
        with Monitor() as monitor:
            locked = monitor.path(LOCKED_FOLDER)
            move_program(monitor, locked)
            with read_only(locked) as how:
                print(f"folder made read-only by {how}")
                self.run_and_close(monitor)
            self.assertEqual(os.listdir(locked), [EXE_NAME])
