// Prints what a screen reader reads of Pelmiro's window over MSAA, from a process of its
// own as a reader would: the client area, then each child window's, a line each, in UTF-8
// (a wide print to a pipe loses what is not ASCII under Wine). A line is the role number
// (ROLE_SYSTEM_*), then the name, the value and the description, tab-separated.
//   msaa_tree.exe
#include <windows.h>

#include <oleacc.h>

#include <string>

namespace {

using Getter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

VARIANT Self() {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

std::string Read(IAccessible* part, Getter get) {
  BSTR text = nullptr;
  std::string utf8;
  if ((part->*get)(Self(), &text) == S_OK && text != nullptr) {
    utf8.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr)));
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), static_cast<int>(utf8.size()), nullptr,
                        nullptr);
    utf8.pop_back();  // the terminating zero
  }
  SysFreeString(text);
  return utf8;
}

// Prints the window's client area; returns it, which the caller releases, or nullptr.
IAccessible* Print(HWND window) {
  IAccessible* part = nullptr;
  std::string line = "none";
  if (SUCCEEDED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                           __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&part)))) {
    VARIANT role{};
    part->get_accRole(Self(), &role);
    line = std::to_string(role.vt == VT_I4 ? role.lVal : 0) + '\t' +
           Read(part, &IAccessible::get_accName) + '\t' + Read(part, &IAccessible::get_accValue) +
           '\t' + Read(part, &IAccessible::get_accDescription);
    VariantClear(&role);
  }
  line += '\n';
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written,
            nullptr);
  return part;
}

}  // namespace

int wmain() {
  constexpr LONG MostChildren = 8;
  HWND window = FindWindowW(L"Form1", L"Pelmiro");
  if (window == nullptr || FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    return 1;
  }
  IAccessible* client = Print(window);
  VARIANT children[MostChildren] = {};
  LONG count = 0;
  if (client != nullptr &&
      SUCCEEDED(AccessibleChildren(client, 0, MostChildren, children, &count))) {
    for (VARIANT& child : children) {
      IAccessible* object = nullptr;
      HWND childWindow = nullptr;
      if (child.vt == VT_DISPATCH &&
          SUCCEEDED(child.pdispVal->QueryInterface(__uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&object))) &&
          SUCCEEDED(WindowFromAccessibleObject(object, &childWindow))) {
        if (IAccessible* part = Print(childWindow)) {
          part->Release();
        }
      }
      if (object != nullptr) {
        object->Release();
      }
      VariantClear(&child);
    }
  }
  if (client != nullptr) {
    client->Release();
  }
  CoUninitialize();
  return client != nullptr ? 0 : 1;
}
