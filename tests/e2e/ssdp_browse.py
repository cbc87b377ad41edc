#!/usr/bin/python3
"""Looks for an SSDP device with GSSDP, the SSDP client library of GNOME's
UPnP stack: its resource browser sends the search (three times) and reports a
resource only for a reply whose ST matches the target and that has a USN.

usage: ssdp_browse.py INTERFACE TARGET SECONDS
Prints "USN LOCATION" for each resource found; exits 0 when one was found.
"""
import sys

import gi

gi.require_version("GSSDP", "1.6")
from gi.repository import GLib, GSSDP  # noqa: E402


def main():
    interface, target, seconds = sys.argv[1], sys.argv[2], int(sys.argv[3])
    found = []
    loop = GLib.MainLoop()
    client = GSSDP.Client.new(interface)
    browser = GSSDP.ResourceBrowser.new(client, target)

    def available(_browser, usn, locations):
        found.append(usn)
        print(usn, " ".join(locations), flush=True)
        loop.quit()

    browser.connect("resource-available", available)
    browser.set_active(True)
    GLib.timeout_add_seconds(seconds, loop.quit)
    loop.run()
    return 0 if found else 1


if __name__ == "__main__":
    sys.exit(main())
