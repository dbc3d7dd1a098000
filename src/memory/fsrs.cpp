// FSRS-6 as its authors publish it (github.com/open-spaced-repetition, "The Algorithm"), with
// w0..w20 their default weights. The formulas, in the weights' own numbering:
//   R(t, S)  = (1 + F t / S)^(-w20),  F = 0.9^(-1 / w20) - 1, so that R(S, S) = 0.9
//   S0(G)    = w[G-1]
//   D0(G)    = w4 - e^(w5 (G - 1)) + 1
//   D'(D, G) = w7 D0(4) + (1 - w7) (D - w6 (G - 3) (10 - D) / 9), within 1..10
//   recall:  S' = S (1 + e^w8 (11 - D) S^-w9 (e^(w10 (1 - R)) - 1) (w15 if Hard) (w16 if Easy))
//   lapse:   S' = min(w11 D^-w12 ((S + 1)^w13 - 1) e^(w14 (1 - R)), S / e^(w17 w18))
//   same day: S' = S e^(w17 (G - 3 + w18)) S^-w19, never below S for Good and Easy

#include "fsrs.h"

#include <algorithm>
#include <cmath>

namespace moji::memory {

namespace {

constexpr double MinStability = 0.001;
constexpr double MaxStability = 36500;
constexpr double MinDifficulty = 1;
constexpr double MaxDifficulty = 10;

int g(Grade grade)
{
    return static_cast<int>(grade);
}

double clampStability(double s)
{
    return std::clamp(s, MinStability, MaxStability);
}

} // namespace

const Fsrs::Weights Fsrs::DefaultWeights = {0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194,
                                            0.001,  1.8722, 0.1666, 0.796,  1.4835, 0.0614, 0.2629,
                                            1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};

Fsrs::Fsrs(const Weights& weights)
    : m_w(weights), m_decay(-weights[20]), m_factor(std::pow(0.9, 1.0 / m_decay) - 1.0)
{
}

double Fsrs::retrievability(double days, double stability) const
{
    const double t = std::max(0.0, days);
    return std::pow(1.0 + m_factor * t / std::max(stability, MinStability), m_decay);
}

double Fsrs::initialStability(Grade grade) const
{
    return clampStability(m_w[std::size_t(g(grade) - 1)]);
}

double Fsrs::initialDifficulty(Grade grade) const
{
    return m_w[4] - std::exp(m_w[5] * (g(grade) - 1)) + 1.0;
}

double Fsrs::nextDifficulty(double difficulty, Grade grade) const
{
    // The change shrinks as the difficulty nears 10, and everything drifts a little back
    // toward the difficulty of a first Easy.
    const double delta = -m_w[6] * (g(grade) - 3);
    const double moved = difficulty + delta * (10.0 - difficulty) / 9.0;
    const double reverted = m_w[7] * initialDifficulty(Grade::Easy) + (1.0 - m_w[7]) * moved;
    return std::clamp(reverted, MinDifficulty, MaxDifficulty);
}

double Fsrs::stabilityAfterRecall(double difficulty, double stability, double recall, Grade grade) const
{
    const double hardPenalty = grade == Grade::Hard ? m_w[15] : 1.0;
    const double easyBonus = grade == Grade::Easy ? m_w[16] : 1.0;
    const double growth = std::exp(m_w[8]) * (11.0 - difficulty) * std::pow(stability, -m_w[9]) *
                          (std::exp(m_w[10] * (1.0 - recall)) - 1.0) * hardPenalty * easyBonus;
    return clampStability(stability * (1.0 + growth));
}

double Fsrs::stabilityAfterForgetting(double difficulty, double stability, double recall) const
{
    const double lapsed = m_w[11] * std::pow(difficulty, -m_w[12]) * (std::pow(stability + 1.0, m_w[13]) - 1.0) *
                          std::exp(m_w[14] * (1.0 - recall));
    const double ceiling = stability / std::exp(m_w[17] * m_w[18]);
    return clampStability(std::min(lapsed, ceiling));
}

double Fsrs::sameDayStability(double stability, Grade grade) const
{
    double increase = std::exp(m_w[17] * (g(grade) - 3 + m_w[18])) * std::pow(stability, -m_w[19]);
    if (grade >= Grade::Good)
        increase = std::max(increase, 1.0);
    return clampStability(stability * increase);
}

MemoryState Fsrs::first(Grade grade) const
{
    return {initialStability(grade), std::clamp(initialDifficulty(grade), MinDifficulty, MaxDifficulty)};
}

MemoryState Fsrs::next(const MemoryState& state, int days, Grade grade) const
{
    MemoryState after;
    if (days <= 0) {
        after.stability = sameDayStability(state.stability, grade);
    } else {
        const double recall = retrievability(days, state.stability);
        after.stability = grade == Grade::Again ? stabilityAfterForgetting(state.difficulty, state.stability, recall)
                                                : stabilityAfterRecall(state.difficulty, state.stability, recall, grade);
    }
    after.difficulty = nextDifficulty(state.difficulty, grade);
    return after;
}

} // namespace moji::memory
