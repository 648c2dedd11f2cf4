"""With UDP 514 held by another program the window opens, says so, and still works."""

import unittest

from monitor import Monitor, hold_syslog_port, send_raw

ADDRESS_IN_USE = 0x80072740  # WSAEADDRINUSE as a status code
BIND_FAILURE = b"Error occurred while binding\n\r\n[0x80072740] "
HOLDER_TIMEOUT = 5.0


class PortInUseTest(unittest.TestCase):
    def test_bind_failure_is_reported_and_the_window_still_works(self):
        # The monitor's block encloses the holder's, so the port is free again before the monitor's ends.
        with Monitor() as monitor, hold_syslog_port() as holder:
            monitor.start(expect_port=False)

            pane = monitor.pane_text()
            self.assertTrue(pane.startswith(BIND_FAILURE), pane)
            system_text = monitor.system_text(ADDRESS_IN_USE)
            if system_text:
                self.assertEqual(pane[len(BIND_FAILURE):], system_text)
            else:  # the system has no text for this code: the program says so in one line of its own
                self.assertRegex(pane[len(BIND_FAILURE):], rb"^[^\r\n]+\r\n$")

            # Datagrams go to the holder; the monitor shows nothing and reports nothing more.
            send_raw(b"for the holder")
            holder.settimeout(HOLDER_TIMEOUT)
            self.assertEqual(holder.recvfrom(100)[0], b"for the holder")
            self.assertEqual(monitor.rows(), [])
            self.assertEqual(monitor.pane_text(), pane)

            self.assertEqual(monitor.close(), 0)
