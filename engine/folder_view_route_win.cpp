#include "engine/folder_view_route_win.h"

#include <exdisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <shlwapi.h>
#include <wrl/client.h>

#include <algorithm>
#include <string>

#include "engine/icon_names_win.h"
#include "engine/shell_call_thread_win.h"

using Microsoft::WRL::ComPtr;

namespace {

// A shell that did not serve a view is not asked again about it for this
// long: asking costs several calls into the shell, and the desktop is looked
// at every few seconds.
constexpr ULONGLONG kRetryMs = 10000;

// Item ID lists travel in batches of this many: one call for a whole desktop
// of usual size, and no message of unbounded size for a huge one.
constexpr ULONG kBatch = 256;

// An item ID list of the shell's, freed with the task allocator.
struct ItemId {
  ITEMID_CHILD* id = nullptr;
  ItemId() = default;
  explicit ItemId(ITEMID_CHILD* owned) : id(owned) {}
  ItemId(ItemId&& other) noexcept : id(other.id) { other.id = nullptr; }
  ItemId& operator=(ItemId&& other) noexcept {
    std::swap(id, other.id);
    return *this;
  }
  ~ItemId() { CoTaskMemFree(id); }
};

// A failure that says the shell is gone or no longer answers, as opposed to
// a refusal of one request (an item it no longer has).
bool ShellLost(HRESULT result) {
  return HRESULT_FACILITY(result) == FACILITY_RPC ||
         (HRESULT_FACILITY(result) == FACILITY_WIN32 && HRESULT_CODE(result) >= RPC_S_INVALID_STRING_BINDING &&
          HRESULT_CODE(result) <= RPC_X_BAD_STUB_DATA) ||
         result == CO_E_OBJNOTCONNECTED;
}

std::wstring DisplayName(IShellFolder& folder, PCUITEMID_CHILD item, SHGDNF kind) {
  STRRET answer = {};
  if (FAILED(folder.GetDisplayNameOf(item, kind, &answer))) return std::wstring();
  wchar_t* text = nullptr;
  if (FAILED(StrRetToStrW(&answer, item, &text)) || !text) return std::wstring();
  std::wstring copy = text;
  CoTaskMemFree(text);
  return copy;
}

}  // namespace

// The shell's objects, touched only by the work on the call thread.  They are
// kept from one connection to the next: reaching them costs several calls.
struct FolderViewRoute::Session {
  ComPtr<IShellFolder> desktop;  // this process's desktop folder, for names
  ComPtr<IShellView> view;
  ComPtr<IFolderView> folder;
  HWND window = nullptr;         // the view's window, as it answered
  std::vector<ItemId> items;     // the items of the latest connection, in the view's order

  void Forget() {
    folder.Reset();
    view.Reset();
    window = nullptr;
    items.clear();
  }

