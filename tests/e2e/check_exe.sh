#!/bin/sh
# Checks the built sevrane.exe on the build machine: it is hardened (ASLR with high-entropy
# addresses, DEP, the stack protector) and carries no debug sections, imports only system DLLs,
# and carries its version record and its manifest, both of the given version.
#   check_exe.sh path/to/sevrane.exe MAJOR.MINOR.PATCH.TWEAK
set -u
exe=${1:?usage: check_exe.sh path/to/sevrane.exe VERSION}
version=${2:?usage: check_exe.sh path/to/sevrane.exe VERSION}
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
status=0
fail() { echo "FAIL: $*"; status=1; }

[ -f "$exe" ] || { echo "FAIL: $exe does not exist"; exit 1; }

headers=$("$objdump" -p "$exe") || { echo "FAIL: $objdump cannot read $exe"; exit 1; }
echo "$headers" | grep -q 'Magic.*20b' || fail "not a 64-bit (PE32+) image"
echo "$headers" | grep -Eq 'Subsystem[[:space:]]+0*2[[:space:]]' || fail "not a Windows GUI program"

# ASLR (with 64-bit entropy) and DEP: HIGH_ENTROPY_VA 0x20, DYNAMIC_BASE 0x40, NX_COMPAT 0x100.
characteristics=$(echo "$headers" | sed -n 's/^DllCharacteristics[[:space:]]*\([0-9a-fA-F]*\).*/\1/p')
if [ -z "$characteristics" ]; then
    fail "no DllCharacteristics in the optional header"
else
    for flag in 20:HIGH_ENTROPY_VA 40:DYNAMIC_BASE 100:NX_COMPAT; do
        [ $((0x$characteristics & 0x${flag%%:*})) -ne 0 ] || fail "DllCharacteristics lack ${flag#*:}"
    done
fi

# A released program carries no debug information, neither ours nor the static runtime's.
debug=$("$objdump" -h "$exe" | awk '$2 ~ /^\.(z?debug|stab)/ { print $2 }' | tr '\n' ' ')
[ -z "$debug" ] || fail "has debug sections: $debug"

# The stack protector's own failure handler, linked in only when a protected function uses the
# guard: its fast fail with the stack cookie's code (mov ecx, 2; int 0x29).
od -An -v -tx1 "$exe" | tr -d ' \n' | grep -q 'b902000000cd29' || fail "no stack protector linked"

# A self-contained program needs nothing beyond the DLLs every Windows system has.
imports=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr '[:upper:]' '[:lower:]' | sort -u)
[ -n "$imports" ] || fail "no imports found"
for dll in $imports; do
    case $dll in
        kernel32.dll|user32.dll|gdi32.dll|shell32.dll|msvcrt.dll|advapi32.dll|comctl32.dll) ;;
        api-ms-win-crt-*.dll|ucrtbase.dll) ;;
        *) fail "imports a DLL that is not part of the system: $dll" ;;
    esac
done
for dll in kernel32.dll user32.dll gdi32.dll shell32.dll; do
    echo "$imports" | grep -qx "$dll" || fail "does not import $dll"
done
# Nothing of ours needs advapi32: the runtime's stack guard did, and set up a crypto provider at
# every start (up to a tenth of a short one under Wine); ours is seeded from kernel32 alone.
echo "$imports" | grep -qx advapi32.dll && fail "imports advapi32.dll (a start-up cost)"
# Libraries that system libraries load later come from System32, never from beside the exe.
echo "$headers" | grep -qw SetDefaultDllDirectories || fail "does not import SetDefaultDllDirectories"

# The version record: the Japanese Unicode string block and the dotted versions.
strings16=$(strings -el "$exe")
for want in 041104b0 FileVersion "$version" ProductVersion FileDescription ProductName \
            InternalName OriginalFilename sevrane.exe VarFileInfo Translation; do
    echo "$strings16" | grep -qF "$want" || fail "version record lacks \"$want\""
done
# VS_FIXEDFILEINFO: the signature 0xFEEF04BD, then version 1.0, then the file version and the
# same as product version, each as two little-endian halves (MINOR MAJOR, then TWEAK PATCH).
words=$(echo "$version" | awk -F. 'NF == 4 {
    for (i = 1; i <= 4; i++) if ($i !~ /^[0-9]+$/ || $i > 65535) exit
    split("2 1 4 3", order, " ")
    for (i = 1; i <= 4; i++) printf "%02x%02x", $order[i] % 256, int($order[i] / 256) }')
[ -n "$words" ] || { echo "FAIL: \"$version\" is not MAJOR.MINOR.PATCH.TWEAK"; exit 1; }
if command -v od >/dev/null 2>&1; then
    fixed=$(od -An -v -tx1 "$exe" | tr -d ' \n' | grep -o "bd04effe00000100$words$words" | head -n 1)
    [ -n "$fixed" ] || fail "fixed version info does not say $version for file and product"
fi

# The manifest asks for the invoker's rights and no UI access.
manifest=$(strings "$exe" | tr -d '\r' | tr '\n' ' ')
echo "$manifest" | grep -q 'requestedExecutionLevel[^>]*level="asInvoker"' ||
    fail "manifest does not request asInvoker"
echo "$manifest" | grep -q 'requestedExecutionLevel[^>]*uiAccess="false"' ||
    fail "manifest does not set uiAccess to false"
echo "$manifest" | grep -q "<assemblyIdentity[^>]*version=\"$version\"" ||
    fail "manifest does not give the version $version"
# Paths longer than 260 characters, where Windows allows them.
echo "$manifest" | grep -q '<longPathAware[^>]*>true</longPathAware>' ||
    fail "manifest does not declare longPathAware"
echo "$manifest" | grep -q '<gdiScaling[^>]*>true</gdiScaling>' ||
    fail "manifest does not declare gdiScaling"

[ $status -eq 0 ] && echo "sevrane.exe: DllCharacteristics 0x$characteristics, stack protector, no debug" \
    "sections, imports [$(echo "$imports" | paste -sd " " -)], version record and manifest present"
exit $status
