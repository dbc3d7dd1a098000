#pragma once

#include <QDialog>

#include <functional>

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace moji {

struct LevelUpView;
struct Program;

// The result and level-up dialog that closes a study session: praise or encouragement by the
// score, the level news, and the pupil's progress toward the next step.
class TF_Level_Up : public QDialog {
    Q_OBJECT
public:
    // Fills everything from the state. When a picture file cannot be read it reports the
    // file, closes every window and ends the program; exec() then returns at once.
    explicit TF_Level_Up(Program& program, QWidget* parent = nullptr);

    int exec() override;
    // Where the dialog goes instead of the middle of its parent.
    void setPlace(std::function<QPoint(QSize frame)> place) { m_place = std::move(place); }
    bool failed() const { return m_failed; }
    // The picture file shown, empty for the built-in one.
    const QString& pictureFile() const { return m_pictureFile; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FormCreate();
    void loadPicture(const QString& fileName);
    void arrangeMessages(const LevelUpView& view);

    Program& m_program;
    std::function<QPoint(QSize frame)> m_place;
    bool m_failed = false;
    QString m_pictureFile;
    QRect m_card{10, 10, 415, 114}; // the white card behind the picture and the messages

    QLabel* m_image;
    QLabel* m_scoreMessage;
    QLabel* m_levelMessage;
    QGroupBox* m_progress;
    QLabel* m_levelLine;
    QLabel* m_kindLine;
    QProgressBar* m_bar;
    QPushButton* m_back;
};

} // namespace moji
