#!/usr/bin/env python3
"""F11 to the new picture, measured from outside the game.

Run by bench/fullscreen_toggle.sh with DISPLAY set and the game showing its 320 x 240 title
in a window on a 1280 x 960 screen (a window manager with a title bar). Each round presses F11
through XTest and polls one pixel near the screen's top-left corner, where only the full-screen
picture (the title scaled by 4) shows: from the press to the first poll that sees the title's
colour there is the time to full screen; from the second F11 to the first poll that no longer
sees it, the time back to the window. Prints one line per direction: the median and every
round, in ms.
"""
import ctypes
import ctypes.util
import statistics
import sys
import time

x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
xtst = ctypes.CDLL(ctypes.util.find_library("Xtst"))
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                          ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XGetPixel.restype = ctypes.c_ulong
x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
x11.XDestroyImage.argtypes = [ctypes.c_void_p]
x11.XKeysymToKeycode.restype = ctypes.c_ubyte
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XFlush.argtypes = [ctypes.c_void_p]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

XK_F11 = 0xFFC8
ALL_PLANES = 0xFFFFFFFF
Z_PIXMAP = 2

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("fullscreen_toggle: cannot open the display")
root = x11.XDefaultRootWindow(display)
f11 = x11.XKeysymToKeycode(display, XK_F11)


def pixel(x, y):
    image = x11.XGetImage(display, root, x, y, 1, 1, ALL_PLANES, Z_PIXMAP)
    value = x11.XGetPixel(image, 0, 0)
    x11.XDestroyImage(image)
    return value


def press_f11():
    xtst.XTestFakeKeyEvent(display, f11, True, 0)
    xtst.XTestFakeKeyEvent(display, f11, False, 0)
    x11.XFlush(display)


def until(condition, limit=5.0):
    start = time.perf_counter()
    press_f11()
    while not condition():
        if time.perf_counter() - start > limit:
            sys.exit("fullscreen_toggle: no new picture within %g s" % limit)
    return (time.perf_counter() - start) * 1000


def near(value, rgb):
    # RGB565 keeps 5 or 6 bits of each channel.
    channels = ((value >> 16) & 255, (value >> 8) & 255, value & 255)
    return all(abs(a - b) <= 8 for a, b in zip(channels, rgb))


rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 10
title = bytes.fromhex(sys.argv[2])  # the title's pixel (1, 1), 24-bit
spot = (6, 6)  # picture pixel (1, 1) at factor 4; under the title bar in a window
to_full, to_window = [], []
for _ in range(rounds):
    to_full.append(until(lambda: near(pixel(*spot), title)))
    time.sleep(0.3)
    to_window.append(until(lambda: not near(pixel(*spot), title)))
    time.sleep(0.3)
for name, figures in (("window to full screen", to_full), ("full screen to window", to_window)):
    print("F11, %s, press to new picture: %.1f ms (median of %d: %s)" %
          (name, statistics.median(figures), rounds, " ".join("%.1f" % f for f in figures)))
