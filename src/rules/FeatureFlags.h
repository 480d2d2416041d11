// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Build-time switches. ORLIM_RULES_ENABLED comes from the CMake option of the
/// same name.
namespace FeatureFlags {

/// URL-prefix rules: rule matching in routing, the picker's remember section
/// and the settings' rule list. Off as built.
inline constexpr bool rulesEnabled = ORLIM_RULES_ENABLED;

} // namespace FeatureFlags
