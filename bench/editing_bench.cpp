// The editing framework on the headless window: typing one character into
// a text area of a megabyte and painting the result, painting a work area
// of 100 frames, and laying out and painting layout tables nested deep.
#include <benchmark/benchmark.h>

#include <string>

#include "editing/EditableContainerPanel.h"
#include "editing/LayoutTableEditable.h"
#include "editing/TextEditable.h"
#include "editing/TitleDecorator.h"
#include "toolkit/headless/HeadlessWindow.h"

namespace {

using namespace qv;

// About a megabyte of text in lines of 63 characters and a line feed.
std::string megabyte() {
    std::string text;
    text.reserve(1 << 20);
    for (std::int32_t line = 0; text.size() < (1u << 20); ++line) {
        std::string row = "line " + std::to_string(line) + " ";
        while (row.size() < 63)
            row += "lorem ipsum ";
        row.resize(63);
        text += row;
        text += '\n';
    }
    return text;
}

Pointer<TitleDecorator> place(EditableContainerPanel& panel, const Pointer<AbstractEditable>& view,
                              FramePlacement placement, toolkit::Point corner) {
    auto frame = make<TitleDecorator>(view);
    frame->setPlacement(placement);
    panel.layoutRoot()->add(frame);
    frame->layoutWidth(FloatLayoutEditable::kFrameWidthHint);
    frame->moveBy(corner);
    return frame;
}

// One key typed in the middle of the text, then the window painted (the
// paint lays the work area out again first).
void typeIntoMegabyte(benchmark::State& state, FramePlacement placement) {
    toolkit::HeadlessWindow window({1024, 768});
    auto panel = make<EditableContainerPanel>(window);
    auto text = make<TextEditable>(megabyte());
    place(*panel, text, placement, {20, 40});
    panel->support().select(text);
    text->setCaret(static_cast<std::int32_t>(text->text().size() / 2));
    window.paint();
    for (auto _ : state) {
        panel->key(toolkit::key::kCharacter, "x", 0);
        benchmark::DoNotOptimize(window.paint().calls().size());
    }
    state.counters["bytes"] = static_cast<double>(text->text().size());
}

void BM_TypeIntoMegabyteMaximized(benchmark::State& state) {
    typeIntoMegabyte(state, FramePlacement::Maximized);
}
BENCHMARK(BM_TypeIntoMegabyteMaximized)->Unit(benchmark::kMillisecond);

void BM_TypeIntoMegabyteOptimized(benchmark::State& state) {
    typeIntoMegabyte(state, FramePlacement::Optimized);
}
BENCHMARK(BM_TypeIntoMegabyteOptimized)->Unit(benchmark::kMillisecond);

// Ten by ten frames over the window: text areas of three lines, and every
// tenth a panel of two cells.
void hundredFrames(EditableContainerPanel& panel) {
    for (std::int32_t i = 0; i < 100; ++i) {
        toolkit::Point corner{(i % 10) * 100, 30 + (i / 10) * 72};
        if (i % 10 == 9) {
            auto table = make<LayoutTableEditable>();
            table->put(make<TitleDecorator>(make<TextEditable>("left")), 0, 0);
            table->put(make<TitleDecorator>(make<TextEditable>("right")), 0, 1);
            place(panel, table, FramePlacement::Optimized, corner);
        } else {
            std::string text = "frame " + std::to_string(i) + "\nsecond line\nthird";
            place(panel, make<TextEditable>(text), FramePlacement::Optimized, corner);
        }
    }
}

void BM_PaintHundredFrames(benchmark::State& state) {
    toolkit::HeadlessWindow window({1024, 768});
    auto panel = make<EditableContainerPanel>(window);
    hundredFrames(*panel);
    window.paint();
    for (auto _ : state)
        benchmark::DoNotOptimize(window.paint().calls().size());
    state.counters["calls"] = static_cast<double>(window.lastPaint().calls().size());
}
BENCHMARK(BM_PaintHundredFrames)->Unit(benchmark::kMillisecond);

// The same with the layout redone before every paint (after a drop).
void BM_LayOutAndPaintHundredFrames(benchmark::State& state) {
    toolkit::HeadlessWindow window({1024, 768});
    auto panel = make<EditableContainerPanel>(window);
    hundredFrames(*panel);
    for (auto _ : state) {
        panel->support().invalidateLayout();
        benchmark::DoNotOptimize(window.paint().calls().size());
    }
}
BENCHMARK(BM_LayOutAndPaintHundredFrames)->Unit(benchmark::kMillisecond);

// Layout tables nested `depth` deep around one text, as a document nests
// them: each in a frame in cell (0, 0) of the one around it. Laid out
// afresh and painted every round.
void BM_LayOutAndPaintNestedTables(benchmark::State& state) {
    toolkit::HeadlessWindow window({1024, 768});
    auto panel = make<EditableContainerPanel>(window);
    auto outermost = make<LayoutTableEditable>();
    Pointer<LayoutTableEditable> table = outermost;
    for (std::int64_t level = 1; level < state.range(0); ++level) {
        auto inner = make<LayoutTableEditable>();
        table->put(make<TitleDecorator>(inner), 0, 0);
        table = inner;
    }
    table->put(make<TitleDecorator>(make<TextEditable>("x")), 0, 0);
    place(*panel, outermost, FramePlacement::Optimized, {10, 10});
    for (auto _ : state) {
        panel->support().invalidateLayout();
        benchmark::DoNotOptimize(window.paint().calls().size());
    }
    state.counters["calls"] = static_cast<double>(window.lastPaint().calls().size());
}
BENCHMARK(BM_LayOutAndPaintNestedTables)->Arg(16)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
