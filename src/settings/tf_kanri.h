#pragma once

#include <QDialog>

#include <functional>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace moji {

class MemoryChart;
struct Program;
class StudyState;

// The parents' page, opened from the settings dialog: rename a pupil (with the registration's
// kana rules), reset a pupil's progress (the history is kept as a backup), or remove a pupil
// (the later pupils' records move with them); it also names the records folder in use. Each
// action is confirmed in a box whose default answer is no, so a child clicking about cannot
// set one off. Under the list, the chosen pupil's chart of the kanji they remember, week by
// week.
class TF_Kanri : public QDialog {
    Q_OBJECT
public:
    explicit TF_Kanri(Program& program, QWidget* parent = nullptr);

    void Btn_RenameClick();
    void Btn_ResetClick();
    void Btn_RemoveClick();

    QListWidget* pupilList() const { return m_pupils; }
    QLineEdit* nameEdit() const { return m_name; }
    MemoryChart* chart() const { return m_chart; }

private:
    void showPupils(int select);
    // The line that names the records folder in use.
    QWidget* recordsFolderLine();
    // The selected pupil's number and name, or 0 when none is selected.
    int selectedPupil() const;
    QString pupilName(int p) const;
    // Runs a change to the roster files; a file that fails ends the program, as any data file
    // that fails does, since the roster on disk may then differ from the one shown.
    bool changeRecords(const std::function<void()>& change);
    void updateButtons();
    void showChart();
    // Reset or remove: asks `question` (with the pupil's name), runs `change` and names the
    // backup of the history it kept.
    void takeHistoryAway(const QString& question, QString (StudyState::*change)(int));

    Program& m_program;
    QListWidget* m_pupils;
    QLineEdit* m_name;
    QPushButton* m_rename;
    QPushButton* m_reset;
    QPushButton* m_remove;
    MemoryChart* m_chart;
};

} // namespace moji
