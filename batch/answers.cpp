#include "batch/answers.h"

namespace korvex::batch {

void RememberedAnswers::showMessage(std::string_view text) {
    if (asker_ && shown_.emplace(text).second) {
        asker_->showMessage(text);
    }
}

std::optional<std::string> RememberedAnswers::askInput(std::string_view prompt) {
    auto counted = timesAsked_.find(prompt);
    if (counted == timesAsked_.end()) {
        counted = timesAsked_.emplace(std::string(prompt), 0).first;
    }
    const auto key = std::make_pair(std::string(prompt), counted->second++);
    auto kept = answers_.find(key);
    if (kept == answers_.end()) {
        if (!asker_) {
            return std::nullopt;
        }
        kept = answers_.emplace(key, asker_->askInput(prompt)).first;
    }
    return kept->second;
}

std::string RememberedAnswers::dateText() {
    if (!date_) {
        date_ = asker_ ? asker_->dateText() : std::string();
    }
    return *date_;
}

std::string RememberedAnswers::timeText() {
    if (!time_) {
        time_ = asker_ ? asker_->timeText() : std::string();
    }
    return *time_;
}

}  // namespace korvex::batch
