#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace moji {

struct Program;
class UpDown;

// The settings dialog for parents: the answer-time limits of reading and writing sessions
// (1 to 59 minutes) and the switches of the handwriting pad, of the answer shown in the review
// and of ふくしゅう, saved so that they hold from now on and after a restart, and the buttons
// that delete the two games' score tables. It also opens the parents' page.
class TF_Settei : public QDialog {
    Q_OBJECT
public:
    static const QString Game1File;
    static const QString Game2File;

    explicit TF_Settei(Program& program, QWidget* parent = nullptr);

    void FormShow();
    void Btn_OKClick();
    void Btn_CancelClick();
    void Btn_G1_ClearClick();
    void Btn_G2_ClearClick();

    QLineEdit* yomuEdit() const { return m_yomu; }
    QLineEdit* kakuEdit() const { return m_kaku; }
    UpDown* yomuArrows() const { return m_yomuArrows; }
    UpDown* kakuArrows() const { return m_kakuArrows; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* g1ClearButton() const { return m_g1Clear; }
    QPushButton* g2ClearButton() const { return m_g2Clear; }
    QPushButton* pupilsButton() const { return m_pupilsButton; }
    QGroupBox* popSwitch() const { return m_pop; }
    QCheckBox* handwritingSwitch() const { return m_handwriting; }
    QCheckBox* reviewHelpSwitch() const { return m_reviewHelp; }
    QCheckBox* spacedReviewSwitch() const { return m_spacedReview; }
    // The notice switch: 0 "あり", 1 "なし".
    int popItemIndex() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void clearScores(const QString& fileName, const QString& question, QPushButton* button);

    Program& m_program;
    QLineEdit* m_yomu;
    QLineEdit* m_kaku;
    UpDown* m_yomuArrows;
    UpDown* m_kakuArrows;
    QPushButton* m_g1Clear;
    QPushButton* m_g2Clear;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QPushButton* m_pupilsButton;
    QGroupBox* m_pop;
    QRadioButton* m_popOn;
    QRadioButton* m_popOff;
    QCheckBox* m_handwriting;
    QCheckBox* m_reviewHelp;
    QCheckBox* m_spacedReview;
};

} // namespace moji
