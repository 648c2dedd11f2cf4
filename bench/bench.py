#!/usr/bin/env python3
"""The monitor's benchmark under Wine: bursts sent back to back and loss-free
paced receive rates against a bare Winsock loop, display lag, UI responsiveness
during a burst, and the cost of a million rows. Started by bench/run.sh, which builds the programs and provides
the Wine prefix and the X display; prints the results and writes them as a
Markdown table."""

import argparse
import functools
import json
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from fault_tools import sequence_figures, sequence_numbers
from monitor import (EXE_NAME, INI_NAME, SYSLOG_PORT, settings_ini, wait_for_free_syslog_port,
                     wait_for_syslog_port_held, wait_until, windows_path)
from wine_desktop import link_wine_fonts, make_desktop_the_default
from wine_session import IsolatedWine
import load
import report
import watch_rules

TIME_BUDGET_S = 600
END_MARGIN_S = 10  # stopping Wine and Xvfb after the last step
STEP_OVERHEAD_S = 20  # start, settle and close around each network step
ROWS_BENCH_S = 220  # what the in-process measurements take on a busy machine
ROWS_TIMEOUTS_S = {"records": 60, "listview": 90, "monitor": 240, "filter": 240, "columns": 90, "watch": 120,
                   "book": 900, "traffic": 300}
# The list kept full through the network: this few rows kept, the book is full
# after the first thousand datagrams of a burst or a paced step, and every row
# after them lets the oldest go.
KEPT_FULL_ROWS = 1000
# The text filter in force for the filtered runs: one numbered line in a hundred.
FILTER_TEXT = load.ONE_IN_A_HUNDRED
# Six of the optional columns shown beside From and Details, at their usual widths (settings/ColumnLayout).
SHOWN_COLUMNS = {"Columns": "From,Received,Time,Host,Severity,App,PID,Details",
                 "ColumnWidths": "75,130,120,100,80,90,55,800"}
FIRST_ROW_S = 30  # the line naming the host, before the host can be chosen in the Filter dialog
# What the monitor says of a watch rule in its INI file that it cannot read.
DAMAGED_RULE_TEXT = "Cannot read watch rule"
# With --pinned: the Wine programs on one CPU, the sender (this process) on the other.
WINE_CPU, SENDER_CPU = 0, 1
SETTLE_S = 2.0  # the Capture file has not grown for this long: the burst is handled
LONGEST_SETTLE_S = 180
PORT_WAIT_S = 1800
OWN_RELEASE_S = 5.0  # Wine closes an ended receiver's socket a moment later
WATCH_LEAD_S = 1.0  # the watch samples the idle monitor this long before the burst
MONITOR_BUFFER_BYTES = 8 * 2**20  # the receive buffer the monitor asks for
RMEM_MAX_PATH = "/proc/sys/net/core/rmem_max"
NETWORK_ROWS = 1_000_000
# Paced; a datagram lost only lowers the row count the memory is divided by.
NETWORK_ROWS_RATE = 8_000
NETWORK_ROWS_S = 200  # sending, settling and Clear
# Calling the user: this many datagrams, every one matching the rule that
# notifies and flashes, sent evenly over the pacing's quiet time, in which a
# rule calls at most once.
CALLS_MATCHING = 10_000
CALLS_QUIET_S = 10.0
CALLS_AFTER_S = 4.0  # sampled this long after the quiet time, for the summary that ends it
CALLS_START_S = 30.0
# Beside the bench's own: the tray's notifications need a Wine-drawn desktop, which is made the prefix's default.
DESKTOP_PREFIX = "desktop-wineprefix"
# CPU per record: CPU 0's busy time (user, nice, system, irq and softirq in
# /proc/stat) while the receiver on it takes a steady paced flow, less CPU 0's
# idle load, read over CPU_IDLE_S with the receiver started and idle.
CPU_RATE = 8_000
CPU_RECORDS = 40_000
CPU_IDLE_S = 3.0
CPU_ROUNDS = 5  # the receivers one after another, so many times over
CPU_QUIET_SHARE = 0.02  # of CPU 0's time, before the first run
CPU_QUIET_LONGEST_S = 30
CPU_SETTLE_S = 1.0  # the receiver's output has not grown for this long: it has handled everything
JIFFY_S = 1 / os.sysconf("SC_CLK_TCK")
# The receive models (bench/receive_models.cpp), each a step further towards the monitor.
RECEIVE_MODELS = ("blocking", "overlapped", "poll", "doorbell")
# A lone datagram after a quiet time, timed to its row by a probe polling the row count this often.
LONE_DATAGRAMS = 5
LONE_QUIET_S = 2.0
LONE_ROW_POLL_MS = 1
# Each record's lag from its datagram to its row, at a rate the monitor keeps up with.
STEADY_RATE = 2_000
STEADY_RECORDS = 10_000


def log(text):
    print(f"[bench {time.strftime('%H:%M:%S')}] {text}", file=sys.stderr, flush=True)


def percentile(values, share):
    """Nearest-rank percentile."""
    if not values:
        return float("nan")
    ordered = sorted(values)
    return ordered[max(0, math.ceil(share * len(ordered)) - 1)]


def host_rmem_max():
    """The most receive buffer a socket may ask for (Linux grants twice what it is asked, up to twice this)."""
    with open(RMEM_MAX_PATH) as limit:
        return int(limit.read())


def file_size(path):
    try:
        return os.path.getsize(path)
    except OSError:
        return -1


def stop(process):
    if process.poll() is None:
        process.kill()
        process.wait()


def cpu_busy_jiffies(cpu):
    """The CPU's busy time since boot in jiffies: user, nice, system, irq and softirq of /proc/stat."""
    with open("/proc/stat") as stat:
        for line in stat:
            name, *fields = line.split()
            if name == f"cpu{cpu}":
                user, nice, system, _idle, _iowait, irq, softirq = map(int, fields[:7])
                return user + nice + system + irq + softirq
    raise RuntimeError(f"no cpu{cpu} in /proc/stat")


