"""The program never sends a packet: every packet of its run is one the test sent it.

The test moves itself into a network namespace of its own, where the only
interfaces are the loopback and a tun device that takes the default route, so
a packet to any address at all passes one of them. A packet socket watches
both for the whole run of the program (start, datagrams, close) while the test
sends it datagrams from inside the namespace.

Wine's printing support, which comes with the common dialogs, asks the CUPS
print service for printers by TCP on loopback port 631 when it is loaded, in
any Wine program (rundll32 loading winspool.drv does the same); Windows has no
such thing. The runs here point that client at a Unix socket instead
(CUPS_SERVER), so that every packet left is the program's own doing.
"""

import fcntl
import os
import socket
import struct
import subprocess
import threading
import time
import unittest

from built_program import imported_functions
from wine_session import IsolatedWine, enter_private_network
from monitor import INI_NAME, LOOPBACK, SYSLOG_PORT, Monitor, settings_ini, windows_path

ETH_P_ALL = 0x0003
ARPHRD_LOOPBACK = 772
ARPHRD_NONE = 65534  # a tun device: frames are bare IP packets
PACKET_OUTGOING = 4
LOOPBACK_HEADER = 14  # the loopback device's (all-zero) Ethernet header
ETHERTYPE_IPV4 = 0x0800
IPPROTO_UDP = 17
CAPTURE_POLL = 0.2
SETTLE_SECONDS = 1.0  # for anything sent late, after the window has gone

# A socket path where no print service listens: Wine's printer lookup stays off the network.
CUPS_ON_A_UNIX_SOCKET = {"CUPS_SERVER": "/nonexistent/cups.sock"}

TUN_DEVICE = "/dev/net/tun"
TUNSETIFF = 0x400454CA
IFF_TUN = 0x0001
IFF_NO_PI = 0x1000
TUN_NAME = "nosend0"
TUN_ADDRESS = "192.0.2.1/24"  # TEST-NET-1: nothing real answers there
# Sent by the test off the loopback once the program has gone, to show the watch sees that route too.
WATCH_CHECK = ("198.51.100.7", 9, b"the watch sees the default route")

DATAGRAMS = [
    b"<13>plain line\r\n",
    b"%s%n%x%p%ls",
    b"with, a comma",
    b"",
    b"x" * 5000,
    bytes(range(256)),
]


def route_everything_through_a_tun():
    """Gives the namespace a default route into a tun device held open here, so
    a packet to a non-local address is sent (and seen) rather than refused.
    Answers the device's file descriptor, or None when tun is not available."""
    try:
        tun = os.open(TUN_DEVICE, os.O_RDWR | os.O_NONBLOCK)
    except OSError:
        return None
    fcntl.ioctl(tun, TUNSETIFF, struct.pack("16sH", TUN_NAME.encode(), IFF_TUN | IFF_NO_PI))
    # No IPv6 on it, so the kernel sends no router solicitations of its own.
    ipv6_setting = f"/proc/sys/net/ipv6/conf/{TUN_NAME}/disable_ipv6"
    if os.path.exists(ipv6_setting):
        with open(ipv6_setting, "w") as setting:
            setting.write("1")
    for command in (["addr", "add", TUN_ADDRESS, "dev", TUN_NAME], ["link", "set", TUN_NAME, "up"],
                    ["route", "add", "default", "dev", TUN_NAME]):
        subprocess.run(["ip", *command], check=True, stdin=subprocess.DEVNULL)
    return tun


class PacketWatch:
    """Collects every frame on every interface of the namespace until stopped."""

    def __init__(self):
        self._socket = socket.socket(socket.AF_PACKET, socket.SOCK_RAW, socket.htons(ETH_P_ALL))
        self._socket.settimeout(CAPTURE_POLL)
        self._stop = threading.Event()
        self.frames = []  # (interface, packet type, hardware type, bytes)
        self._thread = threading.Thread(target=self._collect)
        self._thread.start()

    def _collect(self):
        while not self._stop.is_set():
            try:
                data, (interface, _, packet_type, hardware_type, _) = self._socket.recvfrom(1 << 17)
            except socket.timeout:
                continue
            self.frames.append((interface, packet_type, hardware_type, data))

    def stop(self):
        self._stop.set()
        self._thread.join()
        self._socket.close()


