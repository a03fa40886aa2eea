"""Writes the release's third-party notices and its software bill of materials.

usage: /usr/bin/python3 packaging/third_party.py PROGRAM MAP OWN VERSION EPOCH NOTICES_OUT SBOM_OUT

PROGRAM is the staged ichscore.exe, MAP the linker's map of its link, OWN
the build's list of the link's own inputs (CMakeLists.txt writes it beside
the map), VERSION the project's version, EPOCH the release's date in Unix
seconds. The third-party code is every archive member and object file the
map shows linked that is not one of the project's own inputs, by an
absolute or a relative path: each must be covered by a rule of RULES, which
names the parts of PARTS its code belongs to. NOTICES_OUT gets the notices
of each linked part (UTF-8, byte-order mark, CR LF: for Notepad), from the
Debian copyright file of the package that holds it or from
packaging/licenses/, whose texts are from the sources of the GCC the
toolchain was built from (its package's Built-Using names it, and it must
be the one licenses/SOURCES.txt names); SBOM_OUT a CycloneDX 1.5 JSON bill
of materials (bill.py makes it): the program (with its SHA-256), one
component per Debian package at its installed version, the linked parts
nested under it. The bill is checked with sbom_check.py before it is
written. Same inputs, same bytes. If a member has no rule, a part's marker text is not in the program,
the kept notices are another GCC's, or anything is missing: one line on
stderr naming it, neither file, exit 1.
"""
import fnmatch
import hashlib
import os
import pathlib
import re
import subprocess
import sys

from debian import copyright as debian_copyright

import bill

HERE = pathlib.Path(__file__).resolve().parent
GCC = {"licence": "GPL-3.0-or-later WITH GCC-exception-3.1",
       # Debian's GCC copyright file is not machine-readable: its notice and
       # the runtime library exception are taken as runs of lines.
       "notices": (("lines", "GCC is Copyright (C)", "- libvtv"),
                   ("lines", "GCC RUNTIME LIBRARY EXCEPTION",
                    "requirements of the license of GCC.")),
       "links": ("GPL-3.0: https://www.gnu.org/licenses/gpl-3.0.txt",
                 "GCC-exception-3.1: https://www.gnu.org/licenses/gcc-exception-3.1.txt")}
APACHE = "Apache-2.0: https://www.apache.org/licenses/LICENSE-2.0"

# The code a part of the program comes from. "within" names the part it is
# built into (its Debian package is that part's); a part without one is in
# the Debian package that holds the files its members are linked from.
# "notices" say what to copy: the Files: paragraph of the package's Debian
# copyright file that lists a pattern, a run of its lines from the first
# text to the last, or a text kept in packaging/licenses/. The "marker" is a
# text the program holds when the part is linked in: a map from another
# link would not match.
PARTS = {p["name"]: p for p in (
    dict(name="mingw-w64-crt", title="mingw-w64 runtime: C runtime, startup code, import libraries",
         licence="ZPL-2.1", marker="Mingw-w64 runtime failure", notices=(("files", "*"),)),
    dict(name="gdtoa", within="mingw-w64-crt", title="number conversions, in the runtime's printf",
         licence="LicenseRef-Lucent-gdtoa", notices=(("files", "mingw-w64-crt/gdtoa/*"),)),
    dict(name="mingw-w64-printf", within="mingw-w64-crt", title="the mingw-w64 runtime's printf",
         licence="LicenseRef-Keith-Marshall",
         notices=(("files", "mingw-w64-crt/stdio/mingw_pformat.*"),)),
    dict(name="winpthreads", title="mingw-w64 winpthreads: POSIX threads for Windows",
         licence="MIT AND BSD-3-Clause", marker="mingw-w64-libraries/winpthreads/",
         notices=(("files", "mingw-w64-libraries/winpthreads/*"),
                  ("files", "mingw-w64-libraries/winpthreads/include/pthread.h"))),
    dict(GCC, name="libstdc++", title="GCC C++ standard library",
         marker="terminate called after throwing an instance of"),
    dict(name="ryu", within="libstdc++", title="double to text, in std::to_chars",
         licence="Apache-2.0 OR BSL-1.0", notices=(("text", "ryu.txt"), ("text", "BSL-1.0.txt")),
         links=(APACHE, "BSL-1.0: https://www.boost.org/LICENSE_1_0.txt")),
    dict(name="fast_float", within="libstdc++", title="text to double, in std::from_chars",
         licence="MIT OR Apache-2.0", notices=(("text", "fast_float.txt"),), links=(APACHE,)),
    dict(name="cp-demangle", within="libstdc++",
         title="libiberty's C++ demangler, in the message of an uncaught exception",
         licence="GPL-2.0-or-later WITH GCC-exception-2.0", notices=(("text", "cp-demangle.txt"),),
         links=("GPL-2.0: https://www.gnu.org/licenses/old-licenses/gpl-2.0.txt",)),
    dict(GCC, name="libgcc", title="GCC low-level runtime and unwinder"),
    dict(GCC, name="libssp", title="GCC stack smashing protector", marker="stack smashing detected"),
)}