  // The shell's active view of the desktop, when its window is `defView`.
  bool Reach(HWND defView, ShellCallThread& calls) {
    Forget();
    ComPtr<IShellWindows> windows;
    HRESULT result = CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&windows));
    calls.Answered();
    if (FAILED(result)) return false;
    // The desktop's location as the shell's own documentation gives it.
    VARIANT location;
    VariantInit(&location);
    location.vt = VT_I4;
    location.lVal = CSIDL_DESKTOP;
    VARIANT none;
    VariantInit(&none);
    long desktopWindow = 0;
    ComPtr<IDispatch> found;
    result = windows->FindWindowSW(&location, &none, SWC_DESKTOP, &desktopWindow, SWFO_NEEDDISPATCH, &found);
    calls.Answered();
    if (result != S_OK || !found) return false;
    ComPtr<IServiceProvider> services;
    result = found.As(&services);
    calls.Answered();
    if (FAILED(result)) return false;
    ComPtr<IShellBrowser> browser;
    result = services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&browser));
    calls.Answered();
    if (FAILED(result)) return false;
    result = browser->QueryActiveShellView(&view);
    calls.Answered();
    if (FAILED(result) || !view) return false;
    result = view->GetWindow(&window);
    calls.Answered();
    // A view without a window, or with another than the one holding the
    // desktop's list view, is not the desktop Tessaly looks at.
    if (FAILED(result) || window != defView) {
      Forget();
      return false;
    }
    result = view.As(&folder);
    calls.Answered();
    if (FAILED(result)) Forget();
    return SUCCEEDED(result);
  }

  // The items in the view's order: through one enumeration where the view
  // gives one, else one by one.
  bool ReadItems(ShellCallThread& calls) {
    items.clear();
    int count = 0;
    HRESULT result = folder->ItemCount(SVGIO_ALLVIEW, &count);
    calls.Answered();
    if (FAILED(result)) return false;
    ComPtr<IEnumIDList> list;
    result = folder->Items(SVGIO_ALLVIEW | SVGIO_FLAG_VIEWORDER, IID_PPV_ARGS(&list));
    calls.Answered();
    if (SUCCEEDED(result) && list) {
      std::vector<ITEMID_CHILD*> batch(kBatch);
      for (;;) {
        ULONG fetched = 0;
        result = list->Next(kBatch, batch.data(), &fetched);
        calls.Answered();
        for (ULONG i = 0; i < fetched && i < kBatch; ++i) items.emplace_back(batch[i]);
        if (FAILED(result)) return false;
        if (result != S_OK || fetched == 0) return true;
      }
    }
    if (ShellLost(result)) return false;
    for (int i = 0; i < count; ++i) {
      ITEMID_CHILD* item = nullptr;
      result = folder->Item(i, &item);
      calls.Answered();
      if (FAILED(result)) return false;
      items.emplace_back(item);
    }
    return true;
  }
};

FolderViewRoute::FolderViewRoute() : session_(new Session) {}

// The session stays: the call thread may still be in a call that uses it.
FolderViewRoute::~FolderViewRoute() = default;

bool FolderViewRoute::Open(HWND listView) {
  Close();
  stalled_ = false;
  HWND defView = listView ? GetParent(listView) : nullptr;
  if (!defView) return false;
  if (defView == refusedView_ && GetTickCount64() - refusedAt_ < kRetryMs) return false;
  ShellCallThread& calls = ShellCallThread::Get();
  struct Answer {
    bool ok = false;
    size_t count = 0;
    bool arranges = false;
  };
  auto answer = std::make_shared<Answer>();
  Session* session = session_;
  const bool ran = calls.Run([session, defView, answer, &calls = calls] {
    if (!session->desktop && FAILED(SHGetDesktopFolder(&session->desktop))) return;
    // The view of the previous connection serves again while it still
    // answers for the same window.
    bool reached = false;
    if (session->folder && session->window == defView) {
      HWND window = nullptr;
      reached = SUCCEEDED(session->view->GetWindow(&window)) && window == defView;
      calls.Answered();
    }
    if (!reached && !session->Reach(defView, calls)) return;
    if (!session->ReadItems(calls)) {
      session->Forget();
      return;
    }
    // A view that gives no positions (Wine's own view answers E_NOTIMPL)
    // cannot serve: the list view does.
    if (!session->items.empty()) {
      POINT place = {};
      const HRESULT result = session->folder->GetItemPosition(session->items[0].id, &place);
      calls.Answered();
      if (FAILED(result)) {
        session->Forget();
        return;
      }
    }
    // S_OK: the view arranges its items itself; S_FALSE, or a view that
    // cannot tell, keeps their places.
    answer->arranges = session->folder->GetAutoArrange() == S_OK;
    calls.Answered();
    answer->count = session->items.size();
    answer->ok = true;
  });
  if (ran && !answer->ok) {
    refusedView_ = defView;
    refusedAt_ = GetTickCount64();
  }
  if (!ran || !answer->ok) return false;
  count_ = answer->count;
  arranging_ = answer->arranges ? Arranging::kArranges : Arranging::kKeepsPlaces;
  open_ = true;
  return true;
}

