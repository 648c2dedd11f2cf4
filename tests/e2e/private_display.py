"""An X server of the test's own, inside its network namespace.

It listens on an abstract socket only, and an abstract socket belongs to the
network namespace: nothing under /tmp/.X11-unix is made or replaced, so no
other X server on the host is disturbed, and none (not even one started in
another namespace for the same display number) can be reached instead of it.
Enter the namespace first.
"""

import os
import select
import subprocess

SCREEN = "1024x768x24"
START_TIMEOUT = 30.0
STOP_TIMEOUT = 10.0


class PrivateDisplay:
    """Use as a context manager: inside, DISPLAY names the server; on leaving it is stopped."""

    def __enter__(self):
        self._previous = os.environ.get("DISPLAY")
        number_read, number_write = os.pipe()
        # -displayfd: Xvfb picks a free display and writes its number once it accepts clients.
        self._server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(number_write), "-screen", "0", SCREEN, "-nolisten", "tcp",
             "-nolisten", "unix"],
            pass_fds=(number_write,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(number_write)
        with os.fdopen(number_read) as number:
            ready, _, _ = select.select([number], [], [], START_TIMEOUT)
            display = number.readline().strip() if ready else ""
        if not display:
            self._stop()
            raise AssertionError(f"Xvfb gave no display number within {START_TIMEOUT:.0f} s")
        os.environ["DISPLAY"] = f":{display}"
        return self

    def __exit__(self, error_type, error, traceback):
        self._stop()
        if self._previous is None:
            os.environ.pop("DISPLAY", None)
        else:
            os.environ["DISPLAY"] = self._previous
        return False

    def _stop(self):
        self._server.terminate()
        self._server.wait(timeout=STOP_TIMEOUT)
