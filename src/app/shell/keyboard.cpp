#include "app/shell/keyboard.h"

#include <QGuiApplication>

namespace tomvik::app {
namespace {

std::optional<core::KeyModifiers>& Override() {
  static std::optional<core::KeyModifiers> value;
  return value;
}

}  // namespace

core::KeyModifiers CurrentModifiers() {
  if (Override()) return *Override();
  const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
  return core::KeyModifiers{held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::ControlModifier),
                            held.testFlag(Qt::AltModifier)};
}

void OverrideModifiers(std::optional<core::KeyModifiers> modifiers) { Override() = modifiers; }

}  // namespace tomvik::app
