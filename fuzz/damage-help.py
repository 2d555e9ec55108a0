#!/usr/bin/env python3
"""Writes damaged copies of the real help file into the help fuzz corpus: the header, directory,
reset table and window fields that the reader must not trust, each set to an edge value.
Usage: damage-help.py REAL.chm OUTPUT-FOLDER"""
import struct
import sys

real = bytearray(open(sys.argv[1], 'rb').read())
out = sys.argv[2]


def u64(at):
    return struct.unpack_from('<Q', real, at)[0]


def encint(value, width):
    digits = [(value >> (7 * i)) & 0x7F for i in range(width)][::-1]
    return bytes([d | 0x80 for d in digits[:-1]] + [digits[-1]])


# The directory: one listing chunk after the ITSP header; each entry is the name's length and
# the name, then the section, the offset and the length as variable-length integers.
directory = u64(0x48)
block = struct.unpack_from('<I', real, directory + 0x10)[0]
chunk = directory + struct.unpack_from('<I', real, directory + 8)[0]
content = u64(0x58)


def field(at):
    value, start = 0, at
    while True:
        byte = real[at]
        at += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, start, at


def entry(name):
    at, end = chunk + 0x14, chunk + block - struct.unpack_from('<I', real, chunk + 4)[0]
    while at < end:
        length, _, at = field(at)
        here, at = bytes(real[at:at + length]), at + length
        section, _, at = field(at)
        offset, _, at = field(at)
        size, size_at, at = field(at)
        if here == name:
            return section, offset, size_at, at
    raise SystemExit('no entry ' + name.decode())


def object_at(name):
    section, offset, _, _ = entry(name)
    assert section == 0
    return content + offset


def with_word(at, value, size=4):
    damaged = bytearray(real)
    damaged[at:at + size] = value.to_bytes(size, 'little')
    return damaged


def with_length(name, value, width):
    # A wider length takes room from the chunk's free space at its end.
    _, _, start, end = entry(name)
    damaged = bytearray(real)
    grow = width - (end - start)
    free_at = chunk + 4
    free = struct.unpack_from('<I', damaged, free_at)[0]
    tail = damaged[end:chunk + block - free]
    damaged[start:chunk + block - free + grow] = encint(value, width) + tail
    struct.pack_into('<I', damaged, free_at, free - grow)
    return damaged


reset = object_at(b'::DataSpace/Storage/MSCompressed/Transform/'
                  b'{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable')
control = object_at(b'::DataSpace/Storage/MSCompressed/ControlData')
files = {
    'directory-block-length-zero': with_word(directory + 0x10, 0),
    'directory-block-length-huge': with_word(directory + 0x10, 0xFFFFFFFF),
    'reset-table-block-length-zero': with_word(reset + 0x20, 0, 8),
    'reset-table-block-length-512-mib': with_word(reset + 0x20, 512 * 1024 * 1024, 8),
    'reset-table-entries-huge': with_word(reset + 4, 0x7FFFFFFF),
    'reset-table-uncompressed-huge': with_word(reset + 0x10, 1 << 62, 8),
    'window-reset-interval-zero': with_word(control + 12, 0),
    'window-size-zero': with_word(control + 16, 0),
    'window-size-512-mib': with_word(control + 16, 0x4000),
    'window-size-huge': with_word(control + 16, 0xFFFFFFFF),
    'system-file-longer-than-the-file': with_length(b'/#SYSTEM', len(real) + 1, 3),
    'page-longer-than-64-mib': with_length(b'/index.html', 64 * 1024 * 1024 + 1, 4),
    'page-longer-than-any-file': with_length(b'/index.html', 1 << 62, 9),
}
for name, data in files.items():
    open(f'{out}/{name}.chm', 'wb').write(data)
