"""The Options, Save and About dialogs, worked with real key presses and clicks.

Options: with Display unticked, datagrams add no rows but still reach the
Capture file. Save: the saved file holds the rows as Capture lines, also with
ten thousand rows, after which Clear empties list and pane and gives the
memory back. About: a picture of it, with the version line and the two links,
is kept for a look.

The program runs inside a Wine-drawn desktop (see wine_desktop), where real keys
reach its dialogs. That desktop is made the default of a Wine prefix of the
test's own (DESKTOP_WINEPREFIX), whose server the test starts and stops. The
test runs in a network namespace of its own, so UDP 514 is free whoever holds
it on the host, with an X server of its own there, so no other program's
windows or input meet its own.
"""

import os
import tempfile
import unittest

from fault_tools import PacedSender, capture_line, capturing_settings, file_bytes, numbered_messages
from monitor import INI_NAME, ROWS_TIMEOUT, send_raw, wait_until, windows_path
from wine_desktop import ACTIVE_CAPTION, DESKTOP_HEIGHT, DIALOG_TIMEOUT, Desktop, monitor_in_a_desktop, press, run

CAPTURE_NAME = "capture.csv"
SAVED_NAME = "saved.txt"
MANY_SAVED_NAME = "many.txt"
MANY_ROWS = 10_000
MANY_ROWS_RATE = 2_000  # per second: well within what the program shows without loss
MEMORY_TOLERANCE = 0.10
SENDER = b"127.0.0.1"
# None holds a comma, so each is written unquoted (capture_line).
SHOWN_FIRST = [b"shown: first", b"shown: second"]
HIDDEN = [b"hidden: first", b"hidden: second", b"hidden: third"]
SHOWN_AGAIN = [b"shown again: first", b"shown again: second"]

# Wine puts the main window at the desktop's top-left corner: this point lies
# in its list, below the rows the test adds, where a click only takes the focus.
LIST_POINT = (300, 250)
FIRST_ROW_POINT = (100, 69)  # in the list's first row
FILTER_TEXT = b"again"
TYPING_DELAY_MS = 50
# The colour of the program's links.
UNVISITED_LINK = bytes((0, 0, 255))
LINK_COUNT = 2
# Rows of a link's text and its underline lie closer together than two links do.
LINK_ROW_GAP = 4
SCREENSHOT = os.path.join(tempfile.gettempdir(), "e2e-dialogs-by-hand", "about.png")


def capture_lines(messages):
    return b"".join(capture_line(message) for message in messages)


def wait_for_content(path, expected, what):
    """Waits until the file holds exactly the expected bytes; fails showing the difference."""
    def holds():
        return os.path.exists(path) and file_bytes(path) == expected
    try:
        wait_until(holds, ROWS_TIMEOUT, what)
    except AssertionError:
        actual = file_bytes(path) if os.path.exists(path) else b"(no file)"
        raise AssertionError(f"{what}: expected {expected!r}, found {actual!r}") from None


def dialog_area(before, after):
    """The active window's area, from its caption (the only active caption while a dialog is up)
    down to the last row it changed; as (left, top, right, bottom)."""
    left, top, right, caption_bottom = after.box_of(ACTIVE_CAPTION)
    changed = [y for y in range(caption_bottom, DESKTOP_HEIGHT)
               if after.pixels(y, left, right) != before.pixels(y, left, right)]
    return left, top, right, (max(changed) + 1 if changed else caption_bottom)


def link_lines(picture, area):
    """How many separate bands of link-coloured rows the area holds."""
    left, top, right, bottom = area
    rows = [y for y in range(top, bottom) if UNVISITED_LINK in picture.pixels(y, left, right)]
    return sum(1 for previous, y in zip([None] + rows, rows) if previous is None or y - previous > LINK_ROW_GAP)


