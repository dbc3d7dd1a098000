// Program entry. Loads the settings and every data file into the study state, reporting a
// failing file by name, then shows the first screen.

#include "clock.h"
#include "errors.h"
#include "studystate.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QStandardPaths>

namespace {

// Stand-in first screen until the main menu exists: the title on the navy board; any key or
// click ends the program and writes the roster.
class TitleScreen : public QLabel {
public:
    explicit TitleScreen(moji::StudyState& state) : m_state(state)
    {
        setText(QStringLiteral("もじまる（小３）"));
        setAlignment(Qt::AlignCenter);
        setStyleSheet(QStringLiteral("background: navy; color: yellow; font-size: 48px; font-weight: bold;"));
    }

protected:
    void keyPressEvent(QKeyEvent*) override { close(); }
    void mousePressEvent(QMouseEvent*) override { close(); }
    void closeEvent(QCloseEvent* event) override
    {
        try {
            m_state.WriteRoster();
        } catch (const moji::DataError& e) {
            QMessageBox::critical(this, QStringLiteral("もじまる"), moji::errorReportText(e));
        }
        QLabel::closeEvent(event);
    }

private:
    moji::StudyState& m_state;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("もじまる（小３）"));

    moji::SystemClock clock;
    moji::StudyState state(QApplication::applicationDirPath(), clock);
    state.settingsPath = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                         + QStringLiteral("/Mojimaru.ini");

    try {
        state.ReadSettings();
        state.PopupsOn = false;
        state.HintTopic = state.HintSection = state.HintMode = 1;
        if (!state.LoadRadicals()) {
            QMessageBox::critical(nullptr, QStringLiteral("もじまる"), QStringLiteral("Bushu1.dat not found"));
            return 1;
        }
        state.LoadKanji();
        if (state.ReadRoster().playerCount > 0)
            state.RebuildLevelsFromHistory();
        state.LoadQuestionIndex();
    } catch (const moji::DataError& e) {
        QMessageBox::critical(nullptr, QStringLiteral("もじまる"), moji::errorReportText(e));
        return 1;
    }

    TitleScreen screen(state);
    screen.showFullScreen();
    return app.exec();
}
