#!/usr/bin/python3
"""Figures of the real program: the time from start to its listener accepting,
its resident memory with 1,000 lights after 1,000 requests, and what it keeps
resident once a list of 105,000 lights has been served and the list is back
to 1,000 lights.

usage: scripts/in-netns bench/app_figures.py BUILD_DIR
Run it inside a private network namespace (scripts/in-netns does that): the
program joins the SSDP multicast group when it starts.
"""
import json
import os
import signal
import socket
import subprocess
import sys
import tempfile
import time

LIGHTS = 1000
REQUESTS = 1000
LARGE_LIGHTS = 105_000
# Requests of the small list after the large one, and a pause for the
# program's idle work, before its memory is read.
REQUESTS_AFTER_LARGE = 10
SETTLE_S = 1.0
# Serving the large list first builds 105,000 rows in the window.
LARGE_REQUEST_LIMIT_S = 300
START_LIMIT_S = 30


def request(path, timeout_s=10):
    with socket.create_connection(("127.0.0.1", 1901), timeout=timeout_s) as s:
        s.sendall(b"GET " + path + b" HTTP/1.1\r\n\r\n")
        reply = b""
        while chunk := s.recv(65536):
            reply += chunk
    return reply


def status_kib(pid, field):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return -1


def resident_mib(pid):
    return status_kib(pid, "VmRSS") / 1024


def write_units(store, count):
    units = [{"name": f"Unit {i}", "ID": str(i), "dimmable": i % 2 == 0, "value": i % 101}
             for i in range(count)]
    with open(os.path.join(store, "units.json"), "w") as f:
        json.dump({"lists": {"Tolvane": units}}, f)


def large_list_then_small(pid, store):
    write_units(store, LARGE_LIGHTS)
    started = time.monotonic()
    if not request(b"/api/figures/lights", LARGE_REQUEST_LIMIT_S).startswith(b"HTTP/1.1 200 OK"):
        sys.exit("the large list was not served")
    print(f"the {LARGE_LIGHTS:,}-light list served in {time.monotonic() - started:.1f} s")
    write_units(store, LIGHTS)
    for _ in range(REQUESTS_AFTER_LARGE):
        request(b"/api/figures/lights")
    time.sleep(SETTLE_S)
    print(f"resident memory after a {LARGE_LIGHTS:,}-light list, back at {LIGHTS:,} lights: "
          f"{resident_mib(pid):.1f} MiB (peak {status_kib(pid, 'VmHWM') / 1024:.1f} MiB)")


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    with tempfile.TemporaryDirectory() as home:
        store = os.path.join(home, ".local/share/Halvory")
        os.makedirs(store)
        write_units(store, LIGHTS)

        env = {k: v for k, v in os.environ.items() if not k.startswith("XDG_")}
        env.update(HOME=home, QT_QPA_PLATFORM="offscreen")
        started = time.monotonic()
        app = subprocess.Popen([os.path.join(build, "bin/tolvane")], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            while True:
                try:
                    socket.create_connection(("127.0.0.1", 1901), timeout=1).close()
                    break
                except OSError:
                    if time.monotonic() - started > START_LIMIT_S:
                        sys.exit("the listener did not come up")
                    time.sleep(0.005)
            accepting = time.monotonic() - started

            answered = 0
            for i in range(REQUESTS):
                path = b"/api/figures/lights" if i % 10 == 0 else b"/api/figures/lights/%d" % (i % LIGHTS)
                answered += request(path).startswith(b"HTTP/1.1 200 OK")
            print(f"start to listener accepting: {accepting * 1000:.0f} ms")
            print(f"requests answered: {answered} of {REQUESTS}")
            print(f"resident memory with {LIGHTS} lights after {REQUESTS} requests: "
                  f"{resident_mib(app.pid):.1f} MiB")
            large_list_then_small(app.pid, store)
        finally:
            app.send_signal(signal.SIGTERM)
            app.wait(timeout=10)


if __name__ == "__main__":
    main()
