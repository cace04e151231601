"""Measures the real keyvora.exe under Wine in Xvfb and prints one table of figures, each next to
its goal and to a reference program measured in the same run; writes the table to bench/results.md.

Runs are driven as a user drives them: script files opened with the program's open dialog (the
path typed in), the recorder chosen in the target drop-down, Home to start and stop. Home is
pressed by bench_agent.exe with SendInput from inside the Wine prefix, which stamps the press with
the clock the recorder stamps its log with.

Environment: KEYVORA_BUILD_DIR (the mingw build tree), KEYVORA_E2E_WORK (scratch folder),
KEYVORA_E2E_PREFIX (the Wine prefix).
"""

import datetime
import os
import platform
import re
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness  # noqa: E402
from harness import App, Environment, Recorder, wait_for, windows_path  # noqa: E402

BENCH_DIR = harness.BUILD_DIR / "bench"
RESULTS = Path(__file__).resolve().parent / "results.md"

KEY_STEP = "按键：{}键"
PIECE = "丨"
KEYS = "ABCDEFGHIJ"
PACING = ((1, 200), (10, 200), (100, 200), (1000, 20))


# --- helpers -------------------------------------------------------------------------------------

def agent(env, *args, timeout=90):
    """Runs bench_agent.exe; returns its output as a dict of the name-value pairs it prints."""
    with tempfile.TemporaryFile() as output:
        result = subprocess.run(["timeout", str(timeout), "wine", BENCH_DIR / "bench_agent.exe", *map(str, args)],
                                env=env.env(), stdout=output, stderr=subprocess.DEVNULL, timeout=timeout + 10)
        output.seek(0)
        text = output.read().decode()
    if result.returncode != 0:
        raise RuntimeError(f"bench_agent {' '.join(map(str, args))} failed ({result.returncode}): {text!r}")
    words = text.split()
    return {words[i]: float(words[i + 1]) for i in range(0, len(words) - 1, 2)}


def write_script(path, rows):
    """A script file: step text, 丨, delay, CR LF per row, in GBK."""
    path.write_bytes(b"".join((step + PIECE + str(delay) + "\r\n").encode("gbk") for step, delay in rows))
    return path


def percentile(values, fraction):
    ordered = sorted(values)
    index = min(len(ordered) - 1, max(0, int(round(fraction * (len(ordered) - 1)))))
    return ordered[index]


def stable_messages(recorder, names=("WM_KEYDOWN", "WM_KEYUP"), quiet=1.0, timeout=120):
    """The recorder's messages once its log has stopped growing for `quiet` seconds (its queue drained)."""
    deadline = time.monotonic() + timeout
    last = -1
    while time.monotonic() < deadline:
        size = recorder.log_path.stat().st_size
        if size == last:
            break
        last = size
        time.sleep(quiet)
    return recorder.messages(names)


def key_run_check(messages):
    """Walks key messages that must come as down/up pairs of the same key, the keys cycling through
    KEYS. Returns (complete pairs, breaks): a break is a place where that pattern is broken, as a
    lost message or a lost step leaves it."""
    pairs, breaks, previous, i = 0, 0, None, 0
    while i < len(messages):
        _, name, key, _ = messages[i]
        if name == "WM_KEYDOWN" and i + 1 < len(messages) and messages[i + 1][1:3] == ("WM_KEYUP", key):
            if previous is not None and chr(previous) in KEYS and key != ord(KEYS[(KEYS.index(chr(previous)) + 1) % len(KEYS)]):
                breaks += 1
            previous = key
            pairs += 1
            i += 2
        else:
            breaks += 1
            previous = None
            i += 1
    return pairs, breaks


class Session:
    """One Keyvora with one recorder chosen as its target."""

    def __init__(self, env):
        self.env = env
        self.recorder = Recorder(env, "Bench Recorder").start()
        self.app = App(env).start()
        self.entry = self.app.choose_target(f"丨 {self.recorder.hwnd}")

    def load(self, path, rows):
        self.app.open_file(path)
        agent(self.env, "rows", self.app.hwnd, rows, 60)

    def home(self, state):
        return agent(self.env, "home", self.app.hwnd, state)

    def stop(self):
        self.app.stop()
        self.recorder.stop()


# --- the measurements ----------------------------------------------------------------------------

