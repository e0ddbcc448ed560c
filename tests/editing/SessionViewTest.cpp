// A view that serves the session only (a where-used list) is not written:
// its frame writes nothing at the top level, and in a layout table its cell
// is written as an empty one, so the document reads back as before.
#include <string>

#include "editing/FloatLayoutEditable.h"
#include "editing/LayoutTableEditable.h"
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

}  // namespace
}  // namespace qv
