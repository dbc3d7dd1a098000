// The larger layout is the 640 x 480 design grown by a quarter. On the screens, each caught
// where it has placed what it places while it runs (a question's sentence, a turned card's
// example, the score bars, the catcher's sentence, the marked rows), and on the best-ten table,
// every control sits where the smaller layout puts it, grown by the same factor; in both
// layouts it lies inside the screen, and no two labels or buttons cover each other.

#include "gamedriver.h"
#include "screenfixture.h"
#include "tf_game1.h"
#include "tf_game3.h"
#include "tf_game_kiroku.h"
#include "tf_k_ichiran.h"
#include "tf_kseiseki1.h"
#include "tf_mode.h"
#include "tf_player.h"
#include "tf_renshuu.h"
#include "tf_saiten.h"
#include "tf_seiseki1.h"
#include "tf_shutsudai.h"
#include "tf_touroku.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QLabel>
#include <QTest>

#include <cmath>
#include <functional>
#include <map>
#include <memory>

using namespace moji;
using namespace testing_support;

namespace {

struct Control {
    QRect local;  // in its parent's coordinates
    QRect onArea; // in the design area's coordinates
    bool labelOrButton = false;
};

using Controls = std::map<QString, Control>;

// Every control shown on the design area, keyed by its place in the widget tree. The insides of
// lists and grids are theirs to arrange, and the matching board holds cards of its own size in
// each layout.
Controls shownControls(QWidget* canvas)
{
    Controls found;
    std::function<void(QWidget*, const QString&)> walk = [&](QWidget* parent, const QString& path) {
        int index = 0;
        for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QString name = w->objectName().isEmpty()
                                     ? QString::fromLatin1(w->metaObject()->className()) + QString::number(index)
                                     : w->objectName();
            ++index;
            if (!w->isVisibleTo(canvas))
                continue;
            const QString key = path + QLatin1Char('/') + name;
            found[key] = {w->geometry(), QRect(w->mapTo(canvas, QPoint(0, 0)), w->size()),
                          qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)};
            if (!qobject_cast<QAbstractScrollArea*>(w) && w->objectName() != QLatin1String("Grp_E"))
                walk(w, key);
        }
    };
    walk(canvas, QString());
    return found;
}

// A screen in one layout, at the moment the test looks at it.
struct Shown {
    std::unique_ptr<ScreenFixture> fixture = std::make_unique<ScreenFixture>();
    std::unique_ptr<QWidget> screen;
    QWidget* canvas = nullptr;
};

ScreenFixture& prepared(Shown& shown, double scale)
{
    ScreenFixture& f = *shown.fixture;
    f.state.LayoutKind = scale > 1.0 ? 1 : 2;
    f.state.LayoutScale = scale;
    f.loadDictionary();
    for (int g = 1; g <= 8; ++g)
        f.useBuiltFile(QStringLiteral("bushu%1.bmp").arg(g));
    for (const char* picture : {"Stars.bmp", "STARS2.bmp"})
        f.useBuiltFile(QString::fromLatin1(picture));
    f.addPupils(3, 3, 1);
    f.state.SelectPupil(1);
    return f;
}

// Question 1 of a session, its sentence on view.
Shown questionSession(double scale, int mode)
{
    Shown shown;
    ScreenFixture& f = prepared(shown, scale);
    f.state.SessionKind = true;
    f.state.CurrentLevel = 3;
    f.state.StudyMode = int16_t(mode);
    auto* session = new TF_Shutsudai(f.program);
    shown.screen.reset(session);
    session->showScreen();
    session->btn_NextClick();
    shown.canvas = session->canvas();
    return shown;
}

// The matching game once the pupil has taken two pairs: a turned card's sentence and both
// score bars on view.
Shown matchingGame(double scale)
{
    Shown shown;
    ScreenFixture& f = prepared(shown, scale);
    f.state.CurrentLevel = 3;
    auto* game = new TF_Game1(f.program);
    shown.screen.reset(game);
    game->showScreen();
    game->Btn_StartClick();
    for (int step = 0; step < 200 && game->game().manScore() < 2; ++step) {
        if (!game->game().playerTurn()) {
            game->Timer1Timer();
            continue;
        }
        const auto [first, second] = faceDownPair(game->game());
        QTest::mouseClick(game->cardButton(first), Qt::LeftButton);
        QTest::mouseClick(game->cardButton(second), Qt::LeftButton);
    }
    EXPECT_EQ(game->game().manScore(), 2);
    EXPECT_FALSE(game->sentence().isEmpty());
    shown.canvas = game->canvas();
    return shown;
}

// The best-ten table after a game.
Shown scoreTable(double scale)
{
    Shown shown;
    ScreenFixture& f = prepared(shown, scale);
    auto* table = new TF_Game_Kiroku(f.program, 2, 12);
    shown.screen.reset(table);
    EXPECT_TRUE(table->ok());
    const auto* list = table->findChild<QWidget*>(QStringLiteral("Lst_Kiroku"));
    shown.canvas = list ? list->parentWidget() : nullptr;
    return shown;
}