def lateness(downs, delay):
    """Interval between consecutive key-downs minus the delay, in ms: (median, p99, intervals)."""
    late = [(b - a) / 1000 - delay for a, b in zip(downs, downs[1:])]
    return statistics.median(late), percentile(late, 0.99), len(late)


def run_reference(env, *args, timeout=120):
    with tempfile.TemporaryFile() as output:
        subprocess.run(["timeout", str(timeout), "wine", BENCH_DIR / "post_reference.exe", *map(str, args)],
                       env=env.env(), stdout=output, stderr=subprocess.DEVNULL, timeout=timeout + 10, check=True)
        output.seek(0)
        words = output.read().decode().split()
    return {words[i]: float(words[i + 1]) for i in range(0, len(words) - 1, 2)}


def pace_once(session, work, delay, count, minimised=False):
    path = write_script(work / f"pacing-{delay}.ini", [(KEY_STEP.format("A"), delay)] * count)
    session.load(path, count)
    if minimised:
        agent(session.env, "show", session.app.hwnd, 6)
    started = session.home("busy")["pressed_us"]
    downs = wait_for(lambda: (lambda d: d if len(d) >= count else None)(
        [m[0] for m in session.recorder.key_downs() if m[0] > started]),
        timeout=count * delay / 1000 * 3 + 20, what=f"{count} steps of {delay} ms")
    stopped = session.home("idle")["pressed_us"]
    if minimised:
        agent(session.env, "show", session.app.hwnd, 9)
    return lateness(downs[:count], delay), stopped


def measure_pacing(env, work):
    """Intervals between consecutive steps at the recorder, minus the delay, within one pass; and
    the same for post_reference.exe pacing its posts with the same kind of wait."""
    session = Session(env)
    results = {}
    try:
        for delay, count in PACING:
            keyvora, stopped = pace_once(session, work, delay, count)

            time.sleep(0.5)
            run_reference(env, session.recorder.hwnd, "paced", delay, count, timeout=int(count * delay / 1000 * 3 + 30))
            reference_downs = [m[0] for m in stable_messages(session.recorder, names=("WM_KEYDOWN",), quiet=0.3)
                               if m[0] > stopped]
            reference = lateness(reference_downs[-count:], delay)
            results[delay] = (keyvora, reference)
            print(f"  pacing {delay} ms: keyvora median {keyvora[0]:+.3f} ms, p99 {keyvora[1]:+.3f} ms; "
                  f"reference median {reference[0]:+.3f} ms, p99 {reference[1]:+.3f} ms", flush=True)
        # Where the time goes: the same 1 ms script with the main window minimised, so the step
        # list's selection changes are not painted.
        results["1 ms, main window minimised"] = (pace_once(session, work, 1, 200, minimised=True)[0], None)
        print(f"  pacing 1 ms minimised: {results['1 ms, main window minimised'][0]}", flush=True)
    finally:
        session.stop()
    return results


def measure_throughput(env, work, seconds=10.0):
    """Steps per second reaching the recorder with every delay 0, and messages lost; then the same
    recorder program fed by post_reference.exe for the same time."""
    session = Session(env)
    try:
        path = write_script(work / "delay-0.ini", [(KEY_STEP.format(k), 0) for k in KEYS])
        session.load(path, len(KEYS))
        started = session.home("busy")["pressed_us"]
        time.sleep(seconds)
        stopped = session.home("idle")["pressed_us"]
        messages = [m for m in stable_messages(session.recorder) if m[0] > started]
        pairs, breaks = key_run_check(messages)
        window_end = messages[0][0] + seconds * 1e6 if messages else 0
        in_window = sum(1 for m in messages if m[1] == "WM_KEYDOWN" and m[0] <= window_end)
        drained_s = (messages[-1][0] - stopped) / 1e6 if messages else 0
        keyvora = dict(rate=in_window / seconds, pairs=pairs, breaks=breaks,
                       incomplete_last=messages[-1][1] != "WM_KEYUP" if messages else False,
                       run_s=(stopped - started) / 1e6, drained_s=drained_s)
    finally:
        session.stop()

    recorder = Recorder(env, "Bench Recorder").start()
    try:
        figures = run_reference(env, recorder.hwnd, seconds, timeout=int(seconds + 30))
        posted, failed = int(figures["posted"]), int(figures["failed"])
        messages = stable_messages(recorder)
        pairs, breaks = key_run_check(messages)
        window_end = messages[0][0] + seconds * 1e6 if messages else 0
        in_window = sum(1 for m in messages if m[1] == "WM_KEYDOWN" and m[0] <= window_end)
        reference = dict(rate=in_window / seconds, pairs=pairs, breaks=breaks, posted=posted, failed=failed,
                         post_rate=posted / seconds, lost=2 * posted - len(messages))
    finally:
        recorder.stop()
    print(f"  throughput: keyvora {keyvora}, reference {reference}", flush=True)
    return keyvora, reference


