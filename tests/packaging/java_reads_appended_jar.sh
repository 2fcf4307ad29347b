#!/usr/bin/env bash
# Packages the example with its jar appended to the exe and in lib (under
# Wine); the packaged example's INI must pass check. Then runs the machine's
# real Java with that exe as its class path: the jar must stay readable
# behind the executable.
#   java_reads_appended_jar.sh PACKAGER LAUNCHER HELLO_JAR HELLO_INI OUT_DIR
set -euo pipefail
packager=$1 launcher=$2 jar=$3 ini=$4 out=$5
wine=/usr/lib/wine/wine64
java=/usr/lib/jvm/java-17-openjdk-amd64/bin/java
windows() { echo "Z:${1//\//\\}"; }

rm -rf "$out"
"$wine" "$packager" package --template "$(windows "$launcher")" --ini "$(windows "$ini")" \
  --out "$(windows "$out/Hello.exe")" --jar "$(windows "$jar")" --lib "$(windows "$jar")"
touch "$out/splash.png"
"$wine" "$packager" check "$(windows "$out/Hello.ini")" || { echo "the example's INI does not pass check"; exit 1; }
said=$("$java" -cp "$out/Hello.exe" hello.Hello from the exe)
echo "$said"
[[ "$said" == "Hello, from the exe!"* ]] || { echo "java did not run hello.Hello from Hello.exe"; exit 1; }
