#!/usr/bin/env python3
"""Offers one more screen mode on the X display ($DISPLAY): width x height at 60 Hz, added to
every connected output, for as long as this runs (it prints "offered", then waits to be ended).
Xvfb offers only the size it started with, and Wine changes the X screen only to a mode it
offers. Xvfb drops a mode made by a client when that client goes, even while the mode is in use
(the screen then returns to its first size), so two xrandr calls cannot do it.
   offer_screen_mode.py 1280 720 &"""
import ctypes
import ctypes.util
import signal
import sys


class ModeInfo(ctypes.Structure):
    _fields_ = [("id", ctypes.c_ulong), ("width", ctypes.c_uint), ("height", ctypes.c_uint),
                ("dotClock", ctypes.c_ulong), ("hSyncStart", ctypes.c_uint), ("hSyncEnd", ctypes.c_uint),
                ("hTotal", ctypes.c_uint), ("hSkew", ctypes.c_uint), ("vSyncStart", ctypes.c_uint),
                ("vSyncEnd", ctypes.c_uint), ("vTotal", ctypes.c_uint), ("name", ctypes.c_char_p),
                ("nameLength", ctypes.c_uint), ("modeFlags", ctypes.c_ulong)]


class ScreenResources(ctypes.Structure):
    _fields_ = [("timestamp", ctypes.c_ulong), ("configTimestamp", ctypes.c_ulong), ("ncrtc", ctypes.c_int),
                ("crtcs", ctypes.POINTER(ctypes.c_ulong)), ("noutput", ctypes.c_int),
                ("outputs", ctypes.POINTER(ctypes.c_ulong)), ("nmode", ctypes.c_int),
                ("modes", ctypes.POINTER(ModeInfo))]


class OutputInfo(ctypes.Structure):
    _fields_ = [("timestamp", ctypes.c_ulong), ("crtc", ctypes.c_ulong), ("name", ctypes.c_char_p),
                ("nameLen", ctypes.c_int), ("mm_width", ctypes.c_ulong), ("mm_height", ctypes.c_ulong),
                ("connection", ctypes.c_ushort)]  # the fields after it are not read


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: offer_screen_mode.py <width> <height>")
    width, height = int(sys.argv[1]), int(sys.argv[2])
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xrandr = ctypes.CDLL(ctypes.util.find_library("Xrandr") or "libXrandr.so.2")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xrandr.XRRGetScreenResources.restype = ctypes.POINTER(ScreenResources)
    xrandr.XRRGetScreenResources.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    xrandr.XRRGetOutputInfo.restype = ctypes.POINTER(OutputInfo)
    xrandr.XRRGetOutputInfo.argtypes = [ctypes.c_void_p, ctypes.POINTER(ScreenResources), ctypes.c_ulong]
    xrandr.XRRCreateMode.restype = ctypes.c_ulong
    xrandr.XRRCreateMode.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ModeInfo)]
    xrandr.XRRAddOutputMode.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong]

    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("offer_screen_mode: cannot open the display")
    root = x11.XDefaultRootWindow(display)
    name = b"%dx%d" % (width, height)
    # Reduced-blanking timings; Xvfb draws nothing, so they only have to be consistent.
    mode = ModeInfo(0, width, height, (width + 160) * (height + 25) * 60, width + 48, width + 80, width + 160, 0,
                    height + 3, height + 8, height + 25, name, len(name), 0)
    mode_id = xrandr.XRRCreateMode(display, root, ctypes.byref(mode))
    resources = xrandr.XRRGetScreenResources(display, root)
    added = 0
    for index in range(resources.contents.noutput):
        output = resources.contents.outputs[index]
        info = xrandr.XRRGetOutputInfo(display, resources, output)
        if info and info.contents.connection == 0:  # RR_Connected
            xrandr.XRRAddOutputMode(display, output, mode_id)
            added += 1
    x11.XSync(ctypes.c_void_p(display), 0)
    if not added:
        sys.exit("offer_screen_mode: no connected output")
    print("offered", flush=True)
    signal.pause()


main()
