#include "batch/draw_pool.h"

#include <algorithm>
#include <cassert>
#include <condition_variable>
#include <limits>
#include <map>
#include <mutex>
#include <utility>

namespace korvex::batch {
namespace {

// Texts travel in chunks, so the threads meet once a chunk rather than once a text: up to 256
// texts, fewer when the texts are long (about 1 MiB of text a chunk).
constexpr std::size_t kMaxChunk = 256;
constexpr std::uint64_t kChunkBytes = std::uint64_t{1} << 20;
constexpr std::uint64_t kNone = std::numeric_limits<std::uint64_t>::max();

struct Chunk {
    std::uint64_t seq = kNone;  ///< its place in the order the chunks were claimed
    std::uint64_t start = 0;    ///< its first draw
    std::uint64_t size = 0;
    std::uint64_t done = 0;  ///< its texts ready to take, from the first

    std::vector<DrawnText> texts;
};

}  // namespace

struct DrawPool::State {
    State(const engine::Options& options, const std::string& projectPath,
          RememberedAnswers& answers, std::uint64_t textSeeds, std::uint64_t firstDraw,
          std::uint64_t draws, unsigned threads, bool keepChoices)
        : options(options),
          projectPath(projectPath),
          answers(answers),
          textSeeds(textSeeds),
          keepChoices(keepChoices),
          nextDraw(firstDraw),
          end(draws > kNone - firstDraw ? kNone : firstDraw + draws),
          ring(2 * std::size_t{threads} + 2) {}

    void work();
    std::uint64_t chunkSize() const;
    /// Hands out the texts of chunk `seq` before its text `index`, and waits until the taker
    /// waits for that text; false when the pool stops.
    bool waitTurn(std::uint64_t seq, std::uint64_t index);

    const engine::Options options;
    const std::string projectPath;
    RememberedAnswers& answers;
    const std::uint64_t textSeeds;
    const bool keepChoices;

    std::mutex mutex;
    std::condition_variable space;  // a chunk was given back, or the pool stops
    std::condition_variable ready;  // a chunk is ready
    std::condition_variable turn;   // the taker waits for another chunk
    std::uint64_t nextDraw;
    const std::uint64_t end;
    std::vector<Chunk> ring;
    std::uint64_t nextSeq = 0;        // the next chunk to claim
    std::uint64_t released = 0;       // chunks given back by the taker
    std::uint64_t takeSeq = 0;        // the next chunk to take
    std::uint64_t waitedFor = kNone;  // the chunk the taker waits for
    std::uint64_t waitedIndex = 0;    // and the text in it
    Chunk* current = nullptr;
    std::uint64_t currentDone = 0;  // of current, as the taker last saw it
    bool stopping = false;
    std::uint64_t bytes = 0;  // of the texts made so far, to size the chunks
    std::uint64_t made = 0;
};

namespace {

// A worker's host: questions are counted in its own text, the answers are the batch's.
class WorkerHost : public engine::Host {
public:
    explicit WorkerHost(DrawPool::State& pool) : pool_(pool) {}

    void startText(std::uint64_t chunk, std::uint64_t index) {
        chunk_ = chunk;
        index_ = index;
        timesAsked_.clear();
    }

