# The release's staged folder, its Windows Installer package and its
# signature: shared by scripts/package and the release's checks beside this
# file. Sourced after scripts/lib.sh, from the source root.

# Names the product across all its versions: a package with this code and a
# higher version replaces the installed one. Never change it.
ICH_UPGRADE_CODE=42AAAC13-EDB4-4E85-968E-D6E3A9563D71

# A GUID named by the given text: a name-based (version 5) UUID in the
# product's own namespace, its upgrade code, so the same text always gives
# the same GUID.
ich_name_guid() {  # text
  /usr/bin/python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' \
    "$ICH_UPGRADE_CODE" "$1"
}

# The files a staged release folder holds, each packed into the zip and
# installed by the MSI: the program, the user's README, the notices of the
# third-party code linked into the program, its bill of materials, and the
# checksums of the others.
ICH_SUMMED_FILES=(ichscore.exe README_zh.txt THIRD_PARTY_NOTICES.txt ichscore.cdx.json)
ICH_STAGED_FILES=("${ICH_SUMMED_FILES[@]}" SHA256SUMS.txt)

# Writes the staged folder's notices and bill of materials for its program,
# made from what the linker's map of its link shows linked in, less the
# project's own inputs (the list ichscore.own beside the map), and the
# Debian packages that hold it at their installed versions.
ich_stage_third_party() {  # stage-dir version epoch link-map
  /usr/bin/python3 packaging/third_party.py "$1/ichscore.exe" "$4" "${4%.map}.own" "$2" "$3" \
    "$1/THIRD_PARTY_NOTICES.txt" "$1/ichscore.cdx.json"
}

# The linker's map of a staged program's link, kept beside the staged folder
# (not in it: it is not released), with the build's list of the link's own
# inputs beside it (ichscore.own).
ich_link_map() {  # stage-dir
  echo "$(dirname "$1")/ichscore.map"
}

# Writes the staged folder's SHA256SUMS.txt: the checksums of the files
# beside it, with CR LF line ends for Notepad.
ich_stage_sums() {  # stage-dir
  (cd "$1" && set -o pipefail && sha256sum "${ICH_SUMMED_FILES[@]}" | sed 's/$/\r/' >SHA256SUMS.txt)
}

# The sources of the package besides the staged files: its description, its
# icon and the programs that rewrite its tables.
ICH_PACKAGE_SOURCES=(packaging/ichscore.wxs app/resources/ichscore.ico packaging/msi_finish.py
  packaging/pe_version.py)

# The product code of a staged release folder and version: named by the
# version, every staged file's name and contents and the package's sources,
# so a rebuild of the same files is the same product, while other files (a
# signed program, a changed README) or other tables make another product,
# which the upgrade rules let replace the installed one. Fails when a file
# cannot be read.
ich_product_code() {  # stage-dir version
  local sums source
  sums=$(cd "$1" && sha256sum "${ICH_STAGED_FILES[@]}") &&
    source=$(cd "$ICH_ROOT" && sha256sum "${ICH_PACKAGE_SOURCES[@]}") || return 1
  ich_name_guid "ichscore $2 $sums $source"
}

# Writes the MSI of a staged release folder from packaging/ichscore.wxs,
# dated at the given time. Its cabinet dates the files by their modification
# times, which the caller sets. The package code is named by everything the
# package is made of and its date, so equal packages share it and different
# ones never do.
ich_build_msi() {  # stage-dir version out.msi epoch
  local stage=$1 version=$2 out=$3 epoch=$4 product_code package_code contents
  product_code=$(ich_product_code "$stage" "$version") || return 1
  contents=$(set -o pipefail; cat "${ICH_PACKAGE_SOURCES[@]}" "${ICH_STAGED_FILES[@]/#/$stage/}" |
    sha256sum) || return 1
  package_code=$(ich_name_guid "$product_code $epoch $contents") || return 1
  rm -f "$out"
  # wixl writes the tables' texts in the code page of WINDOWS_LANGUAGE, or
  # of the locale, and crashes on Chinese text in a Western one.
  WINDOWS_LANGUAGE=zh_CN wixl -a x64 -D "Version=$version" \
    -D "ProductCode=$product_code" -D "UpgradeCode=$ICH_UPGRADE_CODE" \
    -D "Stage=$stage" -o "$out" packaging/ichscore.wxs || { rm -f "$out"; return 1; }
  # Debian's own Python: the one its installer-database bindings are for.
  WINDOWS_LANGUAGE=zh_CN /usr/bin/python3 packaging/msi_finish.py "$out" "$package_code" \
    2052 936 "$epoch" "$stage/ichscore.exe" || { rm -f "$out"; return 1; }
}

