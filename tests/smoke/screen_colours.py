#!/usr/bin/env python3
"""Looks at an X display's root window through libX11 (no other packages).

screen_colours.py DISPLAY            number of distinct colours on the screen
screen_colours.py DISPLAY --digest   a digest of the whole picture
screen_colours.py DISPLAY --pixel X Y          the colour at (X, Y) as RRGGBB
screen_colours.py DISPLAY --blocks X Y W H Z   fails unless the W x H area at
    (X, Y) is made of whole Z x Z squares of one colour each
"""
import ctypes
import ctypes.util
import hashlib
import sys


class XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, as far as reading pixels needs.
    _fields_ = [
        ("width", ctypes.c_int),
        ("height", ctypes.c_int),
        ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int),
        ("data", ctypes.c_void_p),
        ("byte_order", ctypes.c_int),
        ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int),
        ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int),
        ("bytes_per_line", ctypes.c_int),
    ]


ZPIXMAP = 2
ALL_PLANES = 0xFFFFFFFF


class Screen:
    def __init__(self, display_name):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XDefaultScreen.argtypes = [ctypes.c_void_p]
        self.x.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x.XGetImage.restype = ctypes.POINTER(XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.display = self.x.XOpenDisplay(display_name.encode())
        if not self.display:
            raise SystemExit("cannot open display " + display_name)
        self.root = self.x.XDefaultRootWindow(self.display)
        number = self.x.XDefaultScreen(self.display)
        self.width = self.x.XDisplayWidth(self.display, number)
        self.height = self.x.XDisplayHeight(self.display, number)

    def grab(self, x=0, y=0, width=None, height=None):
        """The root window's pixels (or a rectangle's) as bytes, bytes_per_line apart."""
        width = self.width if width is None else width
        height = self.height if height is None else height
        image = self.x.XGetImage(self.display, self.root, x, y, width, height,
                                 ALL_PLANES, ZPIXMAP)
        if not image:
            return b""
        info = image.contents
        data = ctypes.string_at(info.data, info.bytes_per_line * info.height)
        self.x.XFree(info.data)
        self.x.XFree(ctypes.cast(image, ctypes.c_void_p))
        return data

    def colours(self):
        data = self.grab()
        # 32-bit pixels; the padding byte is not part of the colour.
        words = memoryview(data).cast("I")
        return len({w & 0xFFFFFF for w in words[::7]})

    def pixel(self, x, y):
        return memoryview(self.grab(x, y, 1, 1)).cast("I")[0] & 0xFFFFFF

    def blocks(self, x, y, width, height, zoom):
        """The first pixel that differs from the top-left one of its square, or None."""
        data = self.grab(x, y, width, height)
        stride = len(data) // height // 4
        words = memoryview(data).cast("I")
        for row in range(height):
            for column in range(width):
                first = words[(row - row % zoom) * stride + column - column % zoom]
                if words[row * stride + column] != first:
                    return column, row
        return None

    def any_colour_at_centre(self):
        """Whether anything but black shows in the 8 x 8 pixels at the centre: a
        quick look, cheap enough to poll for the first frame."""
        data = self.grab(self.width // 2 - 4, self.height // 2 - 4, 8, 8)
        return data.count(0) != len(data)


def main():
    screen = Screen(sys.argv[1])
    numbers = [int(a) for a in sys.argv[3:]]
    if "--digest" in sys.argv:
        print(hashlib.sha1(screen.grab()).hexdigest())
    elif "--pixel" in sys.argv:
        print(f"{screen.pixel(*numbers):06x}")
    elif "--blocks" in sys.argv:
        odd = screen.blocks(*numbers)
        if odd is not None:
            raise SystemExit(f"the pixel at {odd} differs from the rest of its square")
    else:
        print(screen.colours())


if __name__ == "__main__":
    main()