def wait_until_cpu_quiet(cpu):
    """Until the CPU has been busy less than CPU_QUIET_SHARE of a second, or CPU_QUIET_LONGEST_S:
    the Wine session's own start keeps it busy for a while, which the first run would count."""
    deadline = time.monotonic() + CPU_QUIET_LONGEST_S
    while time.monotonic() < deadline:
        busy = cpu_busy_jiffies(cpu)
        time.sleep(1.0)
        if (cpu_busy_jiffies(cpu) - busy) * JIFFY_S < CPU_QUIET_SHARE:
            return
    log(f"CPU {cpu} still busy after {CPU_QUIET_LONGEST_S} s")


def read_samples(path):
    """The watch probe's samples: (µs, row count) and (µs, WM_NULL round trip in µs), in order."""
    rows, round_trips = [], []
    with open(path) as samples:
        for line in samples:
            kind, at, value = line.split()
            (rows if kind == "rows" else round_trips).append((int(at), int(value)))
    return rows, round_trips


def row_lags_ms(rows, sent_us):
    """Each record's lag from its datagram's sending to the first sample showing its row; the
    rows are taken to come in the order sent. A row never shown counts as infinitely late."""
    lags, at = [], 0
    for index, sent in enumerate(sent_us):
        while at < len(rows) and rows[at][1] <= index:
            at += 1
        lags.append((rows[at][0] - sent) / 1000 if at < len(rows) else math.inf)
    return lags


def socket_memory():
    """What the system reports for the socket on UDP 514: its receive buffer
    (rb) and the datagrams dropped for want of room in it (d)."""
    listing = subprocess.run(["ss", "-Huamn", f"sport = :{SYSLOG_PORT}"], capture_output=True, text=True).stdout
    buffer, drops = re.search(r"\brb(\d+)", listing), re.search(r",d(\d+)\)", listing)
    return {"socket_rb": int(buffer.group(1)) if buffer else None,
            "socket_drops": int(drops.group(1)) if drops else None}


