#pragma once
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "engine/host.h"

namespace korvex::testing {

/// Answers questions from a prepared list and records everything the engine asked or showed.
/// A question beyond the list answers as Cancel and is recorded, so a test can see it.
class ScriptedHost : public engine::Host {
public:
    explicit ScriptedHost(std::vector<std::optional<std::string>> answers = {})
        : answers_(answers.begin(), answers.end()) {}

    void showMessage(std::string_view text) override { messages.emplace_back(text); }
    std::optional<std::string> askInput(std::string_view prompt) override {
        prompts.emplace_back(prompt);
        if (answers_.empty()) {
            return std::nullopt;
        }
        auto answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    std::string dateText() override {
        ++dateReads;
        return "DATE";
    }
    std::string timeText() override {
        ++timeReads;
        return "TIME";
    }
    void jumped(std::string_view newPath, std::string_view target) override {
        jumps.emplace_back(std::string(newPath) + " -> " + std::string(target));
    }

    std::vector<std::string> messages;
    std::vector<std::string> prompts;
    std::vector<std::string> jumps;
    int dateReads = 0;
    int timeReads = 0;

private:
    std::deque<std::optional<std::string>> answers_;
};

}  // namespace korvex::testing
