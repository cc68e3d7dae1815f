#include "ActRunner.h"

#include "actions/ActionCommon.h"
#include "model/NativeText.h"

namespace pellmora::cli {

namespace {

// Failures are reported file by file already; the summary is the one text left to show.
class SummaryOnly final : public MessagePrompter {
  public:
    SummaryOnly(std::FILE* err, bool dryRun) : err_(err), dryRun_(dryRun) {}
    PromptButton Prompt(PromptKind kind, const QString& text,
                        const QList<PromptButton>& buttons) override {
        if (kind == PromptKind::Information) Summary(text);
        return buttons.isEmpty() ? PromptButton::Ok : buttons.front();
    }
    void Summary(const QString& text) {
        const QString line = dryRun_ ? QStringLiteral("Dry run: nothing was changed.") : text;
        std::fprintf(err_, "%s\n", line.toLocal8Bit().constData());
    }

  private:
    std::FILE* err_;
    bool dryRun_;
};

void WriteField(std::FILE* out, const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), out);
}

} // namespace

ActResult RunAct(SearchState& state, const ScanOptions& options, std::FILE* out, std::FILE* err,
                 const std::function<bool()>& stop) {
    TickAllButKeptCopies(state, options.KeepCopy.value_or(KeepCopyRule::First));
    FixedDeleteChoice dialog(*options.Act);
    DialogExchange exchange;
    SummaryOnly prompter(err, options.DryRun);
    int32_t failed = 0;
    bool stopped = false;
    ActionParts parts{exchange, prompter};
    parts.DryRun = options.DryRun;
    parts.StopRequested = [&] { return stopped = stop(); };
    parts.Observer = [&](int32_t index, const StepOutcome& outcome) {
        const std::string path = FullPath(state, state.ResultList[static_cast<size_t>(index)]);
        if (outcome.Failure) {
            ++failed;
            std::fprintf(err, "pellmora-scan: %s: %s\n", path.c_str(),
                         outcome.Reason.toLocal8Bit().constData());
            return;
        }
        WriteField(out, options.ActWord + '\t' + path + '\t');
        if (outcome.KeptCopy >= 0)
            WriteField(out,
                       FullPath(state, state.ResultList[static_cast<size_t>(outcome.KeptCopy)]));
        WriteField(out, "\n");
        std::fflush(out);
    };
    const ActionOutcome outcome = DeleteSelectedFiles(state, dialog, parts);
    if (outcome.Result == ActionResult::NotOffered)
        prompter.Summary(QStringLiteral("0 of 0") + QLatin1String(DeleteSummaryTail(*options.Act)));
    if (stopped) return ActResult::Stopped;
    return failed > 0 ? ActResult::SomeFailed : ActResult::AllDone;
}

} // namespace pellmora::cli
