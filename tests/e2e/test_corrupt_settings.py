"""A corrupt INI file: the program starts, shows rows and ends with 0, whatever the file holds.

Values are what the platform's profile functions make of the file: the default
where there is nothing to read, an out-of-range number wrapped to 32 bits as
the platform's string-to-integer conversion wraps it, a long FileName cut to
259 characters. Each is written back exactly as it was held.
"""

import random
import unittest

from fault_tools import capture_line, file_bytes, show_and_close
from monitor import INI_NAME, Monitor, settings_ini, windows_path, written_settings

TAG = "corrupt settings"
DATAGRAMS = 2
GARBAGE_SEED = 514
GARBAGE_SIZE = 2048
FILE_NAME_CAPACITY = 259  # characters, terminator not counted
LONG_FILE_NAME_LENGTH = 300
DEFAULTS = written_settings()


def garbage():
    """The same random bytes on every run: NULs, line breaks, brackets and '=' among them."""
    generator = random.Random(GARBAGE_SEED)
    data = bytes(generator.randrange(256) for _ in range(GARBAGE_SIZE))
    assert b"\0" in data and b"\n" in data and b"[" in data and b"=" in data
    return data


def as_platform_reads(text):
    """A decimal number as the platform reads it into 32 bits: wrapped, then taken as signed."""
    value = int(text) % 2 ** 32
    return value - 2 ** 32 if value >= 2 ** 31 else value


class CorruptSettingsTest(unittest.TestCase):
    def run_and_close(self, monitor):
        return show_and_close(self, monitor, TAG, DATAGRAMS)

    def test_binary_garbage_reads_as_defaults(self):
        with Monitor(ini=garbage()) as monitor:
            self.run_and_close(monitor)
            # The platform keeps what it could make of the garbage; the section comes after it.
            self.assertTrue(monitor.ini_bytes().endswith(DEFAULTS), monitor.ini_bytes()[-200:])

    def test_out_of_range_numbers_wrap_as_the_platform_reads_them(self):
        # Read as 1661992959, 2147483647 and 0.
        too_big, too_small, wraps_to_zero = "99999999999999999999", "-2147483649", "4294967296"
        missing_folder = windows_path("/nonexistent-folder/cap.csv")
        ini = settings_ini(Autoscroll=too_big, ToDisplay=too_small, ToFile=wraps_to_zero, FileName=missing_folder)
        with Monitor(ini=ini) as monitor:
            # ToDisplay is on (rows are shown); ToFile is off, or the missing folder would be reported.
            self.run_and_close(monitor)
            self.assertEqual(monitor.ini_bytes(), written_settings(
                Autoscroll=as_platform_reads(too_big), ToDisplay=as_platform_reads(too_small),
                ToFile=as_platform_reads(wraps_to_zero), FileName=missing_folder))

    def test_missing_section_reads_as_defaults_and_is_added(self):
        # The keys are there, but outside the section: ToDisplay=0 there must not hide the rows.
        ini = b"Autoscroll=0\r\nToDisplay=0\r\n[Other]\r\nToFile=1\r\nFileName=elsewhere.csv\r\n"
        with Monitor(ini=ini) as monitor:
            self.run_and_close(monitor)
            self.assertEqual(monitor.ini_bytes(), ini + DEFAULTS)

    def test_long_file_name_is_cut_and_used_as_cut(self):
        with Monitor() as monitor:
            prefix = windows_path(monitor.folder) + "\\"
            long_name = prefix + "c" * (LONG_FILE_NAME_LENGTH - len(prefix))
            cut_name = long_name[:FILE_NAME_CAPACITY]
            monitor.write_file(INI_NAME, settings_ini(Autoscroll=1, ToDisplay=1, ToFile=1, FileName=long_name))
            messages = self.run_and_close(monitor)
            # The capture went to the file of the cut name, and the cut name is what was kept.
            self.assertEqual(file_bytes(monitor.path(cut_name[len(prefix):])),
                             b"".join(capture_line(message) for message in messages))
            self.assertEqual(monitor.ini_bytes(), written_settings(ToFile=1, FileName=cut_name))
            self.assertEqual(len(cut_name), FILE_NAME_CAPACITY)
