"""Every captured datagram becomes one line of the capture file, byte for byte.
Values in the INI file are kept as read: a ToDisplay of 7 shows rows and stays 7,
and so does a Colours of 7."""

import unittest

from monitor import INI_NAME, Monitor, send_raw, send_with_logger, windows_path, written_settings

CAPTURE_NAME = "cap.csv"
EARLIER_CONTENT = b"127.0.0.1,a line from an earlier run\r\n"
SENDER = b"127.0.0.1"

# (datagram, text shown in the list, line in the capture file)
RAW_DATAGRAMS = [
    (b"with, two, commas", b"with, two, commas", b'127.0.0.1,"with, two, commas"\r\n'),
    (b'say "hi" now', b'say "hi" now', b'127.0.0.1,say "hi" now\r\n'),
    (b"first line\nsecond line", b"first line\nsecond line", b"127.0.0.1,first line\r\nsecond line\r\n"),
    (b"", b"", b"127.0.0.1,\r\n"),
    (b"caf\xe9 \xb0C \xff", b"caf\xe9 \xb0C \xff", b"127.0.0.1,caf\xe9 \xb0C \xff\r\n"),
    # UTF-8 is shown decoded: the probe reads the list's text in the code page (1252).
    ("Z\u00fcrich \u2014 \u20ac12,50".encode(), b"Z\xfcrich \x97 \x8012,50",
     b'127.0.0.1,"' + "Z\u00fcrich \u2014 \u20ac12,50".encode() + b'"\r\n'),
    (b"ends with CR LF\r\n", b"ends with CR LF", b"127.0.0.1,ends with CR LF\r\n"),
]


class CaptureFileTest(unittest.TestCase):
    def test_lines_are_appended_exactly_and_the_settings_kept_as_read(self):
        with Monitor() as monitor:
            settings = written_settings(ToDisplay=7, ToFile=1, FileName=windows_path(monitor.path(CAPTURE_NAME)),
                                        Colours=7)
            monitor.write_file(INI_NAME, settings)
            monitor.write_file(CAPTURE_NAME, EARLIER_CONTENT)
            monitor.start()

            logged = send_with_logger("sent by logger, with a comma")
            logger_message = monitor.wait_for_rows(1)[0][1]
            self.assertIn(logger_message, logged)
            # One at a time, so the rows come in the order sent.
            for count, (datagram, _, _) in enumerate(RAW_DATAGRAMS, start=2):
                send_raw(datagram)
                monitor.wait_for_rows(count)

            shown = [logger_message] + [text for _, text, _ in RAW_DATAGRAMS]
            self.assertEqual(monitor.rows(), [(SENDER, text) for text in shown])
            self.assertEqual(monitor.pane_text(), b"")
            self.assertEqual(monitor.close(), 0)
            self.assertEqual(monitor.ini_bytes(), settings)

            expected = (EARLIER_CONTENT + b'127.0.0.1,"' + logger_message + b'"\r\n'
                        + b"".join(line for _, _, line in RAW_DATAGRAMS))
            # Line by line (ends kept) reads better when it fails and is just as exact.
            self.assertEqual(monitor.read_file(CAPTURE_NAME).splitlines(keepends=True),
                             expected.splitlines(keepends=True))
