"""A syslog message sent by logger shows as a row; closing ends the program with 0."""

import os
import unittest

from monitor import INI_NAME, Monitor, send_with_logger, written_settings

FIRST_START_INI = written_settings()


class ReceptionTest(unittest.TestCase):
    def test_logger_message_is_shown_and_closing_writes_the_settings(self):
        with Monitor() as monitor:
            monitor.start()
            sent = send_with_logger("hello from logger")

            rows = monitor.wait_for_rows(1)
            self.assertEqual(len(rows), 1)
            sender, message = rows[0]
            self.assertEqual(sender, b"127.0.0.1")
            self.assertIn(message, sent)
            self.assertEqual(monitor.pane_text(), b"")
            self.assertFalse(os.path.exists(monitor.path(INI_NAME)), "the INI file is written only at exit")

            self.assertEqual(monitor.close_with_keyboard(), 0)
            self.assertEqual(monitor.ini_bytes(), FIRST_START_INI)
