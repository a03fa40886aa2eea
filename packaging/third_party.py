"""Writes the release's third-party notices and its software bill of materials.

usage: /usr/bin/python3 packaging/third_party.py PROGRAM VERSION EPOCH NOTICES_OUT SBOM_OUT

PROGRAM is the staged ichscore.exe, VERSION the project's version, EPOCH the
release's date in Unix seconds. NOTICES_OUT gets the notices of the code
linked statically into the program, from the Debian copyright files of the
packages that hold it (UTF-8, byte-order mark, CR LF: for Notepad); SBOM_OUT
a CycloneDX 1.5 JSON bill of materials of the program (with its SHA-256) and
those components (at their installed Debian versions). Same inputs, same
bytes. If anything is missing: one line on stderr, neither file, exit 1.
"""
import datetime
import hashlib
import json
import os
import pathlib
import re
import subprocess
import sys
import urllib.parse
import uuid

COMPILER = "x86_64-w64-mingw32-g++-posix"
GCC = {"licence": "GPL-3.0-or-later WITH GCC-exception-3.1",
       # Debian's GCC copyright file is not machine-readable: its notice and
       # the runtime library exception are taken as runs of lines.
       "notices": (("lines", "GCC is Copyright (C)", "- libvtv"),
                   ("lines", "GCC RUNTIME LIBRARY EXCEPTION",
                    "requirements of the license of GCC.")),
       "links": ("GPL-3.0: https://www.gnu.org/licenses/gpl-3.0.txt",
                 "GCC-exception-3.1: https://www.gnu.org/licenses/gcc-exception-3.1.txt")}

# The code linked into the program, as the linker's map of a release build
# lists it. The compiler finds the "files", and the one Debian package that
# holds them is the component's. "notices" say what to copy from that
# package's copyright file: the machine-readable "Files:" paragraph that
# lists a pattern, or a run of lines from the first text to the last. The
# "marker" is a text the program holds when the component is linked in; a
# missing one is only a warning.
COMPONENTS = (
    dict(name="mingw-w64-crt", title="mingw-w64 runtime: C runtime, startup code, gdtoa", links=(),
         files=("crt2u.o", "libmingw32.a", "libmingwex.a", "libmsvcrt.a"),
         licence="ZPL-2.1 AND LicenseRef-Lucent-gdtoa", marker="Mingw-w64 runtime failure",
         notices=(("files", "*"), ("files", "mingw-w64-crt/gdtoa/*"))),
    dict(name="winpthreads", title="mingw-w64 winpthreads: POSIX threads for Windows", links=(),
         files=("libwinpthread.a",), licence="MIT AND BSD-3-Clause",
         marker="mingw-w64-libraries/winpthreads/",
         notices=(("files", "mingw-w64-libraries/winpthreads/*"),
                  ("files", "mingw-w64-libraries/winpthreads/include/pthread.h"))),
    dict(GCC, name="libstdc++", title="GCC C++ standard library", files=("libstdc++.a",),
         marker="terminate called after throwing an instance of"),
    dict(GCC, name="libgcc", title="GCC low-level runtime and unwinder",
         files=("libgcc.a", "libgcc_eh.a", "crtbegin.o"), marker=None),
    dict(GCC, name="libssp", title="GCC stack smashing protector",
         files=("libssp.a", "libssp_nonshared.a"), marker="stack smashing detected"),
)
HEADING = ("本文件列出 ICH 脑出血评分程序（ichscore.exe）中包含的第三方组件及其许可证和版权声明。\n"
           "This file lists the third-party components linked into ichscore.exe {version}, "
           "their licences and the notices they require.")
RULE, THIN_RULE = "=" * 72, "-" * 72


class Missing(Exception):
    """Something the outputs are made from is missing or unreadable."""


def run(*args):
    """The standard output of a command; Missing with its first error line if it fails."""
    done = subprocess.run(args, capture_output=True, text=True)
    if done.returncode != 0:
        raise Missing(f"{' '.join(args)}: {(done.stderr.strip().splitlines() or ['failed'])[0]}")
    return done.stdout


