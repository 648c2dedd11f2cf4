"""Any program on the desktop may post messages to the monitor's windows, with any
parameters. Application messages, registered ones and the system's messages
that carry pointers, so posted, change nothing: the program keeps
running, the rows it showed stay exactly as they were, nothing is added to them
or to the pane, and datagrams that come afterwards still become rows and
capture lines."""

import unittest

from fault_tools import capture_line, capturing_settings, file_bytes, numbered_messages
from monitor import INI_NAME, LOOPBACK, Monitor, send_raw

WM_NOTIFY = 0x004E
WM_DPICHANGED = 0x02E0
WM_USER = 0x0400
WM_APP = 0x8000
# The Find dialog's registered message: any program can register it and post it.
FIND_DIALOG_MESSAGE = "commdlg_FindReplace"
MESSAGES = ([WM_USER + n for n in range(17)] + [WM_APP + n for n in range(5)] +
            [WM_NOTIFY, WM_DPICHANGED, FIND_DIALOG_MESSAGE])
# The last looks like a pointer into a 64-bit program's image.
PARAMETERS = [0, 1, 0xDEADBEEF, -1, 0x140001000]
WINDOWS = ("main", "list", "pane")
TAG = "foreign"
BEFORE = 5
AFTER = 5
CAPTURE_NAME = "cap.csv"
OUTPUT_SHOWN = 2000  # the end of the program's output, where a crash is reported
SENDER = LOOPBACK.encode("ascii")


def send_numbered(first, count):
    messages = numbered_messages(TAG, count, first)
    for message in messages:
        send_raw(message)
    return messages


class ForeignMessagesTest(unittest.TestCase):
    def test_posted_application_messages_change_nothing(self):
        with Monitor() as monitor:
            capture = monitor.path(CAPTURE_NAME)
            monitor.write_file(INI_NAME, capturing_settings(capture))
            monitor.start()
            before = send_numbered(1, BEFORE)
            monitor.wait_for_row_count(BEFORE)
            self.assertEqual(monitor.rows(), [(SENDER, message) for message in before])
            pane = monitor.pane_text()

            posted = [(message, w, l) for message in MESSAGES for w in PARAMETERS for l in PARAMETERS]
            for window in WINDOWS:
                monitor.post(window, posted)
            # One thread's queue is handled in order: once these show, the posted messages have been handled.
            after = send_numbered(BEFORE + 1, AFTER)
            try:
                monitor.wait_for_row_count(BEFORE + AFTER)
            except AssertionError as error:
                self.fail(f"the program stopped answering after the posted messages ({error}); its output: "
                          + monitor.output()[-OUTPUT_SHOWN:])
            self.assertTrue(monitor.running())
            self.assertEqual(monitor.rows(), [(SENDER, message) for message in before + after])
            self.assertEqual(monitor.pane_text(), pane)
            self.assertEqual(monitor.close(), 0)
            self.assertEqual(file_bytes(capture), b"".join(capture_line(message) for message in before + after))
