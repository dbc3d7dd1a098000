#include "tf_kakijun.h"

#include "wordbreaks.h"

#include "program.h"
#include "screenframe.h"
#include "studystate.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace moji {

const QString TF_Kakijun::FontFamily = QStringLiteral("KanjiStrokeOrders");

namespace {

constexpr int PictureSide = 240;
const QColor Paper(255, 253, 240);
const QColor Ink(20, 30, 90);

QFont diagramFont(int pixels)
{
    QFont f(TF_Kakijun::FontFamily);
    f.setPixelSize(pixels);
    // Never another font's kanji without numbers in its place.
    f.setStyleStrategy(QFont::NoFontMerging);
    return f;
}

// The kanji's stroke count from the dictionary, or 0 for a kanji it does not hold.
int strokeCountOf(const StudyState& state, const QString& kanji)
{
    for (int k = 1; k < LastKanjiSlot; ++k) {
        if (state.KanjiTable[k].Glyph.toUnicode() == kanji)
            return state.KanjiTable[k].StrokeCount;
    }
    return 0;
}

} // namespace

bool TF_Kakijun::hasDiagram(const QString& kanji)
{
    if (kanji.isEmpty() || !QFontDatabase::families().contains(FontFamily))
        return false;
    return QFontMetrics(diagramFont(64)).inFontUcs4(kanji.toUcs4().value(0));
}

QImage TF_Kakijun::picture(const QString& kanji, int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Paper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(232, 150, 150), 1.5, Qt::DashLine));
    p.drawLine(QPointF(side / 2.0, 4), QPointF(side / 2.0, side - 4));
    p.drawLine(QPointF(4, side / 2.0), QPointF(side - 4, side / 2.0));
    p.setPen(QPen(QColor(240, 192, 0), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 1.5, side - 3, side - 3));
    // The stroke-order font draws its kanji small within the em square: a large size keeps
    // the numbers readable.
    p.setFont(hasDiagram(kanji) ? diagramFont(int(side * 0.92)) : pixelFont(QFont(), int(side * 0.8), false));
    p.setPen(Ink);
    p.drawText(QRect(0, 0, side, side), Qt::AlignCenter, kanji);
    return image;
}

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
    diagram->setPixmap(QPixmap::fromImage(picture(kanji, px(PictureSide))));
    diagram->setAlignment(Qt::AlignCenter);
    layout->addWidget(diagram, 0, Qt::AlignHCenter);

    const int strokes = strokeCountOf(program.state, kanji);
    QString caption = QStringLiteral("「%1」の　かきじゅん").arg(kanji);
    if (strokes > 0)
        caption += QStringLiteral("（%1かく）").arg(strokes);
    if (!hasDiagram(kanji))
        caption = QStringLiteral("「%1」の　かきじゅんの　ずは　ないよ").arg(kanji);
    auto* count = new QLabel(caption, this);
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
