"""Sets in an MSI written by wixl what wixl cannot be told, through the
same installer-database library wixl writes with:

- the package code: wixl draws a random one, so two builds would differ;
- the creation and save times: wixl takes the clock's;
- the template's language: wixl always writes 1033, whatever the product's;
- the database code page: wixl leaves it neutral, and Windows would then
  read the Chinese names in whatever ANSI code page the machine has.

The table texts must already be in that code page (scripts/release.sh
runs wixl with WINDOWS_LANGUAGE for it); the same variable must be set
here, since the library reads a neutral database in that code page.

Usage: msi_finish.py MSI PACKAGE-CODE LANGUAGE CODEPAGE EPOCH
"""
import os
import sys
import tempfile

import gi

gi.require_version('Libmsi', '1.0')
from gi.repository import Libmsi  # noqa: E402

# Seconds from 1601-01-01, where a FILETIME counts from, to 1970-01-01.
FILETIME_EPOCH_OFFSET = 11644473600


def main(path, package_code, language, codepage, epoch):
    db = Libmsi.Database.new(path, Libmsi.DbFlags.TRANSACT, None)
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


if __name__ == '__main__':
    if len(sys.argv) != 6:
        sys.exit(__doc__.strip().splitlines()[-1])
    main(*sys.argv[1:])
