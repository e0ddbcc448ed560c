// The text of a recovery copy, made on the window's thread in slices: the
// window's timer runs one slice at a time, so a copy of a large document
// never holds up typing for more than a slice. The model is copied when the
// text is begun, with its formulas shared (they are immutable), so edits
// made while the slices run do not reach the copy and nothing is written
// from another thread.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "language/ProgramDef.h"

namespace qv {

class RecoveryText {
  public:
    using Clock = std::chrono::steady_clock;

    virtual ~RecoveryText() = default;
    // Goes on making the text until it is whole or `deadline` has passed;
    // true when whole.
    virtual bool work(Clock::time_point deadline) = 0;
    // The whole text, end mark included, once work() has said so.
    virtual std::string take() = 0;
};

// A text already made: hosts without a model of their own, and tests.
std::unique_ptr<RecoveryText> wholeRecoveryText(std::string text);
// The model's text followed by `layout` (the layout text and the end
// comments, without the end mark), from a copy of the model made now.
std::unique_ptr<RecoveryText> slicedRecoveryText(const ProgramDef& program, std::string layout);

}  // namespace qv
