#pragma once

#include <QObject>
#include <QPixmap>

#include <array>

class QGroupBox;
class QPushButton;
class QRect;
class QWidget;

namespace moji {

// A group box of the picker space, in the pickers' look.
QGroupBox* pickerGroup(const QString& title, QWidget* canvas, const QRect& geometry, const char* name);

class AnswerPanels;
struct Program;

// The four picker group boxes of the question session, drawn from the AnswerPanels state:
// Grp_Kanji (the kana chart in reading, the kanji list in writing), Grp_Bushu (the eight
// radical groups), Grp_Kakusuu (stroke counts and "こたえのこうほ") and Grp_Buhin (the parts of
// a group). Clicks go to the logic; the screen is told when the answer or the view changed.
class PickerPanels : public QObject {
    Q_OBJECT
public:
    // For writing, the pictures bushu1.bmp … bushu8.bmp and BuhinX.bmp are read at once; one
    // that is missing or damaged raises FileError naming it.
    PickerPanels(Program& program, AnswerPanels& logic, QWidget* canvas, int studyMode);

    // Shows the groups and buttons the logic's state calls for.
    void refresh();
    // The kanji the question on view asks: "こたえのこうほ" offers the candidates of its level
    // in ふくしゅう, whose questions come from several levels (otherwise the session's level).
    void setQuestionKanji(int kanjiNo) { m_questionKanji = kanjiNo; }
    void hideAll();

    QGroupBox* kanjiGroup() const { return m_kanjiGroup; }
    QGroupBox* radicalGroup() const { return m_radicalGroup; }
    QGroupBox* strokeGroup() const { return m_strokeGroup; }
    QGroupBox* partGroup() const { return m_partGroup; }
    QPushButton* kanjiButton(int i) const { return m_kanji[std::size_t(i - 1)]; }
    QPushButton* radicalButton(int g) const { return m_radicals[std::size_t(g - 1)]; }
    QPushButton* strokeButton(int s) const { return m_strokes[std::size_t(s - 1)]; }
    QPushButton* partButton(int i) const { return m_parts[std::size_t(i - 1)]; }
    QPushButton* candidatesButton() const { return m_candidates; }

    static const std::array<const char*, 8> GroupCaptions;
    // The top of the picker space, below the answer.
    static constexpr int Top = 212;

signals:
    // The answer or the view changed (the screen updates its label and the cancel button).
    void changed();

private:
    void buildReading(QWidget* canvas);
    void buildWriting(QWidget* canvas);
    QPushButton* button(QWidget* parent, const QString& text, int index, int columnsOf, QSize size, QPoint origin);

    Program& m_program;
    AnswerPanels& m_logic;
    bool m_writing;
    QGroupBox* m_kanjiGroup = nullptr;
    QGroupBox* m_radicalGroup = nullptr;
    QGroupBox* m_strokeGroup = nullptr;
    QGroupBox* m_partGroup = nullptr;
    std::array<QPushButton*, 80> m_kanji{};
    std::array<QPushButton*, 8> m_radicals{};
    std::array<QPushButton*, 20> m_strokes{};
    std::array<QPushButton*, 40> m_parts{};
    QPushButton* m_candidates = nullptr;
    int m_questionKanji = 0;
    QPixmap m_partStrip;
};

} // namespace moji