class DialogsByHandTest(unittest.TestCase):
    def test_options_save_and_about(self):
        with monitor_in_a_desktop(self) as monitor:
            capture = monitor.path(CAPTURE_NAME)
            monitor.write_file(INI_NAME, capturing_settings(capture))
            monitor.start()
            desktop = Desktop(monitor.path("desktop.png"))
            desktop.click(LIST_POINT)  # the keys go where the pointer is

            self.send(monitor, SHOWN_FIRST, shown_before=0)
            self.switch_display(desktop)
            for message in HIDDEN:
                send_raw(message)
            # Each line is written before its row would be added.
            wait_for_content(capture, capture_lines(SHOWN_FIRST + HIDDEN),
                             "the Capture file to hold the lines of the datagrams sent while Display is off")
            self.assertEqual(monitor.rows(), [(SENDER, message) for message in SHOWN_FIRST],
                             "no row for a datagram while Display is off")

            self.switch_display(desktop)
            self.send(monitor, SHOWN_AGAIN, shown_before=len(SHOWN_FIRST))
            self.save(monitor, desktop, SHOWN_FIRST + SHOWN_AGAIN, SAVED_NAME)
            self.filter_by_hand(monitor, desktop, SHOWN_FIRST + SHOWN_AGAIN)
            many = self.save_many_then_clear(monitor, desktop, SHOWN_FIRST + SHOWN_AGAIN)
            self.look_at_about(desktop)

            press("alt+F4")
            self.assertEqual(monitor.wait_for_exit(), 0)
            self.assertEqual(file_bytes(capture), capture_lines(SHOWN_FIRST + HIDDEN + SHOWN_AGAIN + many))

    def send(self, monitor, messages, shown_before):
        # One at a time, so the rows come in the order sent.
        for count, message in enumerate(messages, start=shown_before + 1):
            send_raw(message)
            monitor.wait_for_rows(count)

    def switch_display(self, desktop):
        press("alt+v", "o")  # View > Options ...
        desktop.wait_for_dialog("the Options dialog")
        press("alt+d", "Return")  # Display ticked or unticked, then OK
        desktop.wait_for_main_window("the Options dialog to close")

    def save(self, monitor, desktop, shown, name):
        self.assertEqual(monitor.rows(), [(SENDER, message) for message in shown])
        self.save_shown(monitor, desktop, shown, name)

    def filter_by_hand(self, monitor, desktop, shown):
        """Ctrl+L, a text and Enter leave the rows that hold it; "Hide this sender" from a row's
        right-click menu hides the rest; "Show all rows" brings every row back, in order."""
        press("ctrl+l")
        desktop.wait_for_dialog("the Filter dialog")
        run("xdotool", "type", "--delay", str(TYPING_DELAY_MS), FILTER_TEXT.decode())
        press("Return")
        desktop.wait_for_main_window("the Filter dialog to close")
        holding = [(SENDER, message) for message in shown if FILTER_TEXT in message]
        wait_until(lambda: monitor.rows() == holding, ROWS_TIMEOUT, "only the rows that hold the text")

        desktop.choose_from_menu_at(FIRST_ROW_POINT, "h")  # Hide this sender
        wait_until(lambda: monitor.row_count() == 0 or None, ROWS_TIMEOUT, "the sender's rows to be hidden")
        desktop.choose_from_menu_at(LIST_POINT, "r")  # Show all rows
        every = [(SENDER, message) for message in shown]
        wait_until(lambda: monitor.rows() == every, ROWS_TIMEOUT, "every row back, in order")

    def save_shown(self, monitor, desktop, shown, name):
        """Saves the list, which shows these messages, and checks the file."""
        saved = monitor.path(name)
        press("ctrl+s")  # View > Save
        desktop.wait_for_dialog("the save dialog")
        run("xdotool", "type", "--delay", str(TYPING_DELAY_MS), windows_path(saved))
        press("Return")
        desktop.wait_for_main_window("the save dialog to close")
        wait_for_content(saved, capture_lines(shown), "the saved file to hold the rows as Capture lines, in list order")

    def save_many_then_clear(self, monitor, desktop, shown):
        """Ten thousand more rows saved byte for byte; then Clear empties list and pane, and the
        memory goes back to where it stood before them (the save dialog has been shown once already)."""
        before = monitor.private_bytes()
        with PacedSender(numbered_messages("many", MANY_ROWS), MANY_ROWS_RATE) as sender:
            wait_until(sender.finished, MANY_ROWS / MANY_ROWS_RATE * 3, "the datagrams to be sent")
        many = sender.messages()
        monitor.wait_for_row_count(len(shown) + MANY_ROWS)
        # Reading ten thousand rows from outside takes longer than saving them: the
        # rows are the datagrams in the order sent, from one socket over loopback.
        self.save_shown(monitor, desktop, shown + many, MANY_SAVED_NAME)

        press("ctrl+r")  # View > Clear
        wait_until(lambda: monitor.row_count() == 0 or None, DIALOG_TIMEOUT, "Clear to empty the list")
        self.assertEqual(b"", monitor.pane_text())
        after = monitor.private_bytes()
        print(f"private bytes before {MANY_ROWS:,} rows {before:,}, after Clear {after:,}")
        self.assertLessEqual(after, before * (1 + MEMORY_TOLERANCE),
                             f"private bytes after Clear {after:,} against {before:,} before the rows")
        return many

    def look_at_about(self, desktop):
        before = desktop.picture()
        press("alt+h", "a")  # Help > About
        desktop.wait_for_dialog("the About dialog")
        os.makedirs(os.path.dirname(SCREENSHOT), exist_ok=True)
        shot = desktop.settled_picture(SCREENSHOT)  # the caption is drawn first, the rest just after
        area = dialog_area(before, shot)
        print(f"About, as shown: {SCREENSHOT} (dialog at {area})")
        left, top, right, bottom = area
        colours = {pixel for y in range(top, bottom) for pixel in shot.pixels(y, left, right)}
        self.assertGreater(len(colours), 2, "the About dialog is drawn, not a blank area")
        self.assertEqual(link_lines(shot, area), LINK_COUNT, "the mail and web links, each on its own line")
        press("Escape")
        desktop.wait_for_main_window("the About dialog to close")
