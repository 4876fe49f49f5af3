#include "accessible_part.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

namespace pelmiro {
namespace {

constexpr UINT_PTR AccessibleSubclass = 2;

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT Give(const wchar_t* text, BSTR* out) {
  *out = SysAllocString(text);
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

const pelmiro::Words& AccessiblePart::UserWords() {
  static const pelmiro::Words& words = []() -> const pelmiro::Words& {
    // A list of names, each ending in a null, the list in another.
    ULONG count = 0;
    ULONG length = 0;
    GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &length);
    std::wstring list(length, L'\0');
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, list.data(), &length)) {
      list.clear();
    }
    std::string tags;  // names are ASCII
    for (const wchar_t* tag = list.c_str(); *tag != L'\0'; tag += std::wcslen(tag) + 1) {
      tags.append(tag, tag + std::wcslen(tag)).push_back(',');
    }
    return WordsFor(tags, ',');
  }();
  return words;
}

LRESULT AccessiblePart::Answer(HWND window, WPARAM wParam, LPARAM lParam, const Words& words) {
  if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) {
    return 0;
  }
  IAccessible* system = nullptr;
  if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&system)))) {
    return 0;
  }
  auto* part = new AccessiblePart(system, words);
  // A cookie for the reader, which holds its own reference until the reader takes it.
  const LRESULT answer = LresultFromObject(__uuidof(IAccessible), wParam, part);
  part->Release();
  return answer > 0 ? answer : 0;
}

void AccessiblePart::Describe(HWND control, const Words* words) {
  SetWindowSubclass(control, ControlProc, AccessibleSubclass, reinterpret_cast<DWORD_PTR>(words));
}

LRESULT CALLBACK AccessiblePart::ControlProc(HWND control, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR, DWORD_PTR words) {
  if (message == WM_GETOBJECT) {
    if (const LRESULT answer =
            Answer(control, wParam, lParam, *reinterpret_cast<const Words*>(words))) {
      return answer;
    }
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(control, ControlProc, AccessibleSubclass);
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

AccessiblePart::AccessiblePart(IAccessible* system, const Words& words)
    : system_(system), words_(words) {}

AccessiblePart::~AccessiblePart() {
  system_->Release();
}

HRESULT STDMETHODCALLTYPE AccessiblePart::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
      IsEqualIID(iid, __uuidof(IAccessible))) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  // The window behind the part and the list of its children are the system's.
  return system_->QueryInterface(iid, object);
}

ULONG STDMETHODCALLTYPE AccessiblePart::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG STDMETHODCALLTYPE AccessiblePart::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) {
    delete this;
  }
  return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::GetTypeInfoCount(UINT* count) {
  return system_->GetTypeInfoCount(count);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) {
  return system_->GetTypeInfo(index, locale, info);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count,
                                                        LCID locale, DISPID* ids) {
  return system_->GetIDsOfNames(iid, names, count, locale, ids);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                                 DISPPARAMS* parameters, VARIANT* result,
                                                 EXCEPINFO* exception, UINT* badArgument) {
  return system_->Invoke(id, iid, locale, flags, parameters, result, exception, badArgument);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::get_accParent(IDispatch** parent) {
  return system_->get_accParent(parent);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::get_accChildCount(LONG* count) {
  return system_->get_accChildCount(count);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::get_accChild(VARIANT child, IDispatch** object) {
  return system_->get_accChild(child, object);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::get_accName(VARIANT child, BSTR* name) {
  return IsSelf(child) && words_.name != nullptr ? Give(words_.name, name)
                                                 : system_->get_accName(child, name);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::get_accValue(VARIANT child, BSTR* value) {
  if (!IsSelf(child) || words_.valueFrom == nullptr) {
    return system_->get_accValue(child, value);
  }
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(words_.valueFrom)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(words_.valueFrom, text.data(), static_cast<int>(text.size()))));
  return Give(text.c_str(), value);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::get_accDescription(VARIANT child, BSTR* description) {
  return IsSelf(child) && words_.description != nullptr
             ? Give(words_.description, description)
             : system_->get_accDescription(child, description);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::get_accRole(VARIANT child, VARIANT* role) {
  if (!IsSelf(child)) {
    return system_->get_accRole(child, role);
  }
  role->vt = VT_I4;
  role->lVal = words_.role;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessiblePart::get_accState(VARIANT child, VARIANT* state) {
  return system_->get_accState(child, state);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::get_accHelp(VARIANT child, BSTR* help) {
  return system_->get_accHelp(child, help);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
  return system_->get_accHelpTopic(file, child, topic);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  return system_->get_accKeyboardShortcut(child, shortcut);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::get_accFocus(VARIANT* child) {
  return system_->get_accFocus(child);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::get_accSelection(VARIANT* children) {
  return system_->get_accSelection(children);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::get_accDefaultAction(VARIANT child, BSTR* action) {
  return system_->get_accDefaultAction(child, action);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::accSelect(LONG flags, VARIANT child) {
  return system_->accSelect(flags, child);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::accLocation(LONG* left, LONG* top, LONG* width,
                                                      LONG* height, VARIANT child) {
  return system_->accLocation(left, top, width, height, child);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  return system_->accNavigate(direction, start, end);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::accHitTest(LONG left, LONG top, VARIANT* child) {
  return system_->accHitTest(left, top, child);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::accDoDefaultAction(VARIANT child) {
  return system_->accDoDefaultAction(child);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::put_accName(VARIANT child, BSTR name) {
  return system_->put_accName(child, name);
}

HRESULT STDMETHODCALLTYPE AccessiblePart::put_accValue(VARIANT child, BSTR value) {
  return system_->put_accValue(child, value);
}

}  // namespace pelmiro