    void showMessage(std::string_view text) override {
        if (pool_.answers.shown(text) || pool_.waitTurn(chunk_, index_)) {
            pool_.answers.showMessage(text);
        }
    }
    std::optional<std::string> askInput(std::string_view prompt) override {
        auto counted = timesAsked_.find(prompt);
        if (counted == timesAsked_.end()) {
            counted = timesAsked_.emplace(std::string(prompt), 0).first;
        }
        const int occurrence = counted->second++;
        if (!pool_.answers.answered(prompt, occurrence) && !pool_.waitTurn(chunk_, index_)) {
            return std::nullopt;  // nobody takes this text any more
        }
        return pool_.answers.answer(prompt, occurrence);
    }
    std::string dateText() override { return pool_.answers.dateText(); }
    std::string timeText() override { return pool_.answers.timeText(); }

private:
    DrawPool::State& pool_;
    std::uint64_t chunk_ = 0;
    std::uint64_t index_ = 0;
    std::map<std::string, int, std::less<>> timesAsked_;
};

}  // namespace

std::uint64_t DrawPool::State::chunkSize() const {
    if (made == 0) {
        return 1;  // the texts may be megabytes each
    }
    const std::uint64_t average = std::max<std::uint64_t>(1, bytes / made);
    return std::clamp<std::uint64_t>(kChunkBytes / average, 1, kMaxChunk);
}

bool DrawPool::State::waitTurn(std::uint64_t seq, std::uint64_t index) {
    std::unique_lock lock(mutex);
    Chunk& chunk = ring[seq % ring.size()];
    if (chunk.done < index) {
        chunk.done = index;
        ready.notify_all();
    }
    turn.wait(lock, [&] { return stopping || (waitedFor == seq && waitedIndex == index); });
    return !stopping;
}

void DrawPool::State::work() {
    engine::Random random(0);
    WorkerHost host(*this);
    engine::Generator generator(options, host, random);
    for (;;) {
        std::unique_lock lock(mutex);
        space.wait(lock,
                   [&] { return stopping || nextDraw >= end || nextSeq - released < ring.size(); });
        if (stopping || nextDraw >= end) {
            return;
        }
        Chunk& chunk = ring[nextSeq % ring.size()];
        chunk.seq = nextSeq++;
        chunk.start = nextDraw;
        chunk.size = std::min(chunkSize(), end - nextDraw);
        chunk.done = 0;
        nextDraw += chunk.size;
        lock.unlock();

        if (chunk.texts.size() < chunk.size) {
            chunk.texts.resize(chunk.size);
        }
        std::uint64_t chunkBytes = 0;
        for (std::uint64_t i = 0; i < chunk.size; ++i) {
            random = engine::Random(engine::textSeed(textSeeds, chunk.start + i));
            host.startText(chunk.seq, i);
            engine::GenerationResult& result = generator.generate(projectPath);
            DrawnText& text = chunk.texts[i];
            if (keepChoices) {
                const engine::GenerationChoices choices = generator.choices();
                text.picks = choices.picks;
                text.variables = choices.variables;
                text.takenOptions = choices.takenOptions;
            }
            // The generator gets the older text's memory back to fill next time.
            std::swap(text.result, result);
            if (!keepChoices) {
                // The working record, the largest part, stays with the generator.
                std::swap(text.result.record, result.record);
            }
            chunkBytes += text.result.text.size();
        }
        lock.lock();
        bytes += chunkBytes;
        made += chunk.size;
        chunk.done = chunk.size;
        ready.notify_all();
    }
}

DrawPool::DrawPool(const engine::Options& options, const std::string& projectPath,
                   RememberedAnswers& answers, std::uint64_t textSeeds, std::uint64_t firstDraw,
                   std::uint64_t draws, unsigned threads, bool keepChoices)
    : state_(std::make_unique<State>(options, projectPath, answers, textSeeds, firstDraw, draws,
                                     std::max(1u, threads), keepChoices)) {
    for (unsigned i = 0; i < std::max(1u, threads); ++i) {
        workers_.emplace_back([this] { state_->work(); });
    }
}

DrawPool::~DrawPool() {
    {
        const std::lock_guard lock(state_->mutex);
        state_->stopping = true;
    }
    state_->space.notify_all();
    state_->turn.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

const DrawnText& DrawPool::take(std::uint64_t draw) {
    State& s = *state_;
    const std::uint64_t index = s.current ? draw - s.current->start : 0;
    if (s.current && index < s.currentDone) {
        return s.current->texts[index];
    }
    std::unique_lock lock(s.mutex);
    auto waitFor = [&](Chunk& chunk, std::uint64_t seq, std::uint64_t at) {
        if (!(chunk.seq == seq && chunk.done > at)) {
            // A worker that waits for its turn to ask a question may go on now.
            s.waitedFor = seq;
            s.waitedIndex = at;
            s.turn.notify_all();
            s.ready.wait(lock, [&] { return chunk.seq == seq && chunk.done > at; });
            s.waitedFor = kNone;
        }
        s.currentDone = chunk.done;
    };
    if (s.current && index < s.current->size) {
        waitFor(*s.current, s.current->seq, index);
        return s.current->texts[index];
    }
    if (s.current) {
        ++s.released;
        s.current = nullptr;
        s.space.notify_all();
    }
    const std::uint64_t seq = s.takeSeq++;
    Chunk& chunk = s.ring[seq % s.ring.size()];
    waitFor(chunk, seq, 0);
    s.current = &chunk;
    assert(draw == chunk.start);
    return chunk.texts.front();
}

}  // namespace korvex::batch
