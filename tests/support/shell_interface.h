// The shell's interface to its desktop, as shell_desktop.exe serves it: the
// class object that CLSID_ShellWindows is sent to in a test prefix, whose
// FindWindowSW(SWC_DESKTOP) hands out a browser whose active view answers
// for the hosted view.  The view answers IFolderView itself, on the view's
// thread through its list view, as the Windows shell does (Wine's own view
// gives no positions).  Windows only.
#pragma once

#include <windows.h>
#include <shlobj.h>

namespace testsupport {

// The class the test desktop registers, and that a test prefix sends
// CLSID_ShellWindows to (ShellDesktop::ServeShellInterface).
// {7C3E9A12-5B4D-4E8F-A1C2-3D4E5F60718A}
inline constexpr CLSID kTestShellWindows = {0x7c3e9a12, 0x5b4d, 0x4e8f, {0xa1, 0xc2, 0x3d, 0x4e, 0x5f, 0x60, 0x71, 0x8a}};

// A browser that offers a view and its window and nothing of a browser's
// user interface: what a view hosted as the desktop asks of it.  Derived
// classes give QueryInterface, AddRef, Release, GetWindow and
// QueryActiveShellView.
class ViewOnlyBrowser : public IShellBrowser {
 public:
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InsertMenusSB(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenuSB(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RemoveMenusSB(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusTextSB(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnableModelessSB(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAcceleratorSB(MSG*, WORD) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE BrowseObject(PCUIDLIST_RELATIVE, UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetViewStateStream(DWORD, IStream** stream) override {
    *stream = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetControlWindow(UINT, HWND* window) override {
    *window = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SendControlMsg(UINT, UINT, WPARAM, LPARAM, LRESULT* result) override {
    if (result) *result = 0;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OnViewWindowActive(IShellView*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetToolbarItems(LPTBBUTTONSB, UINT, UINT) override { return E_NOTIMPL; }
};

// How the desktop answers (the desktop's "interface" command).
enum class InterfaceMode {
  kServe,        // as the Windows shell does
  kAbsent,       // FindWindowSW finds no desktop window
  kOtherWindow,  // the view's window is another than the one that holds the list view
  kNoWindow,     // the view has no window
  kNoPositions,  // GetItemPosition and SelectAndPositionItems answer E_NOTIMPL, as Wine's view
  kAutoArrange,  // as kServe, and GetAutoArrange answers S_OK: Auto arrange is on
};

// Registers the class object; everything it hands out lives on the calling
// thread, the view's, until RevokeShellInterface.  False when COM refused.
bool ServeShellInterface(HWND progman, HWND defView, HWND listView, IShellView* view, IShellFolder* desktop);
void RevokeShellInterface();
void SetInterfaceMode(InterfaceMode mode);
// How many calls other processes made to the objects handed out, and how
// many icons they moved.
long InterfaceCalls();
long InterfaceMoves();

// A request of another process (a call of the interface, a list-view message
// sent from outside): its time is noted.  Requests less than kBurstGapMs
// apart belong to one burst, one look of the program that asks.
inline constexpr unsigned long kBurstGapMs = 300;
void NoteRequest();
// GetTickCount at the latest request, and how long the burst it belongs to
// has lasted from its first request to it, in ms; 0 and 0 before any.
void RequestTimes(unsigned long* latest, unsigned long* latestBurst);

}  // namespace testsupport
