// What a screen reader reads of a window that draws its elements: the window's own IAccessible
// for its client area, read from the element list each time it is asked. Children are the
// elements that mean something to a reader (ui/elements.h), with ids number + 1; being sparse,
// they are also given through IEnumVARIANT and navigation. Each WM_GETOBJECT gets an object of
// its own (its enumeration is its own); an object keeps only the window's handle and a flag the
// window clears when it is destroyed: from then on every call answers RPC_E_DISCONNECTED,
// whoever still holds the object. All calls arrive on the GUI thread (COM marshals them there).
#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/library_function_win32.h"
#include "ui/scale.h"
#include "ui/win32/runtime_state.h"
#include "ui/window.h"

namespace ui::win32 {

namespace {

// The accessibility and automation libraries are loaded at the first question of a screen
// reader, not at start: a program nobody reads does not carry them.
HMODULE Library(const char* name) { return services::win32::SystemLibrary(name); }

BSTR AllocatedText(const wchar_t* text, UINT length) {
  using Allocate = BSTR(WINAPI*)(const OLECHAR*, UINT);
  static const Allocate allocate = services::win32::LibraryFunction<Allocate>(Library("oleaut32.dll"), "SysAllocStringLen");
  return allocate ? allocate(text, length) : nullptr;
}

void ClearVariant(VARIANT* variant) {  // as VariantInit does, without oleaut32
  variant->vt = VT_EMPTY;
}

BSTR WideText(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  BSTR wide = AllocatedText(nullptr, static_cast<UINT>(length));
  if (wide && length > 0)
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide, length);
  return wide;
}

long RoleNumber(ReaderRole role) {
  switch (role) {
    case ReaderRole::Link:
      return ROLE_SYSTEM_LINK;
    case ReaderRole::Graphic:
      return ROLE_SYSTEM_GRAPHIC;
    case ReaderRole::PushButton:
      return ROLE_SYSTEM_PUSHBUTTON;
    case ReaderRole::StaticText:
      break;
  }
  return ROLE_SYSTEM_STATICTEXT;
}

void SetChild(VARIANT* out, long child) {
  ClearVariant(out);
  out->vt = VT_I4;
  out->lVal = child;
}

bool ChildOf(const VARIANT& child, long* id) {
  if (child.vt != VT_I4) return false;
  *id = child.lVal;
  return true;
}

}  // namespace

// How many objects readers hold, on every window of the program ("Kestrivalume.Readers"):
// another program can tell that the objects it let go are gone.
void CountReaders(int change) {
  static std::uintptr_t live = 0;
  live += change;
  for (const auto& [number, record] : Windows()) PublishNumber(number, "Kestrivalume.Readers", live);
}

class ElementReader final : public IAccessible, public IEnumVARIANT {
 public:
  ElementReader(HWND window, std::shared_ptr<bool> connected, ULONG position = 0)
      : window_(window), connected_(std::move(connected)), position_(position) {
    CountReaders(+1);
  }

