// lockgina.dll: the key-blocking library's C interface. Every function uses the Windows calling
// convention and is exported under its plain name. Item numbers: 1 taskbar, 2 desktop, 3 start
// button, 4 task links, 5 notification area, 7 accessibility shortcuts. Modifier masks: 1 Alt,
// 2 Ctrl, 4 Shift, 8 Windows key. With the string value "Journal" under
// HKLM\Software\Brenholt\SystemLock\Gina set to a file name, every call is appended to that file
// and nothing is blocked (trial mode).
#pragma once

#include <windows.h>

extern "C" {
// Returns the interface version the library speaks, 2.12 as 2 << 16 | 12.
int WINAPI wlVersion(int callerVersion);
int WINAPI wlDisableItem(int item, int disable);
int WINAPI wlIsItemDisabled(int item);
// Non-zero when the combination is blocked afterwards. Ctrl+Alt+Del (46, mask 3) counts as
// blocked only while the machine policies of wlInstallGina are in force.
int WINAPI wlDisableKey(int reserved, int key, int mask, int block);
int WINAPI wlIsKeyDisabled(int reserved, int key, int mask);
// Reports of keys and mouse buttons: wParam the window that receives them, lParam the key code
// (1 left, 2 right, 4 middle button) in the low word and the modifier mask in the high word.
// A message of 0 sends nothing of that kind; a window of 0 stops the reports.
int WINAPI wlSetKeySendMessage(HWND window, UINT pressMessage, UINT releaseMessage);
int WINAPI wlSetKeyPostMessage(HWND window, UINT pressMessage, UINT releaseMessage);
// The machine policies that empty the Ctrl+Alt+Del screen (administrator rights needed).
int WINAPI wlInstallGina(int flags);
int WINAPI wlUninstallGina();
int WINAPI wlIsGinaInstalled();
int WINAPI wlNeedGinaInstall();
int WINAPI wlIsNTSystem();
int WINAPI wlExitWindows(int flags);
// 5 for Windows XP and later, 4 Windows 2000, 3 NT 4, 2 Windows 98/ME, 1 Windows 95.
int WINAPI wlWinVersion();
int WINAPI wlGetKeyState(int key);
int WINAPI wlSetKeyState(int key, int down);
int WINAPI wlSetKeyCallback(void* callback);
// Lifts every block and undoes everything the journal of saved values holds, also what a
// crashed program left behind.
int WINAPI wlRestoreAll();
// The index-th blocked combination as mask << 16 | key; -1 past the end.
int WINAPI wlGetDisabledKey(int index);
int WINAPI wlIsAdmin();
int WINAPI wlEnableAutologin(int enable);
int WINAPI wlMapScancode(int fromScancode, int toScancode);
int WINAPI wlDisableDesktopIcon(int index, int disable);
int WINAPI wlRestoreDesktopIcons();
int WINAPI wlDesktopIconCount();
// Ends the library's work: everything restored, the hook thread stopped.
int WINAPI wlExit();
}
