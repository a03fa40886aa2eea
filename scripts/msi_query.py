"""Runs SQL on an installer database through the library wixl writes with.

Usage: msi_query.py MSI SQL    prints the rows a SELECT finds, one a line,
                               their fields separated by tabs
"""
import sys

import gi

gi.require_version('Libmsi', '1.0')
from gi.repository import Libmsi  # noqa: E402


def run(db, sql):
    query = Libmsi.Query.new(db, sql)
    query.execute(None)
    query.close()


def select(db, sql):
    """The rows of a query, each a list of its fields as text."""
    query = Libmsi.Query.new(db, sql)
    query.execute(None)
    rows = []
    while True:
        record = query.fetch()
        if record is None:
            break
        rows.append([record.get_string(i) for i in range(1, record.get_field_count() + 1)])
    query.close()
    return rows


def main(path, sql):
    db = Libmsi.Database.new(path, Libmsi.DbFlags.READONLY, None)
    for row in select(db, sql):
        print('\t'.join(row))


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-2])
    main(*sys.argv[1:])