def measure_stop_latency(env, work, trials=5):
    """From the Home press during a 5000 ms delay to the run button's idle caption; and whether any
    step reached the recorder after the press (checked over a further 5.5 s, longer than the delay)."""
    session = Session(env)
    latencies, late_steps = [], 0
    try:
        path = write_script(work / "delay-5000.ini", [(KEY_STEP.format("A"), 5000)])
        session.load(path, 1)
        for _ in range(trials):
            started = session.home("busy")["pressed_us"]
            wait_for(lambda: [m for m in session.recorder.key_downs() if m[0] > started], timeout=10,
                     what="the first step")
            time.sleep(1.0)
            stop = session.home("idle")
            latencies.append((stop["shown_us"] - stop["pressed_us"]) / 1000)
            time.sleep(5.5)
            late_steps += sum(1 for m in session.recorder.messages() if m[0] > stop["pressed_us"])
    finally:
        session.stop()
    print(f"  stop latency: {', '.join(f'{v:.1f}' for v in latencies)} ms; messages after the press: {late_steps}",
          flush=True)
    return latencies, late_steps


def measure_target_fill(env, work, counts=(10, 50, 100)):
    """One fill with 10, 50 and 100 extra processes: the program's algorithm against the
    per-process one (target_fill.exe), with Keyvora itself running among them."""
    app = App(env).start()
    rows = {}
    try:
        folder = work / "fill"
        process = subprocess.Popen(["timeout", "900", "wine", BENCH_DIR / "target_fill.exe", windows_path(folder),
                                    *map(str, counts)], env=env.env(),
                                   stdout=subprocess.PIPE, stderr=sys.stderr, text=True)
        for line in process.stdout:
            words = line.split()
            if not words or words[0] != "extra":
                continue
            figures = {words[i]: words[i + 1] for i in range(0, len(words) - 1, 2)}
            rows[int(figures["extra"])] = figures
            print(f"  target fill: {figures}", flush=True)
        process.wait(timeout=60)
    finally:
        app.stop()
    return rows


def private_bytes(process):
    """Private memory of a Wine process started from here: its anonymous resident memory (RssAnon
    of /proc). Wine answers GetProcessMemoryInfo about another process with a PrivateUsage of 0, so
    the Linux figure of the same process stands in for it."""
    status = Path(f"/proc/{process.pid}/status").read_text()
    name = re.search(r"Name:\s+(\S+)", status).group(1)
    return int(re.search(r"RssAnon:\s+(\d+) kB", status).group(1)) * 1024, name


def measure_startup_and_memory(env, work, trials=7):
    keyvora_exe = windows_path(harness.BUILD_DIR / "keyvora.exe")
    minimal_exe = windows_path(BENCH_DIR / "bench_window.exe")
    keyvora_times, minimal_times = [], []
    for trial in range(trials + 1):
        keyvora_ms = agent(env, "launch", keyvora_exe, harness.MAIN_CLASS)["ms"]
        minimal_ms = agent(env, "launch", minimal_exe, "KeyvoraBenchWindow")["ms"]
        if trial > 0:  # the first launch of each fills the file cache
            keyvora_times.append(keyvora_ms)
            minimal_times.append(minimal_ms)
        wait_for(lambda: not env.windows(harness.MAIN_CLASS), what="no Keyvora window left")

    minimal = env.spawn([BENCH_DIR / "bench_window.exe"], "bench_window.log")
    try:
        time.sleep(2.0)
        minimal_private, minimal_name = private_bytes(minimal)
    finally:
        env.forget(minimal)

    app = App(env).start()
    try:
        time.sleep(1.0)
        start_private, keyvora_name = private_bytes(app.process)
        # The open dialog brings in the shell's folder views: open a one-row script first, so the
        # per-row figure holds the rows alone.
        app.open_file(write_script(work / "rows-1.ini", [(KEY_STEP.format("A"), 1000)]))
        agent(env, "rows", app.hwnd, 1, 60)
        time.sleep(1.0)
        dialog_private, _ = private_bytes(app.process)
        rows = 10000
        path = write_script(work / "rows-10000.ini", [(KEY_STEP.format(KEYS[i % 10]), 1000 + i) for i in range(rows)])
        app.open_file(path)
        agent(env, "rows", app.hwnd, rows, 120)
        time.sleep(1.0)
        loaded_private, _ = private_bytes(app.process)
    finally:
        app.stop()

    exe = harness.BUILD_DIR / "keyvora.exe"
    stripped = work / "keyvora-stripped.exe"
    subprocess.run(["i686-w64-mingw32-strip", "-o", stripped, exe], check=True)
    figures = dict(keyvora_ms=statistics.median(keyvora_times), minimal_ms=statistics.median(minimal_times),
                   keyvora_times=keyvora_times, minimal_times=minimal_times, minimal_private=minimal_private,
                   start_private=start_private, dialog_private=dialog_private, loaded_private=loaded_private, rows=rows,
                   processes=(keyvora_name, minimal_name),
                   exe_bytes=exe.stat().st_size, stripped_bytes=stripped.stat().st_size)
    print(f"  start-up and memory: {figures}", flush=True)
    return figures


