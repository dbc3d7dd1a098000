#pragma once

#include <array>

namespace moji::memory {

// How a pupil answered a kanji, on the scale of the memory model. The program knows only
// right or wrong at the first try: Good or Again.
enum class Grade { Again = 1, Hard = 2, Good = 3, Easy = 4 };

// A memory of one kanji in one mode: its stability S (the days after which recall falls to
// 90 %) and its difficulty D (1 to 10).
struct MemoryState {
    double stability = 0;
    double difficulty = 0;

    friend bool operator==(const MemoryState&, const MemoryState&) = default;
};

// FSRS-6, the Free Spaced Repetition Scheduler's memory model (open-spaced-repetition): a
// power-law forgetting curve and the updates of stability and difficulty after each answer,
// with its 21 published default weights. Time is counted in whole days; an answer on the day
// of the last one uses the model's same-day update.
class Fsrs {
public:
    static constexpr int WeightCount = 21;
    using Weights = std::array<double, WeightCount>;
    static const Weights DefaultWeights;

    explicit Fsrs(const Weights& weights = DefaultWeights);

    const Weights& weights() const { return m_w; }

    // The probability of recall `days` after the last answer.
    double retrievability(double days, double stability) const;

    // The state after a kanji's first answer.
    MemoryState first(Grade grade) const;
    // The state after an answer `days` whole days after the last one (0: the same day).
    MemoryState next(const MemoryState& state, int days, Grade grade) const;

    // The steps of the model, each as published.
    double initialStability(Grade grade) const;
    double initialDifficulty(Grade grade) const;
    double nextDifficulty(double difficulty, Grade grade) const;
    double stabilityAfterRecall(double difficulty, double stability, double recall, Grade grade) const;
    double stabilityAfterForgetting(double difficulty, double stability, double recall) const;
    double sameDayStability(double stability, Grade grade) const;

private:
    Weights m_w;
    double m_decay;
    double m_factor;
};

} // namespace moji::memory