# Which parts the code of a linked file is: (file names, member patterns,
# parts). The first rule naming the file whose patterns match the member
# decides; None for the members stands for an object file linked whole.
# Parts None: built from sources under a notice of their own that no part
# carries yet, so linking one stops the release until a part is added.
GDTOA = ("arithchk dmisc dtoa g__fmt g_dfmt g_ffmt g_xfmt gdtoa gethex gmisc hd_init hexnan misc "
         "smisc strtodg strtof strtopx sum ulp")
RULES = (
    ("crt2u.o", None, ("mingw-w64-crt",)),
    ("libmingw32.a", "*", ("mingw-w64-crt",)),
    ("libmingwex.a", "*-mingw_pformat.o *-mingw_pformatw.o", ("mingw-w64-crt", "gdtoa", "mingw-w64-printf")),
    ("libmingwex.a", " ".join(f"*-{n}.o" for n in GDTOA.split()), ("mingw-w64-crt", "gdtoa")),
    ("libmingwex.a", " ".join(f"*-{n}.o" for n in (
        "mingw_printf mingw_fprintf mingw_sprintf mingw_snprintf mingw_vprintf mingw_vfprintf "
        "mingw_vsprintf mingw_vsnprintf basename dirname").split()), ("mingw-w64-crt", "mingw-w64-printf")),
    ("libmingwex.a", "*-qnan.o *-strtodnrp.o *-s_erf.o *-sf_erf.o *-getopt.o *-strtok_r.o *-gcrt0.o "
     "*-profil.o *-gmon.o *-mcount.o", None),
    ("libmingwex.a libmsvcrt.a libmoldname.a", "*", ("mingw-w64-crt",)),
    # Windows import libraries: the linker's stubs for calls into system DLLs.
    ("libkernel32.a libuser32.a libgdi32.a libadvapi32.a libshell32.a libcomdlg32.a libole32.a "
     "liboleaut32.a libuuid.a libwinspool.a", "*", ("mingw-w64-crt",)),
    ("libpthread.a libwinpthread.a", "libwinpthread_la-*.o version.o", ("winpthreads",)),
    ("libstdc++.a", "floating_to_chars.o", ("libstdc++", "ryu")),
    ("libstdc++.a", "floating_from_chars.o", ("libstdc++", "fast_float")),
    ("libstdc++.a", "cp-demangle.o", ("libstdc++", "cp-demangle")),
    ("libstdc++.a", "*", ("libstdc++",)),
    ("libgcc.a libgcc_eh.a", "*", ("libgcc",)),
    ("crtbegin.o crtend.o", None, ("libgcc",)),
    ("libssp.a libssp_nonshared.a", "*", ("libssp",)),
)
HEADING = ("本文件列出 ICH 脑出血评分程序（ichscore.exe）中包含的第三方组件及其许可证和版权声明。\n"
           "This file lists the third-party components linked into ichscore.exe {version}, "
           "their licences and the notices they require.")
