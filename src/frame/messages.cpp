#include "messages.h"

#include "wordbreaks.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace moji {

namespace {

const QString Title = QStringLiteral("もじまる");

QMessageBox::StandardButton ask(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton preferred)
{
    QMessageBox box(icon, Title, QString(), buttons, parent);
    box.setDefaultButton(preferred);
    // Qt wraps a box's text at half the screen's width and lets a box grow to hold a longer
    // word, up to the screen's width (up to 1000 pixels on a wide screen), less the icon and
    // the margins. Words stay whole; only a name too long even for that is shortened, so that
    // every box fits the screen and a name that fits is shown whole.
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
    const int widest = screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
    box.setText(boxLines(text, box.fontMetrics(), std::max(120, widest - 120)));
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

void MessageBoxes::information(QWidget* parent, const QString& text)
{
    ask(parent, QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxes::question(QWidget* parent, const QString& text)
{
    return ask(parent, QMessageBox::Information, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
               QMessageBox::No)
        == QMessageBox::Yes;
}

void MessageBoxes::error(QWidget* parent, const QString& text)
{
    ask(parent, QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

} // namespace moji
