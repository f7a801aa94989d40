// The list editor's own work on a list of 2,000 items: moving a block of 500
// lines one line up and down, indenting and outdenting it, and the copy text
// of the block pasted back. Prints the times; asserts nothing.
#include <benchmark/benchmark.h>

#include <string>

#include "dialogs/list_editor.h"

namespace {

using namespace zorv;

constexpr int kItems = 2000;
constexpr int kBlockFrom = 700, kBlock = 500;

clsItems& SampleList(ItemLists& lists) {
    clsItems& list = lists[kListMenu];
    for (int i = 0; i < kItems; ++i) {
        Item it;
        it.Desc = "Application " + std::to_string(i) + " (Tools)";
        it.Path = "\"C:\\Program Files\\Vendor\\app" + std::to_string(i) + ".exe\" /open";
        it.WrkDir = "C:\\Users\\Someone\\Documents";
        list.AddItem(it);
    }
    return list;
}

std::vector<bool> Block(const ListEditorModel& m) {
    std::vector<bool> s(m.LineCount());
    for (int i = kBlockFrom; i < kBlockFrom + kBlock; ++i) s[i] = true;
    return s;
}

void MoveBlockUpAndDown(benchmark::State& state) {
    ItemLists lists = CreateItemLists();
    ListEditorModel m(SampleList(lists), kListMenu);
    m.SetSelection(Block(m));
    for (auto _ : state) {
        m.MoveUp();
        m.MoveDown();
    }
}
BENCHMARK(MoveBlockUpAndDown)->Unit(benchmark::kMicrosecond);

void IndentAndOutdentBlock(benchmark::State& state) {
    ItemLists lists = CreateItemLists();
    ListEditorModel m(SampleList(lists), kListMenu);
    m.SetSelection(Block(m));
    for (auto _ : state) {
        m.Indent();
        m.Outdent();
    }
}
BENCHMARK(IndentAndOutdentBlock)->Unit(benchmark::kMicrosecond);

void CopyAndPasteBlock(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        ItemLists lists = CreateItemLists();
        ListEditorModel m(SampleList(lists), kListMenu);
        m.SetSelection(Block(m));
        state.ResumeTiming();
        const std::string text = m.SelectionText();
        m.SelectOnly(kItems);
        benchmark::DoNotOptimize(m.InsertText(text));
    }
}
BENCHMARK(CopyAndPasteBlock)->Unit(benchmark::kMillisecond);

}  // namespace
