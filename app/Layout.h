// Layout: the work area of a document as plain data — its top-level frames
// in stacking order, the frame drawn on top last.
#pragma once

#include <cstdint>

#include "app/Frame.h"
#include "core/TVector.h"

namespace qv {

using FrameList = TVector<Frame>;

class Layout final : public Object {
    QV_OBJECT(Layout, Object, "Layout")
  public:
    Layout();

    // Adds a top-level frame on top of the others. Only maximized, optimized
    // and floating frames stand at top level: a frame without a prefix
    // would not read back.
    void add(const Pointer<Frame>& frame);
    std::int32_t frameCount() const noexcept { return m_frames->size(); }
    const Pointer<Frame>& frame(std::int32_t index) const { return (*m_frames)[index]; }
    // Written after the last frame: the comments at the end of a document.
    const StringPointer& endComments() const noexcept { return m_endComments; }
    void setEndComments(const StringPointer& comments) { m_endComments = comments; }
    std::int32_t commentCount() const noexcept;

    // Every frame's prefix and directive, in stacking order, then the end comments.
    StringPointer toSource() const override;
    StringPointer describe() const override;
    bool equals(const Object& other) const noexcept override;

  private:
    Pointer<FrameList> m_frames;
    StringPointer m_endComments;
};

}  // namespace qv
