#include "tf_hint.h"

#include "clickablelabel.h"
#include "errors.h"
#include "program.h"
#include "screenframe.h"
#include "studypictures.h"
#include "studystate.h"

#include <QApplication>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

namespace moji {

namespace {

const QColor Paper(255, 248, 225);
const QColor Card(255, 255, 255);
const QColor CardEdge(255, 213, 79);
const QRect Level1Card(128, 10, 285, 138);
const QRect Level2Card(12, 156, 401, 110);

QPlainTextEdit* memo(QWidget* parent, const QString& name, const QColor& colour, int pixels, const QRect& card)
{
    auto* edit = new QPlainTextEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFrameShape(QFrame::NoFrame);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setTextInteractionFlags(Qt::NoTextInteraction);
    edit->viewport()->setCursor(Qt::ArrowCursor);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont f = edit->font();
    f.setPixelSize(pixels);
    f.setBold(true);
    edit->setFont(f);
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Text, colour);
    pal.setColor(QPalette::Base, Card);
    edit->setPalette(pal);
    edit->setGeometry(card.adjusted(8, 6, -6, -6));
    return edit;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

TF_Hint::TF_Hint(Program& program, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      m_program(program), m_book(program.state, program.random)
{
    setObjectName(QStringLiteral("TF_Hint"));
    setWindowTitle(QStringLiteral("もじまる"));
    setModal(true);
    setFixedSize(425, 313);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Paper);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral(
        "QPushButton { background: white; color: #5d4037; border: 2px solid #f4b400; border-radius: 9px;"
        " font-weight: bold; font-size: 13px; padding: 2px 6px; }"
        "QPushButton:hover { background: #fff3c4; }"
        "QPushButton:pressed { background: #ffe082; }"
        "QPushButton:disabled { color: #c8c0b0; border-color: #eee2bf; background: #fffdf5; }"
        "QPushButton#Btn_Kotae_Hint { background: #ffeb99; border-color: #f29900; }"
        "QPushButton#Btn_Kotae_Hint:hover { background: #ffe066; }"));

    m_image = new ClickableLabel(QString(), 0, this);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setGeometry(14, 12, 105, 97);
    m_image->setScaledContents(true);
    m_image->setPixmap(hintBulbPicture(m_image->size(), devicePixelRatioF()));
    useHandCursor(program, m_image);
    connect(m_image, &ClickableLabel::clicked, this, &TF_Hint::Image1Click);

    m_level1 = memo(this, QStringLiteral("Mem_Hint_Level1"), Qt::red, 16, Level1Card);
    m_level2 = memo(this, QStringLiteral("Mem_Hint_Level2"), Qt::blue, 15, Level2Card);

    m_answerHint = button(this, QStringLiteral("Btn_Kotae_Hint"), QStringLiteral("こたえのヒント"), QRect(12, 116, 109, 32));
    m_prev = button(this, QStringLiteral("Btn_Prev"), QStringLiteral("まえのヒントをみる"), QRect(12, 274, 150, 30));
    m_next = button(this, QStringLiteral("Btn_Next"), QStringLiteral("つぎのヒントをみる"), QRect(168, 274, 150, 30));
    m_back = button(this, QStringLiteral("BitBtn1"), QStringLiteral("もどる"), QRect(324, 274, 89, 30));
    const QPixmap backPicture = program.headerImage(4);
    if (!backPicture.isNull()) {
        m_back->setIcon(QIcon(backPicture));
        m_back->setIconSize(QSize(20, 20));
    }
    for (QPushButton* b : {m_answerHint, m_prev, m_next, m_back})
        useHandCursor(program, b);
    m_answerHint->hide();

    connect(m_prev, &QPushButton::clicked, this, [this] { Btn_NextPrevClick(0); });
    connect(m_next, &QPushButton::clicked, this, [this] { Btn_NextPrevClick(1); });
    connect(m_answerHint, &QPushButton::clicked, this, &TF_Hint::Btn_Kotae_HintClick);
    connect(m_back, &QPushButton::clicked, this, &QDialog::reject);
}

int TF_Hint::exec()
{
    // Decided before the dialog appears, so that a failure never leaves it open.
    if (!FormShow())
        return QDialog::Rejected;
    return QDialog::exec();
}

void TF_Hint::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_prepared && !FormShow())
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

bool TF_Hint::FormShow()
{
    if (m_prepared)
        return true;
    m_prepared = true;
    try {
        m_book.loadIndex();
        showHint(m_book.firstHint());
    } catch (const DataError& e) {
        return fail(e);
    }
    m_answerHint->setVisible(m_book.answerHintOffered());
    return true;
}

bool TF_Hint::fail(const DataError& error)
{
    QWidget* over = parentWidget() ? parentWidget() : this;
    if (dynamic_cast<const FileError*>(&error)) {
        endProgramWithError(m_program, over, fileErrorMessage(error.fileName()));
    } else {
        m_program.messages.error(over, errorReportText(error));
    }
    return false;
}

void TF_Hint::showHint(int n)
{
    m_hintNo = n;
    if (const auto text = m_book.readHint(n))
        display(*text);
    m_prev->setEnabled(m_book.adjacentHint(m_hintNo, -1).has_value());
    m_next->setEnabled(m_book.adjacentHint(m_hintNo, +1).has_value());
}

void TF_Hint::display(const HintText& text)
{
    m_level1->setPlainText(text.level1.join(QLatin1Char('\n')));
    m_level2->setPlainText(text.level2.join(QLatin1Char('\n')));
}

void TF_Hint::Btn_NextPrevClick(int tag)
{
    const auto target = m_book.adjacentHint(m_hintNo, tag == 1 ? +1 : -1);
    if (!target)
        return;
    try {
        showHint(*target);
    } catch (const DataError& e) {
        fail(e);
        close();
    }
}

void TF_Hint::Btn_Kotae_HintClick()
{
    try {
        if (const auto text = m_book.answerHint())
            display(*text);
    } catch (const DataError& e) {
        fail(e);
    }
}

void TF_Hint::paintEvent(QPaintEvent*)
{
    // White cards with a golden edge behind the two texts.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(CardEdge, 2));
    p.setBrush(Card);
    p.drawRoundedRect(QRectF(Level1Card).adjusted(1, 1, -1, -1), 10, 10);
    p.drawRoundedRect(QRectF(Level2Card).adjusted(1, 1, -1, -1), 10, 10);
}

void TF_Hint::Image1Click()
{
    m_program.help.showTopic(HelpTopic);
}

void installHints(Program& program)
{
    program.state.openHintHandler = [&program] {
        TF_Hint dialog(program, QApplication::activeWindow());
        dialog.exec();
    };
}

} // namespace moji
