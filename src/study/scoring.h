#pragma once

#include <QString>

#include <array>
#include <optional>

namespace moji {

class StudyState;

// Marking a session's ten answers one row at a time: each answer is right only when it has
// exactly the bytes of the correct answer.
class Scoring {
public:
    static constexpr int Rows = 10;
    static constexpr int PointsPerAnswer = 10;

    struct Row {
        int number = 0;
        QString question; // the sentence as shown, pieces joined
        std::array<QString, 3> pieces; // the same sentence in its three parts
        int target = 0;                // the part that holds the asked word (1 to 3; 0 if none)
        QString given;
        QString answer;
        bool correct = false;
    };

    // What follows the last row: a perfect session is recorded and ends; a failed one is
    // recorded as not counting, then reviewed; a passed one is reviewed and recorded after.
    enum class Ending { Perfect, Failed, Passed };

    // Resets SessionCorrect.
    explicit Scoring(StudyState& state);

    // Marks the next row (setting its Correct and counting it), or nullopt after the tenth.
    std::optional<Row> nextRow();
    int rowsShown() const { return m_rows; }

    // The score so far, "70点"; empty while nothing is right.
    QString scoreText() const;
    // Red from the pass mark on.
    bool scoreIsRed() const;
    Ending ending() const;

private:
    StudyState& m_state;
    int m_rows = 0;
};

} // namespace moji
