// What a document wrote around a frame's directive that is no part of the
// view (the author's comments before it and at the end of its line). The
// reader of documents supplies it; the frame keeps it and writes it back
// around its prefix and view, wherever the frame has been moved since.
#pragma once

#include <cstdint>
#include <string>

#include "core/Object.h"

namespace qv {

class FrameNotes : public Object {
    QV_ABSTRACT_OBJECT(FrameNotes, Object)
  public:
    // The lines before the directive. The caller has placed the first one;
    // every line after it, the directive's own included, starts with
    // `indent` blanks.
    virtual void writeBefore(std::string& out, std::int32_t indent) const = 0;
    // What stands after the directive on its last line, before its line end.
    virtual void writeAtLineEnd(std::string& out) const = 0;
};

}  // namespace qv
