#!/usr/bin/env python3
"""Wine programs out of the user's sight: an X server and a Wine prefix of their own.
Every script and test that runs the program, its tests or its benchmark sets Wine
and Xvfb up here.

    wine_session.py [--prefix DIR] [--display-if-none] [--abstract-display] [--hold-desktop EXE]
                    -- COMMAND [ARGUMENT]...

runs COMMAND on an Xvfb of its own (DISPLAY), or on $DISPLAY with --display-if-none
when one is set, and exits with COMMAND's status.
  --prefix DIR         WINEPREFIX=DIR, with a server started for the run and stopped
                       at its end; a crashing program ends at once there, its backtrace
                       in its output, instead of waiting on a dialog nobody sees, and a
                       window closes without waiting for a window manager.
                       Without it: the user's own prefix, whose server is left running.
  --abstract-display   the X server listens on an abstract socket only (see
                       PrivateDisplay): for a session in a network of its own.
  --hold-desktop EXE   runs this Wine program (one that makes a hidden window and
                       waits) for the whole run, so the desktop process it starts
                       holds no output of COMMAND's (see below).

Wine's first process starts its background services, and the first program that
makes a window starts the desktop process; both inherit their starter's output
and would hold a pipe of the caller's open for good. Here they are started with
their output sent nowhere.
"""

import argparse
import contextlib
import ctypes
import itertools
import os
import select
import signal
import subprocess
import sys

SCREEN = "1280x1024x24"
DISPLAY_TIMEOUT = 30.0
DISPLAY_ATTEMPTS = 10
STOP_TIMEOUT = 10.0
WINE_TIMEOUT = 120.0
CLONE_NEWNET = 0x40000000
# Skip the offer to download Mono and Gecko when the prefix is made.
NO_DOWNLOADS = "mscoree,mshtml="
NO_CRASH_DIALOG = ["reg", "add", r"HKCU\Software\Wine\WineDbg", "/v", "ShowCrashDialog", "/t", "REG_DWORD",
                   "/d", "0", "/f"]
# With no window manager on the X server, Wine waits 2 s for one to answer each
# time a shown top-level window is hidden (every closed dialog and window);
# windows it does not hand to a window manager are hidden at once.
UNMANAGED_WINDOWS = ["reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d", "N", "/f"]


def quietly(command, **options):
    """Runs a command with its output sent nowhere."""
    return subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=WINE_TIMEOUT, **options)


def enter_private_network():
    """Moves this process, and every process it starts from now on, into a new
    network namespace whose loopback interface is up. Answers None, or why it
    cannot be done here. Wine makes sockets in its server, so enter before the
    first Wine process."""
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.unshare(CLONE_NEWNET) != 0:
        return f"unshare(CLONE_NEWNET) failed: {os.strerror(ctypes.get_errno())}"
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True, stdin=subprocess.DEVNULL)
    return None


def restore_variable(name, value):
    """Sets an environment variable back to value; None unsets it."""
    if value is None:
        os.environ.pop(name, None)
    else:
        os.environ[name] = value


def unused_display_numbers():
    """Display numbers whose socket file and lock file are both absent. X servers
    in other network namespaces share those files but not the abstract socket,
    which is all that Xvfb looks at when it picks a number itself."""
    for number in itertools.count():
        if not any(os.path.exists(path % number) for path in ("/tmp/.X11-unix/X%d", "/tmp/.X%d-lock")):
            yield number


