// Which computed values are errors. A warning is one, and so are the two
// special values the evaluator leaves where it could not compute: a cycle
// and a computation the user stopped. The other special values ("(range)",
// "(sort)", "(data range)", "..." for a hidden repeat) are what a sound model
// shows where a cell holds no plain value, and views draw them quietly.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/Object.h"

namespace qv {

inline constexpr std::string_view kCircularText = "(circular)";
inline constexpr std::string_view kStoppedText = "calculation stopped";
// What a cell that read an error holds.
inline constexpr std::string_view kDependsOnErrorText = "depends on cell that contain error";

enum class ValueKind : std::uint8_t { Plain, Special, Error };

ValueKind valueKind(const Object& value);

}  // namespace qv
