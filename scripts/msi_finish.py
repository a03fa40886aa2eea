"""Sets in an MSI written by wixl what wixl cannot be told, through the
same installer-database library wixl writes with:

- the package code: wixl draws a random one, so two builds would differ;
- the creation and save times: wixl takes the clock's;
- the template's language: wixl always writes 1033, whatever the product's;
- the database code page: wixl leaves it neutral, and Windows would then
  read the Chinese names in whatever ANSI code page the machine has;
- the program's version and language: wixl writes every file unversioned,
  with a hash, so Windows Installer would replace the program by the rules
  of a data file; they are read from the program's version resource;
- the summary information's texts: the library writes them in UTF-8,
  which Windows reads in the code page the summary names (936), so the
  subject and comments came out garbled; they are written anew in it;
- upgrades of the same version: wixl's major upgrade finds only lower
  versions, so a package of the same version with other files (a signed
  build over an unsigned one, a rebuild) would be refused as the same
  product; its upgrade row is widened to include the version itself. A
  higher installed version is still refused.

The table texts must already be in that code page (scripts/release.sh
runs wixl with WINDOWS_LANGUAGE for it); the same variable must be set
here, since the library reads a neutral database in that code page.

Usage: msi_finish.py MSI PACKAGE-CODE LANGUAGE CODEPAGE EPOCH PROGRAM
(PROGRAM: the staged program file; its File row is named after it.)
"""
import os
import struct
import sys
import tempfile

import gi

from compound_stream import CompoundFile
from msi_query import run, select
from pe_version import read_version

gi.require_version('Libmsi', '1.0')
from gi.repository import Libmsi  # noqa: E402

# Seconds from 1601-01-01, where a FILETIME counts from, to 1970-01-01.
FILETIME_EPOCH_OFFSET = 11644473600

SUMMARY_STREAM = '\x05SummaryInformation'
PID_CODEPAGE = 1
VT_I2, VT_LPSTR = 2, 30
# The stored size, type included, of the summary's fixed-size values:
# 2- and 4-byte integers, file times.
FIXED_SIZES = {VT_I2: 8, 3: 8, 64: 12}

# The Upgrade row's flag that makes its maximum version inclusive.
VERSION_MAX_INCLUSIVE = 0x200


def set_program_version(db, program):
    """Files the program as versioned: its version and language in its File
    row, and no hash row, which Windows Installer keeps for unversioned
    files only."""
    with open(program, 'rb') as f:
        version, language = read_version(f.read())
    key = os.path.basename(program)
    if not select(db, "SELECT `File` FROM `File` WHERE `File` = '%s'" % key):
        raise SystemExit('%s: no File row %s' % (sys.argv[1], key))
    run(db, "UPDATE `File` SET `Version` = '%s', `Language` = '%d' WHERE `File` = '%s'"
        % (version, language, key))
    run(db, "DELETE FROM `MsiFileHash` WHERE `File_` = '%s'" % key)


def allow_same_version_upgrades(db):
    """Makes the upgrade row include its maximum, the package's own
    version. The attributes are part of the row's key, so the row is
    written anew."""
    rows = select(db, "SELECT `UpgradeCode`, `VersionMax`, `Attributes` FROM `Upgrade` "
                      "WHERE `ActionProperty` = 'WIX_UPGRADE_DETECTED'")
    if len(rows) != 1:
        raise SystemExit('%s: expected one upgrade row, found %d' % (sys.argv[1], len(rows)))
    code, version_max, attributes = rows[0]
    run(db, "DELETE FROM `Upgrade` WHERE `ActionProperty` = 'WIX_UPGRADE_DETECTED'")
    run(db, "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMax`, `Attributes`, `ActionProperty`) "
            "VALUES ('%s', '%s', %d, 'WIX_UPGRADE_DETECTED')"
        % (code, version_max, int(attributes) | VERSION_MAX_INCLUSIVE))


def recode_property_set(stream, encoding, codepage):
    """The summary information property set with its UTF-8 texts written in
    the given encoding; fails unless the set names that code page."""
    section = struct.unpack_from('<I', stream, 44)[0]
    count = struct.unpack_from('<I', stream, section + 4)[0]
    ids = [struct.unpack_from('<II', stream, section + 8 + 8 * i) for i in range(count)]
    values = []
    for pid, offset in ids:
        start = section + offset
        kind = struct.unpack_from('<I', stream, start)[0]
        if kind == VT_LPSTR:
            length = struct.unpack_from('<I', stream, start + 4)[0]
            text = stream[start + 8:start + 8 + length].rstrip(b'\0').decode('utf-8')
            encoded = text.encode(encoding) + b'\0'
            value = struct.pack('<II', VT_LPSTR, len(encoded)) + encoded
            values.append(value + b'\0' * (-len(value) % 4))
        else:
            if pid == PID_CODEPAGE and (kind != VT_I2 or
                                        struct.unpack_from('<H', stream, start + 4)[0] != codepage):
                raise SystemExit('%s: the summary does not name code page %d' % (sys.argv[1], codepage))
            if kind not in FIXED_SIZES:
                raise SystemExit('%s: summary property %d of type %d' % (sys.argv[1], pid, kind))
            values.append(stream[start:start + FIXED_SIZES[kind]])
    table_end = 8 + 8 * count
    offsets, body = [], b''
    for value in values:
        offsets.append(table_end + len(body))
        body += value
    header = struct.pack('<II', table_end + len(body), count)
    header += b''.join(struct.pack('<II', pid, o) for (pid, _), o in zip(ids, offsets))
    return stream[:section] + header + body


def recode_summary(path, codepage):
    with open(path, 'rb') as f:
        data = bytearray(f.read())
    container = CompoundFile(data)
    stream = container.read(SUMMARY_STREAM)
    container.replace(SUMMARY_STREAM, recode_property_set(stream, 'cp%d' % codepage, codepage))
    with open(path, 'wb') as f:
        f.write(data)


def main(path, package_code, language, codepage, epoch, program):
    db = Libmsi.Database.new(path, Libmsi.DbFlags.TRANSACT, None)
    set_program_version(db, program)
    allow_same_version_upgrades(db)
    info = Libmsi.SummaryInfo.new(db, 8)
    platform = info.get_string(Libmsi.Property.TEMPLATE).split(';')[0]
    info.set_string(Libmsi.Property.TEMPLATE, platform + ';' + language)
    info.set_string(Libmsi.Property.UUID, '{' + package_code + '}')
    filetime = (int(epoch) + FILETIME_EPOCH_OFFSET) * 10000000
    info.set_filetime(Libmsi.Property.CREATED_TM, filetime)
    info.set_filetime(Libmsi.Property.LASTSAVED_TM, filetime)
    info.save(db)
    # The code page is set the one way the format has: importing the
    # special table _ForceCodepage.
    with tempfile.TemporaryDirectory() as folder:
        idt = os.path.join(folder, '_ForceCodepage.idt')
        with open(idt, 'w', newline='') as f:
            f.write('\r\n\r\n%s\t_ForceCodepage\r\n' % codepage)
        db.import_(idt)
    db.commit()
    del db
    # Last: the library reads summary texts as UTF-8 and would garble them.
    recode_summary(path, int(codepage))


if __name__ == '__main__':
    if len(sys.argv) != 7:
        sys.exit(__doc__.strip().splitlines()[-1])
    main(*sys.argv[1:])
