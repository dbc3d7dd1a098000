#include "recognizer.h"
#include "zinniamodel.h"

#include <QFile>

#include <algorithm>
#include <map>

#include <zinnia.h>

namespace moji::handwriting {

namespace {

constexpr int Square = 256;
// Zinnia compares where the strokes lie in the square: unmoved, a kanji written small in a
// corner reads as another. Writing smaller than LargeWriting (its longer side, as a share of the
// square) is grown to a box of side Frame in the middle of the square before it is read, and
// writing from SmallWriting up is also read at its own size (see recognize()). The accuracy
// over the grade-3 kanji hardly moves with Frame between 180 and 245.
constexpr int Frame = 224;
constexpr double LargeWriting = 0.6;
constexpr double SmallWriting = 0.45;
// Writing that stays within this many units of one spot, across and down, is a tap or a
// jiggle of the pen, not a kanji: Zinnia would still name kanji for it.
constexpr int Spot = 3;

Point onSquare(const Point& p)
{
    return {std::clamp(p.x, 0, Square - 1), std::clamp(p.y, 0, Square - 1)};
}

bool leavesTheSpot(const Strokes& strokes)
{
    bool any = false;
    Point low, high;
    for (const Stroke& stroke : strokes) {
        for (const Point& raw : stroke) {
            const Point p = onSquare(raw);
            low = any ? Point{std::min(low.x, p.x), std::min(low.y, p.y)} : p;
            high = any ? Point{std::max(high.x, p.x), std::max(high.y, p.y)} : p;
            any = true;
        }
    }
    return any && (high.x - low.x >= Spot || high.y - low.y >= Spot);
}

// The longer side of the box around the strokes, as a share of the square.
double extentOf(const Strokes& strokes)
{
    int left = Square, right = -1, top = Square, bottom = -1;
    for (const Stroke& stroke : strokes) {
        for (const Point& raw : stroke) {
            const Point p = onSquare(raw);
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
    }
    return right < left ? 0.0 : std::max(right - left, bottom - top) / double(Square);
}

class ZinniaRecognizer final : public Recognizer {
public:
    ZinniaRecognizer(QString modelPath, QSet<QString> allowed) : m_path(std::move(modelPath)), m_allowed(std::move(allowed)) {}

    std::vector<Candidate> recognize(const Strokes& strokes, int count) override
    {
        if (count <= 0 || !leavesTheSpot(strokes) || !open())
            return {};
        Strokes shorter;
        for (const Stroke& stroke : strokes) {
            if (!stroke.empty())
                shorter.push_back(resampled(stroke));
        }
        // Writing across most of the square is read as it is, only moved to the middle;
        // writing small, wherever it lies, is grown to fill the frame first, so that a kanji
        // written small in a corner reads as one written across the square. Between the two
        // it is read both ways, each kanji keeping its better score: a kanji small by nature
        // (口, 日), grown, is taken for the kanji built around it (同, 目).
        const double extent = extentOf(shorter);
        std::vector<Strokes> reads;
        if (extent >= SmallWriting)
            reads.push_back(centred(shorter, 0));
        if (extent < LargeWriting)
            reads.push_back(centred(shorter, Frame));
        std::map<QString, double> best;
        for (const Strokes& read : reads) {
            for (const Candidate& c : classify(read)) {
                auto [at, added] = best.try_emplace(c.kanji, c.score);
                if (!added)
                    at->second = std::max(at->second, c.score);
            }
        }
        std::vector<Candidate> out;
        for (const auto& [kanji, score] : best)
            out.push_back({kanji, score});
        std::sort(out.begin(), out.end(), [](const Candidate& a, const Candidate& b) { return a.score > b.score; });
        if (int(out.size()) > count)
            out.resize(std::size_t(count));
        return out;
    }

    bool prepare() override { return open(); }
    QString error() const override { return m_error; }

private:
    // Every allowed kanji of the model with its score for the strokes as they lie.
    std::vector<Candidate> classify(const Strokes& strokes)
    {
        std::unique_ptr<zinnia::Character> character(zinnia::Character::create());
        character->clear();
        character->set_width(Square);
        character->set_height(Square);
        for (std::size_t id = 0; id < strokes.size(); ++id) {
            for (const Point& raw : strokes[id]) {
                const Point p = onSquare(raw);
                character->add(id, p.x, p.y);
            }
        }
        // The whole ranking, so that the allowed kanji are all there even where Zinnia holds
        // its whole model (see open()) and ranks kanji of later grades first.
        std::unique_ptr<zinnia::Result> result(m_zinnia->classify(*character, m_zinnia->size()));
        std::vector<Candidate> out;
        for (std::size_t i = 0; result && i < result->size(); ++i) {
            const QString kanji = QString::fromUtf8(result->value(i));
            if (m_allowed.contains(kanji))
                out.push_back({kanji, result->score(i)});
        }
        return out;
    }

    bool open()
    {
        if (m_zinnia)
            return true;
        if (!m_error.isEmpty())
            return false;
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly)) {
            m_error = m_path + QStringLiteral(": ") + file.errorString();
            return false;
        }
        m_model = narrowedZinniaModel(file, m_allowed).value_or(QByteArray());
        // A model in a layout the narrowing does not know is opened whole: the same candidates,
        // more memory.
        std::unique_ptr<zinnia::Recognizer> zinnia(zinnia::Recognizer::create());
        const bool opened = m_model.isEmpty() ? zinnia->open(QFile::encodeName(m_path).constData())
                                              : zinnia->open(m_model.constData(), std::size_t(m_model.size()));
        if (!opened) {
            m_error = m_path + QStringLiteral(": ") + QString::fromUtf8(zinnia->what());
            m_model.clear();
            return false;
        }
        m_zinnia = std::move(zinnia);
        return true;
    }

    QString m_path;
    QSet<QString> m_allowed;
    QByteArray m_model; // the model cut down to the allowed kanji, which Zinnia reads in place
    std::unique_ptr<zinnia::Recognizer> m_zinnia;
    QString m_error;
};

} // namespace

QString defaultModelPath()
{
    return QStringLiteral("/usr/share/tegaki/models/zinnia/handwriting-ja.model");
}

std::unique_ptr<Recognizer> createZinniaRecognizer(const QString& modelPath, const QSet<QString>& allowed)
{
    return std::make_unique<ZinniaRecognizer>(modelPath, allowed);
}

} // namespace moji::handwriting
