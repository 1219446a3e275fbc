#include "tests/support/shell_interface.h"

#include <commctrl.h>
#include <exdisp.h>
#include <shlguid.h>
#include <shobjidl.h>

#include <atomic>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace testsupport {
namespace {

HWND progmanWindow;
HWND viewWindow;  // the "SHELLDLL_DefView"
HWND listWindow;
IShellView* realView;
IShellFolder* desktopFolder;
DWORD registration;
std::atomic<int> mode{static_cast<int>(InterfaceMode::kServe)};
std::atomic<long> calls{0};
std::atomic<long> moves{0};

InterfaceMode Mode() { return static_cast<InterfaceMode>(mode.load()); }

std::atomic<unsigned long> latestRequest{0};
std::atomic<unsigned long> burstStart{0};
std::atomic<unsigned long> latestBurst{0};

// Every object below is called by other processes only.
void Called() {
  ++calls;
  NoteRequest();
}

// The shell's view keeps each item's ID list in the item's lParam.
PCUITEMID_CHILD ItemOf(int index) {
  LVITEMW item = {};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  if (!SendMessageW(listWindow, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return reinterpret_cast<PCUITEMID_CHILD>(item.lParam);
}

int ItemCount() { return static_cast<int>(SendMessageW(listWindow, LVM_GETITEMCOUNT, 0, 0)); }

bool SameItem(PCUITEMID_CHILD a, PCUITEMID_CHILD b) {
  const UINT size = ILGetSize(a);
  return a && b && size == ILGetSize(b) && std::memcmp(a, b, size) == 0;
}

std::string BytesOf(PCUITEMID_CHILD item) { return std::string(reinterpret_cast<const char*>(item), ILGetSize(item)); }

// The index of each item by its ID list, as last seen; checked at every use
// and read again when the view has changed, so that looking items up costs
// what it costs the shell, not a scan of the view for every item.
std::map<std::string, int> indexes;

int IndexOf(PCUITEMID_CHILD wanted) {
  if (!wanted) return -1;
  auto found = indexes.find(BytesOf(wanted));
  if (found != indexes.end() && SameItem(ItemOf(found->second), wanted)) return found->second;
  indexes.clear();
  const int count = ItemCount();
  for (int i = 0; i < count; ++i) {
    if (PCUITEMID_CHILD item = ItemOf(i)) indexes[BytesOf(item)] = i;
  }
  found = indexes.find(BytesOf(wanted));
  return found != indexes.end() ? found->second : -1;
}

// The items of the view, in its order; each Next hands out copies.
class ItemList final : public IEnumIDList {
 public:
  ItemList() {
    const int count = ItemCount();
    for (int i = 0; i < count; ++i) items_.push_back(ItemOf(i));
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumIDList)) {
      *out = static_cast<IEnumIDList*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, PITEMID_CHILD* out, ULONG* fetched) override {
    Called();
    ULONG given = 0;
    for (; given < wanted && next_ < items_.size(); ++given) out[given] = ILClone(items_[next_++]);
    if (fetched) *fetched = given;
    return given == wanted ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    Called();
    next_ = next_ + count < items_.size() ? next_ + count : items_.size();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    Called();
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumIDList** copy) override {
    Called();
    *copy = nullptr;
    return E_NOTIMPL;
  }

 private:
  std::vector<PCUITEMID_CHILD> items_;  // owned by the view
  size_t next_ = 0;
  std::atomic<ULONG> references_{1};
};

// The view as the shell's browser hands it out: its window, and IFolderView
// answered through the list view on this thread.  Everything else is the
// real view's.
class HostedView final : public IShellView, public IFolderView {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    Called();
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IShellView)) {
      *out = static_cast<IShellView*>(this);
    } else if (IsEqualIID(riid, IID_IFolderView)) {
      *out = static_cast<IFolderView*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    return S_OK;
  }
  // Lives as long as the process.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    Called();
    switch (Mode()) {
      case InterfaceMode::kNoWindow: *window = nullptr; return E_FAIL;
      case InterfaceMode::kOtherWindow: *window = progmanWindow; return S_OK;
      default: *window = viewWindow; return S_OK;
    }
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override { return realView->ContextSensitiveHelp(enter); }
  // IShellView
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message) override {
    return realView->TranslateAccelerator(message);
  }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override { return realView->EnableModeless(enable); }
  HRESULT STDMETHODCALLTYPE UIActivate(UINT state) override { return realView->UIActivate(state); }
  HRESULT STDMETHODCALLTYPE Refresh() override { return realView->Refresh(); }
  HRESULT STDMETHODCALLTYPE CreateViewWindow(IShellView*, LPCFOLDERSETTINGS, IShellBrowser*, RECT*, HWND*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DestroyViewWindow() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCurrentInfo(LPFOLDERSETTINGS settings) override {
    return realView->GetCurrentInfo(settings);
  }
  HRESULT STDMETHODCALLTYPE AddPropertySheetPages(DWORD, LPFNSVADDPROPSHEETPAGE, LPARAM) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SaveViewState() override { return realView->SaveViewState(); }
  HRESULT STDMETHODCALLTYPE SelectItem(PCUITEMID_CHILD item, SVSIF flags) override {
    return realView->SelectItem(item, flags);
  }
  HRESULT STDMETHODCALLTYPE GetItemObject(UINT item, REFIID riid, void** out) override {
    return realView->GetItemObject(item, riid, out);
  }

  // IFolderView
  HRESULT STDMETHODCALLTYPE GetCurrentViewMode(UINT* viewMode) override {
    Called();
    *viewMode = FVM_ICON;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetCurrentViewMode(UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFolder(REFIID riid, void** out) override {
    Called();
    return desktopFolder->QueryInterface(riid, out);
  }
  HRESULT STDMETHODCALLTYPE Item(int index, PITEMID_CHILD* item) override {
    Called();
    PCUITEMID_CHILD found = index >= 0 && index < testsupport::ItemCount() ? ItemOf(index) : nullptr;
    *item = found ? ILClone(found) : nullptr;
    return *item ? S_OK : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE ItemCount(UINT, int* count) override {
    Called();
    *count = testsupport::ItemCount();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Items(UINT, REFIID riid, void** out) override {
    Called();
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IEnumIDList)) return E_NOINTERFACE;
    *out = static_cast<IEnumIDList*>(new ItemList);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSelectionMarkedItem(int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFocusedItem(int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetItemPosition(PCUITEMID_CHILD item, POINT* place) override {
    Called();
    if (Mode() == InterfaceMode::kNoPositions) return E_NOTIMPL;
    const int index = IndexOf(item);
    if (index < 0) return E_INVALIDARG;
    return SendMessageW(listWindow, LVM_GETITEMPOSITION, index, reinterpret_cast<LPARAM>(place)) ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE GetSpacing(POINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDefaultSpacing(POINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAutoArrange() override {
    return Mode() == InterfaceMode::kAutoArrange ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE SelectItem(int, DWORD) override { return E_NOTIMPL; }
  // Moves the items in their order, on this thread, as a drag and drop does.
  HRESULT STDMETHODCALLTYPE SelectAndPositionItems(UINT count, PCUITEMID_CHILD_ARRAY items, POINT* places,
                                                   DWORD flags) override {
    Called();
    if (Mode() == InterfaceMode::kNoPositions) return E_NOTIMPL;
    if (!(flags & SVSI_POSITIONITEM) || !places) return S_OK;
    for (UINT i = 0; i < count; ++i) {
      const int index = IndexOf(items[i]);
      if (index < 0) continue;
      SendMessageW(listWindow, LVM_SETITEMPOSITION32, index, reinterpret_cast<LPARAM>(&places[i]));
      ++moves;
    }
    return S_OK;
  }
};

HostedView hostedView;

// The browser of the desktop window: it gives its active view.
// The IDispatch of an object that nothing automates.
template <typename Interface>
class NotAutomated : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
};

class RemoteBrowser final : public ViewOnlyBrowser, public IServiceProvider, public NotAutomated<IDispatch> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    Called();
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IShellBrowser)) {
      *out = static_cast<IShellBrowser*>(this);
    } else if (IsEqualIID(riid, IID_IServiceProvider)) {
      *out = static_cast<IServiceProvider*>(this);
    } else if (IsEqualIID(riid, IID_IDispatch)) {
      *out = static_cast<IDispatch*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  // IServiceProvider
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID riid, void** out) override {
    Called();
    if (IsEqualGUID(service, SID_STopLevelBrowser) || IsEqualGUID(service, SID_SShellBrowser)) {
      return QueryInterface(riid, out);
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }

  // IShellBrowser
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    Called();
    *window = progmanWindow;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView** view) override {
    Called();
    *view = &hostedView;
    return S_OK;
  }
};

RemoteBrowser remoteBrowser;

// The shell's windows: only the desktop's is ever asked for.
class DesktopWindows final : public NotAutomated<IShellWindows> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    Called();
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IShellWindows)) {
      *out = static_cast<IShellWindows*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Item(VARIANT, IDispatch** folder) override {
    *folder = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown** list) override {
    *list = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Register(IDispatch*, LONG, int, LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RegisterPending(LONG, VARIANT*, VARIANT*, int, LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Revoke(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnNavigate(LONG, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnActivated(LONG, VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindWindowSW(VARIANT*, VARIANT*, int kind, LONG* window, int,
                                         IDispatch** found) override {
    Called();
    *found = nullptr;
    *window = 0;
    if (kind != SWC_DESKTOP || Mode() == InterfaceMode::kAbsent) return S_FALSE;
    *window = static_cast<LONG>(reinterpret_cast<LONG_PTR>(progmanWindow));
    *found = static_cast<IDispatch*>(&remoteBrowser);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnCreated(LONG, IUnknown*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ProcessAttachDetach(VARIANT_BOOL) override { return S_OK; }
};

DesktopWindows desktopWindows;

class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    Called();
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return desktopWindows.QueryInterface(riid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory factory;

}  // namespace

bool ServeShellInterface(HWND progman, HWND defView, HWND listView, IShellView* view, IShellFolder* desktop) {
  progmanWindow = progman;
  viewWindow = defView;
  listWindow = listView;
  realView = view;
  desktopFolder = desktop;
  return SUCCEEDED(
      CoRegisterClassObject(kTestShellWindows, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &registration));
}

void RevokeShellInterface() {
  if (registration) CoRevokeClassObject(registration);
  registration = 0;
}

void SetInterfaceMode(InterfaceMode newMode) { mode = static_cast<int>(newMode); }

long InterfaceCalls() { return calls.load(); }

// Requests come on the view's thread and on COM's: a burst that two threads
// note at once may lose a bound by one request, which the gap covers.
void NoteRequest() {
  const unsigned long now = GetTickCount();
  const unsigned long latest = latestRequest.exchange(now);
  if (latest == 0 || now - latest >= kBurstGapMs) burstStart = now;
  latestBurst = now - burstStart.load();
}

void RequestTimes(unsigned long* latest, unsigned long* burst) {
  *latest = latestRequest.load();
  *burst = latestBurst.load();
}

long InterfaceMoves() { return moves.load(); }

}  // namespace testsupport
