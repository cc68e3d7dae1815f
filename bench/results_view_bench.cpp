// The results list over a 500,000-entry result list: the cost of the cells of one screen, and
// scrolling, which must ask only for the rows it shows (counters rows_asked vs rows_shown).
// A page-by-page walk over all 21,700 pages takes about a minute of painting, so the whole
// list is crossed by dragging the thumb instead.

#include "GeneratedResults.h"
#include "results/ui/ResultsModel.h"
#include "ui/TamberMain.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <benchmark/benchmark.h>

#include <unordered_set>

namespace {

using namespace pellmora;

constexpr int Entries = 500000;
const int Roles[] = {Qt::DisplayRole, Qt::CheckStateRole, Qt::BackgroundRole, Qt::ForegroundRole,
                     Qt::FontRole};

SearchState& Results() {
    static SearchState state = [] {
        SearchState s = bench::GeneratedResults(Entries, 3);
        for (size_t k = 0; k < s.ResultList.size(); k += 5)
            s.ResultList[k].Resolved = 1;
        return s;
    }();
    return state;
}

// Notes which rows the view asked for.
class CountingModel final : public ResultsModel {
  public:
    using ResultsModel::ResultsModel;
    QVariant data(const QModelIndex& index, int role) const override {
        RowsAsked.insert(index.row());
        return ResultsModel::data(index, role);
    }
    mutable std::unordered_set<int> RowsAsked;
};

// Every cell of 40 rows with every role the view paints with, at spread-out places.
void BM_ModelDataOneScreen(benchmark::State& run) {
    ResultsModel model(Results());
    model.SetRowCount(Entries);
    int first = 0;
    for (auto _ : run) {
        for (int row = first; row < first + 40; ++row)
            for (int column = 0; column < ResultsModel::ColumnCount; ++column)
                for (int role : Roles)
                    benchmark::DoNotOptimize(model.data(model.index(row, column), role));
        first = (first + 7919 * 40) % (Entries - 40);
    }
    run.SetItemsProcessed(run.iterations() * 40);
}

struct ShownList {
    CountingModel model{Results()};
    QTableView view;
    ShownList() {
        model.SetRowCount(Entries);
        view.setModel(&model);
        view.verticalHeader()->setMinimumSectionSize(16);
        view.verticalHeader()->setDefaultSectionSize(16);
        view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view.resize(765, 400);
        view.show();
        QCoreApplication::processEvents();
    }
    int RowsShown() const { return view.viewport()->height() / 16; }
    // Scrolls down one page and paints at once; returns the rows the paint asked for.
    size_t NextPage() {
        QScrollBar* bar = view.verticalScrollBar();
        model.RowsAsked.clear();
        bar->setValue(bar->value() >= bar->maximum() ? 0 : bar->value() + bar->pageStep());
        view.viewport()->repaint();
        return model.RowsAsked.size();
    }
};

void BM_ScrollOnePage(benchmark::State& run) {
    ShownList list;
    size_t asked = 0;
    for (auto _ : run)
        asked += list.NextPage();
    run.counters["rows_shown"] = list.RowsShown();
    run.counters["rows_asked"] = static_cast<double>(asked) / static_cast<double>(run.iterations());
}

// The scroll bar's thumb dragged from the first row to the last in 200 steps, each painted:
// the rows asked for stay those of 200 pages, not the half million passed over.
void BM_DragThroughTheList(benchmark::State& run) {
    ShownList list;
    QScrollBar* bar = list.view.verticalScrollBar();
    size_t asked = 0;
    for (auto _ : run) {
        for (int step = 0; step <= 200; ++step) {
            list.model.RowsAsked.clear();
            bar->setValue(static_cast<int>(int64_t{bar->maximum()} * step / 200));
            list.view.viewport()->repaint();
            asked += list.model.RowsAsked.size();
        }
    }
    run.counters["rows_asked"] = static_cast<double>(asked) / static_cast<double>(run.iterations());
    run.counters["rows_shown"] = list.RowsShown();
}

class SilentPrompter final : public MessagePrompter {
  public:
    PromptButton Prompt(PromptKind, const QString&, const QList<PromptButton>&) override {
        return PromptButton::Ok;
    }
};

// A header click on "Modified" in the main window with a row selected: the date sort plus what
// the window adds (the new rows, the remembered file found, selected and scrolled to).
void BM_WindowColumnClick(benchmark::State& run) {
    SilentPrompter prompter;
    TMainForm form(prompter, [](const QUrl&) { return true; });
    form.State = Results();
    form.SetResultRowCount(Entries);
    form.show();
    auto* list = form.findChild<QTableView*>(QStringLiteral("AdvListView1"));
    list->selectRow(Entries / 2);
    for (auto _ : run) {
        form.AdvListView1ColumnClick(4);
        QCoreApplication::processEvents();
    }
}

BENCHMARK(BM_ModelDataOneScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollOnePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragThroughTheList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowColumnClick)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
