#pragma once
// The questions of a batch asked once: every text of a batch gets the same answers, so a text
// does not depend on the texts before it, and nobody answers ten thousand boxes.

#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "engine/host.h"

namespace korvex::batch {

/// A host that asks `asker` each question once and gives the kept answer ever after. A
/// question is its prompt and how many times that prompt came before in the same text, so two
/// questions with one prompt in a text keep two answers. Each different message is shown once;
/// the date and the time are read once, so a batch carries one moment. Several threads may
/// use one at once: the worker threads of a batch share its answers, and each asks through
/// answer() with the count of its own text.
class RememberedAnswers : public engine::Host {
public:
    /// Without `asker` a new question answers as Cancel, and messages are not shown.
    explicit RememberedAnswers(engine::Host* asker = nullptr) : asker_(asker) {}

    /// Who is asked from now on; none: nothing new is asked, for a batch that runs where no
    /// box can be shown.
    void setAsker(engine::Host* asker);
    /// Call before each text: the counts of prompts start again.
    void startText();

    /// The answer to the question with `prompt` that came `occurrence` times before in its text:
    /// the kept one, else `asker`'s, kept from then on.
    std::optional<std::string> answer(std::string_view prompt, int occurrence);
    /// Whether that question has its answer kept already.
    bool answered(std::string_view prompt, int occurrence) const;
    /// Whether `text` was shown already.
    bool shown(std::string_view text) const;

    void showMessage(std::string_view text) override;
    std::optional<std::string> askInput(std::string_view prompt) override;
    std::string dateText() override;
    std::string timeText() override;

private:
    // One question or message at a time, in whatever thread.
    mutable std::mutex mutex_;
    engine::Host* asker_;
    std::map<std::pair<std::string, int>, std::optional<std::string>> answers_;
    std::map<std::string, int, std::less<>> timesAsked_;
    std::set<std::string, std::less<>> shown_;
    std::optional<std::string> date_;
    std::optional<std::string> time_;
};

}  // namespace korvex::batch