# Signs a Windows program or installer package in place with the code
# signing certificate and key of a PKCS#12 file, whose password is in
# ICH_SIGN_PASSWORD. The password is read from a pipe, never put on a command
# line that other users could read (Debian 12's osslsigncode reads it from a
# file only, not from its standard input).
ich_sign_file() {  # cert.pfx file
  local signed="$2.signed"
  osslsigncode sign -pkcs12 "$1" -readpass <(printf '%s' "${ICH_SIGN_PASSWORD:-}") \
    -h sha256 -n "ICH 脑出血评分" -in "$2" -out "$signed" >/dev/null ||
    { rm -f "$signed"; return 1; }
  mv "$signed" "$2"
}

# A throwaway self-signed code-signing certificate for the release's checks
# of the signing: DIR/cert.pem (the certificate, to verify against) and
# DIR/cert.pfx (it and its key, password "throwaway").
ich_throwaway_cert() {  # dir
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=ichscore test signer" \
    -addext keyUsage=digitalSignature -addext extendedKeyUsage=codeSigning \
    -keyout "$1/key.pem" -out "$1/cert.pem" 2>/dev/null &&
    openssl pkcs12 -export -inkey "$1/key.pem" -in "$1/cert.pem" -passout pass:throwaway \
      -out "$1/cert.pfx"
}

# The SHA-256 of the reports that a program's self-test (on the default
# values) and verification write, as "SELFTEST VERIFY": both modes run by
# the given command in a folder of their own, each run's output kept there
# in MODE.log. Fails when either mode exits non-zero, so a program that
# fails its own checks is never released; it then prints on stderr which
# program and mode failed, with what exit code, the run's output and the
# report it wrote.
ich_report_hashes() {  # folder name command...
  local folder=$1 name=$2 mode rc
  shift 2
  rm -rf "$folder" && mkdir -p "$folder" || return 1
  for mode in selftest verify; do
    (cd "$folder" && "$@" "--$mode" "$mode.txt") >"$folder/$mode.log" 2>&1 </dev/null
    rc=$?
    [ "$rc" -eq 0 ] && continue
    {
      echo "report run failed: the $name program's --$mode exited $rc ($* --$mode $mode.txt)"
      ich_print_indented "its output" "$folder/$mode.log"
      ich_print_indented "its report $mode.txt" "$folder/$mode.txt"
    } >&2
    return 1
  done
  (cd "$folder" && set -o pipefail && sha256sum selftest.txt verify.txt | cut -d' ' -f1 | paste -sd' ')
}

# Prints a file under a heading, indented, without CR, its last line ended:
# "(none)" when it is missing or empty.
ich_print_indented() {  # heading file
  if [ -s "$2" ]; then
    echo "$1:"
    tr -d '\r' <"$2" | awk '{ print "    " $0 }'
  else
    echo "$1: (none)"
  fi
}

# Writes the staged README_zh.txt from packaging/README_zh.txt for Notepad
# on older Windows (a byte-order mark, CR LF line ends), with the SHA-256 of
# the two reports in place of their markers. Fails when a marker or a hash
# is missing.
ich_stage_readme() {  # stage-dir selftest-sha256 verify-sha256
  local source=packaging/README_zh.txt hash='^[0-9a-f]{64}$'
  [[ ${2:-} =~ $hash && ${3:-} =~ $hash ]] && grep -q '@SELFTEST_SHA256@' "$source" &&
    grep -q '@VERIFY_SHA256@' "$source" || return 1
  { printf '\xef\xbb\xbf' &&
    sed -e "s/@SELFTEST_SHA256@/$2/" -e "s/@VERIFY_SHA256@/$3/" -e 's/$/\r/' "$source"; } \
    >"$1/README_zh.txt"
}
