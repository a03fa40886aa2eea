"""Writes another file and product version into the version resource of a
copy of a Windows program, so a check can build a package whose program
differs from the release's in a way the installer reads.

Usage: set_file_version.py EXE A.B.C.D
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), '..', '..', 'scripts'))
from pe_version import fixed_info_offset  # noqa: E402


def main(path, version):
    a, b, c, d = (int(part) for part in version.split('.'))
    with open(path, 'rb') as f:
        data = bytearray(f.read())
    offset = fixed_info_offset(bytes(data))
    # File version, then product version: two 32-bit halves each.
    struct.pack_into('<IIII', data, offset + 8, a << 16 | b, c << 16 | d, a << 16 | b, c << 16 | d)
    with open(path, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    main(*sys.argv[1:])
