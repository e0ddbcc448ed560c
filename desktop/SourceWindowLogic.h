// The source window ("View Source"): an upper field holding the document's
// text and a lower message line. An action in the upper field reads its
// text as the document; an action in the lower field prints its text back
// as the kernel writes an expression. This is the window's logic; the main
// panel shows it in a further window with two text fields, placed by
// SourceWindowLayout, and forwards their actions here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/LoadFailure.h"
#include "core/String.h"
#include "kernel/Kernel.h"
#include "toolkit/Geometry.h"

namespace qv {

struct SourceWindowLayout {
    static constexpr std::string_view kTitle = "View Source";
    static constexpr toolkit::Rect kBounds{40, 40, 400, 270};

    // 10 pixels from the left, top and right, ending 100 above the bottom.
    static toolkit::Rect sourceField(toolkit::Size window);
    // 10 pixels from the sides, 40 high, its top 85 above the bottom.
    static toolkit::Rect messageField(toolkit::Size window);
};

// What the window needs of the main panel.
class SourceWindowHost {
  public:
    virtual ~SourceWindowHost() = default;
    // The program text followed by the layout text.
    virtual StringPointer documentSource() = 0;
    // Reads the text as the document; on success the document counts as
    // modified, on a failure it stays as it was.
    virtual std::optional<LoadFailure> reloadDocument(const StringPointer& text) = 0;
    virtual Pointer<Kernel> currentKernel() = 0;
};

// The two fields, as the window shows them.
class SourceWindowFields {
  public:
    virtual ~SourceWindowFields() = default;
    virtual void setSourceText(std::string_view text) = 0;
    virtual void setMessageText(std::string_view text) = 0;
};

class SourceWindowLogic {
  public:
    static constexpr std::string_view kReloaded = "reload succesful";

    SourceWindowLogic(SourceWindowHost& host, SourceWindowFields& fields)
        : m_host(host), m_fields(fields) {}

    // Fills the upper field with the document's text.
    void fill();
    void sourceAction(std::string_view text);
    void messageAction(std::string_view text);

  private:
    SourceWindowHost& m_host;
    SourceWindowFields& m_fields;
};

}  // namespace qv