  // --- IUnknown ---
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
    } else if (iid == IID_IEnumVARIANT) {
      *out = static_cast<IEnumVARIANT*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // --- IDispatch: not offered (readers use the IAccessible methods) ---
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // --- IAccessible ---
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!Window()) return RPC_E_DISCONNECTED;
    using Create = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
    static const Create create =
        services::win32::LibraryFunction<Create>(Library("oleacc.dll"), "CreateStdAccessibleObject");
    if (!create) return E_FAIL;
    return create(window_, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    const WindowRecord* window = Window();
    if (!window) return RPC_E_DISCONNECTED;
    *count = static_cast<long>(ReaderChildren(window->elements).size());
    return S_OK;
  }
  // Every child is a simple element, answered through this object with its id.
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    const WindowRecord* window = Window();
    if (!window) return RPC_E_DISCONNECTED;
    long id = 0;
    if (!ChildOf(child, &id) || !ReaderChild(window->elements, id)) return E_INVALIDARG;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    const Element* element = nullptr;
    const HRESULT found = Find(child, &element);
    if (found != S_OK) return found;
    *name = WideText(element ? ReaderName(*element) : WindowTitle());
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override { return NoText(child, value); }
  // An entry's tooltip says more than its name: what it opens.
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    if (!description) return E_POINTER;
    *description = nullptr;
    const Element* element = nullptr;
    const HRESULT found = Find(child, &element);
    if (found != S_OK) return found;
    if (!element || element->tooltip.empty() || ReaderName(*element) == element->tooltip) return S_FALSE;
    *description = WideText(element->tooltip);
    return *description ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    const Element* element = nullptr;
    const HRESULT found = Find(child, &element);
    if (found != S_OK) return found;
    SetChild(role, element ? RoleNumber(RoleOf(*element)) : ROLE_SYSTEM_CLIENT);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    const Element* element = nullptr;
    const HRESULT found = Find(child, &element);
    if (found != S_OK) return found;
    SetChild(state, StateOf(element));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return NoText(child, help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return Window() ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override { return NoText(child, keys); }
  // The hot element is the one the pointer designates: the focus as far as a reader can tell.
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    ClearVariant(focus);
    const WindowRecord* window = Window();
    if (!window) return RPC_E_DISCONNECTED;
    if (window->elements.hot == kNoControl) return S_FALSE;
    SetChild(focus, ChildIdOf(window->elements.hot));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    ClearVariant(selection);
    return Window() ? S_FALSE : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!action) return E_POINTER;
    *action = nullptr;
    const Element* element = nullptr;
    const HRESULT found = Find(child, &element);
    if (found != S_OK) return found;
    if (!element || !ReportsClicks(element->kind)) return S_FALSE;
    *action = WideText(element->kind == ElementKind::Link ? "Ouvrir" : "Appuyer");
    return *action ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT child) override {
    const Element* element = nullptr;
    const HRESULT found = Find(child, &element);
    return found != S_OK ? found : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    const Element* element = nullptr;
    const HRESULT found = Find(child, &element);
    if (found != S_OK) return found;
    RECT box = {};
    if (element) {
      box = ElementRect(*Window(), *element);
    } else {
      GetClientRect(window_, &box);
    }
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&box), 2);
    *left = box.left;
    *top = box.top;
    *width = box.right - box.left;
    *height = box.bottom - box.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    ClearVariant(end);
    const WindowRecord* window = Window();
    if (!window) return RPC_E_DISCONNECTED;
    long from = 0;
    if (!ChildOf(start, &from)) return E_INVALIDARG;
    int found = kNoControl;
    if (from == kSelfChild && (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD)) {
      found = Navigate(window->elements, direction == NAVDIR_FIRSTCHILD ? Direction::First : Direction::Last);
    } else if (from != kSelfChild && ReaderChild(window->elements, from)) {
      if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) {
        found = Navigate(window->elements, Direction::Next, NumberOfChild(from));
      } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) {
        found = Navigate(window->elements, Direction::Previous, NumberOfChild(from));
      }
    } else if (from != kSelfChild) {
      return E_INVALIDARG;
    }
    if (found == kNoControl) return S_FALSE;
    SetChild(end, ChildIdOf(found));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    if (!child) return E_POINTER;
    ClearVariant(child);
    const WindowRecord* window = Window();
    if (!window) return RPC_E_DISCONNECTED;
    POINT at = {x, y};
    RECT client = {};
    GetClientRect(window_, &client);
    if (!ScreenToClient(window_, &at) || !PtInRect(&client, at)) return S_FALSE;
    const int under = ReaderChildAt(window->elements, at.x, at.y, window->dpi);
    SetChild(child, under == kNoControl ? CHILDID_SELF : ChildIdOf(under));
    return S_OK;
  }
  // Posted, not performed: a launch may take seconds and destroys the window.
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    const Element* element = nullptr;
    const HRESULT found = Find(child, &element);
    if (found != S_OK) return found;
    if (!element || !ReportsClicks(element->kind)) return DISP_E_MEMBERNOTFOUND;
    return PostMessageA(window_, kElementClickMessage, static_cast<WPARAM>(element->number), 0) ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return Window() ? E_NOTIMPL : RPC_E_DISCONNECTED; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return Window() ? E_NOTIMPL : RPC_E_DISCONNECTED; }

  // --- IEnumVARIANT: the reader's children, as child ids ---
  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* out, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    if (!out) return E_POINTER;
    const WindowRecord* window = Window();
    if (!window) return RPC_E_DISCONNECTED;
    const std::vector<int> children = ReaderChildren(window->elements);
    ULONG given = 0;
    for (; given < wanted && position_ < children.size(); ++given, ++position_) SetChild(&out[given], ChildIdOf(children[position_]));
    if (fetched) *fetched = given;
    return given == wanted ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const WindowRecord* window = Window();
    if (!window) return RPC_E_DISCONNECTED;
    const ULONG total = static_cast<ULONG>(ReaderChildren(window->elements).size());
    position_ = position_ + count > total ? total : position_ + count;
    return position_ < total || count == 0 ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return Window() ? S_OK : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
    if (!copy) return E_POINTER;
    *copy = nullptr;
    if (!Window()) return RPC_E_DISCONNECTED;
    auto* clone = new ElementReader(window_, connected_, position_);
    clone->AddRef();
    *copy = clone;
    return S_OK;
  }

 private:
  ~ElementReader() { CountReaders(-1); }

  // The window's record while it lives; null once it was destroyed.
  const WindowRecord* Window() const {
    if (!*connected_) return nullptr;
    const WindowRecord* record = RecordOfHandle(window_);
    return record && record->draws_elements ? record : nullptr;
  }

  std::string WindowTitle() const {
    char title[256] = {};
    GetWindowTextA(window_, title, sizeof title);
    return title;
  }

  // The element a child id names (null for the window itself): S_OK, or why not.
  HRESULT Find(const VARIANT& child, const Element** element) const {
    const WindowRecord* window = Window();
    if (!window) return RPC_E_DISCONNECTED;
    long id = 0;
    if (!ChildOf(child, &id)) return E_INVALIDARG;
    if (id == kSelfChild) return S_OK;
    *element = ReaderChild(window->elements, id);
    return *element ? S_OK : E_INVALIDARG;
  }

  HRESULT NoText(const VARIANT& child, BSTR* text) const {
    if (!text) return E_POINTER;
    *text = nullptr;
    const Element* element = nullptr;
    const HRESULT found = Find(child, &element);
    return found != S_OK ? found : S_FALSE;
  }

  long StateOf(const Element* element) const {
    const WindowRecord* window = Window();
    long state = IsWindowVisible(window_) ? 0 : STATE_SYSTEM_INVISIBLE;
    if (!element) return state | STATE_SYSTEM_FOCUSABLE;
    if (ReportsClicks(element->kind)) state |= STATE_SYSTEM_FOCUSABLE;
    if (element->kind == ElementKind::Link) state |= STATE_SYSTEM_LINKED;
    if (!element->enabled) state |= STATE_SYSTEM_UNAVAILABLE;
    if (window->elements.hot == element->number) state |= STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_FOCUSED;
    return state;
  }

  HWND window_;
  std::shared_ptr<bool> connected_;
  ULONG position_;
  ULONG references_ = 0;
};

LRESULT AnswerGetObject(WindowRecord& window, WPARAM wparam, LPARAM lparam) {
  if (static_cast<LONG>(lparam) != static_cast<LONG>(OBJID_CLIENT)) return 0;
  using FromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  static const FromObject from_object =
      services::win32::LibraryFunction<FromObject>(Library("oleacc.dll"), "LresultFromObject");
  if (!from_object) return 0;  // no accessibility library: the system's object answers
  if (!window.readers_connected) window.readers_connected = std::make_shared<bool>(true);
  auto* reader = new ElementReader(window.handle, window.readers_connected);
  reader->AddRef();
  const LRESULT answer = from_object(IID_IAccessible, wparam, static_cast<IAccessible*>(reader));
  reader->Release();  // the reader holds it now, or nobody does and it is gone
  return answer > 0 ? answer : 0;
}

// Readers may hold their objects on: they stay theirs until they let them go, answering every
// call "disconnected". (Cutting the proxies off instead would tell them the interface is unknown.)
void DisconnectReader(WindowRecord& window) {
  if (window.readers_connected) *window.readers_connected = false;
  window.readers_connected.reset();
}

}  // namespace ui::win32
