#pragma once

#include "historypages.h"
#include "screenframe.h"

#include <memory>
#include <optional>

class QPushButton;

namespace moji {

class DataError;
class GradeGrid;

// One pupil's study history, "<name>のせいせきひょう": ten sessions to a page with the
// date, level, the level's kanji, reading or writing, challenge or practice and whether the
// session counted, paged with "前のページ" and "次のページ".
class TF_Seiseki2 : public ScreenFrame {
    Q_OBJECT
public:
    static constexpr int HelpTopic = 10;
    static constexpr int Columns = 7;

    explicit TF_Seiseki2(Program& program, QWidget* parent = nullptr);
    ~TF_Seiseki2() override;

    GradeGrid* grid() const { return m_grid; }
    QPushButton* prevButton() const { return m_prev; }
    QPushButton* nextButton() const { return m_next; }
    // The number of the last record shown.
    int pageCounter() const { return m_pages ? m_pages->counter() : 0; }

    void Btn_NextClick();
    void Btn_PrevClick();

protected:
    void onBack() override;
    void showEvent(QShowEvent* event) override;

private:
    enum class PageStep { Next, Previous };
    void Read_Kiroku(PageStep step);
    void fail(const DataError& error);
    void reportFailure();

    GradeGrid* m_grid;
    QPushButton* m_prev;
    QPushButton* m_next;
    std::unique_ptr<HistoryPages> m_pages;
    // A failure met before the screen was on view, reported once it is.
    std::optional<QString> m_pendingReport;
    bool m_pendingEndsProgram = false;
};

} // namespace moji
