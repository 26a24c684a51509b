"""The X server's bell, heard from the test side: Wine rings it for MessageBeep."""


class Bells:
    """Counts the X server's bells (XKB bell events) from now on: Wine rings one for MessageBeep."""

    def __init__(self, display):
        from ctypes import CDLL, POINTER, byref, c_int, c_long, c_uint, c_ulong, c_void_p, cast, util
        self._event, self._cast, self._ints = (c_long * 32)(), cast, POINTER(c_int)
        x = self._x = CDLL(util.find_library("X11"))
        x.XOpenDisplay.restype = c_void_p
        self._display = c_void_p(x.XOpenDisplay(display.encode()))
        major, minor, opcode, self._type, error = c_int(1), c_int(0), c_int(), c_int(), c_int()
        assert x.XkbQueryExtension(self._display, byref(opcode), byref(self._type), byref(error), byref(major),
                                   byref(minor)), f"no XKB on {display}"
        x.XkbSelectEvents.argtypes = [c_void_p, c_uint, c_ulong, c_ulong]
        use_core_keyboard, bell_notify = 0x100, 1 << 8
        x.XkbSelectEvents(self._display, use_core_keyboard, bell_notify, bell_notify)
        x.XSync(self._display, 0)
        self._count = 0

    def count(self):
        """The bells rung so far: all that the server had rung when this was called."""
        self._x.XSync(self._display, 0)
        while self._x.XPending(self._display):
            self._x.XNextEvent(self._display, self._event)
            self._count += self._cast(self._event, self._ints)[0] == self._type.value  # only bells are selected
        return self._count

    def close(self):
        self._x.XCloseDisplay(self._display)
