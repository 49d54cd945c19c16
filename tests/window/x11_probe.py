"""Small X11 helper for the real-window test, talking to libX11 through ctypes so the test needs
nothing beyond python3 and the X libraries SDL already uses.

  x11_probe.py close WINDOW         asks the window to close, as a window manager's close button does
  x11_probe.py grab WINDOW OUT.png  saves the window's pixels as a PNG
  x11_probe.py same A.png B.png     exit 0 when both 8-bit RGB pictures have the same pixels

There is no window manager under Xvfb, and xdotool's windowclose destroys the window outright
instead of asking, so the close request (WM_PROTOCOLS / WM_DELETE_WINDOW) is sent by hand.
"""
import ctypes
import ctypes.util
import struct
import sys
import zlib
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "support"))
from png_rgb import read_rgb_png  # noqa: E402

xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XInternAtom.restype = ctypes.c_ulong
xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                            ctypes.c_void_p]
xlib.XFlush.argtypes = [ctypes.c_void_p]
xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xlib.XGetPixel.restype = ctypes.c_ulong
xlib.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
xlib.XGetImage.restype = ctypes.c_void_p
xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                           ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
xlib.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 7

CLIENT_MESSAGE = 33
Z_PIXMAP = 2
ALL_PLANES = 0xFFFFFFFF


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 24)]


def open_display():
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("x11_probe: cannot open the display")
    return display


def close_window(window):
    display = open_display()
    event = ClientMessage()
    event.type = CLIENT_MESSAGE
    event.window = window
    event.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.format = 32
    event.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    event.data[1] = 0  # CurrentTime
    xlib.XSendEvent(display, window, 0, 0, ctypes.byref(event))
    xlib.XSync(display, 0)


def window_size(display, window):
    root, x, y, border, depth = (ctypes.c_ulong(), ctypes.c_int(), ctypes.c_int(), ctypes.c_uint(),
                                 ctypes.c_uint())
    width, height = ctypes.c_uint(), ctypes.c_uint()
    xlib.XGetGeometry(display, window, ctypes.byref(root), ctypes.byref(x), ctypes.byref(y),
                      ctypes.byref(width), ctypes.byref(height), ctypes.byref(border),
                      ctypes.byref(depth))
    return width.value, height.value


def grab_window(window, path):
    display = open_display()
    width, height = window_size(display, window)
    image = xlib.XGetImage(display, window, 0, 0, width, height, ALL_PLANES, Z_PIXMAP)
    if not image:
        sys.exit("x11_probe: cannot read the window's pixels")
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # PNG filter: none
        for x in range(width):
            pixel = xlib.XGetPixel(image, x, y)  # 24-bit TrueColor on Xvfb
            rows += bytes(((pixel >> 16) & 255, (pixel >> 8) & 255, pixel & 255))
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        write_chunk(out, b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
        write_chunk(out, b"IDAT", zlib.compress(bytes(rows)))
        write_chunk(out, b"IEND", b"")


def write_chunk(out, kind, payload):
    out.write(struct.pack(">I", len(payload)) + kind + payload)
    out.write(struct.pack(">I", zlib.crc32(kind + payload) & 0xFFFFFFFF))


def same_pictures(path_a, path_b):
    a, b = read_rgb_png(path_a), read_rgb_png(path_b)
    if a[:2] != b[:2]:
        sys.exit(f"x11_probe: {path_a} is {a[0]}x{a[1]}, {path_b} is {b[0]}x{b[1]}")
    differing = sum(
        1
        for row_a, row_b in zip(a[2], b[2])
        for x in range(0, len(row_a), 3)
        if row_a[x:x + 3] != row_b[x:x + 3]
    )
    if differing:
        sys.exit(f"x11_probe: {differing} pixels differ between {path_a} and {path_b}")


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "close":
        close_window(int(sys.argv[2], 0))
    elif len(sys.argv) >= 4 and sys.argv[1] == "grab":
        grab_window(int(sys.argv[2], 0), sys.argv[3])
    elif len(sys.argv) >= 4 and sys.argv[1] == "same":
        same_pictures(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
