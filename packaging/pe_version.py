"""Reads, through pefile, the version a Windows program carries: its version
resource (the fixed part's file and product version, the string table's
texts, the first translation's language) and its manifest's assembly
version. An installer files the program by the file version and language;
the release's checks compare all of them with the project's version.

Usage: pe_version.py EXE                  prints one "NAME VALUE" line each:
                                          file, product, FileVersion,
                                          ProductVersion, language, manifest
       pe_version.py EXE --set A.B.C.D    writes A.B.C.D as the fixed part's
                                          file and product version
"""
import sys
import xml.etree.ElementTree as ElementTree

import pefile

ASSEMBLY = '{urn:schemas-microsoft-com:asm.v1}'


def _quad(ms, ls):
    return '%d.%d.%d.%d' % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def _program(path):
    try:
        pe = pefile.PE(path, fast_load=True)
    except (OSError, pefile.PEFormatError) as e:
        raise SystemExit('%s: %s' % (path, e))
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY['IMAGE_DIRECTORY_ENTRY_RESOURCE']])
    if not getattr(pe, 'VS_FIXEDFILEINFO', None):
        raise SystemExit('%s: no version resource' % path)
    return pe


def _strings_and_language(pe):
    strings, language = {}, None
    for info in pe.FileInfo[0]:
        for table in getattr(info, 'StringTable', []):
            strings.update((k.decode(), v.decode()) for k, v in table.entries.items())
        for var in getattr(info, 'Var', []):
            if b'Translation' in var.entry and language is None:
                language = int(var.entry[b'Translation'].split()[0], 16)
    if language is None:
        raise SystemExit('the version resource lists no translation')
    return strings, language


def _manifest_version(pe):
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id != pefile.RESOURCE_TYPE['RT_MANIFEST']:
            continue
        data = kind.directory.entries[0].directory.entries[0].data.struct
        text = pe.get_data(data.OffsetToData, data.Size)
        identity = ElementTree.fromstring(text).find(ASSEMBLY + 'assemblyIdentity')
        return identity.get('version') if identity is not None else None
    return None


def read_version(path):
    """(file version "a.b.c.d", language ID): what an installer's File row
    keeps for a versioned file."""
    pe = _program(path)
    fixed = pe.VS_FIXEDFILEINFO[0]
    return _quad(fixed.FileVersionMS, fixed.FileVersionLS), _strings_and_language(pe)[1]


def describe(path):
    pe = _program(path)
    fixed = pe.VS_FIXEDFILEINFO[0]
    strings, language = _strings_and_language(pe)
    return [('file', _quad(fixed.FileVersionMS, fixed.FileVersionLS)),
            ('product', _quad(fixed.ProductVersionMS, fixed.ProductVersionLS)),
            ('FileVersion', strings.get('FileVersion')),
            ('ProductVersion', strings.get('ProductVersion')),
            ('language', language),
            ('manifest', _manifest_version(pe))]


def set_version(path, version):
    a, b, c, d = (int(part) for part in version.split('.'))
    pe = _program(path)
    fixed = pe.VS_FIXEDFILEINFO[0]
    fixed.FileVersionMS = fixed.ProductVersionMS = a << 16 | b
    fixed.FileVersionLS = fixed.ProductVersionLS = c << 16 | d
    data = pe.write()
    pe.close()
    with open(path, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    if len(sys.argv) == 2:
        for name, value in describe(sys.argv[1]):
            print(name, value)
    elif len(sys.argv) == 4 and sys.argv[2] == '--set':
        set_version(sys.argv[1], sys.argv[3])
    else:
        sys.exit(__doc__.split('\n\n')[1])
