# The release's Windows Installer package and its signature: shared by
# scripts/package and the release checks. Sourced after lib.sh, from the
# source root.

# Names the product across all its versions: a package with this code and a
# higher version replaces the installed one. Never change it.
ICH_UPGRADE_CODE=42AAAC13-EDB4-4E85-968E-D6E3A9563D71

# A GUID named by the given text: the first 128 bits of its SHA-256 with the
# marks of a name-based GUID, so the same text always gives the same GUID.
ich_name_guid() {  # text
  local h
  h=$(printf '%s' "$1" | sha256sum | tr a-f A-F)
  printf '%s-%s-5%s-%X%s-%s\n' "${h:0:8}" "${h:8:4}" "${h:13:3}" \
    $(((16#${h:16:1} & 3) | 8)) "${h:17:3}" "${h:20:12}"
}

# The files a staged release folder holds, each packed into the zip and
# installed by the MSI.
ICH_STAGED_FILES=(ichscore.exe README_zh.txt SHA256SUMS.txt)

# Writes the staged folder's SHA256SUMS.txt: the checksums of the files
# beside it, with CR LF line ends for Notepad.
ich_stage_sums() {  # stage-dir
  (cd "$1" && set -o pipefail && sha256sum ichscore.exe README_zh.txt | sed 's/$/\r/' >SHA256SUMS.txt)
}

# The product code of a staged release folder and version: named by the
# version, every staged file's name and contents and the package's source,
# icon and the scripts that rewrite its tables, so a rebuild of the same
# files is the same product, while other files (a signed program, a changed
# README) or other tables make another product, which the upgrade rules let
# replace the installed one. Fails when a file cannot be read.
ich_product_code() {  # stage-dir version
  local sums source
  sums=$(cd "$1" && sha256sum "${ICH_STAGED_FILES[@]}") &&
    source=$(cd "$ICH_ROOT" && sha256sum packaging/ichscore.wxs app/resources/ichscore.ico \
      scripts/msi_finish.py scripts/compound_stream.py scripts/pe_version.py) || return 1
  ich_name_guid "ichscore $ICH_UPGRADE_CODE $2 $sums $source"
}

# Writes the MSI of a staged release folder from packaging/ichscore.wxs,
# dated at the given time. Its cabinet dates the files by their modification
# times, which the caller sets. The package code is named by everything the
# package is made of and its date, so equal packages share it and different
# ones never do.
ich_build_msi() {  # stage-dir version out.msi epoch
  local stage=$1 version=$2 out=$3 epoch=$4 product_code package_code contents
  product_code=$(ich_product_code "$stage" "$version") || return 1
  contents=$(set -o pipefail; cat packaging/ichscore.wxs app/resources/ichscore.ico \
    "${ICH_STAGED_FILES[@]/#/$stage/}" | sha256sum) || return 1
  package_code=$(ich_name_guid "$product_code $epoch $contents") || return 1
  rm -f "$out"
  # wixl writes the tables' texts in the code page of WINDOWS_LANGUAGE, or
  # of the locale, and crashes on Chinese text in a Western one.
  WINDOWS_LANGUAGE=zh_CN wixl -a x64 -D "Version=$version" \
    -D "ProductCode=$product_code" -D "UpgradeCode=$ICH_UPGRADE_CODE" \
    -D "Stage=$stage" -o "$out" packaging/ichscore.wxs || { rm -f "$out"; return 1; }
  # Debian's own Python: the one its installer-database bindings are for.
  WINDOWS_LANGUAGE=zh_CN /usr/bin/python3 scripts/msi_finish.py "$out" "$package_code" \
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