# --- the table -----------------------------------------------------------------------------------

def machine():
    cpu = next((line.split(":", 1)[1].strip() for line in Path("/proc/cpuinfo").read_text().splitlines()
                if line.startswith("model name")), platform.processor())
    memory_kb = int(re.search(r"MemTotal:\s+(\d+)", Path("/proc/meminfo").read_text()).group(1))
    wine = subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip()
    return f"nproc {os.cpu_count()}, {cpu}, {memory_kb / 1024 / 1024:.1f} GiB memory, {wine}, Xvfb"


def mark(met):
    return "yes" if met else "**no**"


def table(pacing, throughput, stop, fill, startup):
    rows = [("Measure", "Keyvora", "Reference (same run)", "Goal", "Met")]
    for delay, ((median, p99, n), reference) in pacing.items():
        shown = f"{reference[0]:+.3f} / {reference[1]:+.3f} ms (paced plain loop)" if reference else "-"
        what = f"{delay} ms" if isinstance(delay, int) else delay
        rows.append((f"Step pacing, delay {what}: lateness median / p99 ({n} intervals)",
                     f"{median:+.3f} / {p99:+.3f} ms", shown,
                     "<= 0.5 / <= 2 ms", mark(median <= 0.5 and p99 <= 2)))
    keyvora, reference = throughput
    rows.append(("Delay 0: steps/s reaching the recorder (first 10 s of arrivals)", f"{keyvora['rate']:.0f}",
                 f"{reference['rate']:.0f} (posted {reference['post_rate']:.0f} pairs/s)",
                 ">= half the reference", mark(keyvora["rate"] >= reference["rate"] / 2)))
    keyvora_lost = keyvora["breaks"] + (1 if keyvora["incomplete_last"] else 0)
    rows.append(("Delay 0: messages lost (breaks in the down/up A..J cycle; last step complete)",
                 f"{keyvora_lost} of {keyvora['pairs']} steps", f"{reference['lost']} of {reference['posted']} pairs",
                 "0", mark(keyvora_lost == 0)))
    latencies, late = stop
    rows.append(("Stop during a 5000 ms delay: Home press to idle caption, median / max "
                 f"({len(latencies)} runs)", f"{statistics.median(latencies):.1f} / {max(latencies):.1f} ms", "-",
                 "<= 50 ms", mark(max(latencies) <= 50)))
    rows.append(("Stop: messages reaching the recorder after the press", str(late), "-", "0", mark(late == 0)))
    for extra, f in sorted(fill.items()):
        fast, reference_ms = float(f["fast_ms"]), float(f["reference_ms"])
        goal = ">= 10x faster" if extra == max(fill) else "-"
        rows.append((f"Target list fill, {extra} extra processes ({f['processes']} entries; snapshot "
                     f"{float(f['snapshot_ms']):.1f} ms, enumeration {float(f['windows_ms']):.1f} ms); "
                     f"entries identical: {f['identical']}",
                     f"{fast:.1f} ms ({reference_ms / fast:.1f}x faster)", f"{reference_ms:.1f} ms (per-process)", goal,
                     mark(f["identical"] == "yes" and (extra != max(fill) or reference_ms / fast >= 10))))
    extras = sorted(fill)
    if len(extras) >= 2:
        per_entry = [float(fill[e]["fast_ms"]) / int(fill[e]["processes"]) for e in extras]
        rows.append(("Target list fill: ms per entry at " + ", ".join(map(str, extras)) + " extra processes",
                     " / ".join(f"{v:.2f}" for v in per_entry), "-", "linear (flat per entry)",
                     mark(max(per_entry) <= 2 * min(per_entry))))
    s = startup
    rows.append((f"Start-up: process start to main window visible, median of {len(s['keyvora_times'])}",
                 f"{s['keyvora_ms']:.0f} ms ({s['keyvora_ms'] / s['minimal_ms']:.2f}x)",
                 f"{s['minimal_ms']:.0f} ms (one-window program)", "<= 1.5x", mark(s["keyvora_ms"] <= 1.5 * s["minimal_ms"])))
    above = s["start_private"] - s["minimal_private"]
    rows.append(("Private bytes after start-up", f"{s['start_private'] / 2**20:.2f} MiB ({above / 2**20:+.2f} MiB)",
                 f"{s['minimal_private'] / 2**20:.2f} MiB", "<= 2 MB above", mark(above <= 2_000_000)))
    per_row = (s["loaded_private"] - s["dialog_private"]) / s["rows"]
    rows.append(("Private bytes after opening a 1-row script (the open dialog's share)",
                 f"{s['dialog_private'] / 2**20:.2f} MiB", "-", "-", "-"))
    rows.append((f"Private bytes with {s['rows']} rows opened, against the 1-row script",
                 f"{s['loaded_private'] / 2**20:.2f} MiB ({per_row:.0f} bytes/row)", "-", "<= 200 bytes/row",
                 mark(per_row <= 200)))
    rows.append(("keyvora.exe size, as built (Release) / stripped",
                 f"{s['exe_bytes'] / 2**20:.2f} / {s['stripped_bytes'] / 2**20:.2f} MiB", "-", "<= 1.5 MB",
                 mark(s["exe_bytes"] <= 1_500_000)))
    widths = [max(len(r[i]) for r in rows) for i in range(5)]
    lines = ["| " + " | ".join(r[i].ljust(widths[i]) for i in range(5)) + " |" for r in rows]
    lines.insert(1, "|" + "|".join("-" * (w + 2) for w in widths) + "|")
    return "\n".join(lines)


