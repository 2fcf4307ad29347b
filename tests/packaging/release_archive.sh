#!/usr/bin/env bash
# Makes the release archive, unpacks it elsewhere and checks it: every file
# matches SHA256SUMS, every exe carries the version of the file VERSION, and
# the packager and launcher from the archive alone package the example,
# which then starts under Wine (the test runtime stands in for Java).
#   release_archive.sh HELLO_JAR HELLO_INI OUT_DIR TEST_RUNTIME
set -euo pipefail
jar=$1 ini=$2 out=$3 runtime=$4
root="$(cd "$(dirname "$0")/../.." && pwd)"
wine=/usr/lib/wine/wine64
windows() { echo "Z:${1//\//\\}"; }
fail() { echo "$*"; exit 1; }

rm -rf "$out"
archive=$("$root/scripts/release" "$out")
version=$(head -n1 "$root/VERSION")
python3 -m zipfile -e "$archive" "$out/unpacked"
release=$out/unpacked/java-launcher-$version
(cd "$release" && sha256sum --quiet -c SHA256SUMS) || fail "the archive's files do not match SHA256SUMS"
"${PYTHON3:-python3}" - "$release" "$version" <<'PY' || fail "an exe of the archive lacks the release's version"
import pathlib, sys, pefile
release, version = pathlib.Path(sys.argv[1]), sys.argv[2]
names = sorted(p.name for p in release.glob("*.exe"))
assert names == sorted(f"{kind}-{arch}{flavour}.exe" for arch in ("x64", "x86")
                       for kind, flavour in (("launcher", ""), ("launcher", "-console"), ("packager", ""))), names
for exe in release.glob("*.exe"):
    texts = {k.decode(): v.decode() for info in pefile.PE(str(exe)).FileInfo[0]
             for table in getattr(info, "StringTable", []) for k, v in table.entries.items()}
    if texts.get("FileVersion") != version or texts.get("OriginalFilename") != exe.name:
        sys.exit(f"{exe.name}: {texts.get('FileVersion')} {texts.get('OriginalFilename')}")
PY
[[ -f "$release/LICENSE" && -f "$release/README.md" && -f "$release/docs/packaging.md" ]] || fail "documents missing"

app=$out/hello
"$wine" "$release/packager-x64.exe" package --template "$(windows "$release/launcher-x64.exe")" \
  --ini "$(windows "$ini")" --out "$(windows "$app/Hello.exe")" --lib "$(windows "$jar")"
cp -r "$runtime" "$app/jre"
touch "$app/splash.png"
said=$(cd "$app" && "$wine" "$app/Hello.exe" from the release 2>&1) || fail "the packaged example failed: $said"
[[ "$said" == *"Hello, from the release!"* ]] || fail "the packaged example did not greet: $said"
echo "$archive: checked, and its tools package an application that starts"
