#pragma once

#include <windows.h>

#include <oleacc.h>

#include "hostkit/words.h"

namespace pelmiro {

// One part of the window as a screen reader meets it over MSAA, and so over UI Automation:
// the system's own account of a window's client area, with the part's name, role and
// description, and its value taken from another window where that one shows it. A reader
// asks for it with WM_GETOBJECT; each answer is a new object, which the reader releases.
class AccessiblePart final : public IAccessible {
 public:
  struct Words {
    const wchar_t* name = nullptr;
    LONG role = ROLE_SYSTEM_CLIENT;
    const wchar_t* description = nullptr;  // none: the system's
    HWND valueFrom = nullptr;              // none: the system's value
  };

  // What Pelmiro says, in the first of the user's interface languages it speaks, chosen once.
  static const pelmiro::Words& UserWords();
  // The answer to a WM_GETOBJECT for the window's client area, or 0 to let the system
  // answer: for another object, or when COM cannot carry the part to the reader.
  static LRESULT Answer(HWND window, WPARAM wParam, LPARAM lParam, const Words& words);
  // Answers for a control of a standard class; the words must outlive the control.
  static void Describe(HWND control, const Words* words);

  AccessiblePart(const AccessiblePart&) = delete;
  AccessiblePart& operator=(const AccessiblePart&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* badArgument) override;

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 private:
  // Takes over the reference to the system's object.
  AccessiblePart(IAccessible* system, const Words& words);
  ~AccessiblePart();

  static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR words);

  LONG references_ = 1;
  IAccessible* system_;
  Words words_;
};

}  // namespace pelmiro
