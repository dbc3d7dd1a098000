#include "program.h"

#include "errors.h"
#include "studystate.h"

#include <QBitmap>
#include <QPainter>

namespace moji {

QPixmap Program::headerImage(int tag) const
{
    if (tag < 1 || tag > int(headerImages.size()))
        return {};
    return headerImages[std::size_t(tag - 1)];
}

void Program::setNoticePictures(std::array<std::optional<Metafile>, 10> pictures, int side)
{
    m_noticeMetafiles = std::move(pictures);
    m_noticePictures = {};
    m_noticeSide = side;
}

QPixmap Program::noticePicture(int index)
{
    if (index < 0 || index >= int(m_noticePictures.size()))
        return {};
    const auto i = std::size_t(index);
    if (m_noticePictures[i].isNull() && m_noticeMetafiles[i]) {
        QImage work(m_noticeSide, m_noticeSide, QImage::Format_RGB32);
        work.fill(Qt::white);
        QPainter painter(&work);
        m_noticeMetafiles[i]->render(painter, QRectF(0, 0, m_noticeSide, m_noticeSide));
        painter.end();
        m_noticePictures[i] = whiteTransparent(work);
    }
    return m_noticePictures[i];
}

QPixmap whiteTransparent(const QImage& image)
{
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(qRgb(255, 255, 255), Qt::MaskInColor)));
    return pixmap;
}

void Program::playAnswerSound(bool correct)
{
    MediaPlayer* stop = correct ? batsuPlayer.get() : maruPlayer.get();
    MediaPlayer* play = correct ? maruPlayer.get() : batsuPlayer.get();
    if (stop)
        stop->stop();
    if (play) {
        play->rewind();
        play->play();
    }
}


const handwriting::StrokeOrderTable* Program::strokeOrder(QWidget* parent)
{
    if (m_strokeOrderState == TableState::NotRead) {
        try {
            m_strokeOrder.load(state.dataPath(QStringLiteral("Kakijun.dat")), dictionaryKanji(state));
            m_strokeOrderState = TableState::Read;
        } catch (const DataError& e) {
            m_strokeOrderState = TableState::Failed;
            messages.error(parent, errorReportText(e));
        }
    }
    return m_strokeOrderState == TableState::Read ? &m_strokeOrder : nullptr;
}

std::vector<handwriting::DictionaryKanji> dictionaryKanji(const StudyState& state)
{
    std::vector<handwriting::DictionaryKanji> kanji;
    for (int k = 1; k < LastKanjiSlot; ++k) {
        const KanjiEntry& r = state.KanjiTable[k];
        if (!r.Glyph.toUnicode().isEmpty())
            kanji.push_back({r.Glyph.toUnicode(), r.StrokeCount});
    }
    return kanji;
}

std::unique_ptr<handwriting::Recognizer> createSchoolRecognizer(const StudyState& state)
{
    QSet<QString> allowed;
    for (int k = 1; k < LastKanjiSlot; ++k) {
        const QString kanji = state.KanjiTable[k].Glyph.toUnicode();
        if (!kanji.isEmpty())
            allowed.insert(kanji);
    }
    return handwriting::createZinniaRecognizer(handwriting::defaultModelPath(), allowed);
}

} // namespace moji
