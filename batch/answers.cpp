#include "batch/answers.h"

namespace korvex::batch {

void RememberedAnswers::setAsker(engine::Host* asker) {
    const std::lock_guard lock(mutex_);
    asker_ = asker;
}

void RememberedAnswers::startText() {
    const std::lock_guard lock(mutex_);
    timesAsked_.clear();
}

bool RememberedAnswers::shown(std::string_view text) const {
    const std::lock_guard lock(mutex_);
    return shown_.contains(text);
}

bool RememberedAnswers::answered(std::string_view prompt, int occurrence) const {
    const std::lock_guard lock(mutex_);
    return answers_.contains(std::make_pair(std::string(prompt), occurrence));
}

void RememberedAnswers::showMessage(std::string_view text) {
    const std::lock_guard lock(mutex_);
    if (asker_ && shown_.emplace(text).second) {
        asker_->showMessage(text);
    }
}

std::optional<std::string> RememberedAnswers::askInput(std::string_view prompt) {
    int occurrence = 0;
    {
        const std::lock_guard lock(mutex_);
        auto counted = timesAsked_.find(prompt);
        if (counted == timesAsked_.end()) {
            counted = timesAsked_.emplace(std::string(prompt), 0).first;
        }
        occurrence = counted->second++;
    }
    return answer(prompt, occurrence);
}

std::optional<std::string> RememberedAnswers::answer(std::string_view prompt, int occurrence) {
    const std::lock_guard lock(mutex_);
    const auto key = std::make_pair(std::string(prompt), occurrence);
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
    const std::lock_guard lock(mutex_);
    if (!date_) {
        date_ = asker_ ? asker_->dateText() : std::string();
    }
    return *date_;
}

std::string RememberedAnswers::timeText() {
    const std::lock_guard lock(mutex_);
    if (!time_) {
        time_ = asker_ ? asker_->timeText() : std::string();
    }
    return *time_;
}

}  // namespace korvex::batch