def owning_package(name):
    """The Debian package holding the library file the compiler links for name."""
    found = run(COMPILER, f"-print-file-name={name}").strip()
    if not os.path.isabs(found):
        raise Missing(f"{COMPILER} finds no {name}")
    path = os.path.normpath(found)
    owners = run("dpkg", "-S", path).rpartition(": ")[0].split(", ")
    if len(owners) != 1:
        raise Missing(f"several Debian packages hold {path}: {', '.join(owners)}")
    return owners[0].split(":")[0]  # without a multiarch qualifier


def paragraphs(text):
    """The paragraphs of a machine-readable Debian copyright file: field -> its lines."""
    result = []
    for block in re.split(r"\n[ \t]*\n", text):
        fields, name = {}, None
        for line in block.splitlines():
            if line[:1] in (" ", "\t") and name:  # one space off; " ." is an empty line
                fields[name].append("" if line.strip() == "." else line[1:].rstrip())
            elif ":" in line and not line.startswith("#"):
                name, value = line.split(":", 1)
                name = name.strip().lower()
                fields[name] = [value.strip()]
        result += [fields] if fields else []
    return result


def files_notice(text, pattern, where):
    """The copyright and licence text of the Files: paragraph that lists pattern."""
    found = paragraphs(text)
    for fields in found:
        patterns = " ".join(fields.get("files", [])).split()
        if pattern in patterns and fields.get("license"):
            name, licence = fields["license"][0], "\n".join(fields["license"][1:])
            if not licence.strip():  # the text is in a standalone License: paragraph
                licence = next(("\n".join(p["license"][1:]) for p in found if "files" not in p
                                and p.get("license", [""])[0] == name), "")
            licence = licence.strip("\n")
            if not licence.strip():
                raise Missing(f"no text of licence {name} in {where}")
            holders = "\n           ".join(line.strip() for line in fields.get("copyright", []))
            return (f"Files: {' '.join(patterns)}\nCopyright: {holders}\n"
                    f"License: {name}\n\n{licence}")
    raise Missing(f"no 'Files: {pattern}' paragraph with a License in {where}")


def lines_notice(text, first, last, where):
    """The text from the line starting with first to the next line starting with last."""
    found = re.search(rf"^[ \t]*{re.escape(first)}.*?^[ \t]*{re.escape(last)}[^\n]*", text,
                      re.MULTILINE | re.DOTALL)
    if not found:
        raise Missing(f"no text from '{first}' to '{last}' in {where}")
    return "\n".join(line.rstrip() for line in found.group(0).splitlines())


def describe(component, program):
    """The component with its Debian package, version, architecture and notice texts."""
    packages = {owning_package(name) for name in component["files"]}
    if len(packages) != 1:
        raise Missing(f"{component['name']}'s files are in several packages: {sorted(packages)}")
    package = packages.pop()
    query = run("dpkg-query", "-W", "-f=${Version}\t${Architecture}", package)
    version, _, arch = query.partition("\t")
    if not version or not arch:
        raise Missing(f"dpkg-query gives no version of {package}")
    where = f"/usr/share/doc/{package}/copyright"
    try:
        text = pathlib.Path(where).read_text(encoding="utf-8")
    except (OSError, ValueError) as e:
        raise Missing(f"cannot read {where}, the copyright file of {package}: "
                      f"{getattr(e, 'strerror', None) or e}") from e
    texts = tuple(files_notice(text, rule[1], where) if rule[0] == "files"
                  else lines_notice(text, rule[1], rule[2], where) for rule in component["notices"])
    if component["marker"] and component["marker"].encode() not in program:
        print(f"third_party: warning: the program lacks '{component['marker']}'; "
              f"is {component['name']} still linked in?", file=sys.stderr)
    return dict(component, package=package, version=version, arch=arch, texts=texts)


