"""Many senders through one relay: rsyslog takes their syslog on a port of its
own and forwards everything to the monitor over UDP, the set-up the READMEs
suggest when one workstation is not enough. Every message shows as one row,
its priority and text intact, and the Capture file holds the same lines."""

import os
import shutil
import signal
import subprocess
import time
import unittest

from fault_tools import capturing_settings, file_bytes
from monitor import INI_NAME, LOOPBACK, SYSLOG_PORT, Monitor, wait_until

RELAY_PORT = 10514
RSYSLOGD = shutil.which("rsyslogd") or "/usr/sbin/rsyslogd"
RELAY_CONFIG = """global(workDirectory="{work}")
module(load="imudp")
input(type="imudp" address="{address}" port="{port}")
*.* action(type="omfwd" target="{address}" port="{target}" protocol="udp")
"""
SENDERS = ("router-a", "switch-b", "firewall-c")
SEVERITIES = ("err", "warning", "info")
PRIORITIES = {"err": 11, "warning": 12, "info": 14}  # facility user
PER_SENDER = 20
RELAY_START_S = 10.0


def send_to_relay(tag, severity, text):
    subprocess.run(["logger", "--udp", "--server", LOOPBACK, "--port", str(RELAY_PORT), "--rfc3164",
                    "--tag", tag, "--priority", f"user.{severity}", text],
                   check=True, stdin=subprocess.DEVNULL, timeout=30)


@unittest.skipUnless(os.path.exists(RSYSLOGD), "rsyslogd is not installed (scripts/setup.sh installs it)")
class RelayTest(unittest.TestCase):
    def test_every_message_forwarded_by_a_relay_is_a_row_and_a_capture_line(self):
        with Monitor() as monitor:
            capture = monitor.path("relayed.csv")
            monitor.write_file(INI_NAME, capturing_settings(capture))
            monitor.start()
            relay = self.start_relay(monitor)
            try:
                sent = []
                for number in range(PER_SENDER):
                    for tag, severity in zip(SENDERS, SEVERITIES):
                        text = f"relayed message {number} from {tag}, severity {severity}"
                        send_to_relay(tag, severity, text)
                        sent.append((PRIORITIES[severity], tag, text))
                rows = monitor.wait_for_rows(len(sent))
            finally:
                relay.send_signal(signal.SIGTERM)
                relay.wait(timeout=30)
            self.assertEqual(len(rows), len(sent))
            shown = sorted(message for _, message in rows)
            for priority, tag, text in sent:
                matching = [message for message in shown if message.endswith(text.encode())]
                self.assertEqual(len(matching), 1, text)
                self.assertTrue(matching[0].startswith(f"<{priority}>".encode()), matching[0])
                self.assertIn(f" {tag}: ".encode(), matching[0])
            self.assertEqual({sender for sender, _ in rows}, {LOOPBACK.encode()})
            self.assertEqual(monitor.close(), 0)
            lines = file_bytes(capture).split(b"\r\n")
            self.assertEqual(lines[-1], b"")
            self.assertEqual(sorted(line.split(b",", 1)[1].strip(b'"') for line in lines[:-1]), shown)

    def start_relay(self, monitor):
        work = monitor.path("relay")
        os.makedirs(work)
        config = os.path.join(work, "relay.conf")
        with open(config, "w", encoding="ascii") as file:
            file.write(RELAY_CONFIG.format(work=work, address=LOOPBACK, port=RELAY_PORT, target=SYSLOG_PORT))
        relay = subprocess.Popen([RSYSLOGD, "-n", "-f", config, "-i", os.path.join(work, "relay.pid")],
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        started = time.monotonic()
        wait_until(lambda: relay.poll() is not None or self.relay_listens(), RELAY_START_S, "the relay to listen")
        self.assertIsNone(relay.poll(), f"rsyslogd ended at once ({time.monotonic() - started:.1f} s)")
        return relay

    @staticmethod
    def relay_listens():
        listening = subprocess.run(["ss", "-Huln", f"sport = :{RELAY_PORT}"], capture_output=True, text=True)
        return str(RELAY_PORT) in listening.stdout
