"""The twenty watch rules the benchmark puts in force, as the monitor's INI file
holds them; the in-process figures (rows_bench watch) read the same section.

The last rule matches the numbered lines whose sequence number ends in 00, one
in a hundred, and marks, flashes and notifies; the others never match those
lines, each failing on another condition: a text that does not occur (with and
without Match case), a severity the lines do not reach, senders that are not
127.0.0.1, the sender hidden, a hide-text that every line holds."""

from load import ONE_IN_A_HUNDRED

SECTION = "WatchRules"
LIST = None  # the list's own colour
ANY = None  # any severity

# name, show, hide, match case, lowest severity, senders, hide senders, text, background, mark, flash, notify, beep
RULES = [
    ("LINK-DOWN", "link down", "", 0, ANY, "", 0, "#FFFFFF", "#8B0000", 1, 1, 1, 0),
    ("AUTH-FAIL", "authentication failure", "", 0, ANY, "", 0, LIST, "#FFD700", 1, 0, 1, 0),
    ("SEGFAULT", "segfault", "", 1, ANY, "", 0, "#800080", LIST, 0, 0, 1, 1),
    ("OOM", "Out of memory", "", 1, ANY, "", 0, "#FF0000", LIST, 0, 1, 0, 0),
    ("DISK-FULL", "No space left on device", "", 0, ANY, "", 0, LIST, "#FFE4B5", 1, 0, 0, 0),
    ("PANIC", "Kernel panic", "", 0, 0, "", 0, "#FFFFFF", "#000000", 1, 1, 1, 1),
    ("BENCH-CRITICAL", "bench", "", 0, 2, "", 0, LIST, "#FFC0CB", 1, 0, 0, 0),
    ("LOAD-ERRORS", "load", "", 0, 3, "", 0, "#C80000", LIST, 0, 0, 0, 0),
    ("CORE-ROUTERS", "", "", 0, ANY, "10.0.0.1,10.0.0.2", 0, "#00008B", LIST, 0, 0, 0, 0),
    ("FIREWALL-DENY", "deny", "", 0, ANY, "192.168.1.1,192.168.1.254", 0, LIST, "#E0FFFF", 1, 0, 1, 0),
    ("NOT-FROM-HERE", "seq=", "", 0, ANY, "127.0.0.1", 1, "#008000", LIST, 0, 0, 0, 0),
    ("SEQ-UNPADDED", "seq=", "x", 0, ANY, "", 0, LIST, "#F0F0F0", 0, 0, 0, 0),
    ("BENCH-ELSEWHERE", "bench", "load:", 0, ANY, "", 0, "#0000FF", LIST, 1, 0, 0, 0),
    ("BENCH-LOUD", "BENCH LOAD", "", 1, ANY, "", 0, LIST, "#FFFFE0", 0, 1, 0, 0),
    ("SSH-REFUSED", "sshd[", "Accepted", 0, ANY, "", 0, "#8B4513", LIST, 0, 0, 1, 0),
    ("RAID", "degraded", "", 0, ANY, "", 0, "#FFFFFF", "#FF8C00", 1, 1, 0, 0),
    ("TEMPERATURE", "temperature above threshold", "", 0, 4, "", 0, LIST, "#FFA07A", 0, 0, 1, 0),
    ("POWER", "power supply", "", 0, ANY, "10.1.1.1", 0, "#B22222", LIST, 1, 0, 0, 1),
    ("CONFIG", "%SYS-5-CONFIG_I", "", 1, ANY, "", 0, LIST, "#E6E6FA", 0, 0, 0, 0),
    ("EVERY-HUNDREDTH", ONE_IN_A_HUNDRED, "", 0, ANY, "", 0, "#FFFFFF", "#8B0000", 1, 1, 1, 0),
]
MATCHING_RULE = RULES[-1][0]


def escaped(text):
    """A text field's bytes: '%', ';', control bytes and bytes from 0x7F up as %XX."""
    return "".join(chr(byte) if 0x20 <= byte < 0x7F and chr(byte) not in "%;" else f"%{byte:02X}"
                   for byte in text.encode("latin-1"))


def rule_value(rule):
    name, show, hide, case, severity, senders, hide_senders, text, background, mark, flash, notify, beep = rule
    fields = [("name", escaped(name)), ("show", escaped(show)), ("hide", escaped(hide)), ("case", case),
              ("severity", "any" if severity is ANY else severity), ("senders", senders),
              ("hidesenders", hide_senders), ("text", text or "list"), ("background", background or "list"),
              ("mark", mark), ("flash", flash), ("notify", notify), ("beep", beep)]
    return ";".join(f"{key}={value}" for key, value in fields)


def section():
    """The [WatchRules] section's bytes, to follow [Settings] in the INI file."""
    lines = [f"[{SECTION}]"] + [f"Rule{n}={rule_value(rule)}" for n, rule in enumerate(RULES, 1)]
    return "".join(line + "\r\n" for line in lines).encode("latin-1")
