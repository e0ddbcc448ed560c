// The display flags of the window's editable support (the object that
// holds the work area's layout root, selection and command manager). The
// document properties offer them beside the settings; the support itself
// answers through this interface, and PlainSupportFlags stands in where no
// support exists (tests, a window not yet built).
#pragma once

#include <cstdint>

namespace qv {

enum class SupportFlag : std::int32_t {
    HighContrast,
    ShowGrid,
    WhiteBackground,
    DrawDecorations,
};

class SupportFlags {
  public:
    virtual ~SupportFlags() = default;
    virtual bool flag(SupportFlag which) const = 0;
    virtual void setFlag(SupportFlag which, bool value) = 0;
};

class PlainSupportFlags final : public SupportFlags {
  public:
    bool highContrast = false;
    bool showGrid = true;
    bool whiteBackground = false;
    bool drawDecorations = true;

    bool flag(SupportFlag which) const override { return slot(*this, which); }
    void setFlag(SupportFlag which, bool value) override { slot(*this, which) = value; }

  private:
    // One switch for reading and writing.
    template <class Self>
    static auto slot(Self& self, SupportFlag which) -> decltype((self.drawDecorations)) {
        switch (which) {
            case SupportFlag::HighContrast:
                return self.highContrast;
            case SupportFlag::ShowGrid:
                return self.showGrid;
            case SupportFlag::WhiteBackground:
                return self.whiteBackground;
            case SupportFlag::DrawDecorations:
                break;
        }
        return self.drawDecorations;
    }
};

}  // namespace qv
