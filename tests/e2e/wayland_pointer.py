# A pointer for a compositor with no input devices (a headless sway), through the
# wlr-virtual-pointer protocol spoken on the socket: each line "X Y WIDTH HEIGHT" read from
# standard input moves it to (X, Y) of a WIDTH x HEIGHT layout and clicks the left button.
import os
import socket
import struct
import sys
import time

sock = socket.socket(socket.AF_UNIX)
sock.connect(os.path.join(os.environ.get("XDG_RUNTIME_DIR", ""), os.environ["WAYLAND_DISPLAY"]))
last_id = 1  # the display


def send(obj, opcode, args=b""):
    sock.sendall(struct.pack("<II", obj, (8 + len(args)) << 16 | opcode) + args)


def new_id():
    global last_id
    last_id += 1
    return last_id


def roundtrip():
    """The events the compositor sends until it has handled every request so far."""
    done, data, events = new_id(), b"", []
    send(1, 0, struct.pack("<I", done))  # wl_display.sync
    while not any(obj == done for obj, _ in events):
        more = sock.recv(65536)
        if not more:
            sys.exit("the compositor went away")
        data += more
        while len(data) >= 8 and len(data) >= struct.unpack_from("<I", data, 4)[0] >> 16:
            obj, size = struct.unpack_from("<I", data)[0], struct.unpack_from("<I", data, 4)[0] >> 16
            events.append((obj, data[8:size]))
            data = data[size:]
    return events


interface = b"zwlr_virtual_pointer_manager_v1\0"
registry = new_id()
send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
name = next(struct.unpack_from("<I", args)[0] for obj, args in roundtrip()
            if obj == registry and args[8:8 + len(interface)] == interface)
manager = new_id()
send(registry, 0, struct.pack("<II", name, len(interface)) + interface + bytes(-len(interface) % 4) +
     struct.pack("<II", 1, manager))  # wl_registry.bind
pointer = new_id()
send(manager, 0, struct.pack("<II", 0, pointer))  # create_virtual_pointer on the default seat
roundtrip()
for line in sys.stdin:
    x, y, width, height = map(int, line.split())
    now = int(time.monotonic() * 1000) & 0xFFFFFFFF
    send(pointer, 1, struct.pack("<5I", now, x, y, width, height))  # motion_absolute
    send(pointer, 4, struct.pack("<I", now))  # frame
    for state in (1, 0):  # left button down, up
        send(pointer, 2, struct.pack("<3I", now, 0x110, state))
        send(pointer, 4, struct.pack("<I", now))
    roundtrip()
