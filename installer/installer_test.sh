#!/usr/bin/env bash
# A silent install of each part and its uninstall, under Wine: the files land, Sentavo.cfg holds
# the given shared folder, establishment and password, the start entries exist, and the uninstaller
# removes what was installed and lifts the library's machine policies. The guest part runs the
# guard service (its lock window ends with it) unless /GUARD=0. Also: the code tool never
# stays on a guest PC, a reinstall keeps the operator's Sentavo.cfg, the default password needs a
# trial install, a missing local shared folder is made, and the policies go even without the
# library.
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
userpolicies='HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\System'
# The DWORD a reg query prints for a value, e.g. 0x0.
dword() { run reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v { print $3 }'; }

rm -rf "$c/SentavoTest" "$c/SentavoTest2" "$c/SentavoTest3" "$c/ProgramData/Sentavo" "$c/Sdileno"
# The guard installed below runs a lock window in this display. Whatever fails, neither outlives
# the test: they would keep its output open, and the next boot of the prefix would start them.
cleanup() {
  if [ -f "$c/SentavoTest/SentavoGuard.exe" ]; then
    run 'C:\SentavoTest\SentavoGuard.exe' uninstall >/dev/null 2>&1 || true
  fi
  pkill -f 'SentavoTest.Sentavo(Guard|Client).exe' 2>/dev/null || true
}
trap cleanup EXIT

# Without a password and without the trial switch a silent install refuses to write the
# well-known default password, and installs nothing.
status=0
run "$setup" /S /PART=client '/SHARE=C:\Sdileno\kody' '/D=C:\SentavoTest2' || status=$?
[ "$status" -ne 0 ] || fail "a silent install without /PASSWORD= or /TRIAL=1 succeeded"
[ ! -e "$c/SentavoTest2/SentavoClient.exe" ] || fail "the refused install still installed the client"
[ ! -e "$c/SentavoTest2/Sentavo.cfg" ] || fail "the refused install still wrote Sentavo.cfg"

# A Sentavo.cfg that cannot be written (the establishment has a character Windows-1250 lacks)
# stops the install with an error and leaves an uninstaller that takes the rest away.
status=0
run "$setup" /S /PART=client '/SHARE=C:\Sdileno\kody' /PROVOZOVNA=日本 /PASSWORD=x '/D=C:\SentavoTest3' || status=$?
[ "$status" -ne 0 ] || fail "an install whose Sentavo.cfg could not be written succeeded"
[ ! -e "$c/SentavoTest3/Sentavo.cfg" ] || fail "the failed install wrote Sentavo.cfg"
[ -f "$c/SentavoTest3/Uninstall.exe" ] || fail "the failed install left no uninstaller"
run 'C:\SentavoTest3\Uninstall.exe' /S '_?=C:\SentavoTest3' || fail "uninstall after the failed install exited $?"
[ ! -e "$c/SentavoTest3/SentavoClient.exe" ] || fail "the uninstaller left the failed install's client"
rm -rf "$c/Sdileno"

# The guest PC part.
run "$setup" /S /PART=client '/SHARE=C:\Sdileno\kody' /PROVOZOVNA=Demo /PASSWORD=Tajne-7 '/D=C:\SentavoTest' \
  || fail "client install exited $?"
for f in SentavoClient.exe lockgina.dll Sentavo.cfg Uninstall.exe; do
  [ -f "$c/SentavoTest/$f" ] || fail "the client install lacks $f"
done
[ ! -e "$c/SentavoTest/SentavoAdmin.exe" ] || fail "the client install brought SentavoAdmin.exe"
# The code tool would let a guest mint codes.
[ ! -e "$c/SentavoTest/sentavo-codes.exe" ] || fail "the client install left sentavo-codes.exe"
[ -d "$c/Sdileno/kody" ] || fail "the missing local shared folder was not made"
# The guard runs the lock and starts the client itself: a service, no Startup entry.
[ -f "$c/SentavoTest/SentavoGuard.exe" ] || fail "the client install lacks SentavoGuard.exe"
run sc query SentavoGuard 2>/dev/null | grep -q RUNNING || fail "the guard service does not run"
ls "$c/ProgramData/Microsoft/Windows/Start Menu/Programs/"*/"Sentavo Client.lnk" >/dev/null 2>&1 \
  && fail "a guarded install added a Startup entry"
shown=$(run "$codes" show 'C:\SentavoTest\Sentavo.cfg')
grep -q '"establishment": "Demo"' <<<"$shown" || fail "Sentavo.cfg: $shown"
grep -q '"serverPath": "C:\\\\Sdileno\\\\kody\\\\"' <<<"$shown" || fail "Sentavo.cfg: $shown"
grep -q '"adminPassword": "Tajne-7"' <<<"$shown" || fail "Sentavo.cfg lacks the given password: $shown"

# A reinstall keeps the operator's Sentavo.cfg, password and background included, and needs no
# password for it; a code tool left by an older installation goes.
run "$codes" config --out 'C:\SentavoTest\Sentavo.cfg' --server-path 'C:\Jinde' --establishment Demo \
  --password Zmeneno --background 'C:\pozadi.jpg' >/dev/null
cp "$codes" "$c/SentavoTest/sentavo-codes.exe"
run "$setup" /S /PART=client '/SHARE=C:\Sdileno\kody' /PROVOZOVNA=Jina '/D=C:\SentavoTest' \
  || fail "client reinstall exited $?"
shown=$(run "$codes" show 'C:\SentavoTest\Sentavo.cfg')
grep -q '"adminPassword": "Zmeneno"' <<<"$shown" || fail "the reinstall reset the password: $shown"
grep -q '"backgroundFile": "C:\\\\pozadi.jpg"' <<<"$shown" || fail "the reinstall cleared the background: $shown"
grep -q '"establishment": "Demo"' <<<"$shown" || fail "the reinstall rewrote Sentavo.cfg: $shown"
[ ! -e "$c/SentavoTest/sentavo-codes.exe" ] || fail "the reinstall kept an old sentavo-codes.exe"

# The installer put the library's machine policies in force; the uninstaller must lift them.
run reg query "$policies" /v HideFastUserSwitching >/dev/null 2>&1 || fail "the machine policies are not in force"
run reg query "$edgeui" /v AllowEdgeSwipe >/dev/null 2>&1 || fail "edge swipes are not barred"
# The client's policies for the user; the uninstaller must let them go.
for v in DisableTaskMgr DisableRegistryTools DisableLockWorkstation DisableChangePassword; do
  run reg add "$userpolicies" /v "$v" /t REG_DWORD /d 1 /f >/dev/null 2>&1
done
# The library may be gone before the uninstaller runs: the policies must go all the same.
rm -f "$c/SentavoTest/lockgina.dll"
run 'C:\SentavoTest\Uninstall.exe' /S '_?=C:\SentavoTest' || fail "uninstall exited $?"
for f in SentavoClient.exe SentavoGuard.exe lockgina.dll Sentavo.cfg; do
  [ ! -e "$c/SentavoTest/$f" ] || fail "the uninstall left $f"
done
run sc query SentavoGuard >/dev/null 2>&1 && fail "the guard service is still registered"
# Stopping the guard ends the lock window it kept running.
for _ in $(seq 50); do pgrep -f 'SentavoTest.SentavoClient.exe' >/dev/null || break; sleep 0.1; done
if pgrep -f 'SentavoTest.SentavoClient.exe' >/dev/null; then
  pkill -f 'SentavoTest.SentavoClient.exe'
  fail "the guard's lock window outlived the uninstall"
fi
for v in DisableTaskMgr DisableLockWorkstation DisableChangePassword HideFastUserSwitching; do
  if run reg query "$policies" /v "$v" >/dev/null 2>&1; then
    fail "the machine policy $v is still in force"
  fi
done
for v in DisableTaskMgr DisableRegistryTools DisableLockWorkstation DisableChangePassword; do
  [ "$(dword "$userpolicies" "$v")" = 0x0 ] || fail "the user's policy $v is $(dword "$userpolicies" "$v"), not 0"
done
if run reg query "$edgeui" /v AllowEdgeSwipe >/dev/null 2>&1; then
  fail "the edge-swipe policy is still in force"
fi
rm -rf "$c/SentavoTest" "$c/Sdileno"

# Without the guard (/GUARD=0) the client starts itself at every sign-in, as before.
run "$setup" /S /PART=client /GUARD=0 '/SHARE=C:\Sdileno\kody' /PROVOZOVNA=Demo /PASSWORD=x \
  '/D=C:\SentavoTest' || fail "client install without the guard exited $?"
ls "$c/ProgramData/Microsoft/Windows/Start Menu/Programs/"*/"Sentavo Client.lnk" >/dev/null 2>&1 \
  || fail "no start entry for the guest without the guard"
run sc query SentavoGuard >/dev/null 2>&1 && fail "/GUARD=0 installed the guard service"
run 'C:\SentavoTest\Uninstall.exe' /S '_?=C:\SentavoTest' || fail "uninstall without the guard exited $?"
ls "$c/ProgramData/Microsoft/Windows/Start Menu/Programs/"*/"Sentavo Client.lnk" >/dev/null 2>&1 \
  && fail "the start entry is still there"
rm -rf "$c/SentavoTest" "$c/Sdileno"

# The operator's part, as a trial install with the default password; the network share cannot be
# reached, which is worth a warning in the log but no failure.
log=$(run cmd /c 'echo %TEMP%' | tr -d '\r')
log="$(run winepath -u "$log" | tr -d '\r')/SentavoSetup.log"
rm -f "$log"
run "$setup" /S /PART=admin '/SHARE=\\server\kody' /PROVOZOVNA=Demo /TRIAL=1 '/D=C:\SentavoTest' || fail "admin install exited $?"
[ -f "$c/SentavoTest/SentavoAdmin.exe" ] || fail "the admin install lacks SentavoAdmin.exe"
[ -f "$c/SentavoTest/sentavo-codes.exe" ] || fail "the admin install lacks sentavo-codes.exe"
iconv -f UTF-16LE -t UTF-8 "$log" 2>/dev/null | grep -q 'server' || fail "no warning about the unreachable share in $log"
[ ! -e "$c/SentavoTest/SentavoClient.exe" ] || fail "the admin install brought SentavoClient.exe"
[ -f "$menu" ] || fail "no start-menu entry for SentavoAdmin"
shown=$(run "$codes" show 'C:\ProgramData\Sentavo\Sentavo.cfg')
grep -q '"serverPath": "\\\\\\\\server\\\\kody\\\\"' <<<"$shown" || fail "admin Sentavo.cfg: $shown"
grep -q '"adminPassword": "vamor"' <<<"$shown" || fail "the trial install lacks the default password: $shown"
run 'C:\SentavoTest\Uninstall.exe' /S '_?=C:\SentavoTest' || fail "admin uninstall exited $?"
[ ! -e "$c/SentavoTest/SentavoAdmin.exe" ] || fail "the uninstall left SentavoAdmin.exe"
[ ! -e "$menu" ] || fail "the start-menu entry is still there"
[ -f "$c/ProgramData/Sentavo/Sentavo.cfg" ] || fail "the operator's working folder was removed"
rm -rf "$c/SentavoTest" "$c/SentavoTest2" "$c/SentavoTest3" "$c/ProgramData/Sentavo"
echo "installer: silent install, reinstall and uninstall of both parts passed"