def main():
    load_before = os.getloadavg()
    work = Path(harness.WORK_DIR) / "bench"
    work.mkdir(parents=True, exist_ok=True)
    prefix = os.environ.get("KEYVORA_E2E_PREFIX", str(harness.WORK_DIR / "prefix"))
    env = Environment(prefix, display=os.environ.get("KEYVORA_E2E_DISPLAY")).start()
    try:
        env.move(*harness.PARKED_CURSOR)
        print("start-up and memory ...", flush=True)
        startup = measure_startup_and_memory(env, work)
        print("step pacing ...", flush=True)
        pacing = measure_pacing(env, work)
        print("delay 0 throughput ...", flush=True)
        throughput = measure_throughput(env, work)
        print("stop latency ...", flush=True)
        stop = measure_stop_latency(env, work)
        print("target list fill ...", flush=True)
        fill = measure_target_fill(env, work)
    finally:
        env.stop()
    text = table(pacing, throughput, stop, fill, startup)
    stamp = datetime.datetime.now().strftime("%Y-%m-%d %H:%M")
    notes = ("Lateness is the interval between consecutive steps at the recorder minus the step's delay, "
             "within one pass of the script. Throughput counts steps whose key-down reached the recorder in "
             "the first 10 s after the first one; the recorder writes one log line per message. Private bytes "
             "are the process's anonymous resident memory (RssAnon in /proc), because Wine reports a PrivateUsage "
             "of 0 for another process. Start-up is timed from CreateProcess to the visible main window, polled every 1 ms.")
    load_after = os.getloadavg()
    load = (f"Load average (1 min) {load_before[0]:.1f} at the start and {load_after[0]:.1f} at the end, "
            f"other work included.")
    RESULTS.write_text(f"# Keyvora benchmarks\n\nRun {stamp} with `./bench.sh` on {machine()}. {load}\n\n"
                       f"{text}\n\n{notes}\n")
    print("\n" + text)
    print("\n" + load)
    print(f"\nwritten to {RESULTS}")


if __name__ == "__main__":
    main()