class Bench:
    def __init__(self, args):
        self.args = args
        self.scratch = tempfile.mkdtemp(prefix="monitor-bench-")
        self.skipped = []
        self.reserved_s = 0
        self.port_waited_s = 0.0  # waiting for other programs to let go of UDP 514

    def remaining_s(self):
        """Time left in the budget; waiting for another program to free UDP 514 does not count."""
        spent = time.time() - self.args.started_at - self.port_waited_s
        return TIME_BUDGET_S - END_MARGIN_S - spent

    # ---- Wine programs -------------------------------------------------------

    def wine(self, *command, **options):
        pinned = ["taskset", "-c", str(WINE_CPU)] if self.args.pinned else []
        return subprocess.Popen([*pinned, "wine", *command], stdin=subprocess.DEVNULL, **options)

    def run_to_file(self, command, timeout):
        """Runs a Wine program with its output in a file, never a pipe: a Wine
        service it happens to start would hold a pipe open for good. Answers the
        exit code (None when stopped at the timeout) and the output."""
        with tempfile.TemporaryFile(dir=self.scratch) as output:
            process = self.wine(*command, stdout=output, stderr=subprocess.DEVNULL)
            try:
                code = process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                stop(process)
                code = None
            output.seek(0)
            return code, output.read()

    def probe(self, monitor_exe, *arguments, timeout=60):
        """Runs the probe on the monitor started from monitor_exe (a host path)."""
        code, output = self.run_to_file([self.args.probe, windows_path(monitor_exe), *arguments], timeout)
        if code is None:
            log(f"probe {' '.join(arguments)} did not answer within {timeout} s")
        return code, output

    def start_holding_514(self, command, cwd=None, started=lambda process: True):
        """Starts a receiver once UDP 514 is free and answers it once it holds the
        port itself. Other programs' tests take the port now and then: a start
        that loses it to them is tried again, and counts as waiting for them."""
        deadline = time.monotonic() + PORT_WAIT_S
        while time.monotonic() < deadline:
            self.wait_for_free_port()
            attempt_started = time.monotonic()
            process = self.wine(*command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if started(process) and wait_for_syslog_port_held(process.pid, alive=lambda: process.poll() is None):
                return process
            log(f"{os.path.basename(command[0])} did not get UDP 514; trying again")
            stop(process)
            self.port_waited_s += time.monotonic() - attempt_started
            self.wait_for_free_port(OWN_RELEASE_S)
        raise RuntimeError(f"{command[0]} never held UDP 514")

    def wait_for_free_port(self, own_release_s=0.0):
        """Until nobody holds UDP 514; for the first own_release_s seconds it is our
        own receiver's socket, still being closed. Another program's time is not ours."""
        self.port_waited_s += wait_for_free_syslog_port(
            PORT_WAIT_S, own_release_s, lambda: log("UDP 514 is in use; waiting for it to be free"))

    def end_receiver(self, process):
        program = process.args[process.args.index("wine") + 1]
        if process.poll() is None and os.path.basename(program) == EXE_NAME:
            self.probe(program, "close")
        try:
            process.wait(timeout=120)
        except subprocess.TimeoutExpired:
            log(f"{program} did not end; stopping it")
            stop(process)
        self.wait_for_free_port(OWN_RELEASE_S)

    # ---- network steps -------------------------------------------------------

    def bare_run(self, send, count, buffer_bytes=None):
        """The bare loop receiving what send() sends, with the system's default
        receive buffer or one of buffer_bytes."""
        folder = tempfile.mkdtemp(prefix="bare-", dir=self.scratch)
        output = os.path.join(folder, "sequence.txt")
        size = [str(buffer_bytes)] if buffer_bytes else []
        receiver = self.start_holding_514([self.args.bare_receiver, windows_path(output), *size])
        sent = send()
        port_memory = socket_memory()  # the kernel has dropped what it drops once the sending is done
        self.end_receiver(receiver)  # it ends by itself once nothing has come for two seconds
        with open(output) as lines:
            sequence = [int(line) for line in lines if line.strip()]
        shutil.rmtree(folder, ignore_errors=True)
        return {**sent, **port_memory, **sequence_figures(sequence, count)}

    def bare_step(self, rate):
        return {"rate_asked": rate, **self.bare_run(lambda: load.send_numbered_lines(rate),
                                                    load.DATAGRAMS_PER_STEP, MONITOR_BUFFER_BYTES)}

    def write_monitor_folder(self, folder, display, rules=False, keep_rows=None, traffic=False, columns=False):
        """A copy of the monitor with its INI beside it: display as asked, auto-scroll and the Capture file on,
        the twenty watch rules when asked, as many rows kept as asked (else the default), the status bar
        when the traffic is watched, and six optional columns when asked."""
        exe = os.path.join(folder, EXE_NAME)
        shutil.copy(self.args.monitor, exe)
        capture = os.path.join(folder, "capture.csv")
        kept = {"KeepRows": keep_rows} if keep_rows else {}
        status_bar = {"StatusBar": 1} if traffic else {}
        shown = SHOWN_COLUMNS if columns else {}
        with open(os.path.join(folder, INI_NAME), "wb") as ini:
            ini.write(settings_ini(Autoscroll=1, ToDisplay=1 if display else 0, ToFile=1, FileName=windows_path(capture),
                                   **kept, **status_bar, **shown))
            if rules:
                ini.write(watch_rules.section())
        return exe, capture

    def damaged_rules(self, monitor_exe):
        """How many of the watch rules the monitor's pane says it could not read."""
        code, output = self.probe(monitor_exe, "pane")
        _, _, text = output.decode(errors="replace").strip().partition(" ")
        return bytes.fromhex(text).decode("latin-1").count(DAMAGED_RULE_TEXT) if code == 0 else None

    def rules_ini(self):
        """An INI file holding the watch rules alone, for the in-process figures."""
        path = os.path.join(self.scratch, "rules.ini")
        with open(path, "wb") as ini:
            ini.write(watch_rules.section())
        return path

    def wait_until_settled(self, path, settle_s=SETTLE_S):
        """Until the file has not grown for settle_s: each record's line and row come together."""
        last = file_size(path)
        quiet_since = time.monotonic()
        deadline = quiet_since + LONGEST_SETTLE_S
        while time.monotonic() - quiet_since < settle_s and time.monotonic() < deadline:
            time.sleep(0.2)
            now = file_size(path)
            if now != last:
                last = now
                quiet_since = time.monotonic()

    def start_monitor(self, exe, folder):
        """The monitor copied to folder, once its window is up and it holds UDP 514."""
        return self.start_holding_514([exe], cwd=folder,
                                      started=lambda process: self.probe(exe, "wait", "30000")[0] == 0)

    def start_watch(self, exe, samples, stop_file, *row_poll_ms):
        """The probe sampling the monitor's row count and WM_NULL round trips into samples until stop_file
        exists; started WATCH_LEAD_S before it is answered, so it samples the idle monitor first."""
        watch = self.wine(self.args.probe, windows_path(exe), "watch", windows_path(samples),
                          windows_path(stop_file), *map(str, row_poll_ms),
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(WATCH_LEAD_S)
        return watch

    def filter_host(self, exe, host):
        """A filter showing only the host, chosen in the Filter dialog among the hosts the rows name: one line
        naming it is sent first, then cleared away with its row; the filter stays."""
        load.send_host_line()
        deadline = time.monotonic() + FIRST_ROW_S
        while not self.probe_value(exe, "count") >= 1 and time.monotonic() < deadline:
            time.sleep(0.2)
        code, output = self.probe(exe, "filterhost", host)
        if code != 0 or self.probe(exe, "clear")[0] != 0:
            log(f"the host filter could not be applied: {output.decode(errors='replace').strip()}")

    def monitor_run(self, send, count, display, filter_text=None, rules=False, keep_rows=None, traffic=False,
                    columns=False, host_filter=None):
        """The monitor receiving what send() sends, with auto-scroll and the Capture file on,
        with a text filter in force when one is given, the twenty watch rules when asked, as many
        rows kept as asked, the status bar on and the Traffic window open when the traffic is watched,
        six optional columns shown when asked and a filter on a host when one is given."""
        folder = tempfile.mkdtemp(prefix="monitor-", dir=self.scratch)
        exe, capture = self.write_monitor_folder(folder, display, rules, keep_rows, traffic, columns)
        monitor = self.start_monitor(exe, folder)
        if filter_text and self.probe(exe, "filter", filter_text)[0] != 0:
            log("the filter could not be applied")
        if host_filter:
            self.filter_host(exe, host_filter)
        if traffic and self.probe(exe, "traffic")[1].split() != [b"traffic", b"yes", b"status", b"yes"]:
            log("the Traffic window or the status bar is not shown")
        samples = os.path.join(folder, "samples.txt")
        stop_file = os.path.join(folder, "stop")
        watch = self.start_watch(exe, samples, stop_file) if display else None
        sent = send()
        self.wait_until_settled(capture)
        port_memory = socket_memory()
        if watch:
            open(stop_file, "w").close()
            watch.wait(timeout=60)
        damaged = {"rules_damaged": self.damaged_rules(exe)} if rules else {}
        self.end_receiver(monitor)
        with open(capture, "rb") as file:
            lines = file.readlines()
        # Each datagram's sending time is for the lag figures alone.
        sending = {key: value for key, value in sent.items() if key != "sent_us"}
        step = {**sending, **port_memory, **damaged, "capture_lines": len(lines),
                **sequence_figures(sequence_numbers(lines), count)}
        if display:
            step.update(self.display_figures(samples, sent, step["received"]))
        shutil.rmtree(folder, ignore_errors=True)
        return step

    def monitor_step(self, rate, display, filter_text=None, rules=False, keep_rows=None, traffic=False,
                     columns=False, host_filter=None):
        return {"rate_asked": rate, **self.monitor_run(lambda: load.send_numbered_lines(rate),
                                                       load.DATAGRAMS_PER_STEP, display, filter_text, rules,
                                                       keep_rows, traffic, columns, host_filter)}

    # ---- bursts --------------------------------------------------------------

    def burst(self, count, size,
              receivers=("monitor", "monitor_filtered", "monitor_watched", "bare_default", "bare_sized")):
        """One burst into the monitor (display on), without and with a text filter
        in force, and with the twenty watch rules, then into the bare loop with the
        system's default receive buffer and with the monitor's."""
        send = functools.partial(load.send_burst, count, size)
        runs = {"count": count, "bytes": size}
        every = (("monitor", lambda: self.monitor_run(send, count, True)),
                 ("monitor_filtered", lambda: self.monitor_run(send, count, True, FILTER_TEXT)),
                 ("monitor_watched", lambda: self.monitor_run(send, count, True, rules=True)),
                 ("monitor_kept_full", lambda: self.monitor_run(send, count, True, keep_rows=KEPT_FULL_ROWS)),
                 ("monitor_traffic", lambda: self.monitor_run(send, count, True, traffic=True)),
                 ("bare_default", lambda: self.bare_run(send, count)),
                 ("bare_sized", lambda: self.bare_run(send, count, MONITOR_BUFFER_BYTES)))
        for key, run in ((key, run) for key, run in every if key in receivers):
            log(f"burst of {count:,} x {size:,} bytes: {key}")
            runs[key] = run()
            log(f"burst: {runs[key]['received']} of {count} received, {runs[key]['lost']} lost")
        return runs

    @staticmethod
    def display_figures(samples_path, sent, received):
        """Lag from the last send to the last row, and the WM_NULL round trips until then; with each
        datagram's sending time, each record's lag too."""
        rows, round_trips = read_samples(samples_path)
        shown_at = next((at for at, count in rows if count >= received), None)
        figures = {"rows_shown": rows[-1][1] if rows else 0}
        if shown_at is not None:
            figures["lag_s"] = max(0.0, (shown_at - sent["last_us"]) / 1e6)
        burst_end = shown_at if shown_at is not None else (rows[-1][0] if rows else sent["last_us"])
        during = [trip / 1000 for at, trip in round_trips if sent["first_us"] <= at <= burst_end]
        figures["null_samples"] = len(during)
        figures["null_median_ms"] = percentile(during, 0.5)
        figures["null_p99_ms"] = percentile(during, 0.99)
        figures["null_max_ms"] = max(during) if during else float("nan")
        if "sent_us" in sent:
            lags = row_lags_ms(rows, sent["sent_us"])
            figures["row_lag_p99_ms"] = percentile(lags, 0.99)
            figures["row_lag_max_ms"] = max(lags)
        return figures

    def search(self, name, step, rates):
        """The highest of the paced rates (highest first) that loses nothing, by
        halving: a rate above one that loses is taken to lose too."""
        steps = []
        top, bottom = 0, len(rates) - 1
        while top <= bottom:
            middle = (top + bottom) // 2
            rate = rates[middle]
            needed = load.DATAGRAMS_PER_STEP / rate + STEP_OVERHEAD_S
            if needed > self.remaining_s() - self.reserved_s:
                self.skipped.append(f"{name} at {rate:,}/s (not enough time left)")
                log(f"{name}: skipping {rate}/s, not enough time left")
                break
            log(f"{name}: {rate}/s")
            result = step(rate)
            steps.append(result)
            log(f"{name}: {result['received']} of {result['sent']} received, {result['lost']} lost")
            if result["lost"] == 0:
                bottom = middle - 1
            else:
                top = middle + 1
        passing = [s["rate_asked"] for s in steps if s["lost"] == 0]
        return {"steps": steps, "zero_loss_rate": max(passing) if passing else 0}

    @staticmethod
    def rates_up_to(search):
        """The rates the next, busier receiver is tried at: up to the one this one
        held without loss, or else up to the lowest it tried."""
        tried = [s["rate_asked"] for s in search["steps"]]
        ceiling = search["zero_loss_rate"] or min(tried, default=load.PACED_RATES[0])
        return [rate for rate in load.PACED_RATES if rate <= ceiling]

    # ---- the hand-off to the UI -------------------------------------------------

    def cpu_run(self, start, output, end):
        """CPU 0's time per 1,000 records for the receiver start() answers, which writes a line per
        record to output and is ended by end(receiver): CPU_RECORDS numbered lines at CPU_RATE, less
        CPU 0's idle load over the same time, divided by the records kept."""
        receiver = start()
        idle_from, idle_busy = time.monotonic(), cpu_busy_jiffies(WINE_CPU)
        time.sleep(CPU_IDLE_S)
        idle_per_s = (cpu_busy_jiffies(WINE_CPU) - idle_busy) / (time.monotonic() - idle_from)
        busy_from, busy = time.monotonic(), cpu_busy_jiffies(WINE_CPU)
        load.send_numbered_lines(CPU_RATE, CPU_RECORDS)
        self.wait_until_settled(output, CPU_SETTLE_S)
        busy, seconds = cpu_busy_jiffies(WINE_CPU) - busy, time.monotonic() - busy_from
        end(receiver)
        with open(output, "rb") as lines:
            figures = sequence_figures(sequence_numbers(lines.readlines()), CPU_RECORDS)
        cpu_s = (busy - idle_per_s * seconds) * JIFFY_S
        kept = figures["received"]
        # An idle load as large as the run's whole busy time came from something else: no figure then.
        return {**figures, "sent": CPU_RECORDS, "rate_asked": CPU_RATE, "idle_jiffies_per_s": idle_per_s,
                "busy_jiffies": busy, "seconds": seconds,
                "ms_per_1000": cpu_s * 1e6 / kept if kept and cpu_s > 0 else math.nan}

    def cpu_model_run(self, model):
        folder = tempfile.mkdtemp(prefix=f"model-{model}-", dir=self.scratch)
        output, stop_file = os.path.join(folder, "lines.txt"), os.path.join(folder, "stop")

        def end(receiver):
            open(stop_file, "w").close()
            self.end_receiver(receiver)

        figures = self.cpu_run(lambda: self.start_holding_514([self.args.receive_models, model,
                                                               windows_path(output), windows_path(stop_file)]),
                               output, end)
        shutil.rmtree(folder, ignore_errors=True)
        return figures

    def cpu_monitor_run(self, display):
        folder = tempfile.mkdtemp(prefix="monitor-cpu-", dir=self.scratch)
        exe, capture = self.write_monitor_folder(folder, display)
        figures = self.cpu_run(lambda: self.start_monitor(exe, folder), capture, self.end_receiver)
        shutil.rmtree(folder, ignore_errors=True)
        return figures

    def cpu_per_record(self):
        """The bare loop and the receive models, then the monitor with display on and off, one after
        another; only pinned, where CPU 0 carries every Wine program and nothing else of the run."""
        if not self.args.pinned:
            log("CPU per record: not measured without --pinned")
            return {}
        runs = [(model, functools.partial(self.cpu_model_run, model)) for model in RECEIVE_MODELS]
        runs += [("monitor", functools.partial(self.cpu_monitor_run, True)),
                 ("monitor_display_off", functools.partial(self.cpu_monitor_run, False))]
        wait_until_cpu_quiet(WINE_CPU)
        figures = {}
        rounds = {key: [] for key, _ in runs}
        for turn in range(CPU_ROUNDS):
            for key, run in runs:
                log(f"CPU per record, round {turn + 1}: {key}")
                figures = run()
                rounds[key].append(figures)
                log(f"CPU per record, round {turn + 1}: {key}: {report.number(figures['ms_per_1000'], 1)} ms "
                    f"per 1,000, {figures['received']:,} of {CPU_RECORDS:,} kept")
        # The median of each one's measured rounds: something else on CPU 0 now and then adds to one round or
        # takes from it.
        def median_round(runs_of_key):
            measured = sorted((figures for figures in runs_of_key if not math.isnan(figures["ms_per_1000"])),
                              key=lambda figures: figures["ms_per_1000"])
            return measured[len(measured) // 2] if measured else runs_of_key[0]

        return {key: {**median_round(runs_of_key),
                      "rounds_ms_per_1000": [figures["ms_per_1000"] for figures in runs_of_key]}
                for key, runs_of_key in rounds.items()}

    def lone_datagrams(self):
        """LONE_DATAGRAMS numbered lines into the monitor (display on), each after LONE_QUIET_S of quiet:
        from its sending to its row, as the watch probe polling every LONE_ROW_POLL_MS sees it."""
        folder = tempfile.mkdtemp(prefix="lone-", dir=self.scratch)
        exe, _ = self.write_monitor_folder(folder, True)
        monitor = self.start_monitor(exe, folder)
        samples, stop_file = os.path.join(folder, "samples.txt"), os.path.join(folder, "stop")
        watch = self.start_watch(exe, samples, stop_file, LONE_ROW_POLL_MS)
        sent_us = load.send_lone_lines(LONE_DATAGRAMS, LONE_QUIET_S)
        time.sleep(LONE_QUIET_S)
        open(stop_file, "w").close()
        watch.wait(timeout=60)
        self.end_receiver(monitor)
        rows, _ = read_samples(samples)
        shutil.rmtree(folder, ignore_errors=True)
        lags = row_lags_ms(rows, sent_us)
        return {"sent": len(sent_us), "lags_ms": lags, "median_ms": percentile(lags, 0.5), "max_ms": max(lags)}

    def steady_step(self):
        """STEADY_RECORDS numbered lines at STEADY_RATE into the monitor, display on: each record's lag
        and the WM_NULL round trips meanwhile."""
        return {"rate_asked": STEADY_RATE, **self.monitor_run(
            lambda: load.send_timed_lines(STEADY_RATE, STEADY_RECORDS), STEADY_RECORDS, True)}

    def handoff(self):
        """What the hand-off to the UI costs in CPU, and how soon what it hands over is shown."""
        figures = {"cpu": self.cpu_per_record()}
        log("a lone datagram after a quiet time")
        figures["lone"] = self.lone_datagrams()
        log(f"every record's lag at {STEADY_RATE:,}/s")
        figures["steady"] = self.steady_step()
        return figures

    # ---- calling the user --------------------------------------------------------

    def probe_to_file(self, arguments, output):
        """A probe that runs until told to stop, its output into the file at the path output."""
        with open(output, "wb") as file:
            return self.wine(self.args.probe, *arguments, stdout=file, stderr=subprocess.STDOUT)

    def calls_run(self):
        """The twenty rules in force and another program's window in front of the
        monitor: CALLS_MATCHING matching datagrams over CALLS_QUIET_S, and how the
        monitor calls the user, as a probe sees it on the screen: the caption of
        its window drawn active (a flash) and the notifications the tray shows."""
        prefix = os.path.join(os.path.dirname(os.environ["WINEPREFIX"]), DESKTOP_PREFIX)
        folder = tempfile.mkdtemp(prefix="calls-", dir=self.scratch)
        told, samples = os.path.join(folder, "front.txt"), os.path.join(folder, "calls.txt")
        stop_files = [os.path.join(folder, "calls.stop"), os.path.join(folder, "front.stop")]
        with IsolatedWine(prefix):
            make_desktop_the_default()
            link_wine_fonts(prefix)
            exe, capture = self.write_monitor_folder(folder, True, rules=True)
            monitor = self.start_monitor(exe, folder)
            probes = [self.probe_to_file([windows_path(exe), "calls", windows_path(samples),
                                          windows_path(stop_files[0])], os.path.join(folder, "calls-probe.txt")),
                      self.probe_to_file(["front", windows_path(stop_files[1])], told)]
            try:
                wait_until(lambda: open(told, "rb").read().strip(), CALLS_START_S, "the other program's window")
                wait_until(lambda: {"caption", "balloon"} <= {kind for kind, _, _ in call_samples(samples)},
                           CALLS_START_S, "the first samples of the calls")
                sent = load.send_matching_lines(CALLS_MATCHING, CALLS_QUIET_S)
                until = sent["first_us"] / 1e6 + CALLS_QUIET_S + report.WINE_BALLOON_DELAY_S + CALLS_AFTER_S
                time.sleep(max(0.0, until - time.time()))
                self.wait_until_settled(capture)
            except AssertionError as error:  # a probe did not come up: no figures, the rest of the run goes on
                log(f"calling the user: {error}")
                sent = None
            finally:
                for stop_file, process in zip(stop_files, probes):
                    open(stop_file, "w").close()
                    process.wait(timeout=60)
                self.end_receiver(monitor)
            with open(capture, "rb") as file:
                received = len(file.readlines())
            in_front = open(told, "rb").read().strip() == b"front yes"
            figures = self.calls_figures(call_samples(samples), sent) if sent else {}
        shutil.rmtree(folder, ignore_errors=True)
        return {**(sent or {}), "received": received, "other_window_in_front": in_front, **figures}

    @staticmethod
    def calls_figures(samples, sent):
        """From the first datagram: the flash; the first notification, and from the datagram whose message
        it shows; the notifications shown in the quiet time from the first, and when the next came."""
        first_s = sent["first_us"] / 1e6
        caption = [(at, value) for kind, at, value in samples if kind == "caption" and at >= first_s]
        shown = [(at, value) for kind, at, value in samples if kind == "balloon" and value != "none"]
        flashed = next((at - first_s for at, value in caption if value == "active"), None)
        figures = {"flash_s": flashed, "notifications": len(shown)}
        if not shown:
            return figures
        first_at, first_text = shown[0]
        numbers = sequence_numbers([bytes.fromhex(first_text)])
        # The datagrams are numbered 0, 100, 200, ... and paced evenly.
        datagram_s = first_s + numbers[0] // 100 / sent["rate"] if numbers else math.nan
        later = [at for at, _ in shown if at >= first_at + CALLS_QUIET_S]
        return {**figures, "first_notification_s": first_at - datagram_s,
                "first_notification_number": numbers[0] if numbers else None,
                "notifications_in_quiet_time": sum(1 for at, _ in shown if at < first_at + CALLS_QUIET_S),
                "next_notification_after_s": later[0] - first_at if later else None}

    # ---- the million rows ------------------------------------------------------

    def rows_bench(self, mode):
        arguments = [windows_path(self.rules_ini())] if mode == "watch" else []
        code, output = self.run_to_file([self.args.rows_bench, mode, *arguments], ROWS_TIMEOUTS_S[mode])
        if code is None:
            log(f"rows_bench {mode} ran out of time")
        values = {}
        for line in output.decode(errors="replace").splitlines():
            key, _, value = line.partition("=")
            if value:
                values[key.strip()] = float(value)
        return values

    @staticmethod
    def projected_clear_s(values):
        """A Clear stopped early: the rows still left, at the rate of its last five seconds."""
        samples = []
        while f"clear_t_{len(samples)}" in values:
            k = len(samples)
            samples.append((values[f"clear_t_{k}"], values[f"clear_left_{k}"]))
        if len(samples) < 2:
            return float("nan")
        end_t, end_left = samples[-1]
        start_t, start_left = next((t, left) for t, left in samples if t >= end_t - 5)
        if start_t == end_t:
            start_t, start_left = samples[-2]
        rate = (start_left - end_left) / (end_t - start_t)
        return values["clear_s"] + end_left / rate if rate > 0 else float("inf")

    def million_rows(self):
        figures = {}
        for mode in ("records", "listview", "monitor", "filter", "columns", "watch"):
            log(f"rows: {mode}")
            figures[mode] = self.rows_bench(mode)
        monitor = figures["monitor"]
        if monitor.get("clear_finished") == 0:
            monitor["clear_projected_s"] = self.projected_clear_s(monitor)
            samples = [k for k in monitor if k.startswith("clear_left_")]
            monitor["clear_left"] = monitor[max(samples, key=lambda k: int(k.rsplit("_", 1)[1]))]
        return figures

    # ---- a million rows through the network ------------------------------------

    def probe_value(self, monitor_exe, command):
        """The number a probe command prints after its name, or nan."""
        code, output = self.probe(monitor_exe, command)
        _, _, value = output.decode(errors="replace").strip().partition(" ")
        return float(value) if code == 0 and value else float("nan")

    def wait_until_rows_settle(self, monitor_exe):
        """Until the list's row count has not changed for SETTLE_S."""
        last = self.probe_value(monitor_exe, "count")
        quiet_since = time.monotonic()
        deadline = quiet_since + LONGEST_SETTLE_S
        while time.monotonic() - quiet_since < SETTLE_S and time.monotonic() < deadline:
            time.sleep(0.5)
            now = self.probe_value(monitor_exe, "count")
            if now != last:
                last = now
                quiet_since = time.monotonic()
        return last

    def network_rows(self):
        """The running program, display and auto-scroll on, sent a million numbered
        lines: private bytes per row held, then Clear timed and what it gave back."""
        folder = tempfile.mkdtemp(prefix="rows-", dir=self.scratch)
        exe, _ = self.write_monitor_folder(folder, True)
        monitor = self.start_monitor(exe, folder)
        before = self.probe_value(exe, "memory")
        for _ in range(NETWORK_ROWS // load.DATAGRAMS_PER_STEP):
            load.send_numbered_lines(NETWORK_ROWS_RATE)
        rows = self.wait_until_rows_settle(exe)
        at_rows = self.probe_value(exe, "memory")
        clear_s = self.probe_value(exe, "clear")
        after_clear = self.probe_value(exe, "memory")
        self.end_receiver(monitor)
        shutil.rmtree(folder, ignore_errors=True)
        return {"sent": NETWORK_ROWS, "rate_asked": NETWORK_ROWS_RATE, "rows": rows,
                "private_bytes_before": before, "private_bytes_at_rows": at_rows,
                "bytes_per_row": (at_rows - before) / rows if rows else float("nan"),
                "clear_s": clear_s, "private_bytes_after_clear": after_clear,
                "after_clear_to_before": after_clear / before}

    # ---- the run ---------------------------------------------------------------

    def run_rows_only(self):
        """The million rows alone, in process and through the network."""
        results = {"rows": self.million_rows(), "network_rows": self.network_rows()}
        shutil.rmtree(self.scratch, ignore_errors=True)
        return results

    def run_filter_only(self):
        """What the filter changes, each figure beside the same one without it, in one run:
        the bursts and the paced rate into the monitor (display on), and the filter in process."""
        results = {"load_before": os.getloadavg()[0], "rmem_max": host_rmem_max()}
        results["bursts"] = [self.burst(count, size, ("monitor", "monitor_filtered")) for count, size in load.BURSTS]
        results["on"] = self.search("monitor, display on", lambda rate: self.monitor_step(rate, True),
                                    load.PACED_RATES)
        results["on_filtered"] = self.search("monitor, display on, text filter",
                                             lambda rate: self.monitor_step(rate, True, FILTER_TEXT),
                                             load.PACED_RATES)
        results["rows"] = {"filter": self.rows_bench("filter")}
        results["load_after"] = os.getloadavg()[0]
        shutil.rmtree(self.scratch, ignore_errors=True)
        return results

    def run_watch_only(self):
        """What the twenty watch rules change, each figure beside the same one without them, in one run:
        the bursts and the paced rate into the monitor (display on), and the rules in process; then
        calling the user under a flood of matches."""
        results = {"load_before": os.getloadavg()[0], "rmem_max": host_rmem_max()}
        results["bursts"] = [self.burst(count, size, ("monitor", "monitor_watched")) for count, size in load.BURSTS]
        results["on"] = self.search("monitor, display on", lambda rate: self.monitor_step(rate, True),
                                    load.PACED_RATES)
        results["on_watched"] = self.search("monitor, display on, watch rules",
                                            lambda rate: self.monitor_step(rate, True, rules=True),
                                            load.PACED_RATES)
        results["rows"] = {"watch": self.rows_bench("watch")}
        results["calls"] = self.calls_run()
        results["load_after"] = os.getloadavg()[0]
        shutil.rmtree(self.scratch, ignore_errors=True)
        return results

    def run_book_only(self):
        """The list kept full, each figure beside the same one with room to spare, in one run: the bursts
        and the paced rate into the monitor (display on), and in process ten million records through a
        list of the newest million and ten million rows held."""
        results = {"load_before": os.getloadavg()[0], "rmem_max": host_rmem_max(), "kept_full_rows": KEPT_FULL_ROWS}
        results["bursts"] = [self.burst(count, size, ("monitor", "monitor_kept_full")) for count, size in load.BURSTS]
        results["on"] = self.search("monitor, display on", lambda rate: self.monitor_step(rate, True),
                                    load.PACED_RATES)
        results["on_kept_full"] = self.search("monitor, display on, list kept full",
                                              lambda rate: self.monitor_step(rate, True, keep_rows=KEPT_FULL_ROWS),
                                              load.PACED_RATES)
        results["rows"] = {"book": self.rows_bench("book")}
        results["load_after"] = os.getloadavg()[0]
        shutil.rmtree(self.scratch, ignore_errors=True)
        return results

    def run_handoff_only(self):
        """The hand-off to the UI and every figure its targets take, in one run: CPU per record, a lone
        datagram, the lag at a steady rate, the bursts into the monitor, and the paced rates of the bare
        loop and of the monitor with display on."""
        results = {"load_before": os.getloadavg()[0], "rmem_max": host_rmem_max()}
        results["handoff"] = self.handoff()
        results["bursts"] = [self.burst(count, size, ("monitor",)) for count, size in load.BURSTS]
        results["bare"] = self.search("bare loop", self.bare_step, load.PACED_RATES)
        results["on"] = self.search("monitor, display on", lambda rate: self.monitor_step(rate, True),
                                    self.rates_up_to(results["bare"]))
        results["load_after"] = os.getloadavg()[0]
        shutil.rmtree(self.scratch, ignore_errors=True)
        return results

    def run_traffic_only(self):
        """What watching the traffic changes, in one run: the paced rate into the monitor (display on) with the
        status bar on and the Traffic window open, beside it with both off, and the bursts so; and the counters and
        the window in process."""
        results = {"load_before": os.getloadavg()[0], "rmem_max": host_rmem_max()}
        results["bursts"] = [self.burst(count, size, ("monitor", "monitor_traffic")) for count, size in load.BURSTS]
        results["on"] = self.search("monitor, display on", lambda rate: self.monitor_step(rate, True),
                                    load.PACED_RATES)
        results["on_traffic"] = self.search("monitor, display on, status bar and Traffic window",
                                            lambda rate: self.monitor_step(rate, True, traffic=True),
                                            load.PACED_RATES)
        results["rows"] = {"traffic": self.rows_bench("traffic")}
        results["load_after"] = os.getloadavg()[0]
        shutil.rmtree(self.scratch, ignore_errors=True)
        return results

    def run_columns_only(self):
        """What the header's columns and a filter on a host change, in one run: the paced rate into the monitor
        (display on) with six optional columns shown and a filter on the lines' host (which passes every line)
        in force, beside it with neither; and in process the headers of a million rows read and screens of rows
        painted with every column shown."""
        results = {"load_before": os.getloadavg()[0], "rmem_max": host_rmem_max()}
        results["on"] = self.search("monitor, display on", lambda rate: self.monitor_step(rate, True),
                                    load.PACED_RATES)
        results["on_columns"] = self.search(
            "monitor, display on, six columns and a host filter",
            lambda rate: self.monitor_step(rate, True, columns=True, host_filter=load.HOST), load.PACED_RATES)
        results["rows"] = {"columns": self.rows_bench("columns")}
        results["load_after"] = os.getloadavg()[0]
        shutil.rmtree(self.scratch, ignore_errors=True)
        return results

    def run(self):
        results = {"load_before": os.getloadavg()[0], "rmem_max": host_rmem_max(),
                   "monitor_buffer_bytes": MONITOR_BUFFER_BYTES}
        self.reserved_s = ROWS_BENCH_S + NETWORK_ROWS_S
        results["bursts"] = [self.burst(count, size) for count, size in load.BURSTS]
        # The hand-off's CPU rounds would not fit in the time budget beside these: --handoff-only measures it.
        results["bare"] = self.search("bare loop", self.bare_step, load.PACED_RATES)
        results["off"] = self.search("monitor, display off", lambda rate: self.monitor_step(rate, False),
                                     self.rates_up_to(results["bare"]))
        results["on"] = self.search("monitor, display on", lambda rate: self.monitor_step(rate, True),
                                    self.rates_up_to(results["off"]))
        # The paced rates with a filter or the rules would not fit in the time
        # budget beside these: --filter-only and --watch-only measure them.
        self.reserved_s = 0
        results["rows"] = self.million_rows()
        results["network_rows"] = self.network_rows()
        results["load_after"] = os.getloadavg()[0]
        results["run_s"] = time.time() - self.args.started_at
        results["port_wait_s"] = self.port_waited_s
        results["skipped"] = self.skipped
        shutil.rmtree(self.scratch, ignore_errors=True)
        return results


def call_samples(path):
    """(kind, seconds since 1970, value) of each sample the probe's calls command wrote so far;
    a line still being written is left for the next look."""
    if not os.path.exists(path):
        return []
    with open(path) as samples:
        return [(kind, int(at) / 1e6, value)
                for kind, at, value in (line.split() for line in samples if line.endswith("\n") and line.strip())]


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--monitor", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--bare-receiver", required=True)
    parser.add_argument("--rows-bench", required=True)
    parser.add_argument("--output", required=True)
    parser.add_argument("--started-at", type=float, default=time.time(),
                        help="when the whole run began (seconds since 1970), for the time budget")
    parser.add_argument("--rows-only", action="store_true",
                        help="only the million rows, in process and through the network; figures as JSON")
    parser.add_argument("--filter-only", action="store_true",
                        help="only the figures the filter changes, with and without it; the filter's table")
    parser.add_argument("--watch-only", action="store_true",
                        help="only the figures the watch rules change, with and without them; the rules' table")
    parser.add_argument("--receive-models", required=True)
    parser.add_argument("--handoff-only", action="store_true",
                        help="only the figures of the hand-off to the UI; its table")
    parser.add_argument("--book-only", action="store_true",
                        help="only the figures of the list kept full, beside the same with room to spare; its table")
    parser.add_argument("--traffic-only", action="store_true",
                        help="only the figures watching the traffic changes: the paced rate with the status bar "
                             "and the Traffic window against without, the counters and the window in process")
    parser.add_argument("--columns-only", action="store_true",
                        help="only the figures of the header's columns: the paced rate with six columns and a host "
                             "filter against neither, the headers read and the rows painted in process")
    parser.add_argument("--pinned", action="store_true",
                        help=f"Wine programs on CPU {WINE_CPU}, the sender on CPU {SENDER_CPU}; start the Wine "
                             f"session itself on CPU {WINE_CPU}")
    args = parser.parse_args()
    if args.pinned:
        os.sched_setaffinity(0, {SENDER_CPU})

    # One part alone: every figure beside the results file, as JSON, and its table (or the figures) printed.
    parts = ((args.handoff_only, Bench.run_handoff_only, lambda results: "\n".join(report.handoff_section(results))),
             (args.filter_only, Bench.run_filter_only, lambda results: "\n".join(report.filter_section(results))),
             (args.watch_only, Bench.run_watch_only, lambda results: "\n".join(report.watch_section(results))),
             (args.book_only, Bench.run_book_only, lambda results: "\n".join(report.book_section(results))),
             (args.traffic_only, Bench.run_traffic_only,
              lambda results: "\n".join(report.traffic_section(results))),
             (args.columns_only, Bench.run_columns_only,
              lambda results: "\n".join(report.columns_section(results))),
             (args.rows_only, Bench.run_rows_only, lambda results: json.dumps(results, indent=1)))
    for wanted, run_part, text in parts:
        if not wanted:
            continue
        results = run_part(Bench(args))
        os.makedirs(os.path.dirname(os.path.abspath(args.output)), exist_ok=True)
        with open(os.path.splitext(args.output)[0] + ".json", "w") as raw:
            json.dump(results, raw, indent=1)
        print(text(results))
        return
    results = Bench(args).run()
    text = report.report(results)
    os.makedirs(os.path.dirname(os.path.abspath(args.output)), exist_ok=True)
    with open(args.output, "w") as output:
        output.write(text)
    with open(os.path.splitext(args.output)[0] + ".json", "w") as raw:
        json.dump(results, raw, indent=1)  # every figure, for a second look
    print(text)


if __name__ == "__main__":
    main()
