"""Sets in an MSI written by wixl what wixl cannot be told, through the
installer-database library wixl writes with (every query with bound
parameters):

- the package code: wixl draws a random one, so two builds would differ;
- the creation and save times: wixl takes the clock's;
- the template's language: wixl always writes 1033, whatever the product's;
- the database code page: wixl leaves it neutral, and Windows would then
  read the Chinese names in whatever ANSI code page the machine has;
- the program's version and language: wixl writes every file unversioned,
  with a hash, so Windows Installer would replace the program by the rules
  of a data file; they are read from the program's version resource;
- the summary information's texts: wixl hands them to the library in
  UTF-8, which the library stores as given, while Windows reads them in
  the code page the summary names (936); they are given to the library
  anew, already in that code page;
- upgrades of the same version: wixl's major upgrade finds only lower
  versions, so a package of the same version with other files (a signed
  build over an unsigned one, a rebuild) would be refused as the same
  product; its upgrade row is widened to include the version itself. A
  higher installed version is still refused.

The table texts must already be in that code page (release.sh runs wixl
with WINDOWS_LANGUAGE for it); the same variable must be set here, since
the library reads a neutral database in that code page.

Usage: msi_finish.py MSI PACKAGE-CODE LANGUAGE CODEPAGE EPOCH PROGRAM
(PROGRAM: the staged program file; its File row is named after it.)
"""
import ctypes
import os
import sys
import tempfile

import gi

from pe_version import read_version

gi.require_version('Libmsi', '1.0')
from gi.repository import Libmsi  # noqa: E402

# Seconds from 1601-01-01, where a FILETIME counts from, to 1970-01-01.
FILETIME_EPOCH_OFFSET = 11644473600

# The Upgrade row's flag that makes its maximum version inclusive.
VERSION_MAX_INCLUSIVE = 0x200


def _record(*fields):
    record = Libmsi.Record.new(len(fields))
    for i, field in enumerate(fields, 1):
        if isinstance(field, int):
            record.set_int(i, field)
        else:
            record.set_string(i, field)
    return record


def run(db, sql, *parameters):
    """Runs one query, its ? markers bound to the parameters in order."""
    query = Libmsi.Query.new(db, sql)
    query.execute(_record(*parameters) if parameters else None)
    query.close()


def select(db, sql, *parameters):
    """The rows of a query, each a list of its fields as text."""
    query = Libmsi.Query.new(db, sql)
    query.execute(_record(*parameters) if parameters else None)
    rows = []
    while (row := query.fetch()) is not None:
        rows.append([row.get_string(i) for i in range(1, row.get_field_count() + 1)])
    query.close()
    return rows


def set_program_version(db, program):
    """Files the program as versioned: its version and language in its File
    row, and no hash row, which Windows Installer keeps for unversioned
    files only."""
    version, language = read_version(program)
    key = os.path.basename(program)
    if not select(db, 'SELECT `File` FROM `File` WHERE `File` = ?', key):
        raise SystemExit('%s: no File row %s' % (sys.argv[1], key))
    run(db, 'UPDATE `File` SET `Version` = ?, `Language` = ? WHERE `File` = ?',
        version, str(language), key)
    run(db, 'DELETE FROM `MsiFileHash` WHERE `File_` = ?', key)


def allow_same_version_upgrades(db):
    """Makes the upgrade row include its maximum, the package's own
    version. The attributes are part of the row's key, so the row is
    written anew."""
    detected = 'WIX_UPGRADE_DETECTED'
    rows = select(db, 'SELECT `UpgradeCode`, `VersionMax`, `Attributes` FROM `Upgrade` '
                      'WHERE `ActionProperty` = ?', detected)
    if len(rows) != 1:
        raise SystemExit('%s: expected one upgrade row, found %d' % (sys.argv[1], len(rows)))
    code, version_max, attributes = rows[0]
    run(db, 'DELETE FROM `Upgrade` WHERE `ActionProperty` = ?', detected)
    run(db, 'INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMax`, `Attributes`, `ActionProperty`) '
            'VALUES (?, ?, ?, ?)', code, version_max, int(attributes) | VERSION_MAX_INCLUSIVE, detected)


def set_summary_texts_in(info, codepage):
    """Gives the library every summary text that is not plain ASCII anew,
    in the code page the summary names. The bindings take UTF-8 text only,
    so the library's own setter is called with the encoded bytes."""
    if info.get_int(Libmsi.Property.CODEPAGE) != codepage:
        raise SystemExit('%s: the summary does not name code page %d' % (sys.argv[1], codepage))
    library = ctypes.CDLL('libmsi.so.0')
    setter = library.libmsi_summary_info_set_string
    setter.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_char_p, ctypes.c_void_p]
    setter.restype = ctypes.c_int
    pointer = ctypes.pythonapi.PyCapsule_GetPointer
    pointer.argtypes = [ctypes.py_object, ctypes.c_char_p]
    pointer.restype = ctypes.c_void_p
    summary = pointer(info.__gpointer__, None)
    for prop in info.get_properties():
        if info.get_property_type(prop) != Libmsi.PropertyType.STRING:
            continue
        text = info.get_string(prop)
        if not text.isascii() and not setter(summary, int(prop), text.encode('cp%d' % codepage), None):
            raise SystemExit('%s: the summary text %s cannot be set' % (sys.argv[1], prop.value_nick))


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
    # Last: once set in the code page, the texts no longer read as UTF-8.
    set_summary_texts_in(info, int(codepage))
    info.save(db)
    # The code page is set the one way the format has: importing the
    # special table _ForceCodepage.
    with tempfile.TemporaryDirectory() as folder:
        idt = os.path.join(folder, '_ForceCodepage.idt')
        with open(idt, 'w', newline='') as f:
            f.write('\r\n\r\n%s\t_ForceCodepage\r\n' % codepage)
        db.import_(idt)
    db.commit()


if __name__ == '__main__':
    if len(sys.argv) != 7:
        sys.exit(__doc__.strip().splitlines()[-2])
    main(*sys.argv[1:])
