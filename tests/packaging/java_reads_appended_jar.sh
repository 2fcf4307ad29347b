#!/usr/bin/env bash
# Packages the example with its jar appended to the exe and in lib (under
# Wine); the packaged example's INI must pass check. Then runs the machine's
# real Java with that exe as its class path: the jar must stay readable
# behind the executable. Then packages it again with embedded settings,
# signs it with a throwaway certificate, and shows that the signed exe
# verifies, passes check-signed, starts under Wine and still serves its jar
# to every real Java here; and that 70 KB appended after the signature put
# the jar out of Java's reach, which check-signed says.
#   java_reads_appended_jar.sh PACKAGER LAUNCHER HELLO_JAR HELLO_INI OUT_DIR TEST_RUNTIME
set -euo pipefail
packager=$1 launcher=$2 jar=$3 ini=$4 out=$5 runtime=$6
wine=/usr/lib/wine/wine64
javas=(/usr/lib/jvm/java-17-openjdk-amd64/bin/java /usr/lib/jvm/temurin-25*/bin/java)
windows() { echo "Z:${1//\//\\}"; }
fail() { echo "$*"; exit 1; }
package() {  # OUT_EXE [OPTION]...
  local exe=$1; shift
  "$wine" "$packager" package --template "$(windows "$launcher")" --ini "$(windows "$ini")" \
    --out "$(windows "$exe")" --jar "$(windows "$jar")" --lib "$(windows "$jar")" "$@"
}
runsHello() {  # EXE: each real Java runs hello.Hello from the jar behind it
  for java in "${javas[@]}"; do
    [[ -x "$java" ]] || continue
    said=$("$java" -cp "$1" hello.Hello from the exe) || return 1
    echo "$java: $said"
    [[ "$said" == "Hello, from the exe!"* ]] || return 1
  done
}

rm -rf "$out"
package "$out/Hello.exe"
touch "$out/splash.png"
"$wine" "$packager" check "$(windows "$out/Hello.ini")" || fail "the example's INI does not pass check"
runsHello "$out/Hello.exe" || fail "java did not run hello.Hello from Hello.exe"

signed=$out/signed
package "$signed/Hello.exe" --embed-settings
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$out/key.pem" -out "$out/cert.pem" -days 2 \
  -subj "/CN=Launcher test signing" -addext extendedKeyUsage=codeSigning 2>/dev/null
osslsigncode sign -certs "$out/cert.pem" -key "$out/key.pem" -h sha256 \
  -in "$signed/Hello.exe" -out "$signed/Hello-signed.exe" >/dev/null
mv "$signed/Hello-signed.exe" "$signed/Hello.exe"
osslsigncode verify -CAfile "$out/cert.pem" -in "$signed/Hello.exe" | grep -q "Signature verification: ok" ||
  fail "the signed exe does not verify"
"$wine" "$packager" check-signed "$(windows "$signed/Hello.exe")" || fail "check-signed refuses the signed exe"
runsHello "$signed/Hello.exe" || fail "java did not run hello.Hello from the signed Hello.exe"
# Under Wine with the test runtime beside it, the signed exe reads its embedded settings.
cp -r "$runtime" "$signed/jre"
touch "$signed/splash.png"
said=$(cd "$signed" && "$wine" "$signed/Hello.exe" signed 2>&1) || fail "the signed exe failed under Wine: $said"
[[ "$said" == *"Hello, signed!"* ]] || fail "the signed exe did not greet under Wine: $said"

head -c 71680 /dev/zero >>"$signed/Hello.exe"
if said=$("$wine" "$packager" check-signed "$(windows "$signed/Hello.exe")"); then
  fail "check-signed passes an exe with 70 KB after its signature"
fi
echo "$said"
[[ "$said" == *"Java looks for a jar's end only in the last 65557 bytes"* ]] || fail "check-signed does not say why"
! runsHello "$signed/Hello.exe" 2>/dev/null || fail "java still reads the jar 70 KB before the end: check-signed is too strict"
echo "packaged, signed and checked"