RULE, THIN_RULE = "=" * 72, "-" * 72
MEMBER = re.compile(r"(\S.*?\.a)\((.+?)\)")  # "archive(member)" at the start of a line


class Missing(Exception):
    """Something the outputs are made from is missing, unreadable or not covered."""


def run(*args):
    """The standard output of a command; Missing with its first error line if it fails."""
    done = subprocess.run(args, capture_output=True, text=True)
    if done.returncode != 0:
        raise Missing(f"{' '.join(args)}: {(done.stderr.strip().splitlines() or ['failed'])[0]}")
    return done.stdout


def read_text(path, what):
    """A UTF-8 file's text; Missing naming what it is when it cannot be read."""
    try:
        return pathlib.Path(path).read_text(encoding="utf-8")
    except (OSError, ValueError) as e:
        raise Missing(f"cannot read {path}, {what}: {getattr(e, 'strerror', None) or e}") from e


def own_inputs(text, where):
    """The build tree, the folder the link ran in and the project's own inputs
    to it (its archives and the program's objects), from the build's list:
    lines "tree PATH", "cwd PATH" and "own PATH", every path absolute."""
    found = {"tree": [], "cwd": [], "own": []}
    for line in text.splitlines():
        key, _, path = line.partition(" ")
        if key not in found or not os.path.isabs(path):
            raise Missing(f"{where} is not a list of the link's own inputs: '{line}'")
        found[key].append(os.path.realpath(path))
    if len(found["tree"]) != 1 or len(found["cwd"]) != 1 or not found["own"]:
        raise Missing(f"{where} names no build tree, link folder or own input")
    return found["tree"][0], found["cwd"][0], frozenset(found["own"])


def is_own(path, member, tree, own):
    """Whether a linked file or member is the project's own: it lies in the
    build tree and is one of its own archives or objects, or a member of the
    archive CMake packs a target's objects into for the link
    (CMakeFiles/TARGET.dir/objects.a) that is one of those objects."""
    real = os.path.realpath(path)
    if os.path.commonpath([real, tree]) != tree:
        return False
    if real in own:
        return True
    folder = os.path.dirname(real) + os.sep
    return (member is not None and os.path.basename(real) == "objects.a"
            and any(o.startswith(folder) and os.path.basename(o) == member for o in own))


def linked_inputs(text, where, own_list):
    """The (file, member) pairs a linker map shows linked that are not the
    project's own: archive members, and object files linked whole (member
    None), each file's path made absolute from the folder the link ran in."""
    tree, cwd, own = own_list
    head, found_script, script = text.partition("\nLinker script and memory map")
    if not text.startswith("Archive member included") or not found_script:
        raise Missing(f"{where} is not a linker map")
    found = {MEMBER.match(line).groups() for line in head.split("\nDiscarded input sections")[0]
             .splitlines() if MEMBER.match(line)}
    found |= {(line[5:], None) for line in script.splitlines()
              if line.startswith("LOAD ") and line.endswith((".o", ".obj"))}
    found = {(os.path.normpath(os.path.join(cwd, f)), m) for f, m in found}
    return sorted({(f, m) for f, m in found if not is_own(f, m, tree, own)},
                  key=lambda fm: (fm[0], fm[1] or ""))


def parts_of(path, member):
    """The parts a linked file or member is code of, by the first rule that matches it."""
    name = os.path.basename(path)
    for files, members, parts in RULES:
        if name in files.split() and (members is None) == (member is None) and (
                member is None or any(fnmatch.fnmatchcase(member, p) for p in members.split())):
            if parts:
                return parts
            break
    shown = f"{name}({member})" if member else name
    raise Missing(f"the program links {shown} from {path}, which no notice rule covers: "
                  f"add its notices to RULES in packaging/third_party.py, or, if it is the "
                  f"project's own, to the own inputs CMakeLists.txt lists")


def owning_package(path):
    """The Debian package holding a file, without a multiarch qualifier."""
    owners = run("dpkg", "-S", path).rpartition(": ")[0].split(", ")
    if len(owners) != 1:
        raise Missing(f"several Debian packages hold {path}: {', '.join(owners)}")
    return owners[0].split(":")[0]


