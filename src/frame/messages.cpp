#include "messages.h"

#include <QMessageBox>

namespace moji {

namespace {
const QString Title = QStringLiteral("もじまる");
}

void MessageBoxes::information(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, Title, text, QMessageBox::Ok);
}

bool MessageBoxes::question(QWidget* parent, const QString& text)
{
    const auto answer = QMessageBox::information(parent, Title, text,
                                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                                 QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void MessageBoxes::error(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent, Title, text, QMessageBox::Ok);
}

} // namespace moji
