#include "tf_player.h"

#include "clickablelabel.h"
#include "errors.h"
#include "hintcontext.h"
#include "program.h"
#include "studystate.h"

#include <QLabel>

namespace moji {

namespace {

constexpr int SelectionHelpTopic = 33;
constexpr int HeadTop = 90;

QFont tableFont(const QFont& base)
{
    QFont f = base;
    f.setFamily(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPointSize(16);
    f.setBold(true);
    return f;
}

void colour(QLabel* label, const QColor& c)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, c);
    label->setPalette(pal);
}

} // namespace

TF_Player::TF_Player(Program& program, QWidget* parent)
    : ScreenFrame(program, HintTopics::PlayerSelection, SelectionHelpTopic, parent)
{
    setObjectName(QStringLiteral("TF_Player"));
    setWindowTitle(QStringLiteral("もじまる"));
    setMouseTracking(true);
    canvas()->setMouseTracking(true);
    addTitle(QStringLiteral("べんきょうするのはだれかな？"));
    addHeaderButtons(30, TipVariant::BackToMenu);
}

void TF_Player::showEvent(QShowEvent* event)
{
    ScreenFrame::showEvent(event);
    if (!m_built)
        buildTable();
}

void TF_Player::buildTable()
{
    m_built = true;
    const StudyState& state = program().state;
    // Laid out at design size, then grown with the rest of the screen.
    const int w = DesignWidth;
    const int rowStep = (w - 380) / 5;
    const QFont font = tableFont(this->font());

    auto makeLabel = [&](const QString& text, const QColor& c, QLabel* label) {
        label->setText(text);
        label->setFont(font);
        colour(label, c);
        label->adjustSize();
        label->show();
        return label;
    };

    // Column heads for the left column, and for the right one from the sixth pupil on.
    QList<int> headLeft[2];
    for (int column = 0; column < 2; ++column) {
        if (column == 1 && state.PlayerCount < 6)
            break;
        const int x = column == 0 ? 0 : (w - 20) / 2;
        QLabel* name = makeLabel(QStringLiteral("    なまえ  "), Qt::yellow, new QLabel(canvas()));
        name->move(x + 20, HeadTop);
        QLabel* level = makeLabel(QStringLiteral("レベル"), Qt::yellow, new QLabel(canvas()));
        level->move(name->geometry().right() + 1 + 20, HeadTop);
        QLabel* kind = makeLabel(QStringLiteral("しゅるい"), Qt::yellow, new QLabel(canvas()));
        kind->move(level->geometry().right() + 1 + 20, HeadTop);
        m_heads.insert(m_heads.end(), {name, level, kind});
        headLeft[column] = {name->x(), level->x(), kind->x()};
    }

    for (int i = 1; i <= state.PlayerCount; ++i) {
        const PlayerRecord& pupil = state.Roster[i];
        const int column = i <= 5 ? 0 : 1;
        const int row = column == 0 ? i : i - 5;
        const int top = row * rowStep + 80;
        const QList<int>& left = headLeft[column];

        auto* name = new ClickableLabel(QString(), i, canvas());
        name->setObjectName(QStringLiteral("Lbl_Player%1").arg(i));
        makeLabel(pupil.Name.toUnicode(), Qt::white, name);
        name->move(left[0] + 20, top);
        useHandCursor(program(), name);
        connect(name, &ClickableLabel::clicked, this, [this, i] { Lbl_PlayerClick(i); });
        connect(name, &ClickableLabel::hovered, this, [this, i] { highlight(i); });
        m_names.push_back(name);

        const bool finished = pupil.Level > MaxLevel;
        QLabel* level = makeLabel(finished ? QStringLiteral("かんじはかせ") : QString::number(pupil.Level),
                                  finished ? Qt::red : Qt::white, new QLabel(canvas()));
        level->move(left[1] + 20, top);
        m_levels.push_back(level);

        QLabel* kind = makeLabel(pupil.Mode == 1 ? QStringLiteral("よむ ") : QStringLiteral("かく "), Qt::white,
                                 new QLabel(canvas()));
        kind->move(left[2] + 20, top);
        kind->setVisible(!finished);
        m_kinds.push_back(kind);
    }
    for (const auto* group : {&m_heads, &m_levels, &m_kinds})
        for (QLabel* label : *group)
            scaleLate(label);
    for (ClickableLabel* name : m_names)
        scaleLate(name);
}

ClickableLabel* TF_Player::nameLabel(int pupil) const
{
    return pupil >= 1 && pupil <= int(m_names.size()) ? m_names[std::size_t(pupil - 1)] : nullptr;
}

QLabel* TF_Player::levelLabel(int pupil) const
{
    return pupil >= 1 && pupil <= int(m_levels.size()) ? m_levels[std::size_t(pupil - 1)] : nullptr;
}

QLabel* TF_Player::kindLabel(int pupil) const
{
    return pupil >= 1 && pupil <= int(m_kinds.size()) ? m_kinds[std::size_t(pupil - 1)] : nullptr;
}

void TF_Player::highlight(int pupil)
{
    for (ClickableLabel* name : m_names)
        name->setTextColour(name->tag() == pupil ? Qt::red : Qt::white);
}

void TF_Player::mouseMoveEvent(QMouseEvent* event)
{
    highlight(0);
    ScreenFrame::mouseMoveEvent(event);
}

void TF_Player::Lbl_PlayerClick(int pupil)
{
    Program& p = program();
    try {
        p.state.SelectPupil(pupil);
    } catch (const FileError& e) {
        // The history cannot be read: say which file, and end the program.
        endProgramWithError(p, this, fileErrorMessage(e.fileName()));
        return;
    } catch (const DataError& e) {
        p.messages.error(this, errorReportText(e));
        return;
    }
    if (p.navigator)
        p.navigator->show(Screen::ModeMenu);
    close();
}

void TF_Player::onBack()
{
    close();
    if (program().navigator)
        program().navigator->show(Screen::MainMenu);
}

} // namespace moji
