#!/usr/bin/python3
"""Figures of the real program: the time from start to its listener accepting,
and its resident memory with 1,000 lights after 1,000 requests.

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
START_LIMIT_S = 30


def request(path):
    with socket.create_connection(("127.0.0.1", 1901), timeout=10) as s:
        s.sendall(b"GET " + path + b" HTTP/1.1\r\n\r\n")
        reply = b""
        while chunk := s.recv(65536):
            reply += chunk
    return reply


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return -1


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    with tempfile.TemporaryDirectory() as home:
        store = os.path.join(home, ".local/share/Halvory")
        os.makedirs(store)
        units = [{"name": f"Unit {i}", "ID": str(i), "dimmable": i % 2 == 0, "value": i % 101}
                 for i in range(LIGHTS)]
        with open(os.path.join(store, "units.json"), "w") as f:
            json.dump({"lists": {"Tolvane": units}}, f)

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
                  f"{resident_kib(app.pid) / 1024:.1f} MiB")
        finally:
            app.send_signal(signal.SIGTERM)
            app.wait(timeout=10)


if __name__ == "__main__":
    main()
