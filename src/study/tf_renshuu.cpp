#include "tf_renshuu.h"

#include "errors.h"
#include "hintcontext.h"
#include "practicelevels.h"
#include "program.h"
#include "studystate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace moji {

namespace {

constexpr int GroupTop = 108;
constexpr int GroupWidth = 210;
constexpr int GroupHeight = 296;
constexpr int GroupGap = 60;

// Each kind has its own colour, so the two groups are told apart at a glance.
const char* const ButtonStyle[2] = {
    "QPushButton { background: #e3f2fd; color: #0d47a1; border: 2px solid #90caf9; border-radius: 9px; margin: 3px; }"
    "QPushButton:hover { background: #fff59d; border-color: #fbc02d; }"
    "QPushButton:pressed { background: #ffe082; }",
    "QPushButton { background: #e8f5e9; color: #1b5e20; border: 2px solid #a5d6a7; border-radius: 9px; margin: 3px; }"
    "QPushButton:hover { background: #fff59d; border-color: #fbc02d; }"
    "QPushButton:pressed { background: #ffe082; }",
};

} // namespace

TF_Renshuu::TF_Renshuu(Program& program, QWidget* parent)
    : ScreenFrame(program, HintTopics::PracticeLevels, HelpTopic, parent)
{
    setObjectName(QStringLiteral("TF_Renshuu"));
    setWindowTitle(QStringLiteral("もじまる"));

    addTitle(QStringLiteral("れんしゅうするレベルとしゅるいをえらぼう！"));
    addHeaderButtons();

    const int left = (DesignWidth - 2 * GroupWidth - GroupGap) / 2;
    m_yomu = makeGroup(1, QStringLiteral(" 「よむ」 れんしゅう"), left);
    m_yomu->setObjectName(QStringLiteral("GRP_Yomu"));
    m_kaku = makeGroup(2, QStringLiteral(" 「かく」 れんしゅう"), left + GroupWidth + GroupGap);
    m_kaku->setObjectName(QStringLiteral("GRP_Kaku"));

    // The tool-tips are the way to see a level's kanji: say so.
    auto* note = new QLabel(QStringLiteral("ボタンに　マウスを　のせると、　そのレベルの　かんじが　見られるよ。"), canvas());
    note->setObjectName(QStringLiteral("Lbl_Note"));
    QFont noteFont = note->font();
    noteFont.setPixelSize(15);
    noteFont.setBold(true);
    note->setFont(noteFont);
    note->setStyleSheet(QStringLiteral("color: #c8d8ff;"));
    note->setAlignment(Qt::AlignCenter);
    note->setGeometry(0, GroupTop + GroupHeight + 18, DesignWidth, 24);
}

QGroupBox* TF_Renshuu::makeGroup(int mode, const QString& title, int left)
{
    auto* box = new QGroupBox(title, canvas());
    QFont f = box->font();
    f.setPixelSize(16);
    f.setBold(true);
    box->setFont(f);
    box->setGeometry(left, GroupTop, GroupWidth, GroupHeight);
    box->setStyleSheet(QStringLiteral("QGroupBox { background: #000080; color: white; border: 2px solid #8080c0;"
                                      " border-radius: 8px; margin-top: 10px; }"
                                      " QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 4px; }"));

    // The kind's own kanji fills the corner the second column leaves free.
    auto* mark = new QLabel(mode == 1 ? QStringLiteral("読") : QStringLiteral("書"), box);
    QFont markFont = mark->font();
    markFont.setPixelSize(64);
    markFont.setBold(true);
    mark->setFont(markFont);
    mark->setStyleSheet(QStringLiteral("color: #3a3aa8; background: transparent;"));
    mark->setAlignment(Qt::AlignCenter);
    mark->setGeometry(110, 200, 80, 80);
    mark->setAttribute(Qt::WA_TransparentForMouseEvents);

    QFont buttonFont = f;
    buttonFont.setPixelSize(20);
    const StudyState& state = program().state;
    for (int level = 1; level <= MaxLevel; ++level) {
        auto* button = new QPushButton(QString::number(level), box);
        button->setObjectName(QStringLiteral("Btn_Level_%1%2").arg(mode == 1 ? QStringLiteral("Yomu") : QStringLiteral("Kaku")).arg(level));
        button->setFont(buttonFont);
        button->setStyleSheet(QLatin1String(ButtonStyle[mode - 1]));
        button->setFocusPolicy(Qt::NoFocus);
        if (level <= 6)
            button->setGeometry(10, 40 * level, 80, 40);
        else
            button->setGeometry(110, 40 * (level - 6), 80, 40);
        button->setToolTip(levelGlyphs(state, level));
        useHandCursor(program(), button);
        connect(button, &QPushButton::clicked, this, [this, mode, level] {
            if (mode == 1)
                Btn_Level_YomuClick(level);
            else
                Btn_Level_KakuClick(level);
        });
        m_buttons[std::size_t(mode - 1)][std::size_t(level - 1)] = button;
    }
    return box;
}

QPushButton* TF_Renshuu::levelButton(int mode, int level) const
{
    if (mode < 1 || mode > 2 || level < 1 || level > MaxLevel)
        return nullptr;
    return m_buttons[std::size_t(mode - 1)][std::size_t(level - 1)];
}

void TF_Renshuu::Btn_Level_YomuClick(int level)
{
    startSession(level, 1);
}

void TF_Renshuu::Btn_Level_KakuClick(int level)
{
    startSession(level, 2);
}

void TF_Renshuu::startSession(int level, int mode)
{
    try {
        choosePracticeLevel(program().state, level, mode);
    } catch (const DataError& e) {
        program().messages.error(this, errorReportText(e));
        return;
    }
    // The question session takes a moment to build: show that something is happening.
    if (!m_busyPointer) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_busyPointer = true;
    }
    if (program().navigator)
        program().navigator->show(Screen::QuestionSession);
    close();
}

void TF_Renshuu::closeEvent(QCloseEvent* event)
{
    if (m_busyPointer) {
        QApplication::restoreOverrideCursor();
        m_busyPointer = false;
    }
    ScreenFrame::closeEvent(event);
}

void TF_Renshuu::onBack()
{
    close();
    if (program().navigator)
        program().navigator->show(Screen::ModeMenu);
}

} // namespace moji
