"""Reads the version resource of a Windows program: the file version of its
fixed part and the language of its first translation, the two values an
installer's File table keeps for a versioned file.

Usage: pe_version.py EXE    prints "VERSION LANGUAGE", e.g. "1.0.0.0 2052"
"""
import struct
import sys

RT_VERSION = 16
FIXED_SIGNATURE = 0xFEEF04BD


class NotVersioned(Exception):
    pass


def _u16(data, offset):
    return struct.unpack_from('<H', data, offset)[0]


def _u32(data, offset):
    return struct.unpack_from('<I', data, offset)[0]


def _resource_section(data):
    """(file offset of the resource directory, its RVA, a mapper from an
    RVA to a file offset)."""
    if data[:2] != b'MZ':
        raise NotVersioned('not a Windows program')
    pe = _u32(data, 0x3C)
    if data[pe:pe + 4] != b'PE\0\0':
        raise NotVersioned('no PE header')
    sections, optional_size = _u16(data, pe + 6), _u16(data, pe + 20)
    optional = pe + 24
    magic = _u16(data, optional)
    directories = optional + (112 if magic == 0x20B else 96)
    resource_rva = _u32(data, directories + 2 * 8)
    if resource_rva == 0:
        raise NotVersioned('no resources')
    table = [struct.unpack_from('<IIII', data, optional + optional_size + 40 * i + 8)
             for i in range(sections)]

    def to_offset(rva):
        for virtual_size, address, raw_size, raw in table:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw + rva - address
        raise NotVersioned('RVA %#x outside every section' % rva)
    return to_offset(resource_rva), to_offset


def _first_entry(data, directory, wanted=None):
    """The (name, target) of the first entry of a resource directory, or of
    the one with the numeric name wanted."""
    named, numbered = _u16(data, directory + 12), _u16(data, directory + 14)
    for i in range(named + numbered):
        name, target = struct.unpack_from('<II', data, directory + 16 + 8 * i)
        if wanted is None or name == wanted:
            return name, target
    raise NotVersioned('no version resource')


def _version_resource(data):
    """(the VS_VERSIONINFO bytes, the resource's language ID)."""
    root, to_offset = _resource_section(data)
    _, types = _first_entry(data, root, RT_VERSION)
    _, names = _first_entry(data, root + (types & 0x7FFFFFFF))
    language, leaf = _first_entry(data, root + (names & 0x7FFFFFFF))
    rva, size = struct.unpack_from('<II', data, root + (leaf & 0x7FFFFFFF))
    start = to_offset(rva)
    return data[start:start + size], language, start


def _align(offset):
    return (offset + 3) & ~3


def _block(info, offset):
    """One block of the version information: (key, value offset, value size
    in bytes, offset of its first child, offset of its end)."""
    length, value_length, kind = struct.unpack_from('<HHH', info, offset)
    if length < 6:
        raise NotVersioned('a version block of length %d' % length)
    key_end = offset + 6
    while info[key_end:key_end + 2] != b'\0\0':
        if key_end + 2 > len(info):
            raise NotVersioned('a version key without its terminating NUL')
        key_end += 2
    key = info[offset + 6:key_end].decode('utf-16-le')
    value = _align(key_end + 2)
    value_size = value_length * 2 if kind == 1 else value_length
    return key, value, value_size, _align(value + value_size), offset + length


def fixed_info_offset(data):
    """The file offset of the program's VS_FIXEDFILEINFO."""
    info, _, start = _version_resource(data)
    _, value, size, _, _ = _block(info, 0)
    if size < 52 or _u32(info, value) != FIXED_SIGNATURE:
        raise NotVersioned('no fixed version information')
    return start + value


def read_version(data):
    """(file version "a.b.c.d", language ID) of a program's bytes. The
    language is that of the first translation the resource lists, else the
    language the resource is filed under."""
    info, language, _ = _version_resource(data)
    _, value, size, child, end = _block(info, 0)
    if size < 52 or _u32(info, value) != FIXED_SIGNATURE:
        raise NotVersioned('no fixed version information')
    ms, ls = _u32(info, value + 8), _u32(info, value + 12)
    version = '%d.%d.%d.%d' % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    while child < end:
        key, _, _, grandchild, child_end = _block(info, child)
        if key == 'VarFileInfo':
            while grandchild < child_end:
                name, value, size, _, next_child = _block(info, grandchild)
                if name == 'Translation' and size >= 4:
                    return version, _u16(info, value)
                grandchild = _align(next_child)
        child = _align(child_end)
    return version, language


def main(path):
    with open(path, 'rb') as f:
        data = f.read()
    try:
        version, language = read_version(data)
    except (NotVersioned, struct.error, UnicodeDecodeError) as e:
        sys.exit('%s: %s' % (path, e))
    print(version, language)


if __name__ == '__main__':
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    main(sys.argv[1])
