#include "tf_kakijun.h"

#include "wordbreaks.h"

#include "program.h"
#include "screenframe.h"
#include "strokediagram.h"
#include "studystate.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace moji {

namespace {

constexpr int PictureSide = 240;

} // namespace

TF_Kakijun::TF_Kakijun(Program& program, const QString& kanji, const QString& note, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_kanji(kanji)
{
    setObjectName(QStringLiteral("TF_Kakijun"));
    setWindowTitle(QStringLiteral("もじまる"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    const double scale = program.state.LayoutScale > 1.0 ? program.state.LayoutScale : 1.0;
    const auto px = [scale](int design) { return int(design * scale + 0.5); };
    setStyleSheet(QStringLiteral("QDialog { background: #fff8d8; } QLabel { color: #142060; }"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(px(18), px(14), px(18), px(14));
    layout->setSpacing(px(10));

    if (!note.isEmpty()) {
        auto* noteLabel = new QLabel(keepWordsWhole(note), this);
        noteLabel->setObjectName(QStringLiteral("Lbl_Setsumei"));
        noteLabel->setFont(pixelFont(font(), px(17)));
        noteLabel->setWordWrap(true);
        noteLabel->setAlignment(Qt::AlignCenter);
        layout->addWidget(noteLabel);
    }

    auto* diagram = new QLabel(this);
    diagram->setObjectName(QStringLiteral("Img_Kakijun"));
    const handwriting::StrokeOrderTable* table = program.strokeOrder(parent);
    diagram->setPixmap(QPixmap::fromImage(strokeDiagram(kanji, table ? table->strokesOf(kanji) : nullptr, px(PictureSide))));
    diagram->setAlignment(Qt::AlignCenter);
    layout->addWidget(diagram, 0, Qt::AlignHCenter);

    auto* count = new QLabel(strokeOrderCaption(program.state, kanji), this);
    count->setObjectName(QStringLiteral("Lbl_Kakusuu"));
    count->setFont(pixelFont(font(), px(18)));
    count->setAlignment(Qt::AlignCenter);
    layout->addWidget(count);

    auto* close = new QPushButton(QStringLiteral("とじる"), this);
    close->setObjectName(QStringLiteral("Btn_Close"));
    close->setFont(pixelFont(font(), px(17)));
    close->setMinimumSize(px(120), px(38));
    close->setStyleSheet(QStringLiteral("QPushButton { background: #fff; color: #142060; border: 2px solid #f0c000;"
                                        " border-radius: 8px; padding: 2px 16px; }"
                                        "QPushButton:hover { background: #ffe680; }"));
    useHandCursor(program, close);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TF_Kakijun::present(Program& program, const QString& kanji, const QString& note, QWidget* parent)
{
    TF_Kakijun dialog(program, kanji, note, parent);
    // Centred over the screen it explains once its layout has settled its size; placed before,
    // it sat high and covered the screen's title.
    dialog.adjustSize();
    if (parent)
        dialog.move(parent->window()->geometry().center() - dialog.rect().center());
    dialog.exec();
}

} // namespace moji
