"""The release's software bill of materials, in CycloneDX 1.5 JSON.

third_party.py finds the parts linked into the program, each with its
licence and the Debian package it comes from (package, version, arch,
summary, and "within" for a part built into another); sbom_bytes makes of
them the program's component (with its SHA-256), one component per Debian
package at its installed version with a purl naming its architecture and
Debian release, and the parts nested under it, each licence an SPDX id or
expression. The bill is checked with sbom_check.py before it is given.
"""
import datetime
import json
import urllib.parse
import uuid

import sbom_check

PRODUCT = {"name": "ichscore", "supplier": "XeluMed",
           # No licence is published for the program: it is the maker's own.
           "licence": "LicenseRef-XeluMed-Proprietary"}


class Unsound(Exception):
    """The bill made fails its check."""


def expression(licences):
    """The SPDX expression of all the given licences together."""
    unique = list(dict.fromkeys(licences))
    if len(unique) == 1:
        return unique[0]
    return " AND ".join(f"({x})" if " OR " in x else x for x in unique)


def licence_of(text):
    """A CycloneDX licence choice: a single SPDX id as an id, anything more as an expression."""
    return [{"license": {"id": text}} if " " not in text and not text.startswith("LicenseRef-")
            else {"expression": text}]


def combined_licence(e, entries):
    """A part's licence with those of the parts built into it."""
    return expression([e["licence"]] + [combined_licence(i, entries) for i in entries
                                        if i.get("within") == e["name"]])


def part_component(e, entries):
    """A part as a component, the parts built into it nested; its licence covers them."""
    inner = [part_component(i, entries) for i in entries if i.get("within") == e["name"]]
    component = {"bom-ref": e["name"], "type": "library", "name": e["name"], "description": e["title"],
                 "licenses": licence_of(combined_licence(e, entries))}
    return dict(component, components=inner) if inner else component


def package_component(package, entries):
    """A Debian package as a component, with its purl and the parts linked from it."""
    tops = [e for e in entries if e["package"] == package and not e.get("within")]
    purl = (f"pkg:deb/debian/{urllib.parse.quote(package, safe='')}"
            f"@{urllib.parse.quote(tops[0]['version'], safe=':')}"
            f"?arch={tops[0]['arch']}&distro={sbom_check.DISTRO}")
    return {"bom-ref": purl, "type": "library", "name": package, "version": tops[0]["version"],
            "description": tops[0]["summary"], "supplier": {"name": "Debian"}, "purl": purl,
            "licenses": licence_of(expression([combined_licence(e, entries) for e in tops])),
            "components": [part_component(e, entries) for e in tops]}


def sbom_bytes(sha256, version, epoch, entries):
    """The CycloneDX 1.5 JSON bill of materials of the program and its components."""
    program_ref = f"ichscore@{version}"
    packages = sorted({e["package"] for e in entries})
    components = [package_component(p, entries) for p in packages]
    moment = datetime.datetime.fromtimestamp(epoch, datetime.timezone.utc)
    supplier = {"name": PRODUCT["supplier"]}
    bom = {
        "$schema": "http://cyclonedx.org/schema/bom-1.5.schema.json",
        "bomFormat": "CycloneDX", "specVersion": "1.5", "version": 1,
        # Named by the program and its version: the same release, the same serial number.
        "serialNumber": uuid.uuid5(uuid.NAMESPACE_URL, f"urn:ichscore:{version}:{sha256}").urn,
        "metadata": {
            "timestamp": moment.strftime("%Y-%m-%dT%H:%M:%SZ"),
            "tools": {"components": [{
                "type": "application", "name": "third_party.py", "group": "ichscore",
                "version": version, "supplier": supplier,
                "description": "ichscore's packaging step: the bill from the linker's map"}]},
            "component": {
                "bom-ref": program_ref, "type": "application", "name": PRODUCT["name"],
                "version": version, "supplier": supplier, "publisher": PRODUCT["supplier"],
                "licenses": licence_of(PRODUCT["licence"]),
                "hashes": [{"alg": "SHA-256", "content": sha256}]}},
        "components": components,
        "dependencies": [{"ref": program_ref, "dependsOn": [c["bom-ref"] for c in components]}],
    }
    problems = sbom_check.problems(bom)
    if problems:
        raise Unsound(f"the bill of materials fails its check: {problems[0]}")
    return (json.dumps(bom, indent=2, sort_keys=True, ensure_ascii=False) + "\n").encode("utf-8")
