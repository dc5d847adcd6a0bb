#pragma once
// The chart engine's message texts, byte for byte as the user sees them. Patterns
// are filled with FormatMessage (runtime/exceptions.h), one placeholder at a time.

namespace tarvela::messages {

inline constexpr const char* kChart3DPercentRange = "3D effect percent must be between %d and %d";
inline constexpr int kMinChart3DPercent = 1;
inline constexpr int kMaxChart3DPercent = 100;

}  // namespace tarvela::messages