bool FolderViewRoute::ReadItemText(int index, IconEntry& entry) {
  if (!open_ || stalled_ || index < 0 || static_cast<size_t>(index) >= count_) return false;
  if (!namesRead_) {
    // Names come from this process's desktop folder: no call into the shell.
    auto names = std::make_shared<std::vector<IconEntry>>();
    Session* session = session_;
    if (!ShellCallThread::Get().Run([session, names] {
          names->resize(session->items.size());
          for (size_t i = 0; i < session->items.size(); ++i) {
            const ITEMID_CHILD* item = session->items[i].id;
            SetShownName(DisplayName(*session->desktop.Get(), item, SHGDN_INFOLDER), (*names)[i]);
            (*names)[i].parsingName =
                ToUtf8(DisplayName(*session->desktop.Get(), item, SHGDN_INFOLDER | SHGDN_FORPARSING));
          }
        })) {
      stalled_ = true;
      return false;
    }
    names_ = std::move(*names);
    namesRead_ = true;
  }
  const IconEntry& names = names_[static_cast<size_t>(index)];
  entry.name = names.name;
  entry.unicodeName = names.unicodeName;
  entry.parsingName = names.parsingName;
  return true;
}

bool FolderViewRoute::ReadItemPosition(int index, int& x, int& y) {
  if (!open_ || stalled_ || index < 0 || static_cast<size_t>(index) >= count_) return false;
  if (!placesRead_) {
    struct Places {
      std::vector<POINT> places;
      std::vector<bool> placed;
      bool lost = false;
    };
    auto places = std::make_shared<Places>();
    Session* session = session_;
    ShellCallThread& calls = ShellCallThread::Get();
    const bool ran = calls.Run([session, places, &calls = calls] {
      const size_t count = session->items.size();
      places->places.assign(count, POINT{});
      places->placed.assign(count, false);
      for (size_t i = 0; i < count; ++i) {
        const HRESULT result = session->folder->GetItemPosition(session->items[i].id, &places->places[i]);
        calls.Answered();
        if (ShellLost(result)) {
          places->lost = true;
          return;
        }
        places->placed[i] = SUCCEEDED(result);
      }
    });
    if (!ran || places->lost) {
      stalled_ = true;
      return false;
    }
    places_ = std::move(places->places);
    placed_ = std::move(places->placed);
    placesRead_ = true;
  }
  if (!placed_[static_cast<size_t>(index)]) return false;
  x = places_[static_cast<size_t>(index)].x;
  y = places_[static_cast<size_t>(index)].y;
  return true;
}

void FolderViewRoute::SetItemPosition(int index, int x, int y) {
  if (!open_ || stalled_ || index < 0 || static_cast<size_t>(index) >= count_) return;
  moves_.push_back({index, POINT{x, y}});
}

void FolderViewRoute::FlushMoves() {
  if (!open_ || stalled_ || moves_.empty()) {
    moves_.clear();
    return;
  }
  // The view moves the items of one call in their order, as the restore made
  // them: each lands where the moves before it have made room.
  auto moves = std::make_shared<std::vector<Move>>(std::move(moves_));
  auto refused = std::make_shared<bool>(false);
  moves_.clear();
  // What the shell made of the moves is read afresh.
  placesRead_ = false;
  Session* session = session_;
  ShellCallThread& calls = ShellCallThread::Get();
  const bool ran = calls.Run([session, moves, refused, &calls = calls] {
    std::vector<PCUITEMID_CHILD> items;
    std::vector<POINT> places;
    for (size_t from = 0; from < moves->size(); from += kBatch) {
      const size_t to = std::min(moves->size(), from + kBatch);
      items.clear();
      places.clear();
      for (size_t i = from; i < to; ++i) {
        items.push_back(session->items[static_cast<size_t>((*moves)[i].index)].id);
        places.push_back((*moves)[i].place);
      }
      const HRESULT result = session->folder->SelectAndPositionItems(static_cast<UINT>(items.size()), items.data(),
                                                                     places.data(), SVSI_POSITIONITEM);
      calls.Answered();
      if (FAILED(result)) {
        *refused = true;
        return;
      }
    }
  });
  if (!ran || *refused) stalled_ = true;
}

void FolderViewRoute::Close() {
  open_ = false;
  count_ = 0;
  namesRead_ = false;
  names_.clear();
  placesRead_ = false;
  places_.clear();
  placed_.clear();
  moves_.clear();
}
