#!/usr/bin/python3
"""Prints, in nanoseconds of the wall clock, when the first window created on the display
from now on is first drawn into (an XDamage report), then exits. Prints "ready" once
it watches. Needs python3-xlib."""
import sys
import time

from Xlib import X, display
from Xlib.ext import damage

connection = display.Display()
# Windows that cannot be drawn into (input-only ones) refuse a damage object: ignored.
connection.set_error_handler(lambda error, request: None)
connection.damage_query_version()
root = connection.screen().root
root.change_attributes(event_mask=X.SubstructureNotifyMask)
connection.sync()
print("ready", flush=True)
watched = []
while True:
    event = connection.next_event()
    if event.type == X.CreateNotify:
        # Watched from its creation on, long before anything can draw into it.
        watched.append(event.window.damage_create(damage.DamageReportNonEmpty))
        connection.flush()
    elif event.type == connection.extension_event.DamageNotify:
        print(time.time_ns(), flush=True)
        sys.exit(0)
