// The modifier keys held at the moment of a click, read in one place so that
// tests can set them.
#pragma once

#include <optional>

#include "core/records/amount.h"

namespace tomvik::app {

core::KeyModifiers CurrentModifiers();
// Tests: the modifiers CurrentModifiers() reports instead of the keyboard's.
void OverrideModifiers(std::optional<core::KeyModifiers> modifiers);

}  // namespace tomvik::app
