// The client's listener around every computation, and the options a
// computation's results are made with. Results take both when they are
// made, so that nothing below the kernel calls back into it.
#pragma once

#include <atomic>

#include "core/Object.h"
#include "core/Pointer.h"

namespace qv {

class TextBudget;

class AbstractKernelFeedback : public Object {
    QV_ABSTRACT_OBJECT(AbstractKernelFeedback, Object)
  public:
    virtual void computeStarted() = 0;
    virtual void computeFinished() = 0;
};

struct ResultOptions {
    // Views show a value that merely repeats its field's formula row as
    // "...", and compound values (tables, plots) as "..." too; while it is
    // off, the rows record which of their fields hold compound values.
    bool hideRepeats = false;
    // Told before and after a re-sort of rows; may be the null object.
    Pointer<AbstractKernelFeedback> feedback;
    // Set from any thread to stop the computation; may be null.
    const std::atomic<bool>* stop = nullptr;
    // The text budget of the computation; its results set it.
    TextBudget* textBudget = nullptr;
};

}  // namespace qv
