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
    // Qt lets a box's text grow to half the screen's width (at most 500 pixels) before it wraps
    // it; the icon and the margins take some of that. Words stay whole within it, and a name
    // too long for a line is shortened, so that the box always fits the screen.
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int half = screen ? std::min(screen->availableGeometry().width() / 2, 500) : 500;
    box.setText(boxLines(text, box.fontMetrics(), std::max(120, half - 90)));
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
