"""A Wine prefix of the tests' own and, where the host allows it, a network of their own.

The prefix (ISOLATED_WINEPREFIX, set by ctest, unless the test names another)
gets a wineserver started by the test itself, so the test may stop it, and no
other program touches its files meanwhile. In a network namespace of its own
the program sees only the test's datagrams, whoever else holds UDP 514 on the
host, and every packet it could send can be watched. Wine creates sockets in
the wineserver, so the server must start inside the namespace: enter it before
the first Wine process.
"""

import ctypes
import os
import subprocess

CLONE_NEWNET = 0x40000000
WINE_TIMEOUT = 120.0
# Skip the offer to download Mono and Gecko when the prefix is made.
NO_DOWNLOADS = "mscoree,mshtml="


def enter_private_network():
    """Moves this process, and every process it starts from now on, into a new
    network namespace whose loopback interface is up. Answers None, or why it
    cannot be done here."""
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.unshare(CLONE_NEWNET) != 0:
        return f"unshare(CLONE_NEWNET) failed: {os.strerror(ctypes.get_errno())}"
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True, stdin=subprocess.DEVNULL)
    return None


class IsolatedWine:
    """Use as a context manager: on entry WINEPREFIX names the isolated prefix
    (made on first use) and its server is up; on leaving the server is stopped."""

    def __init__(self, prefix=None):
        self.prefix = prefix or os.environ["ISOLATED_WINEPREFIX"]
        self._previous = os.environ.get("WINEPREFIX")

    def __enter__(self):
        os.environ["WINEPREFIX"] = self.prefix
        os.makedirs(self.prefix, exist_ok=True)
        self.stop_server()  # one left by an earlier run that was cut short
        self.start_server()
        return self

    def __exit__(self, error_type, error, traceback):
        self.stop_server()
        if self._previous is None:
            os.environ.pop("WINEPREFIX", None)
        else:
            os.environ["WINEPREFIX"] = self._previous
        return False

    def start_server(self):
        """Starts the server and Wine's background services, with their output
        sent nowhere, so that no later process's pipe is held by them."""
        subprocess.run(["wineboot"], env=dict(os.environ, WINEDLLOVERRIDES=NO_DOWNLOADS),
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=WINE_TIMEOUT, check=True)

    def stop_server(self):
        """Stops this prefix's server (which writes its registry out) and waits until it is gone."""
        for option in ("-k", "-w"):
            subprocess.run(["wineserver", option], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=WINE_TIMEOUT)
