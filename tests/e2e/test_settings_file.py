"""Values in the INI file are kept as read: a ToDisplay of 7 shows rows and stays 7, and so does a Colours of 7."""

import unittest

import e2e_main
from monitor import Monitor, send_raw, written_settings

SETTINGS_WITH_7 = written_settings(ToDisplay=7, Colours=7)


class SettingsFileTest(unittest.TestCase):
    def test_any_non_zero_value_is_on_and_written_back_unchanged(self):
        with Monitor(ini=SETTINGS_WITH_7) as monitor:
            monitor.start()
            send_raw(b"shown while ToDisplay is 7")
            self.assertEqual(monitor.wait_for_rows(1), [(b"127.0.0.1", b"shown while ToDisplay is 7")])
            self.assertEqual(monitor.close(), 0)
            self.assertEqual(monitor.ini_bytes(), SETTINGS_WITH_7)


if __name__ == "__main__":
    e2e_main.main()
