#!/usr/bin/env python3
"""Prints one line for every bell the X server rings, until killed: the program's beeps, heard
through the keyboard extension's bell notifications. Usage: bellcount.py > FILE"""
import ctypes
import sys

xlib = ctypes.CDLL("libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XkbQueryExtension.argtypes = [ctypes.c_void_p] + [ctypes.POINTER(ctypes.c_int)] * 5
xlib.XkbSelectEvents.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
xlib.XFlush.argtypes = [ctypes.c_void_p]

XKB_USE_CORE_KBD = 0x0100
XKB_BELL_NOTIFY = 8
XKB_BELL_NOTIFY_MASK = 1 << XKB_BELL_NOTIFY


class XkbAnyEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("time", ctypes.c_ulong),
                ("xkb_type", ctypes.c_int), ("device", ctypes.c_uint)]


display = xlib.XOpenDisplay(None)
if not display:
    sys.exit("bellcount: cannot open the display")
opcode, event_base, error_base = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
major, minor = ctypes.c_int(1), ctypes.c_int(0)
if not xlib.XkbQueryExtension(display, ctypes.byref(opcode), ctypes.byref(event_base),
                              ctypes.byref(error_base), ctypes.byref(major), ctypes.byref(minor)):
    sys.exit("bellcount: the X server has no keyboard extension")
xlib.XkbSelectEvents(display, XKB_USE_CORE_KBD, XKB_BELL_NOTIFY_MASK, XKB_BELL_NOTIFY_MASK)
xlib.XFlush(display)
print("ready", flush=True)
event = ctypes.create_string_buffer(192)  # the size of an XEvent
while True:
    xlib.XNextEvent(display, event)
    any_event = XkbAnyEvent.from_buffer(event)
    if any_event.type == event_base.value and any_event.xkb_type == XKB_BELL_NOTIFY:
        print("bell", flush=True)