class PrivateDisplay:
    """Use as a context manager: inside, DISPLAY names an Xvfb of its own; on leaving it is stopped.

    abstract_only: the server listens on an abstract socket only. That socket
    belongs to the network namespace: nothing under /tmp/.X11-unix is made or
    replaced, so no other X server on the host is disturbed, and inside a
    namespace of its own none of another namespace can be reached instead of
    it. Programs in a network namespace entered later cannot reach it either:
    by default it listens on a socket file too.
    """

    def __init__(self, abstract_only=False):
        self._listen = ["-nolisten", "tcp"] + (["-nolisten", "unix"] if abstract_only else [])

    def __enter__(self):
        self._previous = os.environ.get("DISPLAY")
        for number in itertools.islice(unused_display_numbers(), DISPLAY_ATTEMPTS):
            if self._start(number):
                os.environ["DISPLAY"] = f":{number}"
                return self
        raise AssertionError(f"Xvfb could not be started on any of {DISPLAY_ATTEMPTS} free display numbers")

    def _start(self, number):
        """Starts Xvfb on the display number; answers whether it accepts clients
        there (another server may have taken the number meanwhile)."""
        number_read, number_write = os.pipe()
        # -displayfd: Xvfb writes the number once it accepts clients, and closes it if it gives up.
        self._server = subprocess.Popen(
            ["Xvfb", f":{number}", "-displayfd", str(number_write), "-screen", "0", SCREEN, *self._listen],
            pass_fds=(number_write,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(number_write)
        with os.fdopen(number_read) as written:
            ready, _, _ = select.select([written], [], [], DISPLAY_TIMEOUT)
            started = ready and written.readline().strip() == str(number)
        if not started:
            self._stop()
        return started

    def __exit__(self, error_type, error, traceback):
        self._stop()
        restore_variable("DISPLAY", self._previous)
        return False

    @property
    def pid(self):
        return self._server.pid

    def _stop(self):
        self._server.terminate()
        self._server.wait(timeout=STOP_TIMEOUT)


class IsolatedWine:
    """Use as a context manager: on entry WINEPREFIX names the prefix (made on
    first use) and a server of its own is up, which nothing else touches; a
    crash ends the program at once and windows are not left to a window manager
    (UNMANAGED_WINDOWS). On leaving the server is stopped."""

    def __init__(self, prefix):
        self.prefix = os.path.abspath(prefix)
        self._previous = os.environ.get("WINEPREFIX")

    def __enter__(self):
        os.environ["WINEPREFIX"] = self.prefix
        os.environ.setdefault("WINEDEBUG", "-all")
        os.makedirs(self.prefix, exist_ok=True)
        self.stop_server()  # one left by an earlier run that was cut short
        self.start_server()
        quietly(["wine", *NO_CRASH_DIALOG])
        quietly(["wine", *UNMANAGED_WINDOWS])
        return self

    def __exit__(self, error_type, error, traceback):
        self.stop_server()
        restore_variable("WINEPREFIX", self._previous)
        return False

    def start_server(self):
        """Starts a server that stays up until stopped, and Wine's background services."""
        quietly(["wineserver", "-p"])
        start_services()

    def stop_server(self):
        """Stops this prefix's server (which writes its registry out) and waits until it is gone."""
        for option in ("-k", "-w"):
            quietly(["wineserver", option])


def start_services():
    quietly(["wineboot"], env=dict(os.environ, WINEDLLOVERRIDES=NO_DOWNLOADS), check=True)


def run(command, prefix, display_if_none, abstract_display, hold_desktop):
    """Runs command inside the session; answers its exit status."""
    with contextlib.ExitStack() as session:
        if not (display_if_none and os.environ.get("DISPLAY")):
            display = session.enter_context(PrivateDisplay(abstract_display))
            name = os.environ["DISPLAY"]
            say(f"Wine runs on a private Xvfb, display {name} (PID {display.pid}); to look at it: "
                f"DISPLAY={name} import -window root shot.png")
        if prefix:
            session.enter_context(IsolatedWine(prefix))
            say(f"Wine prefix {os.environ['WINEPREFIX']}, its server stopped at the end")
        else:
            os.environ.setdefault("WINEDEBUG", "-all")
            start_services()
        if hold_desktop:
            holder = subprocess.Popen(["wine", hold_desktop], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL)
            session.callback(holder.wait)
            session.callback(holder.kill)
        return subprocess.run(command).returncode


def say(text):
    print(f"[wine session] {text}", file=sys.stderr, flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--prefix")
    parser.add_argument("--display-if-none", action="store_true")
    parser.add_argument("--abstract-display", action="store_true")
    parser.add_argument("--hold-desktop")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    arguments = parser.parse_args()
    command = arguments.command[1:] if arguments.command[:1] == ["--"] else arguments.command
    if not command:
        parser.error("no command given")
    # Stopped from outside, the session still stops its server and display.
    signal.signal(signal.SIGTERM, lambda number, frame: sys.exit(128 + number))
    sys.exit(run(command, arguments.prefix, arguments.display_if_none, arguments.abstract_display,
                 arguments.hold_desktop))


if __name__ == "__main__":
    main()
