// A view that serves the session only (a where-used list) is not written:
// its frame writes nothing at the top level, and in a layout table its cell
// is written as an empty one, so the document reads back as before.
#include <string>

#include "editing/ColWidthChangeCommand.h"
#include "editing/CompoundCommand.h"
#include "editing/DetachDropCommand.h"
#include "editing/FloatLayoutEditable.h"
#include "editing/LayoutTableEditable.h"
#include "editing/LayoutTablePosition.h"
#include "editing/MoveFrameCommand.h"
#include "editing/TitleDecorator.h"
#include "tests/editing/EditingTestSupport.h"

namespace qv {
namespace {

class Listed final : public AbstractEditable {
    QV_OBJECT(Listed, AbstractEditable, "Listed")
  public:
    explicit Listed(bool kept) : m_kept(kept) {}
    void writeSource(std::string& out, std::int32_t) const override { out += "listed();\n"; }
    bool isKeptInDocument() const override { return m_kept; }

  private:
    bool m_kept;
};

TEST(SessionView, IsNotWrittenAtTheTopLevelNorInALayoutTable) {
    struct Case {
        bool kept;
        const char* root;
        const char* table;
    };
    const Case cases[] = {
        {true, "listed();\n",
         "ltable{\n    lrow{\n        listed();\n        listed();\n    }\n}\n"},
        {false, "", "ltable{\n    lrow{\n        ;\n        listed();\n    }\n}\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kept ? "kept" : "not kept");
        auto root = make<FloatLayoutEditable>();
        root->add(make<TitleDecorator>(make<Listed>(c.kept)));
        EXPECT_EQ(root->toSource()->toStdString(), c.root);
        auto table = make<LayoutTableEditable>();
        table->put(make<TitleDecorator>(make<Listed>(c.kept)), 0, 0);
        table->put(make<Listed>(true), 0, 1);
        EXPECT_EQ(table->toSource()->toStdString(), c.table);
    }
}

// Moving such a view about the work area, or into or out of it, changes no
// saved text; a move into or out of a layout table may change the table's
// rows and columns, and a kept view always counts.
TEST(SessionView, CommandsThatMoveItDoNotChangeTheDocument) {
    auto root = make<FloatLayoutEditable>();
    auto table = make<LayoutTableEditable>();
    const Pointer<AbstractPosition> none;
    const Pointer<AbstractPosition> corner = make<FloatLayoutPosition>(root, toolkit::Point{5, 5});
    const Pointer<AbstractPosition> cell = make<LayoutTablePosition>(table, 0, 0, 1, 1);
    struct Case {
        const char* what;
        Pointer<AbstractPosition> from;
        Pointer<AbstractPosition> to;
        bool changesIfNotKept;
    };
    const Case cases[] = {
        {"opened", none, corner, false},
        {"closed", corner, none, false},
        {"moved or placed anew", corner, corner, false},
        {"into a layout table", corner, cell, true},
        {"out of a layout table", cell, corner, true},
        {"closed in a layout table", cell, none, true},
    };
    for (bool kept : {true, false}) {
        auto frame = make<TitleDecorator>(make<Listed>(kept));
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (kept ? ", kept" : ", not kept"));
            auto step = make<DetachDropCommand>(root, frame, c.from, c.to);
            EXPECT_EQ(step->changesDocument(), kept || c.changesIfNotKept);
        }
        EXPECT_EQ(make<MoveFrameCommand>(frame, toolkit::Point{1, 1}, toolkit::Point{9, 9})
                      ->changesDocument(),
                  kept);
        // Several steps count when one of them does.
        auto mine = make<DetachDropCommand>(root, frame, none, corner);
        auto kept_ =
            make<DetachDropCommand>(root, make<TitleDecorator>(make<Listed>(true)), none, corner);
        EXPECT_EQ(
            make<CompoundCommand>(std::vector<Pointer<Command>>{mine, mine})->changesDocument(),
            kept);
        EXPECT_TRUE(
            make<CompoundCommand>(std::vector<Pointer<Command>>{mine, kept_})->changesDocument());
    }
}

}  // namespace
}  // namespace qv
