"""Checks a CycloneDX 1.5 JSON bill of materials the way a scanner reads it.

usage: /usr/bin/python3 packaging/sbom_check.py BILL

The bill must pass the CycloneDX 1.5 JSON schema kept in packaging/cyclonedx/
(whose objects reject properties they do not define), and, beyond what a
schema can say: no purl and no bom-ref on two components, nested ones
included, and every Debian purl names its architecture and its Debian
release (distro=debian-12), which scanners need to match advisories. Prints
each problem on a line of its own and exits 1, or exits 0 and prints
nothing. Each line names the rule broken in words of its own, which stay
the same: "schema: PATH: ...", "purl on two components: ...", "bom-ref on
two components: ...", "Debian purl without arch and distro=debian-12: ...",
or "cannot read ..." for a file that is not JSON.
"""
import datetime
import json
import pathlib
import re
import sys
import urllib.parse

import jsonschema

SCHEMAS = pathlib.Path(__file__).resolve().parent / "cyclonedx"
BOM_SCHEMA = "bom-1.5.SNAPSHOT.schema.json"
# The schemas refer to each other by names under this address.
BASE = "http://cyclonedx.org/schema/"
DISTRO = "debian-12"
RFC3339 = re.compile(r"\d{4}-\d\d-\d\d[Tt]\d\d:\d\d:\d\d(\.\d+)?([Zz]|[+-]\d\d:\d\d)")

FORMATS = jsonschema.FormatChecker()


# Debian's jsonschema checks date-time only with a module Debian 12 lacks.
@FORMATS.checks("date-time", raises=ValueError)
def date_time(text):
    """An RFC 3339 time: a date, "T", a time and a zone, each part in its range."""
    if not isinstance(text, str):
        return True
    if not RFC3339.fullmatch(text):
        raise ValueError(f"not a date, time and zone: {text}")
    datetime.datetime.fromisoformat(re.sub("[Zz]$", "+00:00", text.upper()))
    return True


def validator():
    """A validator of the 1.5 schema that finds the schemas it refers to here."""
    store = {}
    for path in SCHEMAS.glob("*.schema.json"):
        schema = json.loads(path.read_text(encoding="utf-8"))
        store[BASE + path.name] = store[schema["$id"]] = schema
    schema = store[BASE + BOM_SCHEMA]
    resolver = jsonschema.RefResolver(BASE + BOM_SCHEMA, schema, store=store)
    return jsonschema.Draft7Validator(schema, resolver=resolver, format_checker=FORMATS)


def all_components(bom):
    """Every component of the bill, the described program and nested ones included."""
    if not isinstance(bom, dict):  # the schema says so
        return
    metadata = bom.get("metadata")
    todo = [metadata.get("component") if isinstance(metadata, dict) else None]
    todo += bom.get("components") if isinstance(bom.get("components"), list) else []
    while todo:
        c = todo.pop(0)
        if isinstance(c, dict):
            yield c
            todo += c["components"] if isinstance(c.get("components"), list) else []


def problems(bom):
    """What is wrong with the bill, one text per problem; empty when it is sound."""
    found = [f"schema: {'/'.join(map(str, e.absolute_path)) or '(top)'}: {e.message}"
             for e in sorted(validator().iter_errors(bom), key=lambda e: list(map(str, e.path)))]
    seen = {"purl": set(), "bom-ref": set()}
    for c in all_components(bom):
        # A value of another type than text is the schema's to report.
        for key, values in seen.items():
            if isinstance(c.get(key), str) and c[key] in values:
                found.append(f"{key} on two components: {c[key]}")
            values.add(c.get(key) if isinstance(c.get(key), str) else None)
        purl = c.get("purl") if isinstance(c.get("purl"), str) else ""
        if purl.startswith("pkg:deb/"):
            qualifiers = urllib.parse.parse_qs(urllib.parse.urlsplit(purl).query)
            if qualifiers.get("distro") != [DISTRO] or len(qualifiers.get("arch", [])) != 1:
                found.append(f"Debian purl without arch and distro={DISTRO}: {purl}")
    return found


def main(argv):
    if len(argv) != 2:
        print(__doc__.splitlines()[2], file=sys.stderr)
        return 2
    try:
        bom = json.loads(pathlib.Path(argv[1]).read_text(encoding="utf-8"))
    except (OSError, ValueError) as e:
        print(f"sbom_check: cannot read {argv[1]}: {e}")
        return 1
    found = problems(bom)
    for text in found:
        print(f"sbom_check: {argv[1]}: {text}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
