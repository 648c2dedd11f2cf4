"""The capture file's folder is removed while the program holds the file open.

On Linux the removal succeeds and the open file lives on without a name: the
program's writes still succeed, so it has no failure to report. Sound
behaviour, and what is asserted: it keeps running and showing every row,
reports nothing, does not bring the folder back, and ends with 0.
"""

import os
import shutil
import unittest

from fault_tools import capturing_settings, numbered_messages, processes_holding
from monitor import INI_NAME, Monitor, send_raw

TAG = "folder gone"
PADDING = 100
BEFORE = 5
AFTER = 60  # more than one buffer of lines: the runtime writes after the removal too
SENDER = b"127.0.0.1"
DELETED = " (deleted)"  # how Linux names an open file that has been removed


class CaptureFolderRemovedTest(unittest.TestCase):
    def test_removed_folder_goes_unnoticed_and_the_list_goes_on(self):
        with Monitor() as monitor:
            folder = monitor.path("captures")
            os.mkdir(folder)
            capture = os.path.join(folder, "cap.csv")
            monitor.write_file(INI_NAME, capturing_settings(capture))
            monitor.start()
            messages = numbered_messages(TAG, BEFORE + AFTER, padding=PADDING)

            for message in messages[:BEFORE]:
                send_raw(message)
            monitor.wait_for_row_count(BEFORE)
            self.assertTrue(processes_holding(capture))
            shutil.rmtree(folder)
            self.assertTrue(processes_holding(capture + DELETED), "the file is still open, without a name")

            for message in messages[BEFORE:]:
                send_raw(message)
            monitor.wait_for_row_count(len(messages))
            self.assertEqual(monitor.rows(), [(SENDER, message) for message in messages])
            self.assertEqual(monitor.pane_text(), b"")

            self.assertEqual(monitor.close(), 0)
            self.assertFalse(os.path.exists(folder))
