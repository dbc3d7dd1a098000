#include "tf_level_up.h"

#include "errors.h"
#include "levelupview.h"
#include "metafile.h"
#include "program.h"
#include "screenframe.h"
#include "studypictures.h"
#include "studystate.h"
#include "wordbreaks.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

namespace moji {

namespace {

const QColor Sky(232, 244, 253);
const QColor CardEdge(144, 202, 249);
const QColor Teal(0, 128, 128);
constexpr int TextLeft = 136;


QLabel* message(QWidget* parent, const QString& name, const QColor& colour, int pixels, const QRect& geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QFont f = label->font();
    f.setPixelSize(pixels);
    f.setBold(true);
    label->setFont(f);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(geometry);
    return label;
}

} // namespace

TF_Level_Up::TF_Level_Up(Program& program, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_program(program)
{
    setObjectName(QStringLiteral("TF_Level_Up"));
    setModal(true);
    setFixedSize(435, 339);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Sky);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setGeometry(20, 18, 105, 97);
    m_image->setScaledContents(true);

    m_scoreMessage = message(this, QStringLiteral("Lbl_Goukaku_Msg1"), Qt::black, 16, QRect(TextLeft, 16, 280, 50));
    m_levelMessage = message(this, QStringLiteral("Lbl_Level_Msg1"), Qt::blue, 16, QRect(TextLeft, 68, 280, 50));

    m_progress = new QGroupBox(this);
    m_progress->setObjectName(QStringLiteral("Grp_Title1"));
    m_progress->setGeometry(10, 134, 415, 148);
    m_progress->setStyleSheet(QStringLiteral(
        "QGroupBox { background: white; border: 2px solid #90caf9; border-radius: 10px; margin-top: 12px;"
        " font-weight: bold; font-size: 14px; color: #37474f; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 14px; padding: 0 6px; background: #e8f4fd;"
        " border-radius: 6px; }"));
    m_levelLine = message(m_progress, QStringLiteral("Lbl_Level1"), Qt::red, 19, QRect(18, 28, 380, 28));
    m_kindLine = message(m_progress, QStringLiteral("Lbl_Level2"), Teal, 19, QRect(18, 60, 380, 28));
    m_bar = new QProgressBar(m_progress);
    m_bar->setObjectName(QStringLiteral("PBar_Level_Cnt"));
    m_bar->setGeometry(18, 102, 379, 26);
    m_bar->setRange(0, LevelStep);
    m_bar->setFormat(QStringLiteral("%v / %m"));
    m_bar->setAlignment(Qt::AlignCenter);
    m_bar->setStyleSheet(QStringLiteral(
        "QProgressBar { border: 2px solid #ffb74d; border-radius: 8px; background: #fff8e1; color: #5d4037;"
        " font-weight: bold; font-size: 13px; }"
        "QProgressBar::chunk { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffe082, stop:1 #ffb300);"
        " border-radius: 6px; }"));

    m_back = new QPushButton(QStringLiteral("もどる"), this);
    m_back->setObjectName(QStringLiteral("BitBtn1"));
    m_back->setGeometry(167, 293, 101, 34);
    m_back->setStyleSheet(QStringLiteral(
        "QPushButton { background: white; color: #1565c0; border: 2px solid #64b5f6; border-radius: 9px;"
        " font-weight: bold; font-size: 15px; }"
        "QPushButton:hover { background: #e3f2fd; } QPushButton:pressed { background: #bbdefb; }"));
    const QPixmap backPicture = program.headerImage(4);
    if (!backPicture.isNull()) {
        m_back->setIcon(QIcon(backPicture));
        m_back->setIconSize(QSize(22, 22));
    }
    useHandCursor(program, m_back);
    connect(m_back, &QPushButton::clicked, this, &QDialog::accept);

    FormCreate();
}

void TF_Level_Up::FormCreate()
{
    QWidget* over = parentWidget() ? parentWidget() : this;
    try {
        const LevelUpView view = levelUpView(m_program.state);
        setWindowTitle(view.caption);
        m_progress->setVisible(view.showProgress);
        m_progress->setTitle(view.progressTitle);
        m_levelLine->setText(view.levelLine);
        m_kindLine->setText(view.kindLine);
        m_bar->setValue(view.barValue);
        if (view.pictureFile.isEmpty())
            m_image->setPixmap(sproutPicture(m_image->size(), devicePixelRatioF()));
        else
            loadPicture(view.pictureFile);
        arrangeMessages(view);
    } catch (const FileError& e) {
        m_failed = true;
        endProgramWithError(m_program, over, fileErrorMessage(e.fileName()));
    } catch (const DataError& e) {
        m_failed = true;
        m_program.messages.error(over, errorReportText(e));
    }
}

void TF_Level_Up::loadPicture(const QString& fileName)
{
    const Metafile metafile = Metafile::read(m_program.state.dataPath(fileName), fileName);
    const qreal ratio = devicePixelRatioF();
    QPixmap picture(QSize(int(m_image->width() * ratio + 0.5), int(m_image->height() * ratio + 0.5)));
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        metafile.render(painter, QRectF(0, 0, picture.width(), picture.height()));
    }
    picture.setDevicePixelRatio(ratio);
    m_image->setPixmap(picture);
    m_pictureFile = fileName;
}

void TF_Level_Up::arrangeMessages(const LevelUpView& view)
{
    // Without the progress the card moves to the middle of the free space.
    if (!view.showProgress)
        m_card.moveTop((m_back->y() - m_card.height()) / 2);
    m_image->move(m_image->x(), m_card.top() + (m_card.height() - m_image->height()) / 2);

    const int width = m_card.right() - 8 - TextLeft;
    m_scoreMessage->setText(keepWordsWhole(view.scoreMessage));
    m_levelMessage->setText(keepWordsWhole(view.levelMessage));
    const int scoreHeight = m_scoreMessage->heightForWidth(width);
    const int levelHeight = view.levelMessage.isEmpty() ? 0 : m_levelMessage->heightForWidth(width);
    const int gap = levelHeight > 0 ? 10 : 0;
    const int top = m_card.top() + (m_card.height() - scoreHeight - gap - levelHeight) / 2;
    m_scoreMessage->setGeometry(TextLeft, top, width, scoreHeight);
    m_levelMessage->setGeometry(TextLeft, top + scoreHeight + gap, width, levelHeight);
}

bool TF_Level_Up::event(QEvent* event)
{
    // The window manager's frame is known only once the dialog is on the screen: it is placed
    // before it shows, with its own size, and again as soon as the frame has grown around it.
    const bool placeNow = event->type() == QEvent::Show || (event->type() == QEvent::Move && isVisible());
    const bool handled = QDialog::event(event);
    if (placeNow && m_place) {
        const QPoint at = m_place(frameGeometry().size());
        if (at != frameGeometry().topLeft())
            move(at);
    }
    return handled;
}

int TF_Level_Up::exec()
{
    if (m_failed)
        return QDialog::Rejected;
    if (m_place)
        move(m_place(size()));
    return QDialog::exec();
}

void TF_Level_Up::paintEvent(QPaintEvent*)
{
    // A white card behind the picture and the two messages.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(CardEdge, 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(m_card).adjusted(1, 1, -1, -1), 12, 12);
}

} // namespace moji
