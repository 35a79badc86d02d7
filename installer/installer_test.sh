#!/usr/bin/env bash
# A silent install of each part and its uninstall, under Wine: the files land, Sentavo.cfg holds
# the given shared folder and establishment, the start entries exist, and the uninstaller removes
# what was installed and lifts the library's machine policies.
set -euo pipefail
setup=$1
codes=$2
root=$(cd "$(dirname "$0")/.." && pwd)
run() { "$root/scripts/wine-run" "$@"; }
prefix="${WINEPREFIX:-$root/build/wineprefix}"
c="$prefix/drive_c"
fail() { echo "installer test: $*" >&2; exit 1; }
startup="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/StartUp/Sentavo Client.lnk"
menu="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Sentavo/Sentavo ADMIN.lnk"
policies='HKLM\Software\Microsoft\Windows\CurrentVersion\Policies\System'
edgeui='HKLM\SOFTWARE\Policies\Microsoft\Windows\EdgeUI'

rm -rf "$c/SentavoTest" "$c/ProgramData/Sentavo"

# The guest PC part.
run "$setup" /S /PART=client '/SHARE=C:\Sdileno\kody' /PROVOZOVNA=Demo '/D=C:\SentavoTest' || fail "client install exited $?"
for f in SentavoClient.exe lockgina.dll Sentavo.cfg Uninstall.exe; do
  [ -f "$c/SentavoTest/$f" ] || fail "the client install lacks $f"
done
[ ! -e "$c/SentavoTest/SentavoAdmin.exe" ] || fail "the client install brought SentavoAdmin.exe"
ls "$c/ProgramData/Microsoft/Windows/Start Menu/Programs/"*/"Sentavo Client.lnk" >/dev/null 2>&1 \
  || fail "no start entry for the guest"
shown=$(run "$codes" show 'C:\SentavoTest\Sentavo.cfg')
grep -q '"establishment": "Demo"' <<<"$shown" || fail "Sentavo.cfg: $shown"
grep -q '"serverPath": "C:\\\\Sdileno\\\\kody\\\\"' <<<"$shown" || fail "Sentavo.cfg: $shown"
grep -q '"adminPassword": "vamor"' <<<"$shown" || fail "Sentavo.cfg: $shown"

# The installer put the library's machine policies in force; the uninstaller must lift them.
run reg query "$policies" /v HideFastUserSwitching >/dev/null 2>&1 || fail "the machine policies are not in force"
run reg query "$edgeui" /v AllowEdgeSwipe >/dev/null 2>&1 || fail "edge swipes are not barred"
run 'C:\SentavoTest\Uninstall.exe' /S '_?=C:\SentavoTest' || fail "uninstall exited $?"
for f in SentavoClient.exe lockgina.dll Sentavo.cfg; do
  [ ! -e "$c/SentavoTest/$f" ] || fail "the uninstall left $f"
done
ls "$c/ProgramData/Microsoft/Windows/Start Menu/Programs/"*/"Sentavo Client.lnk" >/dev/null 2>&1 \
  && fail "the start entry is still there"
if run reg query "$policies" /v HideFastUserSwitching >/dev/null 2>&1; then
  fail "the machine policies are still in force"
fi
if run reg query "$edgeui" /v AllowEdgeSwipe >/dev/null 2>&1; then
  fail "the edge-swipe policy is still in force"
fi
rm -rf "$c/SentavoTest"

# The operator's part.
run "$setup" /S /PART=admin '/SHARE=\\server\kody' /PROVOZOVNA=Demo '/D=C:\SentavoTest' || fail "admin install exited $?"
[ -f "$c/SentavoTest/SentavoAdmin.exe" ] || fail "the admin install lacks SentavoAdmin.exe"
[ ! -e "$c/SentavoTest/SentavoClient.exe" ] || fail "the admin install brought SentavoClient.exe"
[ -f "$menu" ] || fail "no start-menu entry for SentavoAdmin"
shown=$(run "$codes" show 'C:\ProgramData\Sentavo\Sentavo.cfg')
grep -q '"serverPath": "\\\\\\\\server\\\\kody\\\\"' <<<"$shown" || fail "admin Sentavo.cfg: $shown"
run 'C:\SentavoTest\Uninstall.exe' /S '_?=C:\SentavoTest' || fail "admin uninstall exited $?"
[ ! -e "$c/SentavoTest/SentavoAdmin.exe" ] || fail "the uninstall left SentavoAdmin.exe"
[ ! -e "$menu" ] || fail "the start-menu entry is still there"
[ -f "$c/ProgramData/Sentavo/Sentavo.cfg" ] || fail "the operator's working folder was removed"
rm -rf "$c/SentavoTest" "$c/ProgramData/Sentavo"
echo "installer: silent install and uninstall of both parts passed"