def notices_bytes(version, entries):
    """The notices file: a heading, then each component with its notice texts."""
    out, given = [HEADING.format(version=version), ""], {}
    for e in entries:
        out += [RULE, f"{e['name']}: {e['title']}",
                f"Debian package: {e['package']} {e['version']} ({e['arch']})",
                f"Licence (SPDX): {e['licence']}",
                *(f"Licence text: {link}" for link in e["links"]),
                f"Notices, from the Debian copyright file of {e['package']}:", RULE, ""]
        same = e["texts"] in given
        for text in [f"The same notices as for {given[e['texts']]} above."] if same else e["texts"]:
            out += [text, "", THIN_RULE, ""]
        given.setdefault(e["texts"], e["name"])
    return b"\xef\xbb\xbf" + "\r\n".join("\n".join(out).split("\n")).encode("utf-8")


def sbom_bytes(sha256, version, epoch, entries):
    """The CycloneDX 1.5 JSON bill of materials of the program and its components."""
    program_ref = f"ichscore@{version}"
    components = sorted(({
        "bom-ref": e["name"], "type": "library", "name": e["name"], "version": e["version"],
        "description": e["title"], "supplier": {"name": "Debian"},
        # A single SPDX id goes in license.id, anything more as an expression.
        "licenses": [{"license": {"id": e["licence"]}} if " " not in e["licence"]
                     else {"expression": e["licence"]}],
        "purl": (f"pkg:deb/debian/{urllib.parse.quote(e['package'], safe='')}"
                 f"@{urllib.parse.quote(e['version'], safe=':')}?arch={e['arch']}"),
        "properties": [{"name": "debian:package", "value": e["package"]}],
    } for e in entries), key=lambda c: c["name"])
    moment = datetime.datetime.fromtimestamp(epoch, datetime.timezone.utc)
    bom = {
        "$schema": "http://cyclonedx.org/schema/bom-1.5.schema.json",
        "bomFormat": "CycloneDX", "specVersion": "1.5", "version": 1,
        # Named by the program and its version: the same release, the same serial number.
        "serialNumber": uuid.uuid5(uuid.NAMESPACE_URL, f"urn:ichscore:{version}:{sha256}").urn,
        "metadata": {"timestamp": moment.strftime("%Y-%m-%dT%H:%M:%SZ"), "component": {
            "bom-ref": program_ref, "type": "application", "name": "ichscore", "version": version,
            "hashes": [{"alg": "SHA-256", "content": sha256}]}},
        "components": components,
        "dependencies": [{"ref": program_ref, "dependsOn": [c["bom-ref"] for c in components]}],
    }
    return (json.dumps(bom, indent=2, sort_keys=True, ensure_ascii=False) + "\n").encode("utf-8")


def main(argv):
    """Writes both files, or neither and says what is missing."""
    if len(argv) != 6:
        print(__doc__.splitlines()[2], file=sys.stderr)
        return 2
    program, version, epoch, notices_out, sbom_out = argv[1:]
    try:
        if not re.fullmatch(r"[0-9]+", epoch) or not version:
            raise Missing(f"EPOCH must be whole seconds, VERSION not empty: '{epoch}' '{version}'")
        try:
            data = pathlib.Path(program).read_bytes()
        except OSError as e:
            raise Missing(f"cannot read the program {program}: {e.strerror}") from e
        entries = [describe(c, data) for c in COMPONENTS]
        sha256 = hashlib.sha256(data).hexdigest()
        outputs = ((notices_out, notices_bytes(version, entries)),
                   (sbom_out, sbom_bytes(sha256, version, int(epoch), entries)))
        # Both are written in full beside their places before either is moved in.
        for path, content in outputs:
            pathlib.Path(path + ".tmp").write_bytes(content)
        for path, _ in outputs:
            os.replace(path + ".tmp", path)
    except (Missing, OSError) as e:
        for path in (notices_out, sbom_out, notices_out + ".tmp", sbom_out + ".tmp"):
            pathlib.Path(path).unlink(missing_ok=True)
        print(f"third_party: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
