"""Prints the local path a Windows shortcut (.lnk) points to, as its link
information records it.

Usage: lnk_target.py LNK
"""
import struct
import sys

HAS_ID_LIST = 0x1
HAS_LINK_INFO = 0x2
VOLUME_AND_LOCAL_PATH = 0x1


def _text(data, offset, wide):
    if wide:
        end = offset
        while data[end:end + 2] != b'\0\0':
            end += 2
        return data[offset:end].decode('utf-16-le')
    return data[offset:data.index(b'\0', offset)].decode('ascii')


def target(data):
    if data[:4] != b'\x4c\0\0\0':
        raise ValueError('not a shortcut')
    flags = struct.unpack_from('<I', data, 0x14)[0]
    offset = 0x4C
    if flags & HAS_ID_LIST:
        offset += 2 + struct.unpack_from('<H', data, offset)[0]
    if not flags & HAS_LINK_INFO:
        raise ValueError('no link information')
    (header_size, info_flags, _, base, _, suffix) = struct.unpack_from('<IIIIII', data, offset + 4)
    if not info_flags & VOLUME_AND_LOCAL_PATH:
        raise ValueError('no local path')
    if header_size >= 0x24:
        base_wide, suffix_wide = struct.unpack_from('<II', data, offset + 28)
        return _text(data, offset + base_wide, True) + _text(data, offset + suffix_wide, True)
    return _text(data, offset + base, False) + _text(data, offset + suffix, False)


if __name__ == '__main__':
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    with open(sys.argv[1], 'rb') as f:
        try:
            print(target(f.read()))
        except (ValueError, struct.error, UnicodeDecodeError) as e:
            sys.exit('%s: %s' % (sys.argv[1], e))