// A screen as it opens.
template <typename Screen>
Shown opened(double scale)
{
    Shown shown;
    auto* screen = new Screen(prepared(shown, scale).program);
    shown.screen.reset(screen);
    screen->showScreen();
    shown.canvas = screen->canvas();
    return shown;
}

// The catcher game a few moves after its start, its sentence on view.
Shown catcherGame(double scale)
{
    Shown shown = opened<TF_Game3>(scale);
    auto* game = static_cast<TF_Game3*>(shown.screen.get());
    game->Btn_StartClick();
    for (int i = 0; i < 20; ++i)
        game->Timer1Timer();
    return shown;
}

// The scoring screen with every row marked.
Shown scoring(double scale)
{
    Shown shown = questionSession(scale, 1);
    auto* session = static_cast<TF_Shutsudai*>(shown.screen.get());
    for (int q = 1; q < 10; ++q)
        session->btn_NextClick();
    auto* screen = new TF_Saiten(shown.fixture->program);
    shown.screen.reset(screen);
    screen->showScreen();
    for (int i = 0; i < 10; ++i)
        screen->Tim_SaitenTimer();
    shown.canvas = screen->canvas();
    return shown;
}

} // namespace

TEST(LargerLayout, EveryControlGrowsWithTheDesignAndNoneCoversAnother)
{
    const std::map<QString, std::function<Shown(double)>> screens = {
        {QStringLiteral("reading question"), [](double s) { return questionSession(s, 1); }},
        {QStringLiteral("writing question"), [](double s) { return questionSession(s, 2); }},
        {QStringLiteral("matching game"), matchingGame},
        {QStringLiteral("score table"), scoreTable},
        {QStringLiteral("catcher game"), catcherGame},
        {QStringLiteral("scoring"), scoring},
        {QStringLiteral("mode menu"), opened<TF_Mode>},
        {QStringLiteral("practice levels"), opened<TF_Renshuu>},
        {QStringLiteral("selection"), opened<TF_Player>},
        {QStringLiteral("registration"), opened<TF_Touroku>},
        {QStringLiteral("grades"), opened<TF_Seiseki1>},
        {QStringLiteral("kanji grades"), opened<TF_KSeiseki1>},
        {QStringLiteral("kanji board"), opened<TF_K_ichiran>},
    };
    for (const auto& [what, show] : screens) {
        const Shown small = show(1.0);
        const Shown large = show(1.25);
        ASSERT_TRUE(small.canvas && large.canvas) << qPrintable(what);
        const Controls smallControls = shownControls(small.canvas);
        const Controls largeControls = shownControls(large.canvas);
        EXPECT_EQ(smallControls.size(), largeControls.size()) << qPrintable(what);
        EXPECT_FALSE(smallControls.empty()) << qPrintable(what);

        for (const auto& [key, control] : smallControls) {
            const auto found = largeControls.find(key);
            if (found == largeControls.end()) {
                ADD_FAILURE() << qPrintable(what + key) << " is missing from the larger layout";
                continue;
            }
            // Text sets some sizes, and text does not grow exactly with its font.
            const auto grown = [](int design, int measured) {
                const double expected = design * 1.25;
                return std::abs(measured - expected) <= 2 + 0.03 * expected;
            };
            const QRect s = control.local;
            const QRect l = found->second.local;
            EXPECT_TRUE(grown(s.x(), l.x()) && grown(s.y(), l.y()) && grown(s.width(), l.width())
                        && grown(s.height(), l.height()))
                << qPrintable(what + key) << ": " << s.x() << "," << s.y() << " " << s.width() << "x" << s.height()
                << " became " << l.x() << "," << l.y() << " " << l.width() << "x" << l.height();
        }

        for (const auto* shown : {&small, &large}) {
            const Controls controls = shownControls(shown->canvas);
            for (auto a = controls.begin(); a != controls.end(); ++a) {
                EXPECT_TRUE(shown->canvas->rect().contains(a->second.onArea)) << qPrintable(what + a->first);
                if (!a->second.labelOrButton)
                    continue;
                for (auto b = std::next(a); b != controls.end(); ++b) {
                    // A control and what it holds are not two; neighbours may share the pixel
                    // their rounded edges meet on.
                    if (!b->second.labelOrButton || b->first.startsWith(a->first + QLatin1Char('/')))
                        continue;
                    EXPECT_FALSE(a->second.onArea.adjusted(1, 1, -1, -1).intersects(b->second.onArea.adjusted(1, 1, -1, -1)))
                        << qPrintable(what + a->first + QStringLiteral(" and ") + b->first);
                }
            }
        }
    }
}
