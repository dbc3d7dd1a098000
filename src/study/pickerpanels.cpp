#include "pickerpanels.h"

#include "answerpanels.h"
#include "bitmap.h"
#include "errors.h"
#include "kanachart.h"
#include "program.h"
#include "screenframe.h"
#include "studystate.h"

#include <QGroupBox>
#include <QPushButton>

#include <algorithm>

namespace moji {

const std::array<const char*, 8> PickerPanels::GroupCaptions = {"へん", "つくり", "かんむり", "あし",
                                                                 "かまえ", "たれ", "にょう", "その他"};

namespace {

constexpr QPoint FirstCell(10, 25);
constexpr int PickerTop = PickerPanels::Top;

} // namespace

QGroupBox* pickerGroup(const QString& title, QWidget* canvas, const QRect& geometry, const char* name)
{
    auto* box = new QGroupBox(title, canvas);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    QFont f = box->font();
    f.setPixelSize(13);
    f.setBold(true);
    box->setFont(f);
    box->setStyleSheet(QStringLiteral("QGroupBox { color: white; border: 1px solid #8080c0; margin-top: 8px; }"
                                      " QGroupBox::title { left: 8px; padding: 0 4px; }"));
    return box;
}

namespace {

// BuhinX.bmp, which must hold a 48-pixel cell for every part picture Bushu1.dat places in it.
QImage readPartStrip(const StudyState& state)
{
    static const QString name = QStringLiteral("BuhinX.bmp");
    const QImage strip = readBitmap(state.dataPath(name), name);
    int last = 0;
    for (const auto& group : state.RadicalPictures) {
        for (const int16_t picture : group)
            last = std::max<int>(last, picture);
    }
    if (strip.height() < 48 || strip.width() < 48 * last)
        throw FileError(name, QStringLiteral("no cell for part picture %1").arg(last));
    return strip;
}

} // namespace

PickerPanels::PickerPanels(Program& program, AnswerPanels& logic, QWidget* canvas, int studyMode)
    : QObject(canvas), m_program(program), m_logic(logic), m_writing(studyMode == 2)
{
    if (m_writing)
        buildWriting(canvas);
    else
        buildReading(canvas);
    hideAll();
}

QPushButton* PickerPanels::button(QWidget* parent, const QString& text, int index, int rows, QSize size, QPoint origin)
{
    auto* b = new QPushButton(text, parent);
    b->setFocusPolicy(Qt::NoFocus);
    const int column = (index - 1) / rows;
    const int row = (index - 1) % rows;
    b->setGeometry(origin.x() + column * size.width(), origin.y() + row * size.height(), size.width(), size.height());
    useHandCursor(m_program, b);
    return b;
}

void PickerPanels::buildReading(QWidget* canvas)
{
    m_kanjiGroup = pickerGroup(QStringLiteral("かなをえらぶ"), canvas, QRect(10, PickerTop, 16 * 35 + 20, 5 * 35 + 35), "Grp_Kanji");
    QFont f = m_kanjiGroup->font();
    f.setPixelSize(18);
    for (int i = 1; i <= 80; ++i) {
        QPushButton* b = button(m_kanjiGroup, KanaChart.mid(i - 1, 1), i, 5, QSize(35, 35), FirstCell);
        b->setObjectName(QStringLiteral("Btn_Moji%1").arg(i));
        b->setFont(f);
        b->setVisible(!isHiddenKanaButton(i));
        connect(b, &QPushButton::clicked, this, [this, i] {
            if (m_logic.addKana(KanaChart.mid(i - 1, 1)))
                emit changed();
        });
        m_kanji[std::size_t(i - 1)] = b;
    }
}

void PickerPanels::buildWriting(QWidget* canvas)
{
    const StudyState& state = m_program.state;
    m_kanjiGroup = pickerGroup(QStringLiteral("かんじをえらぶ"), canvas, QRect(10, PickerTop, 16 * 36 + 20, 5 * 36 + 35), "Grp_Kanji");
    QFont kanjiFont = m_kanjiGroup->font();
    kanjiFont.setPixelSize(22);
    kanjiFont.setBold(false);
    for (int i = 1; i <= 80; ++i) {
        QPushButton* b = button(m_kanjiGroup, QString(), i, 5, QSize(36, 36), FirstCell);
        b->setObjectName(QStringLiteral("Btn_Kanji%1").arg(i));
        b->setFont(kanjiFont);
        connect(b, &QPushButton::clicked, this, [this, b] {
            m_logic.addKanji(b->text());
            emit changed();
        });
        m_kanji[std::size_t(i - 1)] = b;
    }

    m_radicalGroup = pickerGroup(QStringLiteral("ぶしゅでえらぶ"), canvas, QRect(10, PickerTop, 2 * 128 + 20, 4 * 48 + 35), "Grp_Bushu");
    QFont captionFont = m_radicalGroup->font();
    captionFont.setPixelSize(18);
    for (int g = 1; g <= 8; ++g) {
        QPushButton* b = button(m_radicalGroup, QString::fromUtf8(GroupCaptions[std::size_t(g - 1)]), g, 4, QSize(128, 48), FirstCell);
        b->setObjectName(QStringLiteral("Btn_Bushu%1").arg(g));
        const QString picture = QStringLiteral("bushu%1.bmp").arg(g);
        b->setIcon(QPixmap::fromImage(readBitmap(state.dataPath(picture), picture)));
        b->setIconSize(QSize(40, 40));
        b->setFont(captionFont);
        b->setStyleSheet(QStringLiteral("color: black; text-align: left; padding-left: 6px;"));
        connect(b, &QPushButton::clicked, this, [this, g] {
            m_logic.chooseGroup(g);
            refresh();
            emit changed();
        });
        m_radicals[std::size_t(g - 1)] = b;
    }

    m_partStrip = QPixmap::fromImage(readPartStrip(state));
    m_partGroup = pickerGroup(QStringLiteral("ぶしゅをえらぶ"), canvas, QRect(10, PickerTop, 8 * 48 + 20, 5 * 48 + 28), "Grp_Buhin");
    for (int i = 1; i <= 40; ++i) {
        QPushButton* b = button(m_partGroup, QString(), i, 5, QSize(48, 48), FirstCell);
        b->setObjectName(QStringLiteral("Btn_Buhin%1").arg(i));
        b->setIconSize(QSize(44, 44));
        connect(b, &QPushButton::clicked, this, [this, i] {
            m_logic.choosePart(i);
            refresh();
            emit changed();
        });
        m_parts[std::size_t(i - 1)] = b;
    }

    m_strokeGroup = pickerGroup(QStringLiteral("かくすうでえらぶ"), canvas, QRect(430, PickerTop, 4 * 40 + 20, 5 * 40 + 40 + 28), "Grp_Kakusuu");
    QFont strokeFont = m_strokeGroup->font();
    strokeFont.setPixelSize(16);
    for (int s = 1; s <= 20; ++s) {
        QPushButton* b = button(m_strokeGroup, QString::number(s), s, 5, QSize(40, 40), FirstCell);
        b->setObjectName(QStringLiteral("Btn_Kakusuu%1").arg(s));
        b->setFont(strokeFont);
        connect(b, &QPushButton::clicked, this, [this, s] {
            m_logic.chooseStrokes(s);
            refresh();
            emit changed();
        });
        m_strokes[std::size_t(s - 1)] = b;
    }
    m_candidates = new QPushButton(QStringLiteral("こたえのこうほ"), m_strokeGroup);
    m_candidates->setObjectName(QStringLiteral("Btn_Gakunen_all"));
    m_candidates->setFont(strokeFont);
    m_candidates->setFocusPolicy(Qt::NoFocus);
    m_candidates->setGeometry(FirstCell.x(), FirstCell.y() + 5 * 40, 160, 40);
    useHandCursor(m_program, m_candidates);
    connect(m_candidates, &QPushButton::clicked, this, [this] {
        const StudyState& s = m_program.state;
        const bool review = s.ReviewSession && !s.SessionKind && m_questionKanji >= FirstKanjiNo;
        m_logic.chooseCandidates(review ? (m_questionKanji - FirstKanjiNo) / KanjisPerLevel + 1 : s.CurrentLevel);
        refresh();
        emit changed();
    });
}

void PickerPanels::hideAll()
{
    for (QGroupBox* g : {m_kanjiGroup, m_radicalGroup, m_strokeGroup, m_partGroup}) {
        if (g)
            g->hide();
    }
}

void PickerPanels::refresh()
{
    if (!m_writing) {
        m_kanjiGroup->show();
        return;
    }
    m_radicalGroup->setVisible(m_logic.groupsVisible());
    m_strokeGroup->setVisible(m_logic.strokesVisible());
    m_partGroup->setVisible(m_logic.partsVisible());
    m_kanjiGroup->setVisible(m_logic.kanjiVisible());

    const std::vector<int>& parts = m_logic.parts();
    for (int i = 1; i <= 40; ++i) {
        QPushButton* b = m_parts[std::size_t(i - 1)];
        const bool shown = i <= int(parts.size());
        b->setVisible(shown);
        if (shown) {
            const int picture = parts[std::size_t(i - 1)];
            // A picture outside the strip shows an empty button rather than anything else.
            const QRect cell((picture - 1) * 48, 0, 48, 48);
            b->setIcon(m_partStrip.rect().contains(cell) ? QIcon(m_partStrip.copy(cell)) : QIcon());
        }
    }
    const std::vector<int>& kanji = m_logic.kanjiList();
    for (int i = 1; i <= 80; ++i) {
        QPushButton* b = m_kanji[std::size_t(i - 1)];
        const bool shown = i <= int(kanji.size());
        b->setVisible(shown);
        if (shown)
            b->setText(m_program.state.KanjiTable[kanji[std::size_t(i - 1)]].Glyph.toUnicode());
    }
}

} // namespace moji