def describe(frame):
    """Answers ("udp", source port, destination port, source, destination, payload) for an IPv4 UDP
    packet, or ("other", text) for anything else."""
    interface, _, hardware_type, data = frame
    if hardware_type == ARPHRD_LOOPBACK:
        if struct.unpack("!H", data[12:14])[0] != ETHERTYPE_IPV4:
            return ("other", f"non-IPv4 frame on {interface}: {data[:64].hex()}")
        packet = data[LOOPBACK_HEADER:]
    elif hardware_type == ARPHRD_NONE:
        packet = data
    else:
        return ("other", f"frame of hardware type {hardware_type} on {interface}: {data[:64].hex()}")
    if packet[0] >> 4 != 4 or packet[9] != IPPROTO_UDP:
        return ("other", f"non-UDP packet on {interface}: {packet[:64].hex()}")
    header = (packet[0] & 0x0F) * 4
    source, destination = socket.inet_ntoa(packet[12:16]), socket.inet_ntoa(packet[16:20])
    source_port, destination_port, length = struct.unpack("!HHH", packet[header:header + 6])
    return ("udp", source_port, destination_port, source, destination, packet[header + 8:header + length])


def send_once(destination):
    """Sends one datagram (address, port, payload); answers the source port it went from."""
    address, port, payload = destination
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sender:
        sender.sendto(payload, (address, port))
        return sender.getsockname()[1]


def summary(frame):
    seen = describe(frame)
    if seen[0] != "udp":
        return seen[1]
    _, source_port, destination_port, source, destination, payload = seen
    return f"UDP {source}:{source_port} -> {destination}:{destination_port}, {len(payload)} bytes: {payload[:40]!r}"


class SendsNothingTest(unittest.TestCase):
    def test_every_packet_of_a_run_is_one_sent_to_it(self):
        reason = enter_private_network()
        if reason:
            self.skipTest(f"no network namespace of our own ({reason}); run as root")
        tun = route_everything_through_a_tun()
        os.environ.update(CUPS_ON_A_UNIX_SOCKET)
        try:
            with IsolatedWine(os.environ["ISOLATED_WINEPREFIX"]):
                watch = PacketWatch()
                try:
                    sender_ports = self.run_the_program()
                    time.sleep(SETTLE_SECONDS)
                    if tun is not None:
                        sender_ports.add(send_once(WATCH_CHECK))
                        time.sleep(CAPTURE_POLL)
                finally:
                    watch.stop()
        finally:
            if tun is not None:
                os.close(tun)

        ours = {(LOOPBACK, SYSLOG_PORT, datagram) for datagram in DATAGRAMS}
        if tun is not None:
            ours.add(WATCH_CHECK)
        outgoing = [frame for frame in watch.frames if frame[1] == PACKET_OUTGOING]
        self.assertEqual(len(outgoing), len(ours), "one outgoing packet per datagram sent, and no other; seen:\n"
                         + "\n".join(summary(frame) for frame in outgoing))
        for frame in watch.frames:
            seen = describe(frame)
            self.assertEqual(seen[0], "udp", seen[-1])
            _, source_port, destination_port, _, destination, payload = seen
            self.assertIn(source_port, sender_ports, "sent by the test")
            self.assertNotEqual(source_port, SYSLOG_PORT)
            self.assertIn((destination, destination_port, payload), ours)
        print(f"{len(watch.frames)} frames seen on {sorted({f[0] for f in watch.frames})} "
              f"(tun {'present' if tun is not None else 'not available'}); every one was sent by the test")

    def run_the_program(self):
        """Starts the program capturing to a file, sends it the datagrams from
        one socket, and closes it. Answers the set of the socket's port."""
        with Monitor() as monitor:
            monitor.write_file(INI_NAME, settings_ini(ToFile=1, FileName=windows_path(monitor.path("capture.txt"))))
            monitor.start()
            with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sender:
                sender.bind((LOOPBACK, 0))
                for count, datagram in enumerate(DATAGRAMS, start=1):
                    sender.sendto(datagram, (LOOPBACK, SYSLOG_PORT))
                    monitor.wait_for_rows(count)
                sender_port = sender.getsockname()[1]
            self.assertEqual(monitor.pane_text(), b"Received more than 4096 bytes\n")
            self.assertEqual(monitor.close(), 0)
        return {sender_port}

    def test_no_sending_socket_function_is_imported(self):
        imports = imported_functions(os.environ["MONITOR_EXE"])
        self.assertIn("WSARecvFrom", imports, "the import table was read")
        sending = {"send", "sendto", "WSASend", "WSASendTo", "WSASendMsg", "WSASendDisconnect", "connect",
                   "WSAConnect", "WSAConnectByNameA", "WSAConnectByNameW", "WSAConnectByList", "WSAIoctl",
                   "TransmitFile", "TransmitPackets"}
        self.assertEqual(imports & sending, set())
