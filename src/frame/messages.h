#pragma once

#include <QString>

class QWidget;

namespace moji {

// The program's message boxes: information with OK, questions with Yes, No and Cancel (acting
// only on Yes), and the one error report. Tests install a recorder that answers for the pupil.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void information(QWidget* parent, const QString& text) = 0;
    // True only when the answer is Yes.
    virtual bool question(QWidget* parent, const QString& text) = 0;
    virtual void error(QWidget* parent, const QString& text) = 0;
};

// Qt message boxes with the program's name as title and Japanese buttons.
class MessageBoxes final : public Messages {
public:
    void information(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
};

} // namespace moji