def files_notice(text, pattern, where):
    """The copyright and licence text of the Files: paragraph that lists pattern."""
    try:
        found = debian_copyright.Copyright(text.splitlines(keepends=True))
    except (debian_copyright.Error, ValueError) as e:
        raise Missing(f"{where} is not a machine-readable copyright file: {e}") from e
    for p in found.all_files_paragraphs():
        if pattern in p.files and p.license:
            licence = p.license.text
            if not licence.strip():  # the text is in a standalone License: paragraph
                licence = next((lp.license.text for lp in found.all_license_paragraphs()
                                if lp.license.synopsis == p.license.synopsis), "")
            if not licence.strip():
                raise Missing(f"no text of licence {p.license.synopsis} in {where}")
            holders = "\n           ".join(line.strip() for line in p.copyright.splitlines())
            return (f"Files: {' '.join(p.files)}\nCopyright: {holders}\n"
                    f"License: {p.license.synopsis}\n\n{licence.strip(chr(10))}")
    raise Missing(f"no 'Files: {pattern}' paragraph with a License in {where}")


def lines_notice(text, first, last, where):
    """The text from the line starting with first to the next line starting with last."""
    found = re.search(rf"^[ \t]*{re.escape(first)}.*?^[ \t]*{re.escape(last)}[^\n]*", text,
                      re.MULTILINE | re.DOTALL)
    if not found:
        raise Missing(f"no text from '{first}' to '{last}' in {where}")
    return "\n".join(line.rstrip() for line in found.group(0).splitlines())


def notice_texts(part, package):
    """The notice texts a part's rules name."""
    where = f"/usr/share/doc/{package}/copyright"
    texts = []
    for kind, *args in part["notices"]:
        if kind == "text":
            texts.append(read_text(HERE / "licenses" / args[0], f"a notice of {part['name']}").strip("\n"))
            continue
        text = read_text(where, f"the copyright file of {package}")
        texts.append(files_notice(text, args[0], where) if kind == "files"
                     else lines_notice(text, *args, where))
    return tuple(texts)


def package_of(name, sources):
    """The Debian package, version, architecture and summary of a part's linked
    files, and the Debian sources it was built with (Built-Using)."""
    packages = {owning_package(path) for path in sources}
    if len(packages) != 1:
        raise Missing(f"{name}'s linked files are in several packages: {sorted(packages)}")
    package = packages.pop()
    query = run("dpkg-query", "-W", "-f=${Version}\t${Architecture}\t${binary:Summary}\t${Built-Using}",
                package)
    version, arch, summary, built_using = (query.split("\t") + ["", "", ""])[:4]
    if not version or not arch:
        raise Missing(f"dpkg-query gives no version of {package}")
    return dict(package=package, version=version, arch=arch, summary=summary, built_using=built_using)


def gcc_source(debian):
    """The GCC a toolchain package was built from, as (Debian source package,
    its version): "gcc-12 (= 12.2.0-14+deb12u1)" in its Built-Using field.
    The compiler itself cannot say: Debian's -dumpfullversion gives "12-posix"."""
    found = re.findall(r"\b(gcc-[0-9]+) \(= ([^)\s]+)\)", debian["built_using"])
    if len(found) != 1:
        raise Missing(f"{debian['package']} names no single GCC it is built from "
                      f"(Built-Using: '{debian['built_using']}')")
    return found[0]


def check_kept_notices(source, version, package):
    """Fails unless packaging/licenses/ holds the notices of the GCC the
    toolchain was built from: its SOURCES.txt names that source package and
    version."""
    kept = " ".join(read_text(HERE / "licenses" / "SOURCES.txt", "the sources of the kept notices").split())
    if f"{source}-source package, version {version}," not in kept:
        raise Missing(f"{package} is built from {source} {version}, but packaging/licenses/SOURCES.txt "
                      f"names the notices kept there as taken from another GCC: check them against "
                      f"{source}-source {version} and update SOURCES.txt")


