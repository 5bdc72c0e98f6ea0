#include "batch/text_drawer.h"

#include <limits>
#include <memory>

namespace korvex::batch {

TextDrawer::TextDrawer(engine::Options options, std::string projectPath, engine::Host& host,
                       engine::Random& random, DrawSettings settings)
    : settings_(settings),
      options_(std::move(options)),
      projectPath_(std::move(projectPath)),
      host_(host),
      own_(0),
      generator_(options_, host, settings.textSeeds ? own_ : random) {
    if (settings_.maxSimilarity) {
        nearCopies_.emplace(*settings_.maxSimilarity, settings_.compareEveryText);
    }
    const bool filtered = settings_.unique || settings_.maxSimilarity;
    const std::uint64_t perText = filtered ? settings_.drawsPerText : 1;
    maxDraws_ = settings_.wanted > std::numeric_limits<std::uint64_t>::max() / perText
                    ? std::numeric_limits<std::uint64_t>::max()
                    : settings_.wanted * perText;
}

TextDrawer::TextDrawer(engine::Options options, std::string projectPath, RememberedAnswers& answers,
                       DrawSettings settings)
    // With seeds of its own for every text, the carried generator is never drawn from.
    : TextDrawer(std::move(options), std::move(projectPath), answers, own_, settings) {
    shared_ = &answers;
}

std::optional<std::uint64_t> TextDrawer::seed() const {
    if (!settings_.textSeeds) {
        return std::nullopt;
    }
    return engine::textSeed(*settings_.textSeeds, draw_);
}

bool TextDrawer::isRepeat(const std::string& text, std::uint64_t draw) {
    if (settings_.textSeeds) {
        // A text with a seed of its own is made again from its draw number when its hash
        // matches: nothing of the texts is kept.
        return !seen_.insert(engine::TextSet::hash(text), draw, [&](std::uint64_t earlier) {
            if (!checker_) {
                checker_ = std::make_unique<engine::Generator>(options_, host_, checkRandom_);
            }
            if (beforeDraw_) {
                beforeDraw_();
            }
            checkRandom_ = engine::Random(engine::textSeed(*settings_.textSeeds, earlier));
            return checker_->generate(projectPath_).text == text;
        });
    }
    const bool added = seen_.insert(engine::TextSet::hash(text), keptStarts_.size(), [&](auto id) {
        const std::size_t start = keptStarts_[id];
        const std::size_t end =
            id + 1 < keptStarts_.size() ? keptStarts_[id + 1] : keptTexts_.size();
        return std::string_view(keptTexts_).substr(start, end - start) == text;
    });
    if (added) {
        keptStarts_.push_back(keptTexts_.size());
        keptTexts_ += text;
    }
    return !added;
}

bool TextDrawer::next() {
    while (kept_ < settings_.wanted && draws_ < maxDraws_) {
        if (beforeDraw_ && !beforeDraw_()) {
            return false;
        }
        const std::uint64_t draw = settings_.firstDraw + draws_++;
        if (shared_ && settings_.textSeeds && settings_.threads > 1) {
            if (!pool_) {
                pool_ = std::make_unique<DrawPool>(options_, projectPath_, *shared_,
                                                   *settings_.textSeeds, draw, maxDraws_,
                                                   settings_.threads, settings_.keepChoices);
            }
            drawn_ = &pool_->take(draw);
            result_ = &drawn_->result;
        } else {
            if (settings_.textSeeds) {
                own_ = engine::Random(engine::textSeed(*settings_.textSeeds, draw));
            }
            result_ = &generator_.generate(projectPath_);
        }
        const std::string& text = result_->text;
        if (settings_.maxSimilarity) {
            std::uint32_t unknown = 0;
            const auto probed = shingles_.probe(text, unknown, false);
            if (nearCopies_->tooAlike(shingles_, probed, unknown)) {
                continue;
            }
        }
        // A repeat is as alike as can be, so only a limit of 100% lets one reach this.
        if (settings_.unique && isRepeat(text, draw)) {
            continue;
        }
        if (settings_.maxSimilarity || settings_.measure) {
            const std::size_t added = shingles_.add(text);
            if (nearCopies_) {
                nearCopies_->add(shingles_, added);
            }
        }
        draw_ = draw;
        ++kept_;
        return true;
    }
    return false;
}

}  // namespace korvex::batch
