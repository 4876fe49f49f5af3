#include "virtual_key.h"

#include "hostkit/input_rules.h"

namespace pelmiro {
namespace {

bool IsDigitKey(int key) {
  return key >= Qt::Key_0 && key <= Qt::Key_9;
}

int RuleKey(int key) {
  switch (key) {
    case Qt::Key_Tab:
      return VkTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VkReturn;
    case Qt::Key_Escape:
      return VkEscape;
    case Qt::Key_F11:
      return VkF11;
    default:
      return VkNone;
  }
}

}  // namespace

KeyboardKind NativeKeyboardKind() {
#if defined(Q_OS_WIN)
  return KeyboardKind::Windows;
#elif defined(Q_OS_MACOS)
  return KeyboardKind::Mac;
#else
  return KeyboardKind::Xkb;
#endif
}

int VirtualKey(const QKeyEvent& event, KeyboardKind kind) {
  const int key = event.key();
  if (const int known = RuleKey(key); known != VkNone) {
    return known;
  }
  if (event.modifiers().testFlag(Qt::KeypadModifier)) {
    return IsDigitKey(key) ? VkNumpadZero + (key - Qt::Key_0) : VkNone;
  }
  // macOS reports a key's position as its virtual key, the others as a scan code.
  const std::uint32_t native =
      kind == KeyboardKind::Mac ? event.nativeVirtualKey() : event.nativeScanCode();
  if (native != 0) {
    return MainRowKey(kind, native);
  }
  // Synthetic events carry no native codes: go by the key itself.
  return IsDigitKey(key) ? VkZero + (key - Qt::Key_0) : VkNone;
}

}  // namespace pelmiro