def describe(map_text, where, own_list, program):
    """The linked parts, in PARTS' order, each with its package and notice texts."""
    sources = {}
    for path, member in linked_inputs(map_text, where, own_list):
        for name in parts_of(path, member):
            sources.setdefault(name, set()).add(path)
    entries = []
    for name, part in PARTS.items():
        if name not in sources:
            continue
        if part.get("marker") and part["marker"].encode() not in program:
            raise Missing(f"the map links {name}, but the program lacks its text "
                          f"'{part['marker']}': is the map from another link?")
        owner = part.get("within")
        if owner and owner not in sources:
            raise Missing(f"the map links {name} without {owner}, which holds it")
        debian = (next(e for e in entries if e["name"] == owner) if owner
                  else package_of(name, sources[name]))
        gcc = None
        if part["notices"][0][0] == "text":
            gcc = gcc_source(debian)
            check_kept_notices(*gcc, debian["package"])
        entries.append(dict(part, **{k: debian[k] for k in ("package", "version", "arch", "summary",
                                                             "built_using")},
                            gcc=gcc, texts=notice_texts(part, debian["package"])))
    return entries


def upstream_version(debian_version):
    """A Debian version without its epoch and Debian revision: 12.2.0-14+deb12u1 gives 12.2.0."""
    without_epoch = debian_version.split(":", 1)[-1]
    return without_epoch.rpartition("-")[0] or without_epoch


def notices_source(e):
    """Where a part's notice texts are from: the Debian copyright file of its
    package, or the sources of the GCC its toolchain was built from."""
    if not e["gcc"]:
        return f"the Debian copyright file of {e['package']}:"
    source, version = e["gcc"]
    return f"its source in GCC {upstream_version(version)} ({source}-source {version}):"


def notices_bytes(version, entries):
    """The notices file: a heading, then each part with its notice texts."""
    out, given = [HEADING.format(version=version), ""], {}
    for e in entries:
        out += [RULE, f"{e['name']}: {e['title']}",
                f"Debian package: {e['package']} {e['version']} ({e['arch']})"
                + (f", built into {e['within']}" if e.get("within") else ""),
                f"Licence (SPDX): {e['licence']}",
                *(f"Licence text: {link}" for link in e.get("links", ())),
                "Notices, from " + notices_source(e),
                RULE, ""]
        same = e["texts"] in given
        for text in [f"The same notices as for {given[e['texts']]} above."] if same else e["texts"]:
            out += [text, "", THIN_RULE, ""]
        given.setdefault(e["texts"], e["name"])
    return b"\xef\xbb\xbf" + "\r\n".join("\n".join(out).split("\n")).encode("utf-8")


def main(argv):
    """Writes both files, or neither and says what is missing."""
    if len(argv) != 8:
        print(__doc__.splitlines()[2], file=sys.stderr)
        return 2
    program, link_map, own_list, version, epoch, notices_out, sbom_out = argv[1:]
    try:
        if not re.fullmatch(r"[0-9]+", epoch) or not version:
            raise Missing(f"EPOCH must be whole seconds, VERSION not empty: '{epoch}' '{version}'")
        try:
            data = pathlib.Path(program).read_bytes()
        except OSError as e:
            raise Missing(f"cannot read the program {program}: {e.strerror}") from e
        own = own_inputs(read_text(own_list, "the link's own inputs"), own_list)
        entries = describe(read_text(link_map, "the linker's map"), link_map, own, data)
        sha256 = hashlib.sha256(data).hexdigest()
        outputs = ((notices_out, notices_bytes(version, entries)),
                   (sbom_out, bill.sbom_bytes(sha256, version, int(epoch), entries)))
        # Both are written in full beside their places before either is moved in.
        for path, content in outputs:
            pathlib.Path(path + ".tmp").write_bytes(content)
        for path, _ in outputs:
            os.replace(path + ".tmp", path)
    except (Missing, bill.Unsound, OSError) as e:
        for path in (notices_out, sbom_out, notices_out + ".tmp", sbom_out + ".tmp"):
            pathlib.Path(path).unlink(missing_ok=True)
        print(f"third_party: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
