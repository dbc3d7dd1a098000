#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace moji {

struct Program;

// A kanji drawn large with its strokes numbered in the school order, over the cross of writing
// paper, and how many strokes it has. The numbered strokes come from the KanjiStrokeOrders
// font of Debian's fonts-kanjistrokeorders; without it, or for a kanji it lacks, the kanji is
// drawn plainly and the dialog says that its stroke order cannot be shown. Opened by the
// review of a writing question, the practice pad and the kanji board; modal, freed when
// closed by whoever opened it.
class TF_Kakijun : public QDialog {
    Q_OBJECT
public:
    // `note` is a line above the kanji, e.g. why it is shown; none when empty.
    TF_Kakijun(Program& program, const QString& kanji, const QString& note = {}, QWidget* parent = nullptr);

    const QString& kanji() const { return m_kanji; }

    // Opens the dialog for `kanji` over `parent` and waits until the pupil closes it.
    static void present(Program& program, const QString& kanji, const QString& note, QWidget* parent);

private:
    QString m_kanji;
};

} // namespace moji
